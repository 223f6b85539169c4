; bits 32
; 32-bit code. Each line is also read by GNU As in Intel mode: the text before ";" as it stands,
; or the equivalent Intel line after ";=" where Intel-mode GNU As cannot read the Tasm form.
        p386                            ;=
        model flat                      ;=
        dataseg                         ;= .data
values  dd 1, 2, 3, 0FFFFFFFFh          ;= values: .int 1, 2, 3, 0xFFFFFFFF
wide    dq 1                            ;= wide: .quad 1
half    dw 7                            ;= half: .short 7
        codeseg                         ;= .text
        public sum                      ;= .globl sum
sum:    push ebp
        mov ebp, esp
        push esi
        push ebx
        mov esi, [ebp+8]                ; the array
        mov ecx, [ebp+12]               ; its length
        xor eax, eax
        xor ebx, ebx
next:   add eax, [esi+ebx*4]
        add eax, [esi+4*ebx]
        add eax, [ebx*4+esi+8]
        add eax, [4*ebx+esi+8]          ; the scale first, the base after it
        lea edi, [2*ebx+ebx]
        add eax, [ebx*4]
        add eax, values[ebx*4]
        add eax, dword ptr [esi+ebx*4+10h] ;= add eax, dword ptr [esi+ebx*4+0x10]
        mov edx, offset values
        lea edi, [esi+ebx*8]
        lea edi, values
        inc ebx
        cmp ebx, ecx
        jb short next
        imul eax, ebx, 10
        shl eax, cl
        sar edx, cl
        shrd eax, edx, cl
        movzx eax, bl
        movzx eax, byte ptr [esi]
        movsx edx, word ptr [esi+2]
        movzx ecx, word ptr [esi]
        mov eax, fs:[ebx]
        mov eax, gs:values[ebx*4]
        cdq
        cwde
        lodsd
        stosd
        movsd
        cmpsd
        scasd
        in eax, dx
        out dx, eax
        mov eax, cr0
        test al, 1
        pop ebx
        pop esi
        pop ebp
        call dword ptr [values+eax*4]
        loop next
        ret
        ret 8
