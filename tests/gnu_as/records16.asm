; bits 16
; Unions and records as Tasm lays them out. Beside each line, after ";=", its Intel-mode GNU As
; reading, with the values Tasm gives worked out by hand: a union's fields all lie at offset 0 and
; an instance lays out its first field; a record's fields are bit fields packed from the most
; significant end, the last in the lowest bits, each name standing for its shift count.
        .data                                   ;= .data
; a union as long as its longest field; every field at 0, used with its own size
regs    union                                   ;=
r_x     dw ?                                    ;= .equ r_x, 0
r_l     db ?                                    ;= .equ r_l, 0
regs    ends                                    ;=
rv      regs <1234h>                            ;= rv: .short 0x1234
rv2     regs <>                                 ;= rv2: .short 0
        dw rv.r_l, offset rv2.r_x, size_after   ;= .short rv, rv2, size_after
size_after db 0                                 ;= size_after: .byte 0
; records: rec_name record field:width [= default], ...
color   record blink:1, back:3, fore:4 = 7      ;= .equ blink, 7; .equ back, 4; .equ fore, 0
attr    color <1, 2, 3>                         ;= attr: .byte 0xA3
attr2   color <>                                ;= attr2: .byte 0x07
attr3   color <, 1>                             ;= attr3: .byte 0x17
attr4   color <1, 0, 0Fh>                       ;= attr4: .byte 0x8F
wrec    record wa:4, wb:6                       ;= .equ wa, 6; .equ wb, 0
wv      wrec <3, 5>                             ;= wv: .short 0xC5
LOW     equ 2                                   ;= .equ LOW, 2
big     record hi:12, mid:12 = 0ABCh, lo:4 = LOW ;= .equ hi, 16; .equ mid, 4; .equ lo, 0
bv      big <1, , LOW>                          ;= bv: .int 0x1ABC2
bv2     big <1>                                 ;= bv2: .int 0x1ABC2
arr     color 3 dup (<0, 1, 2>)                 ;= arr: .byte 0x12, 0x12, 0x12
        dw mask mid, width big, mask lo         ;= .short 0xFFF0, 28, 0x0F
        dd mask big, mask hi                    ;= .int 0x0FFFFFFF, 0x0FFF0000
FOREMASK equ mask fore                          ;= .equ FOREMASK, 0x0F
        .code                                   ;= .text
; a union's fields used bare, through a register and through a typed pointer
        mov ax, rv.r_x                          ;= mov ax, word ptr rv
        mov al, rv.r_l                          ;= mov al, byte ptr rv
        mov [bx].r_l, 1                         ;= mov byte ptr [bx], 1
        mov [si].r_x, 1                         ;= mov word ptr [si], 1
        mov al, (regs ptr [di]).r_l             ;= mov al, byte ptr [di]
        mov ax, rv2                             ;= mov ax, word ptr rv2
; mask and width of records and of their fields, and the fields' shift counts
        mov al, mask fore                       ;= mov al, 0x0F
        and al, not mask back                   ;= and al, 0x8F
        mov cl, back                            ;= mov cl, 4
        shr al, cl
        mov ax, width color                     ;= mov ax, 8
        mov al, width back                      ;= mov al, 3
        mov dx, mask wrec                       ;= mov dx, 0x3FF
        mov ebx, mask big                       ;= mov ebx, 0x0FFFFFFF
        mov al, (2 shl back) or MASK fore       ;= mov al, 0x2F
        mov ah, FOREMASK                        ;= mov ah, 0x0F
; size, length and type of record variables: the record's bytes, one or a dup's count of them
        mov ax, size attr                       ;= mov ax, 1
        mov cx, length arr                      ;= mov cx, 3
        mov cx, size arr                        ;= mov cx, 3
        mov dx, size wv                         ;= mov dx, 2
        mov bx, size bv + type bv               ;= mov bx, 8
        test attr, mask blink                   ;= test byte ptr attr, 0x80
        or wv, 1 shl wa                         ;= or word ptr wv, 0x40
        mov al, attr                            ;= mov al, byte ptr attr
        mov ax, wv                              ;= mov ax, word ptr wv
        mov eax, bv                             ;= mov eax, dword ptr bv
        cmp al, mask  blink + WIDTH lo          ;= cmp al, 0x84
; IDEAL mode: union Name and record Name
        ideal                                   ;=
union   Pkt                                     ;=
p_len   dd ?                                    ;= .equ Pkt.p_len, 0
p_cmd   db ?                                    ;= .equ Pkt.p_cmd, 0
ends                                            ;=
record  Mode m_on:1, m_lvl:3 = 5                ;= .equ m_on, 3; .equ m_lvl, 0
        dataseg                                 ;= .data
pk      Pkt <12345678h>                         ;= pk: .int 0x12345678
md      Mode <1>                                ;= md: .byte 0x0D
        codeseg                                 ;= .text
        mov al, [pk.p_cmd]                      ;= mov al, byte ptr pk
        mov eax, [pk.p_len]                     ;= mov eax, dword ptr pk
        and [md], mask m_lvl                    ;= and byte ptr md, 7
; a field that is an instance of a structure or a record takes that one's bytes
struc   Corner                                  ;=
c_x     dw ?                                    ;= .equ Corner.c_x, 0
c_y     dw ?                                    ;= .equ Corner.c_y, 2
ends    Corner                                  ;=
struc   Box                                     ;=
b_id    dw ?                                    ;= .equ Box.b_id, 0
b_tl    Corner <>                               ;= .equ Box.b_tl, 2
b_mode  Mode <>                                 ;= .equ Box.b_mode, 6
b_pts   Corner 2 dup (<>)                       ;= .equ Box.b_pts, 7
b_ink   db ?                                    ;= .equ Box.b_ink, 15
ends    Box                                     ;=
; constants spelled like fields: Box.b_ink and Box.b_tl are still the fields
B_INK   equ 3                                   ;= .equ B_INK, 3
B_TL    =   1                                   ;= B_TL = 1
        mov al, B_INK                           ;= mov al, 3
        add si, Box.b_ink + B_TL                ;= add si, 16
        mov al, [bx+Box.b_ink]                  ;= mov al, byte ptr [bx+15]
        mov ax, [word bx+Box.b_tl]              ;= mov ax, word ptr [bx+2]
        test [byte bx+Box.b_mode], mask m_on    ;= test byte ptr [bx+6], 8
        add si, size Box                        ;= add si, 16
        mov [bx+Box.b_tl.c_y], 1                ;= mov word ptr [bx+4], 1
        fild [Box.b_pts.c_x+si]                 ;= fild word ptr [si+7]
        inc [(Box ptr di).b_tl.c_x]             ;= inc word ptr [di+2]
        mov [es:(Box ptr di).b_ink], al         ;= mov es:[di+15], al
        inc [word es: (Box ptr di).b_tl.c_y]    ;= inc word ptr es:[di+4]
        cmp [WORD PTR (Box ptr bx).b_id], 0     ;= cmp word ptr [bx], 0
        mov al, [bx+(Box ptr si).b_ink]         ;= mov al, [bx+si+15]
; an instance lays such a field out in place, with the value given or the field's default
box1    Box <9, <2, 3>, <1>>                    ;= box1: .short 9, 2, 3; .byte 0x0D; .short 0, 0, 0, 0; .byte 0
        Box <>                                  ;= .short 0, 0, 0; .byte 0x05; .short 0, 0, 0, 0; .byte 0
        masm                                    ;=
