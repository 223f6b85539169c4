; bits 16
; Tasm reads a name without regard to case: each use, in whatever case it is written, is the name
; its declaration gives. GNU As tells Count from COUNT, so every use is written as declared; the
; Intel reading after ";=" spells each name as declared.
        jmp short Start                 ;= jmp short start
Count   dw 10                           ;= Count: .short 10
Flags   db 0                            ;= Flags: .byte 0
Table   dw 1, 2, 3                      ;= Table: .short 1, 2, 3
LIMIT   equ 10                          ;= .equ LIMIT, 10
Step    = 2                             ;= Step = 2
STEP    = step + 1                      ;= Step = Step + 1
        extrn RemoteProc:near, RemoteVar:word ;=
        public COUNT, flags             ;= .globl Count, Flags
        global WinCount:word            ;= .globl WinCount
wincount dw 0                           ;= WinCount: .short 0
        global TABLE:word               ;= .globl Table
Point   struc                           ;=
PX      db 0                            ;= .equ PX, 0
py      db 0                            ;= .equ py, 1
Point   ends                            ;=
Origin  Point <1, 2>                    ;= Origin: .byte 1, 2
        dw COUNT, offset table, START   ;= .short Count, Table, start
start:  mov ax, count                   ;= start: mov ax, Count
        mov COUNT, 1                    ;= mov word ptr Count, 1
        inc flags                       ;= inc byte ptr Flags
        mov bx, offset TABLE            ;= mov bx, offset Table
        mov ax, table[bx]               ;= mov ax, Table[bx]
        mov cx, limit                   ;= mov cx, LIMIT
        add ax, step + limit * 2        ;= add ax, Step + LIMIT * 2
        mov al, origin.px               ;= mov al, byte ptr Origin+PX
        mov si, offset ORIGIN           ;= mov si, offset Origin
        mov al, [si].PY                 ;= mov al, byte ptr [si+py]
        mov al, [si+px]                 ;= mov al, byte ptr [si+PX]
        call helper                     ;= call Helper
        call FARONE                     ;= push cs; call FarOne
        call far ptr farone             ;= push cs; call FarOne
        call remoteproc                 ;= call RemoteProc
        mov ax, remotevar               ;= mov ax, RemoteVar
        add ax, WINCOUNT                ;= add ax, WinCount
        jmp DONE                        ;= jmp Done
Done:   jmp @@Out                       ;= Done: jmp main_out
        inc cx
@@OUT:  ret                             ;= main_out: ret
Helper  proc near                       ;= Helper:
@@Again: dec cx                         ;= helper_again: dec cx
        jnz @@again                     ;= jnz helper_again
        jcxz @@DONE                     ;= jcxz helper_done
        cmp cx, LIMIT - step            ;= cmp cx, LIMIT - Step
@@done: ret                             ;= helper_done: ret
HELPER  endp                            ;=
FarOne  proc far                        ;= FarOne:
        ret                             ;= retf
        retn                            ; near, even in a far proc ;= ret
        RETN 4                          ;= ret 4
FARONE  endp                            ;=
