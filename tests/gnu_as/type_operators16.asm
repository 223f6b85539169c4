; bits 16
; Tasm's type, length and size of a declared variable or structure are numbers its declaration
; tells: type is the bytes of one element (of the structure, for an instance), length the count
; of a lone "n dup (value)" or 1 for a lone value, size length times type.
        jmp begin                       ;= jmp begin
BUFSZ   equ 64                          ;= .equ BUFSZ, 64
buf     db 80 dup (?)                   ;= buf: .fill 80, 1, 0
words   dw BUFSZ dup (0)                ;= words: .fill 64, 2, 0
one     dd 5                            ;= one: .int 5
big     dq ?                            ;= big: .quad 0
Point   struc                           ;=
px      dw ?                            ;= .equ px, 0
py      dw ?                            ;= .equ py, 2
Point   ends                            ;=
origin  Point <>                        ;= origin: .short 0, 0
NPTS    equ 3                           ;= .equ NPTS, 3
path    Point NPTS dup (<1, 2>)         ;= path: .short 1, 2, 1, 2, 1, 2
corners Point 4 dup (<>)                ;= corners: .fill 8, 2, 0
BLEN    equ size buf                    ;= .equ BLEN, 80
        dw size words, length buf       ;= .short 128, 80
begin:  mov cx, size buf                ;= begin: mov cx, 80
        mov cx, LENGTH words            ;= mov cx, 64
        mov cx, size words              ;= mov cx, 128
        mov cx, (size buf) / 2          ;= mov cx, 40
        add si, type Point              ;= add si, 4
        add si, TYPE origin             ;= add si, 4
        cmp ax, type one                ;= cmp ax, 4
        mov al, type big                ;= mov al, 8
        mov cx, length one              ;= mov cx, 1
        mov cx, size one + BLEN         ;= mov cx, 84
; a structure's size is its bytes; an instance's length the count of instances it lays out
        mov cx, size Point              ;= mov cx, 4
        sub ax, size Point * 2          ;= sub ax, 8
        mov cx, size origin             ;= mov cx, 4
        mov cx, length origin           ;= mov cx, 1
        mov cx, length path             ;= mov cx, 3
        mov cx, size corners            ;= mov cx, 16
PSIZE   =       size Point + 1          ;= PSIZE = 5
        add di, PSIZE                   ;= add di, 5
; further into an expression: each is an operator of the one name after it
        mov di, offset buf + size buf - 1 ;= mov di, offset buf + 80 - 1
        add ax, 2 * length path         ;= add ax, 6
        lea si, corners + size Point    ;= lea si, [corners+4]
CBYTES  equ 4 * size Point + type buf   ;= .equ CBYTES, 17
        mov cx, CBYTES                  ;= mov cx, 17
        ret
