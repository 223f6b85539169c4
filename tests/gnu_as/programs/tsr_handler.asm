; program 16
;----------------------------------------------------------------------------
; TSRCLOCK.EXE  -  a resident clock in the top right corner of the screen
;   Alt+C shows or hides it.  Run it a second time to take it out of memory.
; TASM 2.0, MASM mode, small model.  Code and data share the code segment,
; which TLINK puts first, right behind the PSP (that is what keeps the
; resident size below right).        tasm tsrclock;  tlink tsrclock
;----------------------------------------------------------------------------
        .model small                    ;=
        .286                            ;=
        .stack 100h                     ;=
        locals                          ;=

MUX_ID          equ 0C7h                ; our function number on int 2Fh ;= .equ MUX_ID, 0xC7
HOTKEY          equ 2Eh                 ; scan code of the C key ;= .equ HOTKEY, 0x2E
ALT_DOWN        equ 08h                 ;= .equ ALT_DOWN, 0x08
BIOS_SEG        equ 40h                 ;= .equ BIOS_SEG, 0x40
KBD_FLAGS       equ 17h                 ; shift flags at 0040:0017 ;= .equ KBD_FLAGS, 0x17
VIDEO_SEG       equ 0B800h              ;= .equ VIDEO_SEG, 0xB800
CLOCK_POS       equ (80 - 8) * 2        ; offset of the clock in row 0 ;= .equ CLOCK_POS, (80 - 8) * 2
TICKS_SEC       equ 18                  ; a repaint about every second ;= .equ TICKS_SEC, 18

        .code                           ;= .text
;---------------------------- resident part ---------------------------------
old09   dd ?                            ; keyboard ;= old09: .long 0
old1c   dd ?                            ; user timer tick ;= old1c: .long 0
old2f   dd ?                            ; multiplex ;= old2f: .long 0
psp_seg dw ?                            ;= psp_seg: .short 0
visible db 1                            ;= visible: .byte 1
countdown db 1                          ;= countdown: .byte 1
last_scan db 0                          ;= last_scan: .byte 0
attr    db 70h                          ; black on grey ;= attr: .byte 0x70

; int 09h: the BIOS reads the key first, then we look for Alt+C
kbd_isr proc far                        ;= kbd_isr:
        push ax
        in al, 60h                      ; peek at the scan code ;= in al, 0x60
        mov cs:last_scan, al
        pop ax
        pushf
        call cs:old09                   ;= call dword ptr cs:old09
        cmp cs:last_scan, HOTKEY        ;= cmp byte ptr cs:last_scan, HOTKEY
        jne @@done                      ;= jne .Lkbd_done
        push ds
        push ax
        mov ax, BIOS_SEG
        mov ds, ax
        test byte ptr ds:[KBD_FLAGS], ALT_DOWN
        pop ax
        pop ds
        jz @@done                       ;= jz .Lkbd_done
        xor cs:visible, 1               ;= xor byte ptr cs:visible, 1
        mov cs:countdown, 1             ; paint on the next tick ;= mov byte ptr cs:countdown, 1
@@done: iret                            ;= .Lkbd_done: iret
kbd_isr endp                            ;=

; int 1Ch: hidden, straight on down the chain; else paint the time
timer_isr proc far                      ;= timer_isr:
        cmp cs:visible, 0               ;= cmp byte ptr cs:visible, 0
        jne @@show                      ;= jne .Ltimer_show
        jmp cs:[old1c]                  ;= jmp dword ptr cs:[old1c]
@@show: pushf                           ;= .Ltimer_show: pushf
        call dword ptr cs:[old1c]
        dec cs:countdown                ;= dec byte ptr cs:countdown
        jnz @@done                      ;= jnz .Ltimer_done
        mov cs:countdown, TICKS_SEC     ;= mov byte ptr cs:countdown, TICKS_SEC
        push ax bx cx dx di es          ;= push ax; push bx; push cx; push dx; push di; push es
        mov ah, 2                       ; RTC time: ch:cl:dh = h:m:s, BCD
        int 1Ah                         ;= int 0x1A
        jc @@restore                    ; clock busy updating ;= jc .Ltimer_restore
        cld
        mov ax, VIDEO_SEG
        mov es, ax
        mov di, CLOCK_POS
        mov al, ch
        call put_bcd
        mov al, ':'
        call put_char
        mov al, cl
        call put_bcd
        mov al, ':'
        call put_char
        mov al, dh
        call put_bcd
@@restore:                              ;= .Ltimer_restore:
        pop es di dx cx bx ax           ;= pop es; pop di; pop dx; pop cx; pop bx; pop ax
@@done: iret                            ;= .Ltimer_done: iret
timer_isr endp                          ;=

; int 2Fh: answer our installation check, pass on everything else
mux_isr proc far                        ;= mux_isr:
        cmp ah, MUX_ID
        je @@mine                       ;= je .Lmux_mine
        jmp dword ptr cs:old2f
@@mine: mov al, 0FFh                    ; installed, es = our segment ;= .Lmux_mine: mov al, 0xFF
        push cs
        pop es
        iret
mux_isr endp                            ;=

; al = two BCD digits, written at es:di
put_bcd proc near                       ;= put_bcd:
        push ax
        shr al, 4
        add al, '0'
        call put_char
        pop ax
        and al, 0Fh                     ;= and al, 0x0F
        add al, '0'
        call put_char
        ret
put_bcd endp                            ;=

put_char proc near                      ;= put_char:
        mov ah, cs:attr
        stosw
        ret
put_char endp                           ;=

resident_end label byte                 ;= resident_end:
;------------------- transient part: install or remove ---------------------
msg_done  db 'Clock installed: Alt+C shows or hides it.', 13, 10, '$' ;= msg_done: .ascii "Clock installed: Alt+C shows or hides it."; .byte 13, 10; .ascii "$"
msg_gone  db 'Clock removed.', 13, 10, '$' ;= msg_gone: .ascii "Clock removed."; .byte 13, 10; .ascii "$"
msg_stuck db 'Cannot remove the clock: another TSR has hooked in after it.', 13, 10, '$' ;= msg_stuck: .ascii "Cannot remove the clock: another TSR has hooked in after it."; .byte 13, 10; .ascii "$"

start:  mov cs:psp_seg, es              ; es = PSP on entry
        push cs
        pop ds                          ; all our data lives in the code segment
        mov ax, MUX_ID * 256            ; already resident?
        int 2Fh                         ;= int 0x2F
        cmp al, 0FFh                    ;= cmp al, 0xFF
        je remove
        mov ax, 3509h                   ; keyboard ;= mov ax, 0x3509
        int 21h                         ;= int 0x21
        mov word ptr cs:old09, bx
        mov word ptr cs:old09+2, es
        mov dx, offset kbd_isr
        mov ax, 2509h                   ;= mov ax, 0x2509
        int 21h                         ;= int 0x21
        mov al, 1Ch                     ; timer tick ;= mov al, 0x1C
        mov di, offset old1c
        mov dx, offset timer_isr
        call hook
        mov al, 2Fh                     ; multiplex ;= mov al, 0x2F
        mov di, offset old2f
        mov dx, offset mux_isr
        call hook
        mov dx, offset msg_done
        mov ah, 9
        int 21h                         ;= int 0x21
        mov es, cs:psp_seg
        mov es, es:[2Ch]                ; free our copy of the environment ;= mov es, es:[0x2C]
        mov ah, 49h                     ;= mov ah, 0x49
        int 21h                         ;= int 0x21
        mov dx, offset resident_end + 100h + 15 ; the PSP too, rounded up ;= mov dx, offset resident_end + 0x100 + 15
        mov cl, 4
        shr dx, cl                      ; bytes -> paragraphs
        mov ax, 3100h                   ; terminate and stay resident ;= mov ax, 0x3100
        int 21h                         ;= int 0x21

; es = segment of the resident copy: unhook it, if nobody came after us
remove: mov bp, es
        mov al, 09h                     ;= mov al, 0x09
        call owns_vec
        jne @@stuck                     ;= jne .Lremove_stuck
        mov al, 1Ch                     ;= mov al, 0x1C
        call owns_vec
        jne @@stuck                     ;= jne .Lremove_stuck
        mov al, 2Fh                     ;= mov al, 0x2F
        call owns_vec
        jne @@stuck                     ;= jne .Lremove_stuck
        push ds
        mov es, bp
        lds dx, es:old09                ;= lds dx, dword ptr es:old09
        mov ax, 2509h                   ;= mov ax, 0x2509
        int 21h                         ;= int 0x21
        lds dx, es:old1c                ;= lds dx, dword ptr es:old1c
        mov ax, 251Ch                   ;= mov ax, 0x251C
        int 21h                         ;= int 0x21
        lds dx, es:old2f                ;= lds dx, dword ptr es:old2f
        mov ax, 252Fh                   ;= mov ax, 0x252F
        int 21h                         ;= int 0x21
        pop ds
        mov es, es:psp_seg              ; the resident copy's PSP
        mov ah, 49h                     ;= mov ah, 0x49
        int 21h                         ;= int 0x21
        mov dx, offset msg_gone
        jmp short @@say                 ;= jmp .Lremove_say
@@stuck:                                ;= .Lremove_stuck:
        mov dx, offset msg_stuck
@@say:  mov ah, 9                       ;= .Lremove_say: mov ah, 9
        int 21h                         ;= int 0x21
        mov ax, 4C00h                   ;= mov ax, 0x4C00
        int 21h                         ;= int 0x21

; zf set if vector al still points into segment bp
owns_vec proc                           ; near: small model ;= owns_vec:
        push es
        mov ah, 35h                     ;= mov ah, 0x35
        int 21h                         ;= int 0x21
        mov bx, es
        cmp bx, bp
        pop es
        ret
owns_vec endp                           ;=

; al = vector, ds:dx = new handler, cs:di = where the old one is kept
hook    proc                            ;= hook:
        push ax
        mov ah, 35h                     ;= mov ah, 0x35
        int 21h                         ;= int 0x21
        mov cs:[di], bx
        mov cs:[di+2], es
        pop ax
        mov ah, 25h                     ;= mov ah, 0x25
        int 21h                         ;= int 0x21
        ret
hook    endp                            ;=

        end start                       ;=
