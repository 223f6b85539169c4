; sum32.asm - a 32-bit routine: the sum of an array of doublewords, with the cdecl
; convention: int sum(const int *values, int count).
        p386
        model flat

        codeseg
        public sum
sum:    push ebp
        mov ebp, esp
        push esi
        mov esi, [ebp+8]                ; the array
        mov ecx, [ebp+12]               ; its length
        xor eax, eax
        jecxz done
again:  add eax, [esi+ecx*4-4]          ; from the last element down
        loop again
done:   pop esi
        pop ebp
        ret
        end
