count dw 0
f proc c near a:word, b:dword uses si
	arg count:word, @@x:byte = sz
	local t, u:dword:2 = lsz
	ARG returns r:word,
	mov ax, [count+a]
	les bx, b
	ret sz
f endp
	mov ax, count
	ideal
proc g
	local ,=,:
	mov ax, [t]
endp
p proc near
	arg a:word,  ; more
	    b:dword
	les bx, b
	local x,
x2:	mov ax, x
p endp
