; bits 32
; Memory operands as people type them, in 32-bit code: blanks around "+", "-", "*" and ":", size
; keywords inside the brackets, "offset" in a displacement, "." and a number; 16-bit addresses
; with the index register first. Each line is also read by GNU As in Intel mode: the text before
; ";" as it stands, or the Intel line after ";=" where Intel-mode GNU As cannot read the Tasm form.
        p386                            ;=
        model flat                      ;=
        dataseg                         ;= .data
x       dd 1, 2                         ;= x: .int 1, 2
table   dd 0, 0, 0, 0, 0, 0, 0, 0       ;= table: .int 0, 0, 0, 0, 0, 0, 0, 0
        codeseg                         ;= .text

; MASM spellings (the default mode)
start:  mov eax, [ebx + esi]
        mov eax, [ebx + esi + 2]
        mov eax, [ ebx ]
        mov eax, [ ebp + 12 ]
        mov eax, [ebx + ecx * 4]
        mov eax, [ebx + 4 * ecx - 8]
        mov eax, [esi* 2]               ;= mov eax, [esi*2]
        mov eax, table [ebx]
        mov eax, table[ebx * 4]
        mov eax, es: [ebx]
        mov al, byte ptr es : [edi]     ;= mov al, byte ptr es:[edi]
        mov eax, dword ptr cs: table[ebx*4] ;= mov eax, dword ptr cs:table[ebx*4]
        mov eax, [ebx+offset table]     ;= mov eax, [ebx+table]
        mov eax, [ecx*4 + offset table] ;= mov eax, [ecx*4+table]
        mov eax, [ebx].4                ;= mov eax, [ebx+4]
        mov ax, [di+bx]
        mov ax, [si+bp+4]

; IDEAL spellings
        ideal                           ;=
        mov [cs: edi], ah               ;= mov cs:[edi], ah
        mov al, [es : ebx+esi]          ;= mov al, es:[ebx+esi]
        mov dl, [byte ptr ebx]          ;= mov dl, byte ptr [ebx]
        mov ax, [WORD PTR x+2]          ;= mov ax, word ptr [x+2]
        mov [word ebx+2], 5             ;= mov word ptr [ebx+2], 5
        mov [BYTE PTR cs:x], 1          ;= mov byte ptr cs:[x], 1
        mov [byte ptr es:edi], 0        ;= mov byte ptr es:[edi], 0
        inc [DWORD PTR ebp + 16]        ;= inc dword ptr [ebp+16]
        push [dword ptr ebp+8]          ;= push dword ptr [ebp+8]
        push [dword esp]                ;= push dword ptr [esp]
        mov [dword es: edi + eax*4], 0  ;= mov dword ptr es:[edi+eax*4], 0
        mov eax, [ecx * 4 + offset table] ;= mov eax, [ecx*4+table]
        mov [si + bp + 4], ax           ;= mov [bp+si+4], ax
