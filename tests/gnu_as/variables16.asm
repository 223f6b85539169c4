; bits 16
; Variables used the MASM way, without brackets or without a size, in 16-bit code: the
; declarations of the whole file tell their sizes. Intel-mode GNU As reads a bare variable as
; memory too, so most lines are their own Intel reading; data lines give theirs after ";=".
        jmp short start                 ;= jmp short start
count   dw 10                           ;= count: .short 10
flag    db 0                            ;= flag: .byte 0
lives   db 3                            ;= lives: .byte 3
oldint  dd 0                            ;= oldint: .int 0
table   dw 1, 2, 3                      ;= table: .short 1, 2, 3
handlers dw start, next                 ;= handlers: .short start, next
buffer  db 16, 0                        ;= buffer: .byte 16, 0
point   struc                           ;=
px      db 0                            ;= .equ px, 0
py      db 0                            ;= .equ py, 1
point   ends                            ;=
origin  point <>                        ;= origin: .byte 0, 0
cell    struc                           ;=
c_val   dw 0                            ;= .equ c_val, 0
c_kind  db 0                            ;= .equ c_kind, 2
        db 0                            ;=
cell    ends                            ;=
cells   cell 3 dup (<>)                 ;= cells: .fill 12, 1, 0
        cell <7, 1>                     ; more rows, without a name ;= .short 7; .byte 1, 0
        cell 2 dup (<5>)                ;= .short 5; .byte 0, 0; .short 5; .byte 0, 0
        cell <1, 2>, 2 dup (<3>), <>    ; several on a line ;= .short 1; .byte 2, 0; .short 3; .byte 0, 0; .short 3; .byte 0, 0; .short 0; .byte 0, 0
pt3     struc                           ;=
p_x     dd 0                            ;= .equ p_x, 0
p_n     dw 0                            ;= .equ p_n, 4
        dw 0                            ;=
pt3     ends                            ;=
pts     pt3 2 dup (<>)                  ;= pts: .fill 16, 1, 0
hdr     struc                           ;=
h_tag   db 0, 0                         ;= .equ h_tag, 0
h_len   dw 0                            ;= .equ h_len, 2
hdr     ends                            ;=
raw     db 8 dup (0)                    ;= raw: .fill 8, 1, 0
hdr2    struc                           ;=
h_pad   dw 0                            ;= .equ h_pad, 0
h_in    hdr <>                          ; a field that is a structure ;= .equ h_in, 2
hdr2    ends                            ;=
start:  mov ax, count
        mov count, 1                    ;= mov word ptr count, 1
        inc count                       ;= inc word ptr count
        dec lives                       ;= dec byte ptr lives
        cmp lives, 0                    ;= cmp byte ptr lives, 0
        mov [flag], 1                   ;= mov byte ptr [flag], 1
        mov cs:oldint, ax               ;= mov word ptr cs:oldint, ax
        mov word ptr cs:oldint+2, es
        push count                      ;= push word ptr count
        pop count                       ;= pop word ptr count
        mov ax, count+2
        mov al, table[bx]               ;= mov al, byte ptr table[bx]
        mov ax, table[bx+si]
        mov ax, offset count
        lea si, table
        les di, oldint
        lds si, cs:oldint
        add ax, [count]
        shl count, 1                    ;= shl word ptr count, 1
        not flag                        ;= not byte ptr flag
        mov al, byte ptr count
        mov ax, es:count
        mov al, buffer+1
        jmp handlers[bx]                ;= jmp word ptr handlers[bx]
        call word ptr handlers
        call oldint                     ;= call dword ptr oldint
        jmp dword ptr [bx]              ;= .byte 0xFF, 0x2F
        call cs:oldint                  ;= call dword ptr cs:oldint
; a difference of two addresses is a number, read from no memory
        mov cx, buffer - table          ;= mov cx, 10
        mov cx, (handlers - table) / 2  ;= mov cx, 3
        cmp si, -(table - buffer)       ;= cmp si, 10
        add count, buffer - table - 1   ;= add word ptr count, 9
; an instance of a two-byte structure used bare is a word variable
        mov ax, origin                  ;= mov ax, word ptr origin
        push origin                     ;= push word ptr origin
        inc origin                      ;= inc word ptr origin
        mov origin, 5                   ;= mov word ptr origin, 5
        mov al, origin.py               ;= mov al, byte ptr origin+1
; a field after the index into an array of structures gives the field's size, not the
; structure's (a four-byte one would make a dword of it)
        mov cells[bx].c_kind, 1         ;= mov byte ptr cells[bx+2], 1
        cmp cells[bx][si].c_val, 0      ;= cmp word ptr cells[bx+si], 0
        inc [cells+bx].c_kind           ;= inc byte ptr cells[bx+2]
        test cells[si+4].c_kind, 80h    ;= test byte ptr cells[si+4+2], 0x80
        fld pts[bx].p_x                 ;= fld dword ptr pts[bx]
        add pts[bx+si].p_n, 2           ;= add word ptr pts[bx+si+4], 2
; in MASM mode a field adds its offset to any variable, and gives the operand its size
        mov ax, raw.h_len               ;= mov ax, word ptr raw+2
        cmp raw.h_len, 512              ;= cmp word ptr raw+2, 512
        mul raw[bx].h_len               ;= mul word ptr raw[bx+2]
        mov si, offset raw.h_len        ;= mov si, offset raw+2
        mov ax, raw.h_in.h_len          ;= mov ax, word ptr raw+4
        inc raw[bx].h_in.h_tag          ;= inc byte ptr raw[bx+2]
; equates of a memory reference or a register: the text stands in place of each use
        push bp
        mov bp, sp
arg1    equ word ptr [bp+4]             ;=
arg2    equ [bp+6]                      ;=
cnt     equ cx                          ;=
        mov ax, arg1                    ;= mov ax, word ptr [bp+4]
        add ax, word ptr arg2           ;= add ax, word ptr [bp+6]
        mov cnt, 3                      ;= mov cx, 3
        mov arg1, 0                     ;= mov word ptr [bp+4], 0
        mov ax, arg1+2                  ;= mov ax, word ptr [bp+6]
        pop bp
arg1    equ word ptr [bp+8]             ; given another text ;=
        inc arg1                        ;= inc word ptr [bp+8]
; a text in angle brackets (equ or textequ) stands in place of each use too, as Tasm reads it:
; an expression's text is put in before the expression is read (seven*2 is 5 + 2*2, -seven is
; -5 + 2), in data lists too
local1  equ <[bp-2]>                    ;=
wptr    equ < word ptr [bp-4] >         ;=
seven   equ <5 + 2>                     ;=
dst     textequ <es:[di+2]>             ;=
reg     equ <cx>                        ;=
        mov ax, local1                  ;= mov ax, [bp-2]
        mov wptr, 3                     ;= mov word ptr [bp-4], 3
        mov ax, seven*2                 ;= mov ax, 9
        mov al, byte ptr dst            ;= mov al, byte ptr es:[di+2]
        mov reg, seven                  ;= mov cx, 7
        add ax, [bx+seven]              ;= add ax, [bx+7]
        db seven                        ;= .byte 7
        dw seven*3, 1                   ;= .short 11, 1
        db 'ab', seven                  ;= .byte 0x61, 0x62, 7
        db seven dup (0)                ;= .fill 7, 1, 0
        dw 2 dup (seven), -seven        ;= .short 7, 7, -3
        db 1,                           ;= .byte 1, 7
           seven                        ;=
; a text put in is read again: the names with a text in it get theirs (seven2 is (5 + 2)*2). An
; equ of a name alone that has a text takes the text that name has there (acc stays cx when reg
; is given another text after it)
seven2  equ <(seven)*2>                 ;=
acc     equ reg                         ;=
where   textequ <local1>                ;=
reg     equ <dx>                        ;=
        mov ax, seven2                  ;= mov ax, 14
        mov acc, reg                    ;= mov cx, dx
        mov ax, where                   ;= mov ax, [bp-2]
; an equ of a variable's name alone is another name for that variable, used as it is
total   equ count                       ;=
vector  equ oldint                      ;=
        mov ax, total                   ;= mov ax, count
        inc total                       ;= inc word ptr count
        push total                      ;= push count
        mov si, offset total            ;= mov si, offset count
        call vector                     ;= call dword ptr oldint
        jmp vector                      ;= jmp dword ptr oldint
HIST_N  equ 2 * 2                       ;= .equ HIST_N, 4
hi_count equ byte ptr count+1           ; a sized reference without brackets ;=
        mov al, hi_count                ;= mov al, byte ptr count+1
        mov hi_count, 0                 ;= mov byte ptr count+1, 0
        dw seven2, 2 dup (seven2+1)     ;= .short 14, 15, 15
; communal variables: laid out by the linker, used as the variables they are
        comm hist:byte:256, ticks:word  ;= .comm hist, 256; .comm ticks, 2
        comm near stamp:dword:HIST_N    ;= .comm stamp, 16
        inc ticks                       ;= inc word ptr ticks
        mov al, hist[bx]                ;= mov al, byte ptr hist[bx]
        mov hist, 0                     ;= mov byte ptr hist, 0
        push ticks                      ;= push word ptr ticks
        mov ax, word ptr stamp+2        ;= mov ax, word ptr stamp+2
        mov si, offset hist             ;= mov si, offset hist
; this type: the place where the line stands, as a label of that type
w_view  equ this word                   ;= w_view:
        db 1, 2                         ;= .byte 1, 2
b_view  = this byte                     ;= b_view:
        dw 0102h                        ;= .short 0x102
        mov ax, w_view                  ;= mov ax, word ptr w_view
        inc b_view                      ;= inc byte ptr b_view
        mov b_view, 7                   ;= mov byte ptr b_view, 7
back    equ this near                   ;= back:
        jmp back                        ;= jmp back
next:   ret
