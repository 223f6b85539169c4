# hello.asm - a DOS .COM-style program: prints a greeting, then the digits 0 to 9.
# 16-bit code: "model tiny" becomes ".code16" in the converted file.

	.code16	


	.text	
	.globl	start
start:	movw	$greeting,%dx
	movb	$9,%ah	# DOS: print a "$"-terminated string
	int	$0x21

	movw	count,%cx
	xorw	%bx,%bx
next:	movb	digits(%bx),%dl	# the next digit's character
	movb	$2,%ah	# DOS: print one character
	int	$0x21
	incw	%bx
	loop	next

	movw	$0x4C00,%ax	# DOS: exit with status 0
	int	$0x21

	.data	
greeting:	.byte	'H','i','!',13,10,'$'
digits:	.byte	'0','1','2','3','4','5','6','7','8','9'
count:	.short	10

