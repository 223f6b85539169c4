; bits 16
; assume tells Tasm which segment register reaches which segment. A variable that the register an
; address goes through by default (ds; ss through bp) does not reach is reached through the one
; register that does, and Tasm puts that register's override before the operand. The small model
; makes DGROUP of the data and the stack, which ds and ss reach; .code makes cs reach _TEXT.
        .model small                    ;=
        .data                           ;= .data
count   dw 0                            ;= count: .short 0
        .code                           ;= .text
old1c   dd 0                            ;= old1c: .int 0
flag    db 0                            ;= flag: .byte 0
table   dw 1, 2                         ;= table: .short 1, 2
start:  mov ax, count                   ;= mov ax, word ptr count
        mov ax, [bp+count]              ;= mov ax, word ptr [bp+count]
        inc flag                        ;= inc byte ptr cs:flag
        mov word ptr old1c+2, es        ;= mov word ptr cs:old1c+2, es
        pushf
        call old1c                      ;= call dword ptr cs:old1c
        jmp old1c                       ;= jmp dword ptr cs:old1c
        lds dx, old1c                   ;= lds dx, dword ptr cs:old1c
        les bx, [old1c]                 ;= les bx, dword ptr cs:[old1c]
        mov al, flag[bx]                ;= mov al, byte ptr cs:flag[bx]
        mov ax, table[bx+si]            ;= mov ax, word ptr cs:table[bx+si]
        call table[bx]                  ;= call word ptr cs:table[bx]
        mov al, [bp+flag]               ;= mov al, byte ptr cs:[bp+flag]
        fld old1c                       ;= fld dword ptr cs:old1c
; an override written stays; lea takes the address alone; offset is no memory
        mov al, es:flag                 ;= mov al, byte ptr es:flag
        mov al, cs:flag                 ;= mov al, byte ptr cs:flag
        lea si, flag                    ;= lea si, flag
        mov si, offset flag             ;= mov si, offset flag
; a string instruction's source (through si, or bx for xlat) takes the override its operand's
; variable needs; its destination is es:[di], which no override changes
        lods table                      ;= lods word ptr cs:[si]
        xlat flag                       ;= xlat byte ptr cs:[bx]
        stos flag                       ;= stosb
; an interrupt handler that cannot count on ds: the data is reached through ss, which still
; reaches DGROUP, and the code segment's variables through cs
        assume ds:nothing               ;=
        mov ax, count                   ;= mov ax, word ptr ss:count
        dec flag                        ;= dec byte ptr cs:flag
; once ds reaches the code segment, its variables need no override, and the data only ss
        assume ds:_TEXT                 ;=
        inc flag                        ;= inc byte ptr flag
        mov count, ax                   ;= mov word ptr ss:count, ax
        assume ds:@data                 ;=
        mov count, ax                   ;= mov word ptr count, ax
