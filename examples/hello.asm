; hello.asm - a DOS .COM-style program: prints a greeting, then the digits 0 to 9.
; 16-bit code: "model tiny" becomes ".code16" in the converted file.
        ideal
        model tiny
        p386

        codeseg
        public start
start:  mov dx, offset greeting
        mov ah, 9                       ; DOS: print a "$"-terminated string
        int 21h

        mov cx, [count]
        xor bx, bx
next:   mov dl, [digits+bx]             ; the next digit's character
        mov ah, 2                       ; DOS: print one character
        int 21h
        inc bx
        loop next

        mov ax, 4C00h                   ; DOS: exit with status 0
        int 21h

        dataseg
greeting db 'H', 'i', '!', 13, 10, '$'
digits  db '0', '1', '2', '3', '4', '5', '6', '7', '8', '9'
count   dw 10
        end start
