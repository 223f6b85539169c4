; bits 16
; Memory operands as people type them, in 16-bit code: blanks, size keywords inside the brackets,
; segment overrides with blanks, "offset" in a displacement, the index register first, "." and a
; number or a structure field; a bracket inside quotes is a character. Each line is also read by
; GNU As in Intel mode: the text before ";" as it stands, or the Intel line after ";=" where
; Intel-mode GNU As cannot read the Tasm form.
        p386                            ;=
        dataseg                         ;= .data
x       dw 1, 2                         ;= x: .short 1, 2
table   dw 0, 0, 0, 0, 0, 0, 0, 0       ;= table: .short 0, 0, 0, 0, 0, 0, 0, 0
point   struc                           ;=
px      dw ?                            ;= .equ px, 0
py      dw ?                            ;= .equ py, 2
point   ends                            ;=
        codeseg                         ;= .text

; MASM spellings (the default mode)
start:  mov ax, [bx + si]
        mov ax, [bx + si + 2]
        mov ax, [ bx ]
        mov ax, [bx+4 ]
        mov ax, [bp - 2]
        mov ax, table [bx]
        mov ax, [bx] [si]
        mov al, [bx] + 2                ;= mov al, [bx+2]
        mov ax, es: [bx]
        mov ax, es : [bx+si]            ;= mov ax, es:[bx+si]
        mov al, byte ptr es : [di]      ;= mov al, byte ptr es:[di]
        mov ax, word ptr cs: table[bx]  ;= mov ax, word ptr cs:table[bx]
        mov byte ptr[bx], 1             ;= mov byte ptr [bx], 1
        mov ax, [bx+offset table]       ;= mov ax, [bx+table]
        mov ax, [bx + offset table + 4] ;= mov ax, [bx+table+4]
        mov ax, word ptr [si+offset x]  ;= mov ax, word ptr [si+x]
        mov ax, [di+bx]
        mov ax, [si+bp+4]
        mov ax, [di + bp - 6]
        mov ax, [si][bx]
        mov ax, table[di][bx]
        mov ax, [bx].2                  ;= mov ax, [bx+2]
        mov ax, [bx+si].0Ah             ;= mov ax, [bx+si+0x0A]
        mov ax, [si].py                 ;= mov ax, [si+py]
        inc [bx].py                     ;= inc word ptr [bx+py]
        mov [bx+si].px, 5               ;= mov word ptr [bx+si+px], 5
        mov ax, table[di].py            ;= mov ax, table[di+py]
        mov ax, [bx + 2 shl 3]          ;= mov ax, [bx+16]
        mov ax, [bx + ( 6 - 2 )]        ;= mov ax, [bx+4]
        mov ax, [bx+' '-'0']            ;= mov ax, [bx+32-48]
        mov ax, [bx]+2[si]              ;= mov ax, [bx+si+2]
        cmp al, '['                     ;= cmp al, 0x5B
        cmp byte ptr [si], '['          ;= cmp byte ptr [si], 0x5B
        mov al, [bx+']']                ;= mov al, [bx+0x5D]

; IDEAL spellings
        ideal                           ;=
        mov [cs: di], ah                ;= mov cs:[di], ah
        mov al, [es : bx+si]            ;= mov al, es:[bx+si]
        mov al, [cs: si + 1]            ;= mov al, cs:[si+1]
        mov [es : bx+di-2], al          ;= mov es:[bx+di-2], al
        mov dl, [byte ptr bx]           ;= mov dl, byte ptr [bx]
        mov ax, [WORD PTR x+2]          ;= mov ax, word ptr [x+2]
        mov [word bx+2], 5              ;= mov word ptr [bx+2], 5
        mov [BYTE bx+1], 7              ;= mov byte ptr [bx+1], 7
        mov [BYTE PTR cs:x], 1          ;= mov byte ptr cs:[x], 1
        mov [cs:byte ptr x], 1          ;= mov byte ptr cs:[x], 1
        mov [byte ptr es:di], 0         ;= mov byte ptr es:[di], 0
        inc [DWORD PTR bp+6]            ;= inc dword ptr [bp+6]
        push [word bx+2]                ;= push word ptr [bx+2]
        cmp [word bp+4], 0              ;= cmp word ptr [bp+4], 0
        mov eax, [DWORD PTR bp+6]       ;= mov eax, dword ptr [bp+6]
        mov [ Byte Ptr bx ], 3          ;= mov byte ptr [bx], 3
        mov [bx + offset table], ax     ;= mov [bx+table], ax
        mov ax, [si + bp + 4]           ;= mov ax, [bp+si+4]
        mov ax, [di+bx]                 ;= mov ax, [bx+di]
        add ax, [bx].2                  ;= add ax, [bx+2]
; an equate of a bracketed reference, used in IDEAL's brackets with a size
key_arg equ [bp+6]                      ;=
        mov al, [byte key_arg]          ;= mov al, byte ptr [bp+6]
        cmp [BYTE PTR key_arg], 'q'     ;= cmp byte ptr [bp+6], 0x71
