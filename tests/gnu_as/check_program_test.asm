; program 16
; The checker's own test program: 16-bit code that today's converter already gets right. Tasm has
; no ".code16"; the line stands in for "model small" until the converter writes it itself.
        .code16                         ;=
        ideal                           ;=
        model small                     ;=
BUFLEN  equ 80h                         ;= .equ BUFLEN, 0x80

        dataseg                         ;= .data
count   dw 10                           ;= count: .short 10
table   dw 1, 2, 4, 8, 16, 32           ;= table: .short 1, 2, 4, 8, 16, 32
bytes   db 0Fh, 0101b, 255, 'A'         ;= bytes: .byte 0x0F, 0b0101, 255, 'A'
ptrs    dw offset table, offset bytes   ;= ptrs: .short table, bytes
buffer  db 16, 0, 0                     ;= buffer: .byte 16, 0, 0

        codeseg                         ;= .text
        public start                    ;= .globl start
start:  mov ax, bx                      ; registers of every size
        mov al, bh
        mov es, ax
        push ds
        pop es
        mov ax, 1234h                   ;= mov ax, 0x1234
        mov bl, 0FFh                    ;= mov bl, 0xFF
        mov al, 0
        mov dx, offset table
        add ax, BUFLEN
        lea di, buffer
        les di, ptrs
        mov ax, [bp+di+4]
        mov byte ptr [di], 5
        mov ax, es:[bx+4]
        mov ax, cs:table[bx]
        in al, 60h                      ;= in al, 0x60
        movzx ax, bl
        lodsb
        stosw
        mov cx, 10
again:  dec cx
        jnz short again
        call print
        loop again
        mov ax, 4C00h                   ;= mov ax, 0x4C00
        int 21h                         ;= int 0x21
print:  ret
        end start                       ;=
