; hello.asm - prints a greeting and the digits 0 to 9 under DOS
        ideal
        model small
        stack 100h

        dataseg
greeting db 'Hello from Tasm', 13, 10, '$'
digits  db 10 dup (?)
count   dw 10

        codeseg
start:  mov ax, @data           ; point ds at the data segment
        mov ds, ax
        mov dx, offset greeting
        mov ah, 9               ; DOS: print string
        int 21h

        mov cx, [count]
        xor bx, bx
        mov al, '0'
fill:   mov [digits+bx], al     ; store the next digit
        inc al
        inc bx
        loop fill

        mov ax, 4C00h           ; DOS: exit with status 0
        int 21h
        end start
