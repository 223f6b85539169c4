; sum32_main.asm - a 32-bit Linux program around sum32.asm: it adds up four doublewords with
; sum and exits with the total (100) as its status.
        p386
        model flat

        codeseg
        extrn sum:near
        public start
start:  push 4                          ; count
        push offset values
        call sum
        add esp, 8
        mov ebx, eax                    ; exit status: the sum
        mov eax, 1                      ; Linux: exit
        int 80h

        dataseg
values  dd 10, 20, 30, 40
        end start
