p struc
x dw 0
p ends
	mov ax, (p ptr [si]).x
	mov [(p PTR bx).x], ax
	mov ax, (p ptr (p ptr [si]).x).x
	mov ax, (p ptr ).x
	mov ax, (p ptr [si].x
	mov ax, (p ptr [si]). 
