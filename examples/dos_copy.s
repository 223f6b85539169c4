# dos_copy.asm - copies a block of words between segments and scales a table, in 16-bit code.
# Shows segment registers, segment overrides, string instructions, shifts and ports.

	.code16	


	.text	
	.globl	copy_block
copy_block:		
	push	%ds
	push	%es
	movw	4(%bp),%ax	# source segment
	movw	%ax,%ds
	movw	6(%bp),%ax	# destination segment
	movw	%ax,%es
	movw	8(%bp),%si
	movw	10(%bp),%di
	movw	12(%bp),%cx
	cld	
copy:	lodsw	
	stosw	
	loop	copy
	pop	%es
	pop	%ds

# double every entry of the table that es:di points to
	movw	$8,%cx
	xorw	%bx,%bx
scale:	movw	%es:(%bx,%di),%ax
	shlw	$1,%ax
	movw	%ax,%es:(%bx,%di)
	addw	$2,%bx
	loop	scale

# scale by a count in cl, and read a port
	movb	$3,%cl
	shlw	%cl,(%bx,%si)
	inb	$0x61,%al	# speaker control port
	andb	$0x0FC,%al
	outb	%al,$0x61
	movzbw	%al,%ax
	ret	

