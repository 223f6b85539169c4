; program 16
;----------------------------------------------------------------------------
; FPLOT.ASM  -  curve kernel of PLOT.EXE (TASM 3.1, IDEAL mode, 287 or 387)
; Works out y = c0 + c1*x + c2*x*x, or a sine, for every column of the
; 320x200 screen on the coprocessor and plots it; called from Turbo C.
; The switches below choose the memory model, the precision and the FPU.
;       tasm /ml /m2 fplot
;----------------------------------------------------------------------------
        IDEAL                           ;=
LARGE_CODE      EQU 1                   ; medium model: Turbo C calls us far ;= .equ LARGE_CODE, 1
DOUBLE_PREC     =   1                   ; the coefficients are 8-byte reals ;= DOUBLE_PREC = 1
FPU             =   387                 ;= FPU = 387
DEBUG           =   1                   ;= DEBUG = 1

        IFDEF LARGE_CODE                ;= .ifdef LARGE_CODE
        MODEL medium                    ;=
        ELSE                            ;= .else
        MODEL small                     ;=
        ENDIF                           ;= .endif
        IF FPU GE 387                   ;= .if FPU >= 387
        P387                            ;=
        ELSE                            ;= .else
        P287                            ;=
        ENDIF                           ;= .endif
        P286                            ;=
        LOCALS                          ;=

SCREEN_W        EQU 320                 ;= .equ SCREEN_W, 320
SCREEN_H        EQU 200                 ;= .equ SCREEN_H, 200
MID_ROW         EQU SCREEN_H / 2        ;= .equ MID_ROW, 100
VIDEO_SEG       EQU 0A000h              ;= .equ VIDEO_SEG, 0xA000
AXIS_COLOUR     EQU 8                   ;= .equ AXIS_COLOUR, 8
KIND_POLY       EQU 0                   ;= .equ KIND_POLY, 0
KIND_SINE       EQU 1                   ;= .equ KIND_SINE, 1
KIND_TABLE      EQU 2                   ;= .equ KIND_TABLE, 2
TABLE_BITS      =   6                   ;= TABLE_BITS = 6
TABLE_LEN       =   1 SHL TABLE_BITS    ;= TABLE_LEN = 64

; defaults for what the command line (tasm /d) did not set
        IFNDEF AXIS_COLOUR              ;= .ifndef AXIS_COLOUR
AXIS_COLOUR     EQU 7                   ;= .equ AXIS_COLOUR, 7
        ENDIF                           ;= .endif
        IFNDEF GRID_STEP                ;= .ifndef GRID_STEP
GRID_STEP       =   32                  ;= GRID_STEP = 32
        ENDIF                           ;= .endif

; where Turbo C leaves the arguments: past a far or a near return address
        IFDEF LARGE_CODE                ;= .ifdef LARGE_CODE
ArgCurve        EQU <[bp+6]>            ;=
ArgColour       EQU <[BYTE bp+8]>       ;=
ArgFirst        EQU <[WORD bp+10]>      ;=
        ELSE                            ;= .else
ArgCurve        EQU <[bp+4]>            ;=
ArgColour       EQU <[BYTE bp+6]>       ;=
ArgFirst        EQU <[WORD bp+8]>       ;=
        ENDIF                           ;= .endif
        ERRIFNDEF ArgFirst              ; a model without its argument slots ;= .if 0; .err; .endif
        IF DOUBLE_PREC                  ;= .if DOUBLE_PREC
REAL_BYTES      =   8                   ;= REAL_BYTES = 8
        ELSE                            ;= .else
REAL_BYTES      =   4                   ;= REAL_BYTES = 4
        ENDIF                           ;= .endif

; a curve as the C side fills it in (struct curve in PLOT.H)
STRUC   Curve                           ;=
kind            DB KIND_POLY            ;= .equ Curve.kind, 0
colour          DB 15                   ;= .equ Curve.colour, 1
        IF DOUBLE_PREC                  ;= .if DOUBLE_PREC
c0              DQ 0.0                  ;= .equ Curve.c0, 2
c1              DQ 1.0                  ;= .equ Curve.c1, 10
c2              DQ 0.0                  ;= .equ Curve.c2, 18
        ELSE                            ;= .else
c0              DD 0.0                  ;= .equ Curve.c0, 2
c1              DD 1.0                  ;= .equ Curve.c1, 6
c2              DD 0.0                  ;= .equ Curve.c2, 10
        ENDIF                           ;= .endif
        IFDEF LARGE_CODE                ;= .ifdef LARGE_CODE
hook            DD 0                    ; called for each point plotted ;= .equ Curve.hook, 26
        ELSE                            ;= .else
hook            DW 0                    ;= .equ Curve.hook, 14
        ENDIF                           ;= .endif
plotted         DW 0                    ;= .equ Curve.plotted, 30
ENDS    Curve                           ;=

        GLOBAL  PlotInit:PROC, PlotCurve:PROC, ClearPlot:PROC ;= .globl PlotInit, PlotCurve, ClearPlot
        GLOBAL  Parabola:Curve, Wave:Curve ;= .globl Parabola, Wave
        IFDEF DEBUG                     ;= .ifdef DEBUG
        GLOBAL  Clipped:WORD, FpuWord:WORD ;= .globl Clipped, FpuWord
        ENDIF                           ;= .endif
        IFNDEF LARGE_CODE               ;= .ifndef LARGE_CODE
        GLOBAL  RowOfs:WORD             ; the near C code draws text rows too ;= .globl RowOfs
        ENDIF                           ;= .endif

        DATASEG                         ;= .data
Parabola        Curve <KIND_POLY, 14, 90.0, -1.5, 0.0078125, , > ;= Parabola: .byte 0, 14; .double 90.0, -1.5, 0.0078125; .long 0; .short 0
Wave            Curve <KIND_SINE, 12>   ;= Wave: .byte 1, 12; .double 0.0, 1.0, 0.0; .long 0; .short 0
        IF DOUBLE_PREC                  ;= .if DOUBLE_PREC
Scale           DQ 60.0                 ; pixels for 1.0 ;= Scale: .double 60.0
XStep           DQ 0.03125              ;= XStep: .double 0.03125
        ELSE                            ;= .else
Scale           DD 60.0                 ;= Scale: .float 60.0
XStep           DD 0.03125              ;= XStep: .float 0.03125
        ENDIF                           ;= .endif
TableScale      DD 10.185916            ; TABLE_LEN / (2 * pi) ;= TableScale: .float 10.185916
Clipped         DW 0                    ;= Clipped: .short 0
FpuWord         DW 0                    ;= FpuWord: .short 0
        IFDEF DEBUG                     ;= .ifdef DEBUG
Calls           DD 0                    ;= Calls: .long 0
MaxRow          DW 0                    ;= MaxRow: .short 0
        ENDIF                           ;= .endif
; sin(2 pi i / 64) * 16384, for the 287 and for the table curves
SineTab         DW 0, 1606, 3196, 4756, 6270, 7723, 9102, 10394 ;= SineTab: .short 0, 1606, 3196, 4756, 6270, 7723, 9102, 10394
                DW 11585, 12665, 13623, 14449, 15137, 15679, 16069, 16305 ;= .short 11585, 12665, 13623, 14449, 15137, 15679, 16069, 16305
                DW 16384, 16305, 16069, 15679, 15137, 14449, 13623, 12665 ;= .short 16384, 16305, 16069, 15679, 15137, 14449, 13623, 12665
                DW 11585, 10394, 9102, 7723, 6270, 4756, 3196, 1606 ;= .short 11585, 10394, 9102, 7723, 6270, 4756, 3196, 1606
                DW TABLE_LEN / 2 DUP (?) ; the negative half, filled in by PlotInit ;= .fill 32, 2, 0
TableOne        DW 16384                ;= TableOne: .short 16384

        UDATASEG                        ;= .bss
RowOfs          DW SCREEN_H DUP (?)     ;= RowOfs: .skip 400
Row             DW ?                    ;= Row: .skip 2
TableIndex      DW ?                    ;= TableIndex: .skip 2

        CODESEG                         ;= .text
;--- PlotInit: mode 13h, the row table, the table's negative half; AX = 1 if an FPU answers
PROC    PlotInit                        ;= PlotInit:
        mov ax, 13h                     ;= mov ax, 0x13
        int 10h                         ;= int 0x10
        call InitRows                   ;= call InitRows
        push ds                         ;= push ds
        pop es                          ;= pop es
        mov si, offset SineTab          ;= mov si, offset SineTab
        mov di, offset SineTab + TABLE_LEN ;= mov di, offset SineTab + 64
        mov cx, TABLE_LEN / 2           ;= mov cx, 32
        cld                             ;= cld
@@neg:  lodsw                           ;= .LPlotInit_neg: lodsw
        neg ax                          ;= neg ax
        stosw                           ;= stosw
        loop @@neg                      ;= loop .LPlotInit_neg
        fninit                          ;= fninit
        mov [FpuWord], 5A5Ah            ;= mov word ptr [FpuWord], 0x5A5A
        fnstsw [FpuWord]                ;= fnstsw [FpuWord]
        cmp [BYTE FpuWord], 0           ;= cmp byte ptr [FpuWord], 0
        jne @@none                      ;= jne .LPlotInit_none
        mov ax, 1                       ;= mov ax, 1
        ret                             ;= retf
@@none: xor ax, ax                      ;= .LPlotInit_none: xor ax, ax
        ret                             ;= retf
ENDP    PlotInit                        ;=

;--- InitRows: RowOfs[y] = y * SCREEN_W
PROC    InitRows NEAR                   ;= InitRows:
        xor ax, ax                      ;= xor ax, ax
        xor bx, bx                      ;= xor bx, bx
        mov cx, SCREEN_H                ;= mov cx, SCREEN_H
@@row:  mov [RowOfs+bx], ax             ;= .LInitRows_row: mov [RowOfs+bx], ax
        add ax, SCREEN_W                ;= add ax, SCREEN_W
        add bx, 2                       ;= add bx, 2
        loop @@row                      ;= loop .LInitRows_row
        ret                             ;= ret
ENDP    InitRows                        ;=

;--- ClearPlot: a black screen with the x axis and a tick every GRID_STEP columns
PROC    ClearPlot                       ;= ClearPlot:
        push di es                      ;= push di; push es
        mov ax, VIDEO_SEG               ;= mov ax, VIDEO_SEG
        mov es, ax                      ;= mov es, ax
        xor di, di                      ;= xor di, di
        xor ax, ax                      ;= xor ax, ax
        mov cx, SCREEN_W * SCREEN_H / 2 ;= mov cx, 32000
        cld                             ;= cld
        rep stosw                       ;= rep stosw
        mov di, MID_ROW * SCREEN_W      ;= mov di, 32000
        mov ax, AXIS_COLOUR * 101h      ;= mov ax, 0x0808
        mov cx, SCREEN_W / 2            ;= mov cx, 160
        rep stosw                       ;= rep stosw
        mov di, (MID_ROW - 2) * SCREEN_W ;= mov di, 31360
@@tick: mov [es:di], al                 ;= .LClearPlot_tick: mov es:[di], al
        mov [BYTE es:di+SCREEN_W], al   ;= mov byte ptr es:[di+SCREEN_W], al
        add di, GRID_STEP               ;= add di, GRID_STEP
        cmp di, (MID_ROW - 1) * SCREEN_W ;= cmp di, 31680
        jb @@tick                       ;= jb .LClearPlot_tick
        pop es di                       ;= pop es; pop di
        ret                             ;= retf
ENDP    ClearPlot                       ;=

;--- EvalPoly: ST = x in, ST = c0 + x * (c1 + x * c2) out; SI the curve
PROC    EvalPoly NEAR                   ;= EvalPoly:
        fld [(Curve PTR si).c2]         ;= fld qword ptr [si+Curve.c2]
        fmul st, st(1)                  ;= fmul st, st(1)
        fadd [(Curve PTR si).c1]        ;= fadd qword ptr [si+Curve.c1]
        fmulp st(1), st                 ;= fmulp st(1), st
        fadd [si+Curve.c0]              ;= fadd qword ptr [si+Curve.c0]
        ret                             ;= ret
ENDP    EvalPoly                        ;=

;--- TableSine: ST = x in, ST = sin x from the table out (for the 287, and KIND_TABLE)
PROC    TableSine NEAR                  ;= TableSine:
        fmul [TableScale]               ;= fmul dword ptr [TableScale]
        fistp [TableIndex]              ;= fistp word ptr [TableIndex]
        mov bx, [TableIndex]            ;= mov bx, word ptr [TableIndex]
        and bx, TABLE_LEN - 1           ;= and bx, 63
        shl bx, 1                       ;= shl bx, 1
        fild [SineTab+bx]               ;= fild word ptr [SineTab+bx]
        fidiv [TableOne]                ;= fidiv word ptr [TableOne]
        ret                             ;= ret
ENDP    TableSine                       ;=

;--- PlotCurve(Curve *c, char colour, int first): the curve from column first on;
;    AX = the points plotted
        IFDEF LARGE_CODE                ;= .ifdef LARGE_CODE
PROC    PlotCurve FAR                   ;= PlotCurve:
        ELSE                            ;= .else
PROC    PlotCurve NEAR                  ;= PlotCurve:
        ENDIF                           ;= .endif
        push bp                         ;= push bp
        mov bp, sp                      ;= mov bp, sp
        push si di es                   ;= push si; push di; push es
        mov si, ArgCurve                ;= mov si, [bp+6]
        mov [(Curve PTR si).plotted], 0 ;= mov word ptr [si+Curve.plotted], 0
        mov ax, VIDEO_SEG               ;= mov ax, VIDEO_SEG
        mov es, ax                      ;= mov es, ax
        IFDEF Calls                     ;= .ifdef Calls
        add [WORD Calls], 1             ;= add word ptr [Calls], 1
        adc [WORD Calls+2], 0           ;= adc word ptr [Calls+2], 0
        ENDIF                           ;= .endif
        mov cx, ArgFirst                ;= mov cx, word ptr [bp+10]
        fld [XStep]                     ; step ;= fld qword ptr [XStep]
        fild ArgFirst                   ; x, step ;= fild word ptr [bp+10]
        fmul st, st(1)                  ;= fmul st, st(1)
@@col:  fld st                          ; x, x, step ;= .LPlotCurve_col: fld st
        cmp [(Curve PTR si).kind], KIND_SINE ;= cmp byte ptr [si+Curve.kind], KIND_SINE
        je @@sine                       ;= je .LPlotCurve_sine
        ja @@table                      ;= ja .LPlotCurve_table
        call EvalPoly                   ; y, x, step ;= call EvalPoly
        jmp SHORT @@scale               ;= jmp .LPlotCurve_scale
@@sine:                                 ;= .LPlotCurve_sine:
        IF FPU GE 387                   ;= .if FPU >= 387
        fsin                            ;= fsin
        jmp SHORT @@scale               ;= jmp .LPlotCurve_scale
        ENDIF                           ;= .endif
@@table: call TableSine                 ;= .LPlotCurve_table: call TableSine
@@scale: fmul [Scale]                   ;= .LPlotCurve_scale: fmul qword ptr [Scale]
        fistp [Row]                     ; x, step ;= fistp word ptr [Row]
        mov ax, MID_ROW                 ;= mov ax, MID_ROW
        sub ax, [Row]                   ;= sub ax, word ptr [Row]
        cmp ax, SCREEN_H                ; below 0 is above it, unsigned ;= cmp ax, SCREEN_H
        jae @@clip                      ;= jae .LPlotCurve_clip
        IF DEBUG                        ;= .if DEBUG
        cmp ax, [MaxRow]                ;= cmp ax, word ptr [MaxRow]
        jbe @@lower                     ;= jbe .LPlotCurve_lower
        mov [MaxRow], ax                ;= mov word ptr [MaxRow], ax
@@lower:                                ;= .LPlotCurve_lower:
        ENDIF                           ;= .endif
        mov bx, ax                      ;= mov bx, ax
        shl bx, 1                       ;= shl bx, 1
        mov di, [RowOfs+bx]             ;= mov di, word ptr [RowOfs+bx]
        add di, cx                      ;= add di, cx
        mov al, ArgColour               ;= mov al, byte ptr [bp+8]
        or al, al                       ;= or al, al
        jnz @@put                       ;= jnz .LPlotCurve_put
        mov al, [(Curve PTR si).colour] ; 0: the curve's own ;= mov al, byte ptr [si+Curve.colour]
@@put:  mov [es:di], al                 ;= .LPlotCurve_put: mov es:[di], al
        inc [(Curve PTR si).plotted]    ;= inc word ptr [si+Curve.plotted]
        IFDEF LARGE_CODE                ;= .ifdef LARGE_CODE
        cmp [WORD (Curve PTR si).hook+2], 0 ;= cmp word ptr [si+Curve.hook+2], 0
        je @@next                       ;= je .LPlotCurve_next
        push cx si                      ;= push cx; push si
        call [(Curve PTR si).hook]      ; far, to C ;= call dword ptr [si+Curve.hook]
        pop si cx                       ;= pop si; pop cx
        ELSE                            ;= .else
        cmp [(Curve PTR si).hook], 0    ;=
        je @@next                       ;=
        call [(Curve PTR si).hook]      ;=
        ENDIF                           ;= .endif
        jmp SHORT @@next                ;= jmp .LPlotCurve_next
@@clip: inc [Clipped]                   ;= .LPlotCurve_clip: inc word ptr [Clipped]
@@next: fadd st, st(1)                  ; x + step, step ;= .LPlotCurve_next: fadd st, st(1)
        inc cx                          ;= inc cx
        cmp cx, SCREEN_W                ;= cmp cx, SCREEN_W
        jb @@col                        ;= jb .LPlotCurve_col
        fstp st                         ;= fstp st
        fstp st                         ;= fstp st
        mov ax, [(Curve PTR si).plotted] ;= mov ax, word ptr [si+Curve.plotted]
        pop es di si                    ;= pop es; pop di; pop si
        pop bp                          ;= pop bp
        ret                             ;= retf
ENDP    PlotCurve                       ;=

        IFDEF TableSine                 ;= .ifdef TableSine
;--- PlotTable(Curve *c): a curve of KIND_TABLE through PlotCurve, from column 0
PROC    PlotTable                       ;= PlotTable:
        push bp                         ;= push bp
        mov bp, sp                      ;= mov bp, sp
        mov bx, ArgCurve                ;= mov bx, [bp+6]
        mov [(Curve PTR bx).kind], KIND_TABLE ;= mov byte ptr [bx+Curve.kind], KIND_TABLE
        push 0                          ; from column 0 ;= push 0
        push 0                          ; in the curve's colour ;= push 0
        push bx                         ;= push bx
        call PlotCurve                  ;= push cs; call PlotCurve
        add sp, 6                       ;= add sp, 6
        pop bp                          ;= pop bp
        ret                             ;= retf
ENDP    PlotTable                       ;=
        ENDIF                           ;= .endif

        END                             ;=
