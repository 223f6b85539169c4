; program 16
;----------------------------------------------------------------------------
; WINDOWS.ASM  -  pop-up text windows for EDIT.EXE (TASM 3.0, IDEAL mode)
; The corners of a window sit in its Window record; DrawBox takes them in
; cx/dx like the BIOS scroll call does.  GLOBALS.INC has what we share.
;----------------------------------------------------------------------------
        IDEAL                           ;=
        MODEL small                     ;=
        P286                            ;=
        LOCALS                          ;=
        INCLUDE "GLOBALS.INC"           ;= .equ SCREEN_COLS, 80; .equ SCREEN_ROWS, 25; .equ ATTR_NORMAL, 0x07; .equ ATTR_FRAME, 0x1F; .equ ATTR_HELP, 0x30; MAX_WINDOWS = 4; .equ left, 0; .equ top, 1; .equ right, 2; .equ bottom, 3; .equ attr, 4; .equ caption, 5; .globl VideoSeg, KeyFlags, WinCount, OpenMain, OpenHelp, MessageBox, CloseWindow

        DATASEG                         ;= .data
WinCount   dw 0                         ;= WinCount: .short 0
main_win   Window <0, 1, SCREEN_COLS-1, SCREEN_ROWS-2, ATTR_NORMAL, offset main_title> ;= main_win: .byte 0, 1, SCREEN_COLS-1, SCREEN_ROWS-2, ATTR_NORMAL; .short main_title
help_win   Window <8, 4, 71, 19, ATTR_HELP, offset help_title> ;= help_win: .byte 8, 4, 71, 19, ATTR_HELP; .short help_title
msg_win    Window <20, 10, 59, 14>      ; colour and title: the defaults ;= msg_win: .byte 20, 10, 59, 14, ATTR_NORMAL; .short 0
box        Window <>                    ; the one DrawBox is drawing ;= box: .byte 0, 0, 0, 0, ATTR_NORMAL; .short 0
; frame characters: top corners and line, bottom ones, then the sides
frame      db 0C9h, 0CDh, 0BBh, 0C8h, 0CDh, 0BCh, 0BAh ;= frame: .byte 0xC9, 0xCD, 0xBB, 0xC8, 0xCD, 0xBC, 0xBA
main_title db ' EDIT ', 0               ;= main_title: .ascii " EDIT "; .byte 0
help_title db ' Help - F1 ', 0          ;= help_title: .ascii " Help - F1 "; .byte 0

        CODESEG                         ;= .text

;--- OpenMain: the editing window and its title
PROC    OpenMain                        ;= OpenMain:
        mov cx, [WORD PTR main_win.left] ; cl = left, ch = top ;= mov cx, word ptr [main_win+left]
        mov dx, [WORD PTR main_win.right] ; dl = right, dh = bottom ;= mov dx, word ptr [main_win+right]
        mov bh, [main_win.attr]         ;= mov bh, [main_win+attr]
        call DrawBox
        mov si, [main_win.caption]      ;= mov si, [main_win+caption]
        call PutCaption
        inc [WinCount]                  ;= inc word ptr [WinCount]
        ret
ENDP    OpenMain                        ;=

;--- OpenHelp: the help window over it; carry set when too many are open
PROC    OpenHelp                        ;= OpenHelp:
        cmp [WinCount], MAX_WINDOWS     ;= cmp word ptr [WinCount], MAX_WINDOWS
        jae @@full                      ;= jae .LOpenHelp_full
        mov cx, [WORD help_win.left]    ;= mov cx, word ptr [help_win+left]
        mov dx, [WORD help_win.right]   ;= mov dx, word ptr [help_win+right]
        mov bh, [help_win.attr]         ;= mov bh, [help_win+attr]
        call DrawBox
        mov si, [help_win.caption]      ;= mov si, [help_win+caption]
        call PutCaption
        inc [WinCount]                  ;= inc word ptr [WinCount]
        clc
        ret
@@full: stc                             ;= .LOpenHelp_full: stc
        ret
ENDP    OpenHelp                        ;=

;--- MessageBox: si = ASCIIZ text, shown in a small box mid-screen
PROC    MessageBox                      ;= MessageBox:
        cmp [WinCount], MAX_WINDOWS     ;= cmp word ptr [WinCount], MAX_WINDOWS
        jae @@full                      ;= jae .LMessageBox_full
        mov [msg_win.attr], ATTR_FRAME  ;= mov byte ptr [msg_win+attr], ATTR_FRAME
        test [KeyFlags], 03h            ; a shift key down: plain colours ;= test byte ptr [KeyFlags], 0x03
        jz @@draw                       ;= jz .LMessageBox_draw
        mov [msg_win.attr], ATTR_NORMAL ;= mov byte ptr [msg_win+attr], ATTR_NORMAL
@@draw: push si                         ;= .LMessageBox_draw: push si
        mov cx, [WORD PTR msg_win.left] ;= mov cx, word ptr [msg_win+left]
        mov dx, [WORD PTR msg_win.right] ;= mov dx, word ptr [msg_win+right]
        mov bh, [msg_win.attr]          ;= mov bh, [msg_win+attr]
        call DrawBox
        pop si
        push es
        mov es, [VideoSeg]
        mov dh, [msg_win.top]           ;= mov dh, [msg_win+top]
        add dh, 2
        mov dl, [msg_win.left]          ;= mov dl, [msg_win+left]
        add dl, 2
        call CellAddr
        mov ah, [msg_win.attr]          ;= mov ah, [msg_win+attr]
        call PutText
        pop es
        inc [WinCount]                  ;= inc word ptr [WinCount]
        clc
        ret
@@full: stc                             ;= .LMessageBox_full: stc
        ret
ENDP    MessageBox                      ;=

;--- CloseWindow: the caller repaints what was under it
PROC    CloseWindow                     ;= CloseWindow:
        cmp [WinCount], 0               ;= cmp word ptr [WinCount], 0
        je @@none                       ;= je .LCloseWindow_none
        dec [WinCount]                  ;= dec word ptr [WinCount]
@@none: ret                             ;= .LCloseWindow_none: ret
ENDP    CloseWindow                     ;=

;--- DrawBox: ch,cl = top,left  dh,dl = bottom,right  bh = colour
PROC    DrawBox                         ;= DrawBox:
        mov [WORD PTR box.left], cx     ;= mov word ptr [box+left], cx
        mov [WORD PTR box.right], dx    ;= mov word ptr [box+right], dx
        mov [box.attr], bh              ;= mov [box+attr], bh
        mov ax, 0600h                   ; the BIOS clears the inside ;= mov ax, 0x0600
        int 10h                         ;= int 0x10
        push es
        mov es, [VideoSeg]
        xor bx, bx
        mov bl, [box.right]             ;= mov bl, [box+right]
        sub bl, [box.left]              ;= sub bl, [box+left]
        dec bx                          ; bx = cells between the corners
        mov dh, [box.top]               ;= mov dh, [box+top]
        mov dl, [box.left]              ;= mov dl, [box+left]
        call CellAddr
        mov si, offset frame            ; top edge
        call Edge
        mov cl, [box.bottom]            ;= mov cl, [box+bottom]
        sub cl, [box.top]               ;= sub cl, [box+top]
        dec cl
        xor ch, ch                      ; cx = rows between the edges
        jcxz @@bottom                   ;= jcxz .LDrawBox_bottom
@@loop: inc dh                          ;= .LDrawBox_loop: inc dh
        call CellAddr
        mov ah, [box.attr]              ;= mov ah, [box+attr]
        mov al, [(Window PTR bx).attr]  ; a typed pointer ;= mov al, [bx+attr]
        mov al, [frame+6]
        mov [es:di], ax                 ;= mov es:[di], ax
        add di, bx
        add di, bx
        mov [es: di+2], ax              ;= mov es:[di+2], ax
        loop @@loop                     ;= loop .LDrawBox_loop
@@bottom:                               ;= .LDrawBox_bottom:
        mov dh, [box.bottom]            ;= mov dh, [box+bottom]
        call CellAddr
        mov si, offset frame + 3        ; bottom edge
        call Edge
        pop es
        ret
ENDP    DrawBox                         ;=

;--- Edge: a horizontal edge at es:di from the three characters at si
PROC    Edge                            ;= Edge:
        mov ah, [box.attr]              ;= mov ah, [box+attr]
        lodsb
        stosw
        lodsb
        mov cx, bx
        rep stosw
        lodsb
        stosw
        ret
ENDP    Edge                            ;=

;--- PutCaption: the title at si (0: none) on the top edge of the box
PROC    PutCaption                      ;= PutCaption:
        or si, si
        jz @@done                       ;= jz .LPutCaption_done
        cmp [BYTE PTR si], 0            ;= cmp byte ptr [si], 0
        je @@done                       ;= je .LPutCaption_done
        push es
        mov es, [VideoSeg]
        mov dh, [box.top]               ;= mov dh, [box+top]
        mov dl, [box.left]              ;= mov dl, [box+left]
        add dl, 2
        call CellAddr
        mov ah, [box.attr]              ;= mov ah, [box+attr]
        call PutText
        pop es
@@done: ret                             ;= .LPutCaption_done: ret
ENDP    PutCaption                      ;=

;--- PutText: ASCIIZ at ds:si to es:di in colour ah
PROC    PutText                         ;= PutText:
@@loop: cmp [byte si], 0                ;= .LPutText_loop: cmp byte ptr [si], 0
        je @@done                       ;= je .LPutText_done
        lodsb
        stosw
        jmp @@loop                      ;= jmp .LPutText_loop
@@done: ret                             ;= .LPutText_done: ret
ENDP    PutText                         ;=

;--- CellAddr: di = offset of row dh, column dl
PROC    CellAddr                        ;= CellAddr:
        push ax
        mov al, SCREEN_COLS
        mul dh
        add al, dl
        adc ah, 0
        shl ax, 1
        mov di, ax
        pop ax
        ret
ENDP    CellAddr                        ;=

        END                             ;=
