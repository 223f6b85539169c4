; bits 16
; Tasm forms that the converter leaves for the user to finish. Each converted line must be
; rejected by GNU As, loudly, rather than assemble to other code.
; string data in db
msg     db 'Hello', 0
; dup
buf     db 10 dup (?)
; Tasm's segment symbols and operators
        mov ax, @data
        mov ax, seg msg
; a memory operand written without brackets, as destination
        mov msg, al
; a size keyword on a memory operand without brackets
        mov al, byte ptr msg
; a segment override on a name without brackets
        mov ax, es:msg
; prefixes written before the instruction
        rep movsb
        repne scasb
        lock inc word ptr [bx]
; far jumps and calls
        jmp far ptr start
        call far ptr start
; procedures, segments, assume, macros
print   proc near
print   endp
code    segment
        assume cs:code
code    ends
twice   macro x
        endm
; textequ has no GNU As counterpart
name    textequ <abc>
; 80-bit operands
        fld tbyte ptr [bx]
; 64-bit FPU operands in 32-bit code
        fld qword ptr [bx]
        fstp qword ptr [bx]
; a 16-bit integer operand of the FPU
        fild word ptr [bx]
