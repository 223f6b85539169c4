; program 16
; STARS.ASM - starfield for the intro of a DOS game: mode 13h, a grey palette
; faded through the DAC, stars moved in 8.8 fixed point, a greeting scrolled
; along the bottom.  Small model, 386 instructions in 16-bit code; STARS.C
; (Turbo C, -ms) calls stars_run() with DS = DGROUP.     tasm /ml /m2 stars
        .model small                    ;=
        .386                            ;=
        locals                          ;=

SCR_W       equ 320                     ;= .equ SCR_W, 320
SCR_H       equ 200                     ;= .equ SCR_H, 200
NSTARS      equ 48                      ;= .equ NSTARS, 48
FIX         equ 8                       ; 8.8 fixed point ;= .equ FIX, 8
CENTRE_X    equ SCR_W / 2               ;= .equ CENTRE_X, 160
CENTRE_Y    equ SCR_H / 2               ;= .equ CENTRE_Y, 100
DAC_WRITE   equ 3C8h                    ;= .equ DAC_WRITE, 0x3C8
STATUS      equ 3DAh                    ;= .equ STATUS, 0x3DA
KEY_ESC     equ 1                       ;= .equ KEY_ESC, 1
NAME_LEN    equ 8                       ;= .equ NAME_LEN, 8
MAGIC       equ 'ST'                    ; file signature ;= .equ MAGIC, 0x5354
STAR_SIZE   equ 12                      ;= .equ STAR_SIZE, 12

star    struc                           ; STAR_SIZE bytes ;=
sx      dw ?                            ; 8.8 position ;= .equ sx, 0
sy      dw ?                            ;= .equ sy, 2
vx      dw ?                            ;= .equ vx, 4
vy      dw ?                            ;= .equ vy, 6
shade   db 31                           ;= .equ shade, 8
        db ?                            ; pad: keep vx, vy aligned ;=
trail   db 2 dup (0)                    ;= .equ trail, 10
star    ends                            ;=

; the header of a saved palette file
palhdr  struc                           ;=
ph_sig  dw MAGIC                        ;= .equ ph_sig, 0
ph_name db 'NONAME  '                   ;= .equ ph_name, 2
ph_pad  db NAME_LEN dup (' ')           ;= .equ ph_pad, 10
ph_cnt  dw 64                           ;= .equ ph_cnt, 18
ph_fade db 63                           ;= .equ ph_fade, 20
palhdr  ends                            ;=

        .data                           ;= .data
screen      dd 0A0000000h               ; A000:0000 ;= screen: .long 0xA0000000
seed        dw 1234h                    ;= seed: .short 0x1234
frame       dw 0                        ;= frame: .short 0
fade        db 63                       ;= fade: .byte 63
oldmode     db 3                        ;= oldmode: .byte 3
header      palhdr <>                   ;= header: .short 0x5354; .ascii "NONAME  "; .ascii "        "; .short 64; .byte 63
sintab      db 0, 6, 12, 19, 25, 31, 37, 43, 49, 54, 60, 65, 71, 76, 81, 85 ;= sintab: .byte 0, 6, 12, 19, 25, 31, 37, 43, 49, 54, 60, 65, 71, 76, 81, 85
shades      db 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16 ;= shades: .byte 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16
greeting    db 'GREETINGS FROM THE STARS!', 0 ;= greeting: .ascii "GREETINGS FROM THE STARS!"; .byte 0
GREET_LEN   equ $ - greeting - 1        ;= .equ GREET_LEN, . - greeting - 1
password    db 'warp'                   ;= password: .ascii "warp"
typed       db 4 dup (?)                ;= typed: .byte 0, 0, 0, 0
stars       db NSTARS * STAR_SIZE dup (0) ;= stars: .fill NSTARS * STAR_SIZE, 1, 0
row_ofs     dw SCR_H dup (?)            ;= row_ofs: .fill SCR_H, 2, 0

        .code                           ;= .text
        public _stars_run               ;= .globl _stars_run

; void stars_run(void): until Esc
_stars_run proc                         ;= _stars_run:
        push si                         ;=     push si
        push di                         ;=     push di
        cld
        mov ah, 0Fh                     ;= mov ah, 0x0F
        int 10h                         ;= int 0x10
        mov oldmode, al
        mov ax, 13h                     ;= mov ax, 0x13
        int 10h                         ;= int 0x10
        cmp header.ph_sig, MAGIC        ;= cmp word ptr [header+0], 0x5354
        jne @@nofade                    ;= jne .Lrun_nofade
        mov al, header.ph_fade          ;= mov al, [header+20]
        mov fade, al
@@nofade:                               ;= .Lrun_nofade:
        call make_rows
        call init_stars
        call set_palette
@@frame:                                ;= .Lrun_frame:
        call wait_retrace
        call clear_screen
        call move_stars
        call draw_stars
        call scroll_text
        inc frame                       ;= inc word ptr frame
        in al, 60h                      ;= in al, 0x60
        cmp al, KEY_ESC
        jne @@frame                     ;= jne .Lrun_frame
        call fade_out
        mov al, oldmode
        xor ah, ah
        int 10h                         ;= int 0x10
        pop di
        pop si
        ret
_stars_run endp                         ;=

; row_ofs[i] = i * 320
make_rows proc near                     ;= make_rows:
        xor ax, ax
        xor bx, bx
        mov cx, SCR_H
@@next: mov row_ofs[bx], ax             ;= .Lrows_next: mov [row_ofs+bx], ax
        add ax, SCR_W
        add bx, 2
        loop @@next                     ;= loop .Lrows_next
        ret
make_rows endp                          ;=

; 16-bit linear congruential generator: seed = seed * 25173 + 13849
random  proc near                       ;= random:
        push dx
        mov ax, seed
        mov dx, 25173
        mul dx
        add ax, 13849
        mov seed, ax
        pop dx
        ret
random  endp                            ;=

init_stars proc near                    ;= init_stars:
        lea si, stars
        mov cx, NSTARS
@@one:  call random                     ;= .Linit_one: call random
        and ax, 7FFh                    ;= and ax, 0x7FF
        sub ax, 400h                    ;= sub ax, 0x400
        mov [si].vx, ax                 ;= mov [si+4], ax
        call random
        and ax, 3FFh                    ;= and ax, 0x3FF
        sub ax, 200h                    ;= sub ax, 0x200
        mov [si+vy], ax                 ;= mov [si+6], ax
        mov [si].sx, CENTRE_X shl FIX   ;= mov word ptr [si+0], 160 << 8
        mov word ptr [si].sy, CENTRE_Y shl FIX ;= mov word ptr [si+2], 100 << 8
        mov [si].shade, 31              ;= mov byte ptr [si+8], 31
        mov word ptr [si].trail, 0      ;= mov word ptr [si+10], 0
        add si, STAR_SIZE
        loop @@one                      ;= loop .Linit_one
        ret
init_stars endp                         ;=

; a grey ramp in the first 64 colours, scaled by fade
set_palette proc near                   ;= set_palette:
        mov dx, DAC_WRITE
        xor al, al
        out dx, al
        inc dx
        xor bl, bl
@@grey: mov al, bl                      ;= .Lpal_grey: mov al, bl
        mul fade                        ;= mul byte ptr fade
        shr ax, 6
        out dx, al
        out dx, al
        out dx, al
        inc bl
        cmp bl, 64
        jb @@grey                       ;= jb .Lpal_grey
        ret
set_palette endp                        ;=

; the palette from a buffer of 192 bytes at ds:si, straight to the DAC
load_palette proc near                  ;= load_palette:
        mov dx, DAC_WRITE
        xor al, al
        out dx, al
        inc dx
        mov cx, 192
        rep outs dx, byte ptr [si]      ;= rep outsb
        ret
load_palette endp                       ;=

wait_retrace proc near                  ;= wait_retrace:
        mov dx, STATUS
@@in:   in al, dx                       ;= .Lwait_in: in al, dx
        test al, 8
        jnz @@in                        ;= jnz .Lwait_in
@@out:  in al, dx                       ;= .Lwait_out: in al, dx
        test al, 8
        jz @@out                        ;= jz .Lwait_out
        ret
wait_retrace endp                       ;=

clear_screen proc near                  ;= clear_screen:
        les di, screen                  ;= les di, dword ptr screen
        xor eax, eax
        mov cx, SCR_W * SCR_H / 4
        rep stosd
        ret
clear_screen endp                       ;=

move_stars proc near                    ;= move_stars:
        mov si, offset stars
        mov cx, NSTARS
@@move: mov ax, [si].vx                 ;= .Lmove_move: mov ax, [si+4]
        add [si].sx, ax                 ;= add [si+0], ax
        mov ax, [si+vy]                 ;= mov ax, [si+6]
        add [si+sy], ax                 ;= add [si+2], ax
        mov ax, [si].sx                 ;= mov ax, [si+0]
        sar ax, FIX
        cmp ax, SCR_W
        jae @@reset                     ;= jae .Lmove_reset
        mov ax, [si].sy                 ;= mov ax, [si+2]
        sar ax, FIX
        cmp ax, SCR_H
        jae @@reset                     ;= jae .Lmove_reset
        mov ax, [si].vx                 ; speed up: v += v/16 ;= mov ax, [si+4]
        mov dx, ax
        sar dx, 4
        add ax, dx
        mov [si].vx, ax                 ;= mov [si+4], ax
        imul ax, [si].vy, 17            ;= imul ax, [si+6], 17
        sar ax, 4
        mov [si].vy, ax                 ;= mov [si+6], ax
        mov al, [si].shade              ;= mov al, [si+8]
        xchg al, [si].trail             ;= xchg al, [si+10]
        mov [si].trail+1, al            ;= mov [si+11], al
        dec [si].shade                  ;= dec byte ptr [si+8]
        jns @@keep                      ;= jns .Lmove_keep
        mov [si].shade, 0               ;= mov byte ptr [si+8], 0
@@keep: add si, STAR_SIZE               ;= .Lmove_keep: add si, STAR_SIZE
        loop @@move                     ;= loop .Lmove_move
        ret
@@reset:                                ;= .Lmove_reset:
        mov [si].sx, CENTRE_X shl FIX   ;= mov word ptr [si+0], 160 << 8
        mov [si].sy, CENTRE_Y shl FIX   ;= mov word ptr [si+2], 100 << 8
        mov byte ptr [si].shade, 31     ;= mov byte ptr [si+8], 31
        jmp @@keep                      ;= jmp .Lmove_keep
move_stars endp                         ;=

draw_stars proc near                    ;= draw_stars:
        les di, screen                  ;= les di, dword ptr screen
        mov bx, offset stars
        mov cx, NSTARS
@@star: mov si, [bx].sy                 ;= .Ldraw_star: mov si, [bx+2]
        sar si, FIX
        shl si, 1
        mov di, row_ofs[si]             ;= mov di, [row_ofs+si]
        mov ax, [bx].sx                 ;= mov ax, [bx+0]
        sar ax, FIX
        add di, ax
        mov al, [bx].shade              ;= mov al, [bx+8]
        push bx
        mov bx, offset shades
        and al, 0Fh                     ;= and al, 0x0F
        xlat shades                     ;= xlat
        pop bx
        mov es:[di], al
        add bx, STAR_SIZE
        loop @@star                     ;= loop .Ldraw_star
        ret
draw_stars endp                         ;=

; the greeting in colour 15 on row 180, one pixel a character, moving left
scroll_text proc near                   ;= scroll_text:
        les di, screen                  ;= les di, dword ptr screen
        add di, 180 * SCR_W
        mov ax, frame
        and ax, 0FFh                    ;= and ax, 0xFF
        sub di, ax
        lea si, greeting
        mov cx, GREET_LEN
        mov bx, offset greeting[GREET_LEN - 1] ; its last character ;= mov bx, offset greeting + GREET_LEN - 1
@@char: lods greeting                   ;= .Lscroll_char: lodsb
        cmp al, ' '                     ;= cmp al, 0x20
        je @@skip                       ;= je .Lscroll_skip
        mov al, 15
@@skip: stos byte ptr es:[di]           ;= .Lscroll_skip: stosb
        loop @@char                     ;= loop .Lscroll_char
        ret
scroll_text endp                        ;=

; compare the typed word with the password: zero flag set when equal
check_password proc near                ;= check_password:
        push ds
        pop es
        mov si, offset typed
        mov di, offset password
        mov cx, 4
        repe cmps typed, password       ;= repe cmpsb
        ret
check_password endp                     ;=

; ax = sin(al) * bx >> 7, al an angle of 0..63 (a quarter wave)
scaled_sin proc near                    ;= scaled_sin:
        push bx
        mov bx, offset sintab
        and al, 3Fh                     ;= and al, 0x3F
        shr al, 2
        xlat sintab                     ;= xlat
        cbw
        pop bx
        imul bx
        shrd ax, dx, 7
        ret
scaled_sin endp                         ;=

fade_out proc near                      ;= fade_out:
@@step: call wait_retrace               ;= .Lfade_step: call wait_retrace
        call set_palette
        dec fade                        ;= dec byte ptr fade
        jnz @@step                      ;= jnz .Lfade_step
        ret
fade_out endp                           ;=

        end                             ;=
