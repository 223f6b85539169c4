; program 16
; TYPEIT.COM 3.0 - types a text file a screen page at a time and counts its lines.
; (c) 1991.  TASM 2.0, MASM mode, tiny model.  usage: TYPEIT file
; Build switches: VERSION (1, 2 or 3), DEBUG, and what they choose below.
        .model tiny                     ;=
        locals                          ;=

VERSION         =  3                    ;= VERSION = 3
DEBUG           equ 0                   ;= .equ DEBUG, 0
CR              equ 0Dh                 ;= .equ CR, 0x0D
LF              equ 0Ah                 ;= .equ LF, 0x0A
EOF_CHAR        equ 1Ah                 ;= .equ EOF_CHAR, 0x1A
PAGE_LINES      =  24                   ;= PAGE_LINES = 24
WIDE            =  VERSION ge 3         ; 32-bit line counts from version 3 on ;= WIDE = VERSION >= 3

        if VERSION ge 3                 ;= .if VERSION >= 3
BUF_SIZE        equ 1 shl 12            ;= .equ BUF_SIZE, 1 << 12
        elseif VERSION eq 2             ;= .elseif VERSION == 2
BUF_SIZE        equ 1024                ;= .equ BUF_SIZE, 1024
        else                            ;= .else
BUF_SIZE        equ 512                 ;= .equ BUF_SIZE, 512
        endif                           ;= .endif

        if WIDE                         ;= .if WIDE
        .386                            ;=
        endif                           ;= .endif

; what the program keeps of the open file: the count grew with version 3
        if WIDE                         ;= .if WIDE
finfo   struc                           ;=
fi_handle dw ?                          ;= .equ fi_handle, 0
fi_lines  dd ?                          ;= .equ fi_lines, 2
fi_flags  db ?                          ;= .equ fi_flags, 6
finfo   ends                            ;=
        else                            ;= .else
finfo   struc                           ;=
fi_handle dw ?                          ;= .equ fi_handle, 0
fi_lines  dw ?                          ;= .equ fi_lines, 2
fi_flags  db ?                          ;= .equ fi_flags, 4
finfo   ends                            ;=
        endif                           ;= .endif

        .data                           ;= .data
        if WIDE                         ;= .if WIDE
total   dd 0                            ; lines of all files ;= total: .long 0
        else                            ;= .else
total   dw 0                            ;= total: .short 0
        endif                           ;= .endif
        ife DEBUG                       ;= .ifeq DEBUG
trace   db 0                            ;= trace: .byte 0
        else                            ;= .else
trace   dw 0FFFFh                       ;= trace: .short 0xFFFF
        endif                           ;= .endif
        if VERSION gt 1 and not DEBUG   ;= .if (VERSION > 1) & ~DEBUG
prompt  db '-- more --', '$'            ;= prompt: .ascii "-- more --$"
        else                            ;= .else
prompt  db '[more]$', 0                 ;= prompt: .ascii "[more]$\0"
        endif                           ;= .endif
        ifndef NO_BANNER                ; defined nowhere here: tasm /dNO_BANNER leaves it out ;= .ifndef NO_BANNER
banner  db 'TYPEIT 3.0', CR, LF, '$'    ;= banner: .ascii "TYPEIT 3.0\r\n$"
        endif                           ;= .endif
        ifdef VERSION                   ;= .ifdef VERSION
        if VERSION eq 3                 ;= .if VERSION == 3
ver_byte db 3                           ;= ver_byte: .byte 3
        else                            ;= .else
ver_byte dw VERSION                     ;= ver_byte: .short VERSION
        endif                           ;= .endif
        endif                           ;= .endif
nofile  db 'cannot open the file', CR, LF, '$' ;= nofile: .ascii "cannot open the file\r\n$"
crlf    db CR, LF, '$'                  ;= crlf: .ascii "\r\n$"
lines_left db PAGE_LINES                ;= lines_left: .byte PAGE_LINES
cur     finfo <>                        ;= cur: .short 0; .long 0; .byte 0

        .data?                          ;= .bss
buffer  db BUF_SIZE dup (?)             ;= buffer: .skip BUF_SIZE
digits  db 12 dup (?)                   ;= digits: .skip 12

        ife DEBUG                       ;= .ifeq DEBUG
HANDLE  equ word ptr [bp+4]             ;=
        else                            ;= .else
HANDLE  equ word ptr [bp+6]             ; a far frame when debugging ;=
        endif                           ;= .endif

        .code                           ;= .text
; org 100h: linked at 100h instead (ld -Ttext 0x100)
start:  mov ah, 9                       ;= mov ah, 9
        mov dx, offset banner           ;= mov dx, offset banner
        int 21h                         ;= int 0x21
        mov si, 81h                     ; the command tail ;= mov si, 0x81
@@skip: lodsb                           ;= .Lstart.skip: lodsb
        cmp al, ' '                     ;= cmp al, ' '
        je @@skip                       ;= je .Lstart.skip
        lea dx, [si-1]                  ;= lea dx, [si-1]
@@name: cmp al, CR                      ;= .Lstart.name: cmp al, CR
        je @@open                       ;= je .Lstart.open
        lodsb                           ;= lodsb
        jmp @@name                      ;= jmp .Lstart.name
@@open: mov byte ptr [si-1], 0          ;= .Lstart.open: mov byte ptr [si-1], 0
        mov ax, 3D00h                   ;= mov ax, 0x3D00
        int 21h                         ;= int 0x21
        jc @@fail                       ;= jc .Lstart.fail
        mov cur.fi_handle, ax           ;= mov word ptr [cur+fi_handle], ax
        mov cur.fi_flags, 1             ; open ;= mov byte ptr [cur+fi_flags], 1
        push ax                         ;= push ax
        call type_file                  ;= call type_file
        add sp, 2                       ;= add sp, 2
        mov bx, cur.fi_handle           ;= mov bx, word ptr [cur+fi_handle]
        mov ah, 3Eh                     ;= mov ah, 0x3E
        int 21h                         ;= int 0x21
        call show_count                 ;= call show_count
        mov ax, 4C00h                   ;= mov ax, 0x4C00
        int 21h                         ;= int 0x21
@@fail: mov ah, 9                       ;= .Lstart.fail: mov ah, 9
        mov dx, offset nofile           ;= mov dx, offset nofile
        int 21h                         ;= int 0x21
        mov ax, 4C01h                   ;= mov ax, 0x4C01
        int 21h                         ;= int 0x21

; type_file(handle): the file to the screen, a page at a time
        if VERSION ge 2                 ;= .if VERSION >= 2
type_file proc near                     ;= type_file:
        else                            ;= .else
type_file proc far                      ;=
        endif                           ;= .endif
        push bp                         ;= push bp
        mov bp, sp                      ;= mov bp, sp
@@read: mov bx, HANDLE                  ;= .Ltype_file.read: mov bx, word ptr [bp+4]
        mov ah, 3Fh                     ;= mov ah, 0x3F
        mov cx, length buffer           ;= mov cx, 4096
        mov dx, offset buffer           ;= mov dx, offset buffer
        int 21h                         ;= int 0x21
        jc @@done                       ;= jc .Ltype_file.done
        or ax, ax                       ;= or ax, ax
        jz @@done                       ;= jz .Ltype_file.done
        mov cx, ax                      ;= mov cx, ax
        mov si, dx                      ;= mov si, dx
@@char: lodsb                           ;= .Ltype_file.char: lodsb
        cmp al, EOF_CHAR                ;= cmp al, EOF_CHAR
        je @@done                       ;= je .Ltype_file.done
        mov dl, al                      ;= mov dl, al
        mov ah, 2                       ;= mov ah, 2
        int 21h                         ;= int 0x21
        cmp dl, LF                      ;= cmp dl, LF
        jne @@next                      ;= jne .Ltype_file.next
        if WIDE                         ;= .if WIDE
        inc total                       ; a dword: one instruction ;= inc dword ptr [total]
        add cur.fi_lines, 1             ;= add dword ptr [cur+fi_lines], 1
        else                            ;= .else
        inc total                       ;=
        inc cur.fi_lines                ;=
        endif                           ;= .endif
        dec lines_left                  ;= dec byte ptr [lines_left]
        jnz @@next                      ;= jnz .Ltype_file.next
        call more                       ;= call more
@@next: loop @@char                     ;= .Ltype_file.next: loop .Ltype_file.char
        jmp @@read                      ;= jmp .Ltype_file.read
@@done: cmp trace, 0                    ;= .Ltype_file.done: cmp byte ptr [trace], 0
        je @@quiet                      ;= je .Ltype_file.quiet
        mov al, ver_byte                ;= mov al, byte ptr [ver_byte]
@@quiet: pop bp                         ;= .Ltype_file.quiet: pop bp
        ret                             ;= ret
type_file endp                          ;=

; more: the prompt, a key, and a fresh page
more    proc near                       ;= more:
        mov ah, 9                       ;= mov ah, 9
        mov dx, offset prompt           ;= mov dx, offset prompt
        int 21h                         ;= int 0x21
        xor ah, ah                      ;= xor ah, ah
        int 16h                         ;= int 0x16
        mov lines_left, PAGE_LINES      ;= mov byte ptr [lines_left], PAGE_LINES
        mov dx, offset crlf             ;= mov dx, offset crlf
        mov ah, 9                       ;= mov ah, 9
        int 21h                         ;= int 0x21
        ret                             ;= ret
more    endp                            ;=

; show_count: the number of lines, in decimal
show_count proc near                    ;= show_count:
        if WIDE                         ;= .if WIDE
        mov eax, total                  ;= mov eax, dword ptr [total]
        mov ebx, 10                     ;= mov ebx, 10
        else                            ;= .else
        mov ax, total                   ;=
        mov bx, 10                      ;=
        endif                           ;= .endif
        mov di, offset digits + 11      ; the last ;= mov di, offset digits + 11
        mov byte ptr [di], '$'          ;= mov byte ptr [di], '$'
@@digit: dec di                         ;= .Lshow_count.digit: dec di
        if WIDE                         ;= .if WIDE
        xor edx, edx                    ;= xor edx, edx
        div ebx                         ;= div ebx
        else                            ;= .else
        xor dx, dx                      ;=
        div bx                          ;=
        endif                           ;= .endif
        add dl, '0'                     ;= add dl, '0'
        mov [di], dl                    ;= mov [di], dl
        if WIDE                         ;= .if WIDE
        or eax, eax                     ;= or eax, eax
        else                            ;= .else
        or ax, ax                       ;=
        endif                           ;= .endif
        jnz @@digit                     ;= jnz .Lshow_count.digit
        mov dx, di                      ;= mov dx, di
        mov ah, 9                       ;= mov ah, 9
        int 21h                         ;= int 0x21
        ret                             ;= ret
show_count endp                         ;=

        end start                       ;=
