; dos_copy.asm - copies a block of words between segments and scales a table, in 16-bit code.
; Shows segment registers, segment overrides, string instructions, shifts and ports.
        ideal
        model small
        p386

        codeseg
        public copy_block
copy_block:
        push ds
        push es
        mov ax, [bp+4]                  ; source segment
        mov ds, ax
        mov ax, [bp+6]                  ; destination segment
        mov es, ax
        mov si, [bp+8]
        mov di, [bp+10]
        mov cx, [bp+12]
        cld
copy:   lodsw
        stosw
        loop copy
        pop es
        pop ds

        ; double every entry of the table that es:di points to
        mov cx, 8
        xor bx, bx
scale:  mov ax, es:[bx+di]
        shl ax, 1
        mov es:[bx+di], ax
        add bx, 2
        loop scale

        ; scale by a count in cl, and read a port
        mov cl, 3
        shl word ptr [bx+si], cl
        in al, 61h                      ; speaker control port
        and al, 0FCh
        out 61h, al
        movzx ax, al
        ret
        end
