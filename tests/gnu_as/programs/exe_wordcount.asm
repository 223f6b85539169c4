; program 16
; WORDS.EXE - counts the words and lines of a built-in text and prints both.  TASM, MASM mode,
; full segment definitions.  Link with DGROUP first in the image: it then starts 10h paragraphs
; after the PSP, which is how the program finds its data without a segment fixup.
BLANK   equ ' '                                 ;= .equ BLANK, 0x20
TAB     equ 9                                   ;= .equ TAB, 9
CR      equ 0Dh                                 ;= .equ CR, 0x0D
LF      equ 0Ah                                 ;= .equ LF, 0x0A

DGROUP  group _DATA, _BSS                       ;=

_DATA   segment word public 'DATA'              ;= .data
        public text, counts                     ;= .globl text, counts
text    db 'It''s a small text;', CR, LF,      ;= text: .ascii "It's a small text;"; .byte 13, 10
           'two lines, and "quoted" words.', CR, LF ;= .ascii "two lines, and \"quoted\" words."; .byte 13, 10
        db TAB, 'The end', CR, LF              ;= .byte 9; .ascii "The end"; .byte 13, 10
TEXT_LEN equ $ - text                           ;= .equ TEXT_LEN, . - text
words_msg db 'words: $'                         ;= words_msg: .ascii "words: $"
lines_msg db ', lines: $'                       ;= lines_msg: .ascii ", lines: $"
crlf    db CR, LF, '$'                          ;= crlf: .byte 13, 10, 0x24
; separators: a table of 256 flags, 1 where the byte ends a word
        even                                    ;= .balign 2
separators label byte                           ;= separators:
        db 9 dup (0), 2 dup (1), 2 dup (0), 1, 18 dup (0) ;= .fill 9, 1, 0; .byte 1, 1, 0, 0, 1; .fill 18, 1, 0
        db 1, 11 dup (0), 1, 0, 1, 0            ;= .byte 1; .fill 11, 1, 0; .byte 1, 0, 1, 0
        db 10 dup (0), 1, 1, 4 dup (0)          ;= .fill 10, 1, 0; .byte 1, 1, 0, 0, 0, 0
        db 192 dup (0)                          ;= .fill 192, 1, 0
counts  label word                              ;= counts:
nwords  dw 0                                    ;= nwords: .short 0
nlines  dw 0                                    ;= nlines: .short 0
_DATA   ends                                    ;=

_BSS    segment word public 'BSS'               ;= .bss
digits  db 6 dup (?)                            ;= digits: .skip 6
in_word db ?                                    ;= in_word: .skip 1
_BSS    ends                                    ;=

STACK   segment para stack 'STACK'              ;= .section STACK, "aw"
        dw 128 dup (?)                          ;= .fill 128, 2, 0
STACK   ends                                    ;=

_TEXT   segment word public 'CODE' use16        ;= .text; .code16
        assume cs:_TEXT, ds:DGROUP, ss:STACK    ;=
        public start                            ;= .globl start
start:  mov ax, es
        add ax, 10h                             ;= add ax, 0x10
        mov ds, ax
        call count_text
        mov dx, offset words_msg
        call print
        mov ax, [nwords]
        call print_number
        mov dx, offset lines_msg
        call print
        mov ax, [nlines]
        call print_number
        mov dx, offset crlf
        call print
        mov ax, 4C00h                           ;= mov ax, 0x4C00
        int 21h                                 ;= int 0x21

; count_text: nwords and nlines for the text
count_text proc near                            ;= count_text:
        mov si, offset text
        mov cx, TEXT_LEN
        mov byte ptr [in_word], 0
        mov bx, offset separators
ct_next:
        lodsb
        cmp al, LF
        jne ct_class
        inc word ptr [nlines]
ct_class:
        xlat
        or al, al
        jnz ct_gap
        cmp byte ptr [in_word], 0
        jne ct_more
        inc word ptr [nwords]
        mov byte ptr [in_word], 1
        jmp short ct_more
ct_gap: mov byte ptr [in_word], 0               ;= ct_gap: mov byte ptr [in_word], 0
ct_more:
        loop ct_next
        ret
count_text endp                                 ;=

; print_number: ax in decimal
print_number proc near                          ;= print_number:
        mov di, offset digits + 5
        mov byte ptr [di], '$'
        mov bx, 10
pn_next:
        dec di
        xor dx, dx
        div bx
        add dl, '0'
        mov [di], dl
        or ax, ax
        jnz pn_next
        mov dx, di
        call print
        ret
print_number endp                               ;=

print   proc near                               ;= print:
        mov ah, 9
        int 21h                                 ;= int 0x21
        ret
print   endp                                    ;=
_TEXT   ends                                    ;=
        end start                               ;=
