; program 16
;----------------------------------------------------------------------------
; COMIO.ASM  -  serial port module of TERM.EXE (TASM 3.1, IDEAL mode)
; Bytes come in by interrupt into a ring buffer and go out by polling;
; the Alt-key commands of the terminal are dispatched from here too.
;       tasm /m2 comio
;----------------------------------------------------------------------------
        IDEAL                           ;=
        MODEL small                     ;=
        P286                            ;=
        LOCALS                          ;=
        INCLUDE "TERM.INC"              ;= .equ RBR, 0; .equ THR, 0; .equ DLL, 0; .equ IER, 1; .equ IIR, 2; .equ LCR, 3; .equ MCR, 4; .equ LSR, 5; .equ LSR_DR, 1; .equ LSR_THRE, 0x20; .equ LCR_DLAB, 0x80; .equ LCR_8N1, 3; .equ MCR_DTR, 1; .equ MCR_RTS, 2; .equ MCR_OUT2, 8; .equ MCR_ON, 0x0B; .equ IER_RDA, 1; .equ PIC_CMD, 0x20; .equ PIC_MASK, 0x21; .equ EOI, 0x20; .equ BUF_BITS, 8; .equ BUF_SIZE, 256; .equ BUF_MASK, 255; .equ HIGH_WATER, 192; LINE_MAX = 80; TAG_LEN = 4; .equ F_ECHO, 1; .equ F_LOG, 2; .equ F_XOFF, 4; .equ F_ONLINE, 0x80; .equ F_KEEP, 3; .equ XON, 0x11; .equ XOFF, 0x13; .globl VideoSeg, PutChar, Flags, Com1, Com2, ComOpen, ComClose, ComPoll, ComSend, TermInit, TermKey

STATUS_COL  EQU 64                      ;= .equ STATUS_COL, 64
STATUS_ATTR EQU 70h                     ;= .equ STATUS_ATTR, 0x70
LOW_WATER   EQU BUF_SIZE / 4            ;= .equ LOW_WATER, 64
IRQ_BIT     EQU 1 SHL 4                 ;= .equ IRQ_BIT, 0x10
IRQ4_ON     EQU NOT IRQ_BIT AND 0FFh    ; the PIC mask with COM1's IRQ let through ;= .equ IRQ4_ON, 0xEF
HANGUP_MCR  EQU MCR_ON AND NOT MCR_DTR  ;= .equ HANGUP_MCR, 0x0A
PAUSE_TICKS =   2                       ;= PAUSE_TICKS = 2

        DATASEG                         ;= .data
Flags       DB F_ECHO                   ;= Flags: .byte 1
Com1        Port <3F8h, 4, 0Ch>         ;= Com1: .short 0x3F8; .byte 4, 0x0C; .short 12; .byte 3; .ascii "COM1"
Com2        Port <2F8h, 3, 0Bh, 6, , 'COM2'> ; 19200 baud ;= Com2: .short 0x2F8; .byte 3, 0x0B; .short 6; .byte 3; .ascii "COM2"
CurPort     DW offset Com1              ;= CurPort: .short Com1
KeyHandlers DW offset KeyEcho, offset KeyHangup, offset KeyLog, ;= KeyHandlers: .short KeyEcho, KeyHangup, KeyLog
               offset KeyQuit, offset KeyXoff ;= .short KeyQuit, KeyXoff
ScreenPtr   DD 0B8000000h + STATUS_COL * 2 ;= ScreenPtr: .long 0xB8000080
Retries     DW PAUSE_TICKS * 3          ;= Retries: .short 6
StatusAttr  DB STATUS_ATTR              ;= StatusAttr: .byte 0x70
StatusMsg   DB 'COMx 8N1 ', 0           ;= StatusMsg: .ascii "COMx 8N1 "; .byte 0

        UDATASEG                        ;= .bss
rx          Ring <>                     ;= rx: .skip 262
LineBuf     DB LINE_MAX DUP (?)         ;= LineBuf: .skip 80
LinePos     DW ?                        ;= LinePos: .skip 2
LogPtr      DD ?                        ; a 64 KB log block from DOS ;= LogPtr: .skip 4

        CONST                           ;= .section .rodata
HexDigits   DB '0123456789ABCDEF'       ;= HexDigits: .ascii "0123456789ABCDEF"
KeyChars    DB 'ehlqx'                  ; in the order of KeyHandlers ;= KeyChars: .ascii "ehlqx"
KEY_COUNT   EQU $ - KeyChars            ;= .equ KEY_COUNT, . - KeyChars
NoPort      DB 'Can''t find a UART; check COM1/COM2', 13, 10, '$' ;= NoPort: .ascii "Can't find a UART; check COM1/COM2"; .byte 13, 10, '$'

        CODESEG                         ;= .text
OldVec      DD ?                        ; the vector we took over ;= OldVec: .long 0
SavedDS     DW ?                        ; DGROUP, for the handler ;= SavedDS: .short 0
VecNum      DB ?                        ;= VecNum: .byte 0

;--- TermInit: opens COM1, else COM2; gets the log block
PROC    TermInit FAR                    ;= TermInit:
        mov bx, offset Com1             ;= mov bx, offset Com1
        mov cx, 2
@@try:  call ComOpen                    ;= .LTermInit_try: call ComOpen
        jnc @@open                      ;= jnc .LTermInit_open
        add bx, TYPE Port               ; Com2 follows Com1 ;= add bx, 11
        loop @@try                      ;= loop .LTermInit_try
        mov dx, offset NoPort           ;= mov dx, offset NoPort
        mov ah, 9
        int 21h                         ;= int 0x21
        stc
        ret                             ;= retf
@@open: mov [WORD PTR LogPtr], 0        ;= .LTermInit_open: mov word ptr [LogPtr], 0
        mov [WORD LogPtr+2], 0          ;= mov word ptr [LogPtr+2], 0
        mov ah, 48h                     ;= mov ah, 0x48
        mov bx, 1000h                   ;= mov bx, 0x1000
        int 21h                         ;= int 0x21
        jc @@nolog                      ;= jc .LTermInit_nolog
        mov [WORD LogPtr+2], ax         ;= mov word ptr [LogPtr+2], ax
@@nolog:                                ;= .LTermInit_nolog:
        cmp [VideoSeg], 0B000h          ; no colour attributes on a mono card ;= cmp word ptr [VideoSeg], 0xB000
        jne @@colour                    ;= jne .LTermInit_colour
        mov [StatusAttr], 07h           ;= mov byte ptr [StatusAttr], 7
@@colour:                               ;= .LTermInit_colour:
        mov ax, [VideoSeg]              ;= mov ax, [VideoSeg]
        mov [WORD ScreenPtr+2], ax      ;= mov word ptr [ScreenPtr+2], ax
        call ClearLine
        call ShowStatus
        clc
        ret                             ;= retf
ENDP    TermInit                        ;=

;--- ComOpen: bx = Port; programs the UART and takes its IRQ.  CF: none there
PROC    ComOpen                         ;= ComOpen:
        mov dx, [(Port PTR bx).base]    ;= mov dx, [bx]
        add dx, IER                     ;= add dx, 1
        xor al, al
        out dx, al                      ; no interrupts while we set it up
        inc dx                          ; IIR
        in al, dx
        test al, 30h                    ; always 0 on an 8250 or 16550 ;= test al, 0x30
        jnz @@none                      ;= jnz .LComOpen_none
        mov [CurPort], bx               ;= mov [CurPort], bx
        add dx, LCR - IIR               ;= add dx, 1
        mov al, LCR_DLAB                ;= mov al, 0x80
        out dx, al
        sub dx, LCR - DLL               ;= sub dx, 3
        mov ax, [(Port PTR bx).divisor] ;= mov ax, [bx+4]
        out dx, al
        inc dx
        mov al, ah
        out dx, al
        add dx, LCR - (DLL + 1)         ;= add dx, 2
        mov al, [bx+Port.lcr]           ;= mov al, [bx+6]
        out dx, al
        inc dx                          ; MCR
        mov al, MCR_ON                  ;= mov al, 0x0B
        out dx, al
        mov [rx.head], 0                ;= mov word ptr [rx], 0
        mov [rx.tail], 0                ;= mov word ptr [rx+2], 0
        mov [rx.count], 0               ;= mov word ptr [rx+4], 0
        mov al, [(Port PTR bx).vector]  ;= mov al, [bx+3]
        mov [VecNum], al                ;= mov cs:[VecNum], al
        mov ah, 35h                     ;= mov ah, 0x35
        int 21h                         ;= int 0x21
        mov [WORD OldVec], bx           ;= mov word ptr cs:[OldVec], bx
        mov [WORD OldVec+2], es         ;= mov word ptr cs:[OldVec+2], es
        mov [cs:SavedDS], ds            ;= mov cs:[SavedDS], ds
        push ds
        push cs
        pop ds
        mov dx, offset ComIsr           ;= mov dx, offset ComIsr
        mov al, [cs:VecNum]             ;= mov al, cs:[VecNum]
        mov ah, 25h                     ;= mov ah, 0x25
        int 21h                         ;= int 0x21
        pop ds
        mov bx, [CurPort]               ;= mov bx, [CurPort]
        mov cl, [(Port PTR bx).irq]     ;= mov cl, [bx+2]
        mov ah, 1
        shl ah, cl
        not ah
        in al, PIC_MASK                 ;= in al, 0x21
        and al, ah
        out PIC_MASK, al                ;= out 0x21, al
        mov dx, [bx+Port.base]          ;= mov dx, [bx]
        inc dx                          ; IER
        mov al, IER_RDA                 ;= mov al, 1
        out dx, al
        or [Flags], F_ONLINE            ;= or byte ptr [Flags], 0x80
        clc
        ret
@@none: stc                             ;= .LComOpen_none: stc
        ret
ENDP    ComOpen                         ;=

;--- ComClose: gives the IRQ and the vector back
PROC    ComClose                        ;= ComClose:
        test [Flags], F_ONLINE          ;= test byte ptr [Flags], 0x80
        jz @@done                       ;= jz .LComClose_done
        mov bx, [CurPort]               ;= mov bx, [CurPort]
        mov dx, [(Port PTR bx).base]    ;= mov dx, [bx]
        inc dx
        xor al, al
        out dx, al                      ; IER: nothing
        add dx, MCR - IER               ;= add dx, 3
        out dx, al                      ; DTR and RTS down
        mov cl, [bx+Port.irq]           ;= mov cl, [bx+2]
        mov ah, 1
        shl ah, cl
        in al, PIC_MASK                 ;= in al, 0x21
        or al, ah
        out PIC_MASK, al                ;= out 0x21, al
        push ds
        mov al, [VecNum]                ;= mov al, cs:[VecNum]
        lds dx, [OldVec]                ;= lds dx, dword ptr cs:[OldVec]
        mov ah, 25h                     ;= mov ah, 0x25
        int 21h                         ;= int 0x21
        pop ds
        and [Flags], F_KEEP             ;= and byte ptr [Flags], 3
@@done: ret                             ;= .LComClose_done: ret
ENDP    ComClose                        ;=

;--- ComIsr: the UART's interrupt; every byte waiting goes into rx
PROC    ComIsr FAR                      ;= ComIsr:
        pusha
        push ds
        mov ds, [SavedDS]               ;= mov ds, cs:[SavedDS]
        mov bx, [CurPort]               ;= mov bx, [CurPort]
        mov dx, [(Port PTR bx).base]    ;= mov dx, [bx]
        add dx, LSR                     ;= add dx, 5
@@next: in al, dx                       ;= .LComIsr_next: in al, dx
        test al, LSR_DR                 ;= test al, 1
        jz @@eoi                        ;= jz .LComIsr_eoi
        sub dx, LSR - RBR               ;= sub dx, 5
        in al, dx
        add dx, LSR - RBR               ;= add dx, 5
        mov si, offset rx               ;= mov si, offset rx
        call RingPut
        jmp @@next                      ;= jmp .LComIsr_next
@@eoi:  mov al, EOI                     ;= .LComIsr_eoi: mov al, 0x20
        out PIC_CMD, al                 ;= out 0x20, al
        pop ds
        popa
        iret
ENDP    ComIsr                          ;=

;--- RingPut: al into the ring at si; CF when it is full
PROC    RingPut                         ;= RingPut:
        cmp [si+Ring.count], BUF_SIZE   ;= cmp word ptr [si+4], 256
        jae @@full                      ;= jae .LRingPut_full
        mov bx, [si+Ring.head]          ;= mov bx, [si]
        mov [BYTE PTR bx+si+Ring.buf], al ;= mov byte ptr [bx+si+6], al
        inc bx
        and bx, BUF_MASK                ;= and bx, 255
        mov [si+Ring.head], bx          ;= mov [si], bx
        inc [si+Ring.count]             ;= inc word ptr [si+4]
        cmp [si+Ring.count], HIGH_WATER ;= cmp word ptr [si+4], 192
        jb @@ok                         ;= jb .LRingPut_ok
        test [Flags], F_XOFF            ;= test byte ptr [Flags], 4
        jnz @@ok                        ;= jnz .LRingPut_ok
        or [Flags], F_XOFF              ;= or byte ptr [Flags], 4
        mov al, XOFF                    ;= mov al, 0x13
        call ComSend
@@ok:   clc                             ;= .LRingPut_ok: clc
        ret
@@full: stc                             ;= .LRingPut_full: stc
        ret
ENDP    RingPut                         ;=

;--- RingGet: al from the ring at si; ZF when it is empty
PROC    RingGet                         ;= RingGet:
        cmp [WORD (Ring PTR si).count], 0 ;= cmp word ptr [si+4], 0
        je @@empty                      ;= je .LRingGet_empty
        mov bx, [si+Ring.tail]          ;= mov bx, [si+2]
        mov al, [si+bx+Ring.buf]        ;= mov al, [bx+si+6]
        inc bx
        and bx, BUF_MASK                ;= and bx, 255
        mov [si+Ring.tail], bx          ;= mov [si+2], bx
        dec [si+Ring.count]             ;= dec word ptr [si+4]
        or sp, sp                       ; ZF clear: a byte
@@empty:                                ;= .LRingGet_empty:
        ret
ENDP    RingGet                         ;=

;--- ComSend: al out of the port; CF when it never got room
PROC    ComSend                         ;= ComSend:
        push ax bx cx dx                ;= push ax; push bx; push cx; push dx
        mov ah, al
        mov bx, [CurPort]               ;= mov bx, [CurPort]
        mov dx, [bx+Port.base]          ;= mov dx, [bx]
        add dx, LSR                     ;= add dx, 5
        xor cx, cx
@@wait: in al, dx                       ;= .LComSend_wait: in al, dx
        test al, LSR_THRE               ;= test al, 0x20
        jnz @@send                      ;= jnz .LComSend_send
        loop @@wait                     ;= loop .LComSend_wait
        stc
        jmp SHORT @@out                 ;= jmp short .LComSend_out
@@send: sub dx, LSR - THR               ;= .LComSend_send: sub dx, 5
        mov al, ah
        out dx, al
        clc
@@out:  pop dx cx bx ax                 ;= .LComSend_out: pop dx; pop cx; pop bx; pop ax
        ret
ENDP    ComSend                         ;=

;--- ComPoll: one byte from rx to the screen (and the log); ZF: nothing came
PROC    ComPoll                         ;= ComPoll:
        mov si, offset rx               ;= mov si, offset rx
        call RingGet
        jz @@idle                       ;= jz .LComPoll_idle
        test [Flags], F_LOG             ;= test byte ptr [Flags], 2
        jz @@show                       ;= jz .LComPoll_show
        les di, [LogPtr]                ;= les di, dword ptr [LogPtr]
        stosb
        mov [WORD LogPtr], di           ;= mov word ptr [LogPtr], di
@@show: call PutChar                    ;= .LComPoll_show: call PutChar
        test [flags], F_XOFF            ;= test byte ptr [Flags], 4
        jz @@idle                       ;= jz .LComPoll_idle
        cmp [rx.count], LOW_WATER       ;= cmp word ptr [rx+4], 64
        ja @@idle                       ;= ja .LComPoll_idle
        and [Flags], NOT F_XOFF         ;= and byte ptr [Flags], 0xFB
        mov al, XON                     ;= mov al, 0x11
        call ComSend
        or sp, sp
@@idle: ret                             ;= .LComPoll_idle: ret
ENDP    ComPoll                         ;=

;--- TermKey: Pascal-style far call with the key on the stack; an Alt command
;    letter runs its handler, anything else goes out of the port
PROC    TermKey FAR                     ;= TermKey:
        push bp
        mov bp, sp
        mov al, [BYTE PTR bp+6]         ;= mov al, byte ptr [bp+6]
        or al, 20h                      ; lower case ;= or al, 0x20
        push ds
        pop es
        mov di, offset KeyChars         ;= mov di, offset KeyChars
        mov cx, KEY_COUNT               ;= mov cx, KEY_COUNT
        cld
        repne scasb
        jne @@plain                     ;= jne .LTermKey_plain
        sub di, offset KeyChars + 1     ;= sub di, offset KeyChars + 1
        shl di, 1
        mov bx, di
        call [KeyHandlers+bx]           ;= call word ptr [KeyHandlers+bx]
        jmp @@done                      ;= jmp .LTermKey_done
@@plain: mov al, [bp+6]                 ;= .LTermKey_plain: mov al, [bp+6]
        call ComSend
        test [Flags], F_ECHO            ;= test byte ptr [Flags], 1
        jz @@done                       ;= jz .LTermKey_done
        call PutChar
@@done: pop bp                          ;= .LTermKey_done: pop bp
        ret 2                           ;= retf 2
ENDP    TermKey                         ;=

PROC    KeyEcho                         ;= KeyEcho:
        xor [Flags], F_ECHO             ;= xor byte ptr [Flags], 1
        jmp ShowStatus
ENDP    KeyEcho                         ;=

PROC    KeyLog                          ;= KeyLog:
        xor [Flags], F_LOG              ;= xor byte ptr [Flags], 2
        jmp ShowStatus
ENDP    KeyLog                          ;=

;--- KeyHangup: DTR down for a while, then up again
PROC    KeyHangup                       ;= KeyHangup:
        mov bx, [CurPort]               ;= mov bx, [CurPort]
        mov dx, [bx+Port.base]          ;= mov dx, [bx]
        add dx, MCR                     ;= add dx, 4
        mov al, HANGUP_MCR              ;= mov al, 0x0A
        out dx, al
        push [Retries]                  ;= push word ptr [Retries]
        call Pause
        push PAUSE_TICKS                ;= push 2
        call Pause
        mov al, MCR_ON                  ;= mov al, 0x0B
        out dx, al
        ret
ENDP    KeyHangup                       ;=

PROC    KeyQuit                         ;= KeyQuit:
        call ComClose
        mov ax, 4C00h                   ;= mov ax, 0x4C00
        int 21h                         ;= int 0x21
ENDP    KeyQuit                         ;=

PROC    KeyXoff                         ;= KeyXoff:
        test [Flags], F_XOFF            ;= test byte ptr [Flags], 4
        mov al, XON                     ;= mov al, 0x11
        jnz @@send                      ;= jnz .LKeyXoff_send
        mov al, XOFF                    ;= mov al, 0x13
@@send: xor [Flags], F_XOFF             ;= .LKeyXoff_send: xor byte ptr [Flags], 4
        jmp ComSend
ENDP    KeyXoff                         ;=

;--- Pause: [sp+2] times 64K turns of loop; takes its argument off
PROC    Pause                           ;= Pause:
        push bp
        mov bp, sp
        push cx
        mov cx, [bp+4]
@@outer: push cx                        ;= .LPause_outer: push cx
        xor cx, cx
@@inner: loop @@inner                   ;= .LPause_inner: loop .LPause_inner
        pop cx
        loop @@outer                    ;= loop .LPause_outer
        pop cx
        pop bp
        ret 2
ENDP    Pause                           ;=

PAUSE_TICKS =   8                       ; for the status line's blink ;= PAUSE_TICKS = 8

;--- ShowStatus: port name and flags in the top right corner
PROC    ShowStatus                      ;= ShowStatus:
        push es
        push ds
        pop es
        mov bx, [CurPort]               ;= mov bx, [CurPort]
        lea si, [bx+Port.tag]           ;= lea si, [bx+7]
        mov di, offset StatusMsg        ;= mov di, offset StatusMsg
        mov cx, TAG_LEN
        cld
        rep movsb
        les di, [ScreenPtr]             ;= les di, dword ptr [ScreenPtr]
        mov si, offset StatusMsg        ;= mov si, offset StatusMsg
        mov ah, [StatusAttr]            ;= mov ah, [StatusAttr]
@@char: lodsb                           ;= .LShowStatus_char: lodsb
        or al, al
        jz @@flags                      ;= jz .LShowStatus_flags
        stosw
        jmp @@char                      ;= jmp .LShowStatus_char
@@flags: mov al, [Flags]                ;= .LShowStatus_flags: mov al, [Flags]
        call HexByte
        push PAUSE_TICKS                ;= push 8
        call Pause
        pop es
        ret
ENDP    ShowStatus                      ;=

;--- HexByte: al as two hex digits at es:di in colour ah
PROC    HexByte                         ;= HexByte:
        push bx
        mov bl, al
        xor bh, bh
        shr bx, 4
        mov dl, [bx+offset HexDigits]   ;= mov dl, [bx+HexDigits]
        mov [es:di], dl                 ;= mov es:[di], dl
        mov [BYTE es:di+1], ah          ;= mov byte ptr es:[di+1], ah
        mov bl, al
        and bl, 0Fh                     ;= and bl, 0x0F
        mov dl, [HexDigits+bx]          ;= mov dl, [bx+HexDigits]
        mov [es:di+2], dl               ;= mov es:[di+2], dl
        mov [es:di+3], ah               ;= mov es:[di+3], ah
        add di, 4
        pop bx
        ret
ENDP    HexByte                         ;=

;--- LineAdd: al to the line being typed; CF when it is full
PROC    LineAdd                         ;= LineAdd:
        mov bx, [LinePos]               ;= mov bx, [LinePos]
        cmp bx, LENGTH LineBuf          ;= cmp bx, 80
        jae @@full                      ;= jae .LLineAdd_full
        mov [bx+LineBuf], al            ;= mov [bx+LineBuf], al
        inc [LinePos]                   ;= inc word ptr [LinePos]
        clc
        ret
@@full: stc                             ;= .LLineAdd_full: stc
        ret
ENDP    LineAdd                         ;=

;--- LineSend: the typed line out of the port
PROC    LineSend                        ;= LineSend:
        mov cx, [LinePos]               ;= mov cx, [LinePos]
        jcxz @@done                     ;= jcxz .LLineSend_done
        xor si, si
        mov bx, offset LineBuf          ;= mov bx, offset LineBuf
@@next: mov al, [BYTE PTR bx+si]        ;= .LLineSend_next: mov al, byte ptr [bx+si]
        call ComSend
        jc @@done                       ;= jc .LLineSend_done
        inc si
        loop @@next                     ;= loop .LLineSend_next
@@done: ret                             ;= .LLineSend_done: ret
ENDP    LineSend                        ;=

;--- ClearLine: blanks the line buffer and clears rx
PROC    ClearLine                       ;= ClearLine:
        push ds
        pop es
        mov di, offset LineBuf          ;= mov di, offset LineBuf
        mov cx, SIZE LineBuf            ;= mov cx, 80
        mov al, ' '                     ;= mov al, ' '
        rep stosb
        mov [LinePos], cx               ;= mov [LinePos], cx
        mov di, offset rx               ;= mov di, offset rx
        mov cx, SIZE rx / 2             ; words in rx ;= mov cx, 131
        xor ax, ax
        cli
        rep stosw
        sti
        ret
ENDP    ClearLine                       ;=

        END                             ;=
