# hello.asm - prints a greeting and the digits 0 to 9 under DOS




	.data	
greeting:	.byte	'Hello from Tasm',13,10,'$'
digits:	.byte	10 dup (?)
count:	.short	10

	.text	
start:	movw	$@data,%ax	# point ds at the data segment
	movw	%ax,%ds
	movw	$greeting,%dx
	movb	$9,%ah	# DOS: print string
	int	$0x21

	movw	count,%cx
	xorw	%bx,%bx
	movb	$'0',%al
fill:	movb	%al,digits(%bx)	# store the next digit
	incb	%al
	incw	%bx
	loop	fill

	movw	$0x4C00,%ax	# DOS: exit with status 0
	int	$0x21

