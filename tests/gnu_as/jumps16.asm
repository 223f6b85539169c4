; bits 16
; Tasm's jumps on the 8086 (its default processor) and the 80286: a conditional jump out of reach
; is the inverted short jump over a near jmp, since they have no 0F 8x jumps; in reach it stays
; short. On the 80386 it is the near conditional jump.
        jumps                           ;=
start:  cmp ax, 1
        je far_away                     ;= .byte 0x75, 0x03; jmp far_away
        jne start
        jcxz start
        db 200 dup (90h)                ;= .fill 200, 1, 0x90
        .286                            ;=
        push 5
        jc start                        ;= .byte 0x73, 0x03; jmp start
        shl ax, 3
        fstsw ax
        .386                            ;=
        movzx eax, bl
        jz start
far_away:
        ret
