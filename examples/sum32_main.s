# sum32_main.asm - a 32-bit Linux program around sum32.asm: it adds up four doublewords with
# sum and exits with the total (100) as its status.

	.code32	

	.text	

	.globl	start
start:	push	$4	# count
	push	$values
	call	sum
	addl	$8,%esp
	movl	%eax,%ebx	# exit status: the sum
	movl	$1,%eax	# Linux: exit
	int	$0x80

	.data	
values:	.int	10,20,30,40

