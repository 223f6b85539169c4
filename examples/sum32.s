# sum32.asm - a 32-bit routine: the sum of an array of doublewords, with the cdecl
# convention: int sum(const int *values, int count).

	.code32	

	.text	
	.globl	sum
sum:	pushl	%ebp
	movl	%esp,%ebp
	pushl	%esi
	movl	8(%ebp),%esi	# the array
	movl	12(%ebp),%ecx	# its length
	xorl	%eax,%eax
	jecxz	done
again:	addl	-4(%esi,%ecx,4),%eax	# from the last element down
	loop	again
done:	popl	%esi
	popl	%ebp
	ret	

