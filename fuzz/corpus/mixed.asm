	mov ax, word ptr es:[bx][si]+2 ; mixed
 x = byte ptr [bp-4]
name equ 10h
	shl ax,cl
	lea di, offset x
,,, ,
