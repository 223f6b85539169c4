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
