; program 16
; Tasm's directives in MASM and IDEAL form, beside what GNU As needs for them (after ";=").
; Sections are compared by name, type, flags and contents, so each segment form shows its section.
        .model small                            ;=
        .386                                    ;=
        .387                                    ;=
        locals                                  ;=
        jumps                                   ;=
        smart                                   ;=
        %nolist                                 ;=
        .xlist                                  ;=
        page 60, 132                            ;=
        title Directives                        ;=
        .stack 400h                             ;=
        stack 200h                              ;=
DGROUP  group _DATA, _BSS                       ;=
        assume cs:_TEXT, ds:DGROUP              ;=
        public first, second                    ;= .globl first, second
        global entry:proc, counter:word, far_table:dword:4 ;= .globl entry, counter, far_table

; simplified segments
        .data                                   ;= .data
counter dw 0                                    ;= counter: .short 0
        .data?                                  ;= .bss
scratch db 16 dup (?)                           ;= scratch: .skip 16
        .const                                  ;= .section .rodata
banner  db 'Directives', 0                      ;= banner: .ascii "Directives"; .byte 0
        .code                                   ;= .text
entry   proc                                    ;= entry:
        mov ax, [counter]
        call first
        ret
entry   endp                                    ;=
first   proc near                               ;= first:
        inc ax
        ret
first   endp                                    ;=
        even                                    ;= .balign 2
second  label near                              ;= second:
        dec ax
        ret
vectors segment word public 'DATA'              ; inside .code ;= .section vectors, "aw"
        dw 0                                    ;= .short 0
vectors ends                                    ;= .text
        nop

; conditional assembly
DEBUG   equ 1                                   ;= .equ DEBUG, 1
LEVEL   =   2                                   ;= LEVEL = 2
        if DEBUG                                ;= .if DEBUG
        nop
        else                                    ;= .else
        hlt
        endif                                   ;= .endif
        ife LEVEL - 2                           ;= .ifeq LEVEL - 2
        inc bx
        endif                                   ;= .endif
        IF LEVEL GT 1 AND DEBUG                 ;= .if (LEVEL > 1) & DEBUG
        dec bx
        elseif LEVEL eq 1                       ;= .elseif LEVEL == 1
        inc cx
        else                                    ;= .else
        dec cx
        endif                                   ;= .endif
        ifdef DEBUG                             ;= .ifdef DEBUG
        push ax
        endif                                   ;= .endif
        ifndef RELEASE                          ;= .ifndef RELEASE
        pop ax
else                                            ;= .else
        push bx
endif                                           ;= .endif
        if 0                                    ;= .if 0
        mov ax, 1
        endif                                   ;= .endif
; a text equate is defined for Tasm from its line on, though GNU As has no symbol of it
FRAME_ARG equ <[bp+4]>                          ;=
        ifdef FRAME_ARG                         ;= .if 1
        push cx
        endif                                   ;= .endif
        ifndef FRAME_ARG                        ;= .if 0
        pop cx
        endif                                   ;= .endif
; so is a structure, a record, a group and an extrn
Shape   struc                                   ;=
sh_w    dw ?                                    ;= .equ sh_w, 0
Shape   ends                                    ;=
Bits    record b_hi:4, b_lo:4                   ;= .equ b_hi, 4; .equ b_lo, 0
        extrn far_count:word                    ;=
        ifdef Shape                             ;= .if 1
        push dx
        endif                                   ;= .endif
        ifndef Bits                             ;= .if 0
        pop dx
        endif                                   ;= .endif
        ifdef DGROUP                            ;= .if 1
        push si
        endif                                   ;= .endif
        ifdef far_count                         ;= .if 1
        push di
        endif                                   ;= .endif
; checks that stop the assembly where their condition holds (none does here)
        .errnz LEVEL - 2                        ;= .if LEVEL - 2; .err; .endif
        errif LEVEL gt 2                        ;= .if LEVEL > 2; .err; .endif
        .erre DEBUG                             ;= .ifeq DEBUG; .err; .endif
        errife LEVEL - 2 + 1                    ;= .ifeq LEVEL - 2 + 1; .err; .endif
        .errdef RELEASE                         ;= .ifdef RELEASE; .err; .endif
        errifdef RELEASE                        ;= .ifdef RELEASE; .err; .endif
        .errndef DEBUG                          ;= .ifndef DEBUG; .err; .endif
        errifndef LEVEL                         ;= .ifndef LEVEL; .err; .endif
        .errndef FRAME_ARG                      ;= .if 0; .err; .endif

; a comment block: its lines are comments, up to the line with the next "*"
        comment *                               ;=
        mov ax, 1 and the like are text here    ;=
hidden  dw 5                                    ;=
        *                                       ;=

; full segment definitions
_TEXT   segment word public 'CODE'              ;= .text
third   label far                               ;= third:
        nop
_TEXT   ends                                    ;=
_DATA   segment word public 'DATA'              ;= .data
flag    db 1                                    ;= flag: .byte 1
        evendata                                ;= .balign 2
        dw 1234h                                ;= .short 0x1234
_DATA   ends                                    ;=
_BSS    segment word public 'BSS'               ;= .bss
lines   dw 25 dup (?)                           ;= lines: .skip 50
_BSS    ends                                    ;=
far_bss segment para private 'FAR_BSS'          ;= .section far_bss, "aw", @nobits
far_table dd 4 dup (?)                          ;= far_table: .skip 16
far_bss ends                                    ;=
code32  segment para public use32 'CODE'        ;= .section code32, "ax"; .code32
        mov eax, [esi+4]
        even                                    ;= .balign 2
code32  ends                                    ;=
code16  segment byte public 'CODE' use16        ;= .section code16, "ax"; .code16
        mov ax, [si+4]
code16  ends                                    ;=
tables  segment para common                     ;= .section tables, "aw"
row     dw 1, 2, 3                              ;= row: .short 1, 2, 3
; a segment opened inside another: after its ends the lines stand in the outer one again
notes   segment byte public 'DATA'              ;= .section notes, "aw"
        db 'n'                                  ;= .byte 0x6E
notes   ends                                    ;= .section tables
        dw 4                                    ;= .short 4
code32b segment para public use32 'CODE'        ;= .section code32b, "ax"; .code32
        mov eax, [esi+8]
code32b ends                                    ;= .section tables; .code16
tables  ends                                    ;=

; IDEAL mode
        ideal                                   ;=
        dataseg                                 ;= .data
limit   dw 80                                   ;= limit: .short 80
        udataseg                                ;= .bss
spare   dw ?                                    ;= spare: .skip 2
        const                                   ;= .section .rodata
hexdigits db '0123456789ABCDEF'                 ;= hexdigits: .ascii "0123456789ABCDEF"
        codeseg                                 ;= .text
proc    fourth                                  ;= fourth:
        mov bx, offset hexdigits
        ret
endp    fourth                                  ;=
proc    fifth near                              ;= fifth:
        label here word                         ;= here:
        ret
endp                                            ;=
segment ideal_data word public 'DATA'           ;= .section ideal_data, "aw"
        db 7                                    ;= .byte 7
ends    ideal_data                              ;=
        masm                                    ;=
        end entry                               ;=
