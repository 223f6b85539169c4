; program 16
;------------------------------------------------------------------------------
; F2C.EXE - print a Fahrenheit to Celsius table, worked out on the 387.
; TASM, MASM mode, full segment definitions. Link with DATA first: it then
; starts 10h paragraphs after the PSP and the program needs no segment fixups.
;------------------------------------------------------------------------------
ROWS    equ 12                          ;= .equ ROWS, 12
STEP    equ 20                          ;= .equ STEP, 20
CW_CHOP equ 0Ch                         ;= .equ CW_CHOP, 0x0C

data    segment para public 'DATA'      ;= .section data, "aw"
        public table_first, table_step  ;= .globl table_first, table_step
title_msg db 'Fahrenheit  Celsius', 13, 10  ;= title_msg: .ascii "Fahrenheit  Celsius"; .byte 13, 10
rule    db 2 dup (10 dup ('-'), 2 dup (' ')), 13, 10, '$' ;= rule: .ascii "----------  ----------  "; .byte 13, 10; .ascii "$"
done_msg db 'Done.', 13, 10, '$'        ;= done_msg: .ascii "Done."; .byte 13, 10; .ascii "$"
broke_msg db 'Interrupted.', 13, 10, '$' ;= broke_msg: .ascii "Interrupted."; .byte 13, 10; .ascii "$"
        even                            ;= .balign 2
; what main prints, in order
messages dw offset title_msg, offset done_msg, offset broke_msg ;= messages: .short title_msg, done_msg, broke_msg
table_first dw -40                      ;= table_first: .short -40
table_step dw STEP                      ;= table_step: .short STEP
fahr    dw ?                            ;= fahr: .short 0
celsius dw ?                            ;= celsius: .short 0
; x87 constants; every one is exact in binary
thirty_two dd 32.0                      ;= thirty_two: .float 32.0
five    dq 5.0                          ;= five: .double 5.0
nine    dt 9.0                          ;= nine: .tfloat 9.0
; the control word, byte by byte: exceptions masked, 64-bit precision,
; rounding toward zero like the C compiler does
fpu_cw  label word                      ;= fpu_cw:
cw_low  db 7Fh                          ;= cw_low: .byte 0x7F
cw_high db 03h or CW_CHOP               ;= cw_high: .byte 0x03 | CW_CHOP
; the handlers to install; their segment words are filled in at run time
vectors dd offset on_break, offset on_crit_err ;= vectors: .int on_break, on_crit_err
; one line of the table
line_buf label byte                     ;= line_buf:
line_f  db 10 dup (' ')                 ;= line_f: .fill 10, 1, ' '
        db 2 dup (' ')                  ;= .fill 2, 1, ' '
line_c  db 10 dup (' ')                 ;= line_c: .fill 10, 1, ' '
        db 13, 10, '$'                  ;= .byte 13, 10; .ascii "$"
LINE_LEN equ $ - line_buf - 3           ;= .equ LINE_LEN, . - line_buf - 3
; temperatures for the self-check: the usual ones, each block twice
checks  dw 2 dup (3 dup (32, 212), -40, 98, 451) ;= checks: .rept 2; .short 32, 212, 32, 212, 32, 212, -40, 98, 451; .endr
NCHECKS equ ($ - checks) / 2            ;= .equ NCHECKS, (. - checks) / 2
data    ends                            ;=

stack   segment para stack 'STACK'      ;= .section stack, "aw"
        dw 256 dup (?)                  ;= .skip 512
stack_top label word                    ;= stack_top:
stack   ends                            ;=

code    segment para public 'CODE' use16 ;= .section code, "ax"; .code16
        .386                            ;=
        .387                            ;=
        assume cs:code, ds:data, ss:stack ;=
        public start, fahr_to_celsius   ;= .globl start, fahr_to_celsius

broken  db 0                            ;= broken: .byte 0

start:  mov ax, es
        add ax, 10h                     ; DATA is first in the image ;= add ax, 0x10
        mov ds, ax
        push ds
        pop es
        ; hook Ctrl-Break and critical errors
        mov word ptr [vectors+2], cs
        mov word ptr [vectors+6], cs
        push ds
        lds dx, dword ptr [vectors]
        mov ax, 2523h                   ;= mov ax, 0x2523
        int 21h                         ;= int 0x21
        pop ds
        push ds
        lds dx, dword ptr [vectors+4]
        mov ax, 2524h                   ;= mov ax, 0x2524
        int 21h                         ;= int 0x21
        pop ds
        fninit
        fldcw [fpu_cw]
        call self_check
        jc interrupted
        mov bx, offset messages
        mov dx, [bx]
        call print
        mov dx, offset rule
        call print
        mov cx, ROWS
        mov ax, [table_first]
next_row:
        cmp byte ptr cs:[broken], 0
        jne interrupted
        mov [fahr], ax
        call fahr_to_celsius
        call put_row
        mov ax, [fahr]
        add ax, [table_step]
        loop next_row
        mov bx, offset messages
        mov dx, [bx+2]
        jmp short finish
interrupted:
        mov bx, offset messages
        mov dx, [bx+4]
finish: call print
        mov ax, 4C00h                   ;= mov ax, 0x4C00
        int 21h                         ;= int 0x21

; fahr_to_celsius: [celsius] = ([fahr] - 32) * 5 / 9, rounded toward zero
fahr_to_celsius proc near               ;= fahr_to_celsius:
        fild word ptr [fahr]
        fsub dword ptr [thirty_two]     ; F - 32
        fmul qword ptr [five]
        fld tbyte ptr [nine]
        fdivp st(1), st                 ; (F - 32) * 5 / 9
        fistp word ptr [celsius]
        fwait
        ret
fahr_to_celsius endp                    ;=

; self_check: every test temperature must come back from Celsius intact,
; to within two degrees; carry set if the 387 disagrees
self_check proc near                    ;= self_check:
        mov si, offset checks
        mov cx, NCHECKS
sc_next:
        lodsw
        mov [fahr], ax
        call fahr_to_celsius
        fild word ptr [celsius]         ; back again: C * 9 / 5 + 32
        fld tbyte ptr [nine]
        fmulp st(1), st
        fdiv qword ptr [five]
        fadd dword ptr [thirty_two]
        fistp word ptr [celsius]
        fwait
        mov ax, [fahr]
        sub ax, [celsius]
        cmp ax, 2
        jg sc_bad
        cmp ax, -2
        jl sc_bad
        loop sc_next
        clc
        ret
sc_bad: stc
        ret
self_check endp                         ;=

; put_row: print [fahr] and [celsius] in their columns
put_row proc near                       ;= put_row:
        push cx
        mov di, offset line_buf
        mov cx, LINE_LEN
        mov al, ' '
        cld
        rep stosb
        mov ax, [fahr]
        mov di, offset line_f + 9
        call put_int
        mov ax, [celsius]
        mov di, offset line_c + 9
        call put_int
        mov dx, offset line_buf
        call print
        pop cx
        ret
put_row endp                            ;=

; put_int: AX as a signed decimal, right-aligned so that it ends at [di]
put_int proc near                       ;= put_int:
        mov bx, 10
        mov cx, ax                      ; keep the sign
        or ax, ax
        jns pi_digit
        neg ax
pi_digit:
        xor dx, dx
        div bx
        add dl, '0'
        mov [di], dl
        dec di
        or ax, ax
        jnz pi_digit
        or cx, cx
        jns pi_done
        mov byte ptr [di], '-'
pi_done:
        ret
put_int endp                            ;=

print   proc near                       ;= print:
        mov ah, 9
        int 21h                         ;= int 0x21
        ret
print   endp                            ;=

; Ctrl-Break: note it, the main loop stops at the next row
on_break:
        mov byte ptr cs:[broken], 1
        iret
; critical error: fail the DOS call rather than ask Abort, Retry, Ignore
on_crit_err label far                   ;= on_crit_err:
        mov al, 3
        iret
code    ends                            ;=
        end start                       ;=
