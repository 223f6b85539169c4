; program 16
; SCREEN.ASM - direct text-mode output for the setup program's menus.
; TASM 3.0, IDEAL mode. Near procedures, called from C with DS = DGROUP.
        ideal                           ;=
        model small                     ;=
        locals                          ;=

ROWS      equ 25                        ;= .equ ROWS, 25
ROW_BYTES equ 80 * 2                    ;= .equ ROW_BYTES, 80 * 2
NORMAL    equ 07h                       ;= .equ NORMAL, 0x07

        dataseg                         ;= .data
screen_ptr dd 0B8000000h                ; the text page, segment:offset ;= screen_ptr: .int 0xB8000000
attribute db NORMAL                     ;= attribute: .byte NORMAL
ascii_box db '++++-+|'                  ; for printers and ASCII terminals ;= ascii_box: .ascii "++++-+|"
row_table dw ROWS dup (0)               ; offset of each row ;= row_table: .fill ROWS, 2, 0

        udataseg                        ;= .bss
; what save_rect keeps: height, width, row:col, then the cells
save_buf  dw (2 + 12 * 40) dup (?)      ;= save_buf: .skip (2 + 12 * 40) * 2

        codeseg                         ;= .text
        public init_screen, far_strlen, put_far_string ;= .globl init_screen, far_strlen, put_far_string
        public draw_box, save_rect, restore_rect ;= .globl draw_box, save_rect, restore_rect
; box characters live in the code segment: the Ctrl-Break handler draws
; with them too. Top left, top, top right, bottom left, bottom, bottom
; right, side.
box_chars db 0C9h, 0CDh, 0BBh, 0C8h, 0CDh, 0BCh, 0BAh ;= box_chars: .byte 0xC9, 0xCD, 0xBB, 0xC8, 0xCD, 0xBC, 0xBA
mono      db 0                          ; 1 on an MDA or Hercules card ;= mono: .byte 0

; void init_screen(int ascii_only)
proc    init_screen                     ;= init_screen:
        push bp
        mov bp, sp
        push si di                      ;= push si; push di
        mov ah, 0Fh                     ; get the video mode ;= mov ah, 0x0F
        int 10h                         ;= int 0x10
        cmp al, 7
        jne is_colour
        mov [BYTE PTR cs:mono], 1       ;= mov byte ptr cs:[mono], 1
        mov [WORD PTR screen_ptr+2], 0B000h ;= mov word ptr [screen_ptr+2], 0xB000
is_colour:
        xor ax, ax
        xor bx, bx
        mov cx, ROWS
is_row: mov [bx+offset row_table], ax   ;= is_row: mov [bx+row_table], ax
        add ax, ROW_BYTES
        add bx, 2
        loop is_row
        cmp [word bp+4], 0              ;= cmp word ptr [bp+4], 0
        je is_done
        mov si, offset ascii_box        ; no line graphics: patch the box
        mov di, offset box_chars
        mov cx, 7
is_copy:
        lodsb
        mov [cs: di], al                ;= mov cs:[di], al
        inc di
        loop is_copy
is_done:
        pop di si                       ;= pop di; pop si
        pop bp
        ret
endp    init_screen                     ;=

; screen_addr: ES:DI = the cell at row DH, column DL
proc    screen_addr                     ;= screen_addr:
        les di, [screen_ptr]
        mov bl, dh
        xor bh, bh
        shl bx, 1
        add di, [bx + offset row_table] ;= add di, [bx+row_table]
        xor dh, dh
        shl dx, 1
        add di, dx
        ret
endp    screen_addr                     ;=

; int far_strlen(char far *s)
proc    far_strlen                      ;= far_strlen:
        push bp
        mov bp, sp
        push si
        les bx, [dword ptr bp+4]        ;= les bx, dword ptr [bp+4]
        xor si, si
fs_next:
        mov al, [es : bx+si]            ;= mov al, es:[bx+si]
        inc si
        or al, al
        jnz fs_next
        lea ax, [si-1]
        pop si
        pop bp
        ret
endp    far_strlen                      ;=

; void put_far_string(int row_col, char far *s): row in the high byte
proc    put_far_string                  ;= put_far_string:
        push bp
        mov bp, sp
        push si di ds                   ;= push si; push di; push ds
        mov dx, [bp+4]
        call screen_addr
        mov ah, [attribute]
        lds si, [DWORD PTR bp+6]        ;= lds si, dword ptr [bp+6]
pf_next:
        lodsb
        or al, al
        jz pf_done
        stosw
        jmp pf_next
pf_done:
        pop ds di si                    ;= pop ds; pop di; pop si
        pop bp
        ret
endp    put_far_string                  ;=

; void draw_box(int row_col, int height, int width)
proc    draw_box                        ;= draw_box:
        push bp
        mov bp, sp
        push si di                      ;= push si; push di
        mov dx, [bp+4]
        call screen_addr
        mov ah, [attribute]
        mov si, offset box_chars
        call box_line
        mov cx, [word bp+6]             ;= mov cx, word ptr [bp+6]
        sub cx, 2
        mov bx, [bp+8]
        shl bx, 1
db_side:
        add di, ROW_BYTES
        mov al, [BYTE PTR cs:box_chars+6] ;= mov al, byte ptr cs:[box_chars+6]
        mov [byte ptr es:di], al        ;= mov byte ptr es:[di], al
        mov [es : bx+di-2], al          ;= mov es:[bx+di-2], al
        loop db_side
        add di, ROW_BYTES
        mov si, offset box_chars + 3
        call box_line
        pop di si                       ;= pop di; pop si
        pop bp
        ret
endp    draw_box                        ;=

; box_line: CS:SI -> left, middle, right; ES:DI = row start (kept);
; AH = attribute; the width is the caller's [bp+8]
proc    box_line                        ;= box_line:
        push di
        mov al, [cs: si]                ;= mov al, cs:[si]
        stosw
        mov al, [cs: si + 1]            ;= mov al, cs:[si+1]
        mov cx, [bp+8]
        sub cx, 2
        rep stosw
        mov al, [cs:si+2]               ;= mov al, cs:[si+2]
        stosw
        pop di
        ret
endp    box_line                        ;=

; void save_rect(int row_col, int height, int width)
proc    save_rect                       ;= save_rect:
        push bp
        mov bp, sp
        push si di                      ;= push si; push di
        mov bx, offset save_buf
        mov al, [bp+6]
        mov [byte ptr bx], al           ;= mov byte ptr [bx], al
        mov al, [bp+8]
        mov [BYTE bx+1], al             ;= mov byte ptr [bx+1], al
        mov dx, [bp+4]
        mov [word bx+2], dx             ;= mov word ptr [bx+2], dx
        call screen_addr
        mov bx, di                      ; ES:BX -> the screen
        mov si, offset save_buf + 4
        mov dx, [bp+6]
sr_row: push bx
        mov cx, [bp+8]
sr_col: mov ax, es: [bx]                ;= sr_col: mov ax, es:[bx]
        mov [si], ax
        add bx, 2
        add si, 2
        loop sr_col
        pop bx
        add bx, ROW_BYTES
        dec dx
        jnz sr_row
        pop di si                       ;= pop di; pop si
        pop bp
        ret
endp    save_rect                       ;=

; void restore_rect(void): put back what save_rect kept
proc    restore_rect                    ;= restore_rect:
        push si di                      ;= push si; push di
        mov bx, offset save_buf
        mov dx, [word bx+2]             ;= mov dx, word ptr [bx+2]
        call screen_addr
        mov bx, offset save_buf
        mov dl, [byte ptr bx]           ; rows ;= mov dl, byte ptr [bx]
        mov si, 2
rr_row: push di
        mov cx, [ bx ]                  ;= mov cx, [bx]
        mov cl, ch                      ; columns
        xor ch, ch
rr_col: mov ax, [bx + si + 2]           ;= rr_col: mov ax, [bx+si+2]
        stosw
        add si, 2
        loop rr_col
        pop di
        add di, ROW_BYTES
        dec dl
        jnz rr_row
        pop di si                       ;= pop di; pop si
        ret
endp    restore_rect                    ;=
        end                             ;=
