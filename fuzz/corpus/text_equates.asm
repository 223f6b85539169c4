a1 equ word ptr [bp+4]
c equ cx
A1 equ [a1+2]
	mov ax, a1
	mov c, a1
	push a1+c
x equ <[bp]>
	mov ax, x
y equ <5 + 2>
	db y*2, 3 dup (y)
z textequ < es:[di] >
	mov al, byte ptr z
w equ <z>
	mov ax, w
v equ <[bp-2>
u equ <word ptr>
