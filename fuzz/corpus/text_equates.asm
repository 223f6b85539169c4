a1 equ word ptr [bp+4]
c equ cx
A1 equ [a1+2]
	mov ax, a1
	mov c, a1
	push a1+c
x equ <[bp]>
	mov ax, x
