; program 16
;----------------------------------------------------------------------------
; BARS  -  draws a bar chart of the ten values of SCORES in text mode, each
; bar in its own colour, then waits for a key; called from Turbo C (DS set).  Written over the years
; by two people: the data in capitals, most of the code in lower case, and
; the procedures called however the caller felt like spelling them.  Tasm
; reads all of it without regard to case.
;   tasm bars;  tcc report.c bars.obj
;----------------------------------------------------------------------------
        .model small                    ;=
        .stack 200h                     ;=

MAX_BARS  equ 10                        ;= .equ MAX_BARS, 10
BAR_CHAR  equ 0DBh                      ;= .equ BAR_CHAR, 0xDB
TOP_ROW   equ 2                         ;= .equ TOP_ROW, 2

BarInfo struc                           ;=
BI_LEN    db ?                          ;= .equ BI_LEN, 0; .equ BarInfo.BI_LEN, 0
BI_ATTR   db ?                          ;= .equ BI_ATTR, 1; .equ BarInfo.BI_ATTR, 1
BarInfo ends                            ;=

        .data                           ;= .data
SCORES    db 12, 30, 7, 45, 22, 60, 18, 33, 51, 9 ;= SCORES: .byte 12, 30, 7, 45, 22, 60, 18, 33, 51, 9
COLOURS   db 1, 2, 3, 4, 5, 6, 9, 10, 11, 12 ;= COLOURS: .byte 1, 2, 3, 4, 5, 6, 9, 10, 11, 12
Current   BarInfo <>                    ;= Current: .byte 0, 0
VideoSeg  dw 0B800h                     ;= VideoSeg: .short 0xB800
Drawn     dw 0                          ;= Drawn: .short 0
Title_    db 'SCORES', 0                ;= Title_: .ascii "SCORES"; .byte 0
        public Drawn, scores, SHOWBARS  ;= .globl Drawn, SCORES, ShowBars

        .code                           ;= .text
ShowBars proc near                      ;= ShowBars:
        push si di es                   ;= push si; push di; push es
        mov es, videoseg                ;= mov es, word ptr VideoSeg
        call ClearScreen
        mov si, offset title_           ;= mov si, offset Title_
        mov di, (TOP_ROW - 1) * 160 + 20
        call PRINTZ                     ;= call PrintZ
        xor bx, bx
@@Next: mov al, scores[bx]              ;= main_next: mov al, byte ptr SCORES[bx]
        mov CURRENT.bi_len, al          ;= mov byte ptr Current+BI_LEN, al
        mov al, Colours[bx]             ;= mov al, byte ptr COLOURS[bx]
        mov current.BI_ATTR, al         ;= mov byte ptr Current+BI_ATTR, al
        call drawbar                    ;= call DrawBar
        inc DRAWN                       ;= inc word ptr Drawn
        inc bx
        cmp bx, max_bars                ;= cmp bx, MAX_BARS
        jb @@next                       ;= jb main_next
        mov ah, 0
        int 16h                         ;= int 0x16
        pop es di si                    ;= pop es; pop di; pop si
        ret
showbars endp                           ;=

; Draws bar number BX, CURRENT.BI_LEN cells long, in CURRENT.BI_ATTR.
DrawBar proc near                       ;= DrawBar:
        push bx cx di                   ;= push bx; push cx; push di
        mov ax, bx
        add ax, top_row                 ;= add ax, TOP_ROW
        mov cx, 160
        mul cx
        add ax, 20
        mov di, ax
        mov cl, Current.Bi_Len          ;= mov cl, byte ptr Current+BI_LEN
        xor ch, ch
        jcxz @@Empty                    ;= jcxz drawbar_empty
        mov al, bar_char                ;= mov al, BAR_CHAR
        mov ah, CURRENT.bi_attr         ;= mov ah, byte ptr Current+BI_ATTR
@@Cell: stosw                           ;= drawbar_cell: stosw
        loop @@CELL                     ;= loop drawbar_cell
@@empty:                                ;= drawbar_empty:
        pop di cx bx                    ;= pop di; pop cx; pop bx
        ret
DRAWBAR endp                            ;=

; Writes the zero-ended string at DS:SI to ES:DI in bright white.
PrintZ  proc near                       ;= PrintZ:
        mov ah, 0Fh                     ;= mov ah, 0x0F
@@Loop: lodsb                           ;= printz_loop: lodsb
        or al, al
        jz @@DONE                       ;= jz printz_done
        stosw
        jmp @@loop                      ;= jmp printz_loop
@@Done: ret                             ;= printz_done: ret
printz  endp                            ;=

ClearScreen proc near                   ;= ClearScreen:
        xor di, di
        mov cx, 80 * 25
        mov ax, 0720h                   ;= mov ax, 0x0720
        rep stosw
        ret
clearscreen endp                        ;=

        end                             ;=
