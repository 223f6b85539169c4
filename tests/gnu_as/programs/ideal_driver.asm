; program 16
; NULCLK.ASM - IDEAL-mode DOS character device driver: reads give the time
; of day as text, writes are swallowed.  Loaded by DEVICE=NULCLK.SYS.
;       tasm /m2 nulclk / tlink /t nulclk,nulclk.sys
        ideal                           ;=
        p386                            ;=
        model small                     ;=
        locals                          ;=

CMD_INIT    =   0                       ;= CMD_INIT = 0
CMD_READ    =   4                       ;= CMD_READ = 4
CMD_WRITE   =   8                       ;= CMD_WRITE = 8
ST_DONE     equ 0100h                   ;= .equ ST_DONE, 0x100
ST_ERROR    equ 8000h                   ;= .equ ST_ERROR, 0x8000
ERR_CMD     equ 3                       ;= .equ ERR_CMD, 3
NAME_LEN    equ 8                       ;= .equ NAME_LEN, 8
COLON       equ ':'                     ;= .equ COLON, 0x3A
CRLF        equ 0A0Dh                   ;= .equ CRLF, 0x0A0D
ZEROS       equ '00'                    ;= .equ ZEROS, 0x3030

; the request header DOS passes in es:bx
struc   Request                         ;=
rh_len      db ?                        ;= .equ Request.rh_len, 0
rh_unit     db ?                        ;= .equ Request.rh_unit, 1
rh_cmd      db ?                        ;= .equ Request.rh_cmd, 2
rh_status   dw ?                        ;= .equ Request.rh_status, 3
            db 8 dup (?)                ; reserved for DOS ;=
rh_media    db ?                        ;= .equ Request.rh_media, 13
rh_xfer     dd ?                        ;= .equ Request.rh_xfer, 14
rh_count    dw ?                        ;= .equ Request.rh_count, 18
ends    Request                         ;=

; the device header, first thing in the file
struc   DevHeader                       ;=
dh_next     dd -1                       ;= .equ DevHeader.dh_next, 0
dh_attr     dw 8000h                    ;= .equ DevHeader.dh_attr, 4
dh_strat    dw ?                        ;= .equ DevHeader.dh_strat, 6
dh_intr     dw ?                        ;= .equ DevHeader.dh_intr, 8
dh_name     db 'CLOCK   '               ;= .equ DevHeader.dh_name, 10
ends    DevHeader                       ;=

        codeseg                         ;= .text
header  DevHeader <, 0C000h, offset Strategy, offset Interrupt, 'NULCLK  '> ;= header: .long -1; .short 0xC000, Strategy, Interrupt; .ascii "NULCLK  "
ReqPtr  dd ?                            ;= ReqPtr: .long 0
TimeBuf db 'hh:mm:ss', 13, 10           ;= TimeBuf: .ascii "hh:mm:ss"; .byte 13, 10
TIME_LEN    equ $ - TimeBuf             ;= .equ TIME_LEN, . - TimeBuf
Handlers    dw offset DoInit, 3 dup (offset BadCmd), offset DoRead ;= Handlers: .short DoInit, BadCmd, BadCmd, BadCmd, DoRead
            dw 3 dup (offset BadCmd), offset DoWrite ;= .short BadCmd, BadCmd, BadCmd, DoWrite

proc    Strategy far                    ;= Strategy:
        mov [word cs:ReqPtr], bx        ;= mov word ptr cs:[ReqPtr], bx
        mov [word cs:ReqPtr+2], es      ;= mov word ptr cs:[ReqPtr+2], es
        ret                             ;= retf
endp    Strategy                        ;=

proc    Interrupt far                   ;= Interrupt:
        push ax bx cx dx si di ds es    ;= push ax; push bx; push cx; push dx; push si; push di; push ds; push es
        push cs                         ;= push cs
        pop ds                          ;= pop ds
        les bx, [ReqPtr]                ;= les bx, dword ptr cs:[ReqPtr]
        mov al, [es:bx+Request.rh_cmd]  ;= mov al, es:[bx+2]
        cmp al, CMD_WRITE
        ja @@bad                        ;= ja .Lint_bad
        xor ah, ah
        mov si, ax
        shl si, 1
        call [Handlers+si]              ;= call word ptr cs:[Handlers+si]
        jmp @@done                      ;= jmp .Lint_done
@@bad:  call BadCmd                     ;= .Lint_bad: call BadCmd
@@done: or [word es:bx+Request.rh_status], ST_DONE ;= .Lint_done: or word ptr es:[bx+3], 0x100
        pop es ds di si dx cx bx ax     ;= pop es; pop ds; pop di; pop si; pop dx; pop cx; pop bx; pop ax
        ret                             ;= retf
endp    Interrupt                       ;=

proc    BadCmd near                     ;= BadCmd:
        mov [word es:bx+Request.rh_status], ST_ERROR or ERR_CMD ;= mov word ptr es:[bx+3], 0x8003
        ret
endp    BadCmd                          ;=

; the time of day from the BIOS clock, as hh:mm:ss in TimeBuf
proc    FillTime near                   ;= FillTime:
        push bx es                      ;= push bx; push es
        mov ah, 2
        int 1Ah                         ;= int 0x1A
        push cs                         ;= push cs
        pop es                          ;= pop es
        mov di, offset TimeBuf
        mov al, ch
        call PutBcd
        mov al, COLON
        stos [TimeBuf]                  ;= stosb
        mov al, cl
        call PutBcd
        mov di, offset TimeBuf[5]       ; the second colon ;= mov di, offset TimeBuf + 5
        mov [byte di], COLON            ;= mov byte ptr [di], 0x3A
        inc di
        mov al, dh
        call PutBcd
        cmp [word TimeBuf+TIME_LEN-2], CRLF ;= cmp word ptr cs:[TimeBuf+TIME_LEN-2], 0x0A0D
        pop es bx                       ;= pop es; pop bx
        ret
endp    FillTime                        ;=

; al = two BCD digits, written at es:di
proc    PutBcd near                     ;= PutBcd:
        mov ah, al
        shr ah, 4
        and al, 0Fh                     ;= and al, 0x0F
        xchg al, ah
        add ax, ZEROS                   ;= add ax, 0x3030
        stosw
        ret
endp    PutBcd                          ;=

; read: TIME_LEN bytes at most, copied to the caller's buffer
proc    DoRead near                     ;= DoRead:
        call FillTime
        mov cx, [es:bx+Request.rh_count] ;= mov cx, es:[bx+18]
        cmp cx, TIME_LEN
        jbe @@fits                      ;= jbe .Lread_fits
        mov cx, TIME_LEN
        mov [es:bx+Request.rh_count], cx ;= mov es:[bx+18], cx
@@fits: push es bx                      ;= .Lread_fits: push es; push bx
        les di, [es:bx+Request.rh_xfer] ;= les di, dword ptr es:[bx+14]
        mov si, offset TimeBuf
        rep movs [byte es:di], [cs:TimeBuf] ;= .byte 0xF3, 0x2E, 0xA4
        pop bx es                       ;= pop bx; pop es
        ret
endp    DoRead                          ;=

proc    DoWrite near                    ;= DoWrite:
        ret
endp    DoWrite                         ;=

; everything after here is dropped once DOS has called DoInit
label   InitStart byte                  ;= InitStart:
Banner  db 'NULCLK installed', 13, 10, '$' ;= Banner: .ascii "NULCLK installed\r\n$"

proc    DoInit near                     ;= DoInit:
        mov ah, 9
        mov dx, offset Banner
        int 21h                         ;= int 0x21
        mov [word es:bx+Request.rh_xfer], offset InitStart ;= mov word ptr es:[bx+14], offset InitStart
        mov [word es:bx+Request.rh_xfer+2], cs ;= mov word ptr es:[bx+16], cs
        ret
endp    DoInit                          ;=

        end                             ;=
