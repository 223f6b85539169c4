lbl:	mov ax, [bx+si+4]	; crlf
	db 1,2
	ret