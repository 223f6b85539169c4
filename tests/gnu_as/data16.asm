; bits 16
; Data definitions as Tasm lays them out. Beside each line, after ";=", the same bytes written
; out by hand as plain numbers for Intel-mode GNU As (or, for addresses, as the symbols they hold).
        .data                                   ;= .data
; strings in db: the bytes of the characters in order
msg     db 'Hello', 13, 10, '$'                 ;= msg: .byte 0x48, 0x65, 0x6C, 0x6C, 0x6F, 13, 10, 0x24
dq_msg  db "Hi there", 0                        ;= dq_msg: .byte 0x48, 0x69, 0x20, 0x74, 0x68, 0x65, 0x72, 0x65, 0
quoted  db 'it''s', "say ""hi""", "it's", 'a "b"' ;= quoted: .byte 0x69, 0x74, 0x27, 0x73, 0x73, 0x61, 0x79, 0x20, 0x22, 0x68, 0x69, 0x22, 0x69, 0x74, 0x27, 0x73, 0x61, 0x20, 0x22, 0x62, 0x22
punct   db 'a;b,c', ';', ','                    ;= punct: .byte 0x61, 0x3B, 0x62, 0x2C, 0x63, 0x3B, 0x2C
path    db 'C:\DOS\', 0                         ;= path: .byte 0x43, 0x3A, 0x5C, 0x44, 0x4F, 0x53, 0x5C, 0
tabbed  db 'a	b', 7                           ;= tabbed: .byte 0x61, 9, 0x62, 7
box     db '°±Û', 'É'                   ;= box: .byte 0xB0, 0xB1, 0xDB, 0xC9
chars   db 'A', 'B', "C", '''', '\'             ;= chars: .byte 0x41, 0x42, 0x43, 0x27, 0x5C
strings db 'ab', 'cd', 1, 'ef'                  ;= strings: .byte 0x61, 0x62, 0x63, 0x64, 1, 0x65, 0x66
; numbers, operators, characters in expressions, the location counter
nums    db 0FFh, 101b, 17o, 17q, 10d, 10t, -1, 010 ;= nums: .byte 255, 5, 15, 15, 10, 10, 255, 10
exprs   db 2 + 3 or 4, 1 shl 4, not 0, 10 mod 3 ;= exprs: .byte 5, 16, 255, 1
        db high 1234h, low 1234h, 'A' + 1, 5 eq 5 ;= .byte 0x12, 0x34, 0x42, 255
words   dw 1234h, -2, 'AB', 'A', 'a' + 1        ;= words: .short 0x1234, 0xFFFE, 0x4142, 0x41, 0x62
dwords  dd 12345678h, 'ABCD', 'AB', -1          ;= dwords: .int 0x12345678, 0x41424344, 0x4142, 0xFFFFFFFF
quads   dq 1, -1, 'AB'                          ;= quads: .quad 1, -1, 0x4142
here    dw $, $ - msg, offset msg, offset msg + 2 ;= here: .short here, here + 2 - msg, msg, msg + 2
ptrs    dd offset words, offset dwords          ;= ptrs: .int words, dwords
        dw words[2], offset quads[8]            ;= .short words + 2, quads + 8
; unknown values are zero
unknown db ?, 1, ?                              ;= unknown: .byte 0, 1, 0
        dw ?                                    ;= .short 0
        dd ?                                    ;= .int 0
        dq ?                                    ;= .quad 0
        dt ?                                    ;= .quad 0; .short 0
; dup: one value, a list, nested, strings, a count that is an expression
buf     db 5 dup (?)                            ;= buf: .byte 0, 0, 0, 0, 0
stars   db 3 dup ('*'), 0                       ;= stars: .byte 0x2A, 0x2A, 0x2A, 0
pairs   db 2 dup (1, 2)                         ;= pairs: .byte 1, 2, 1, 2
nested  db 2 dup (3 dup (7), 8)                 ;= nested: .byte 7, 7, 7, 8, 7, 7, 7, 8
rule    db 2 dup (3 dup ('-'), ' '), '$'        ;= rule: .byte 0x2D, 0x2D, 0x2D, 0x20, 0x2D, 0x2D, 0x2D, 0x20, 0x24
twice   db 2 dup ('ab'), 3 dup('c')             ;= twice: .byte 0x61, 0x62, 0x61, 0x62, 0x63, 0x63, 0x63
counted db (1 + 2) dup (9)                      ;= counted: .byte 9, 9, 9
neg_w   dw 3 dup (-40)                          ;= neg_w: .short -40, -40, -40
w_pairs dw 2 dup (3 dup (32, 212), -40)         ;= w_pairs: .short 32, 212, 32, 212, 32, 212, -40, 32, 212, 32, 212, 32, 212, -40
d_rep   dd 2 dup (12345678h)                    ;= d_rep: .int 0x12345678, 0x12345678
d_ptrs  dd 2 dup (offset msg)                   ;= d_ptrs: .int msg, msg
q_zero  dq 2 dup (?)                            ;= q_zero: .quad 0, 0
q_ones  dq 2 dup (-1)                           ;= q_ones: .quad -1, -1
t_zero  dt 2 dup (?)                            ;= t_zero: .quad 0, 0; .short 0, 0
; reals: .float, .double, .tfloat; an integer beside a real in dd stays an integer
reals   dd 1.5, -2.5, 1000.0, 2                 ;= reals: .int 0x3FC00000, 0xC0200000, 0x447A0000, 2
doubles dq 5.0, 0.1, -1.25                      ;= doubles: .quad 0x4014000000000000, 0x3FB999999999999A, 0xBFF4000000000000
tens    dt 9.0, 1.5, -0.5                       ;= tens: .quad 0x9000000000000000; .short 0x4002; .quad 0xC000000000000000; .short 0x3FFF; .quad 0x8000000000000000; .short 0xBFFE
f_rep   dd 2 dup (0.5)                          ;= f_rep: .int 0x3F000000, 0x3F000000
; df and dp: six bytes, the low four first
far6    df 123456789ABCh, ?                     ;= far6: .int 0x56789ABC; .short 0x1234; .int 0; .short 0
        dp 5, -1                                ;= .int 5; .short 0; .int 0xFFFFFFFF; .short 0xFFFF
; a list that ends in a comma goes on in the next line, which takes the same directive;
; a comment line in between keeps it open
table   dw 1, 2,                                ;= table: .short 1, 2
           3, 4,                                ;= .short 3, 4
; (the rest of the table)
           5                                    ;= .short 5
bytes   db 'ab',                                ;= bytes: .byte 0x61, 0x62
           'cd', 0                              ;= .byte 0x63, 0x64, 0
; names declared with an indented name, a colon, or in the first column; label
   indented db 1                                ;= indented: .byte 1
colon:  dw 2                                    ;= colon: .short 2
db 3                                            ;= .byte 3
db 4,5                                          ;= .byte 4, 5
db 'six', 6                                     ;= .byte 0x73, 0x69, 0x78, 6
as_word label word                              ;= as_word:
        dw 7                                    ;= .short 7
        label as_byte byte                      ;= as_byte:
        db 8                                    ;= .byte 8
; structures: each field's offset counts the bytes of the fields before it (strings, dup), and an
; instance lays out each field in its room, a field without a name with its default
NLEN    equ 3                                   ;= .equ NLEN, 3
entry   struc                                   ;=
e_kind  db 1                                    ;= .equ e_kind, 0
        db ?                                    ;=
e_link  dw 5                                    ;= .equ e_link, 2
        db 2 dup (?)                            ;=
e_flags db 80h                                  ;= .equ e_flags, 6
e_name  db 'it''s'                              ;= .equ e_name, 7
e_buf   db NLEN dup (?), 2 dup (1, 2)           ;= .equ e_buf, 11
e_words dw 'ab', 2 dup (?)                      ;= .equ e_words, 18
e_tail  db ?                                    ;= .equ e_tail, 24
entry   ends                                    ;=
first   entry <>                                ;= first: .byte 1, 0; .short 5; .byte 0, 0, 0x80, 0x69, 0x74, 0x27, 0x73, 0, 0, 0, 1, 2, 1, 2; .short 0x6162, 0, 0; .byte 0
second  entry <3>                               ;= second: .byte 3, 0; .short 5; .byte 0, 0, 0x80, 0x69, 0x74, 0x27, 0x73, 0, 0, 0, 1, 2, 1, 2; .short 0x6162, 0, 0; .byte 0
        dw offset second.e_flags, offset second.e_tail ;= .short second + 6, second + 24
        dw e_name, e_buf, e_words               ;= .short 7, 11, 18
