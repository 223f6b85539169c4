; bits 16
; A DOS-style program in 16-bit code. Each line is also read by GNU As in Intel mode: the text
; before ";" as it stands, or, where Intel-mode GNU As cannot read the Tasm form (h and b
; suffixes, data directives, Tasm-only directives, [seg:reg]), the equivalent Intel line after ";=".
        ideal                           ;=
        model small                     ;=
        p386                            ;=
        stack 100h                      ;=
BUFLEN  equ 80h                         ;= .equ BUFLEN, 0x80

        dataseg                         ;= .data
count   dw 10                           ;= count: .short 10
table   dw 1, 2, 4, 8, 16, 32           ;= table: .short 1, 2, 4, 8, 16, 32
bytes   db 0Fh, 0101b, 255, 'A'         ;= bytes: .byte 0x0F, 0b0101, 255, 'A'
ptrs    dw offset table, offset bytes   ;= ptrs: .short table, bytes
        align 2                         ;= .align 2
buffer  db 16, 0, 0                     ;= buffer: .byte 16, 0, 0

        codeseg                         ;= .text
        public start                    ;= .globl start
start:  mov ax, bx                      ; registers of every size
        mov al, bh
        mov es, ax
        mov ax, ss
        push ds
        pop es
        mov ax, 1234h                   ;= mov ax, 0x1234
        mov bl, 0FFh                    ;= mov bl, 0xFF
        mov cx, 1010b                   ;= mov cx, 0b1010
        mov dx, offset table
        add ax, BUFLEN
        lea di, buffer
        lea si, [bx+si+2]
        les di, ptrs
        lds si, ptrs

        ; memory operands of every form
        mov ax, [bx]
        mov ax, [bx+si]
        mov ax, [bp+di+4]
        mov ax, [bp-2]
        mov al, [si+0Ah]                ;= mov al, [si+0x0A]
        mov ax, [table+bx]
        mov ax, table[bx]
        mov ax, table[bx][si]
        mov ax, [bx][di]
        mov al, [bx]+2
        mov ax, [bp+4][si]
        mov ax, [count]
        mov ax, word ptr [bp+6]
        mov byte ptr [di], 5
        mov word ptr [bx+si+10h], 1     ;= mov word ptr [bx+si+0x10], 1
        inc byte ptr [bx]
        mov ax, es:[bx+4]
        mov ax, es:[bx]
        mov byte ptr es:[di], 0
        mov ax, [es:di]                 ;= mov ax, es:[di]
        mov ax, cs:table[bx]
        mov dx, es:[1234h]              ;= mov dx, es:[0x1234]
        cmp word ptr [bp-2], 0

        ; shifts by cl, ports, extensions, string instructions
        shl ax, cl
        shr bl, cl
        sar dx, 1
        rol word ptr [bx], cl
        shld ax, bx, cl
        in al, dx
        in ax, dx
        out dx, al
        in al, 60h                      ;= in al, 0x60
        out 20h, al                     ;= out 0x20, al
        movzx ax, bl
        movsx dx, byte ptr [si]
        cbw
        cwd
        lodsb
        stosw
        movsb
        cmpsb
        scasw

        ; jumps, calls and loops
        mov cx, 10
again:  dec cx
        jnz short again
        jz done
        jmp short done
        call print
        call ax
        call word ptr [bx]
        jmp word ptr [bx+2]
        loop again
        loopne again
        jcxz done
done:   mov ax, 4C00h                   ;= done: mov ax, 0x4C00
        int 21h                         ;= int 0x21
print:  ret
        end start                       ;=
