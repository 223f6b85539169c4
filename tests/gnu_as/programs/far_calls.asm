; program 16
;----------------------------------------------------------------------------
; SYSINFO.EXE  -  DOS version, free memory and current drive, in three lines.
; TASM 2.0, MASM mode, medium model: every proc without a distance is FAR
; and its RET returns far; the small helpers at the end are NEAR.  The
; strings live in the code segment, so DS = CS and no data segment at all.
;   tasm /m2 sysinfo;  tlink sysinfo      (/m2: calls reach forward)
;----------------------------------------------------------------------------
        .model medium                   ;=
        .186                            ;=
        .stack 100h                     ;=
        locals                          ;=

CR      equ 0Dh                         ;= .equ CR, 0x0D
LF      equ 0Ah                         ;= .equ LF, 0x0A
NO_MEM  equ 8                           ; DOS error: not enough memory ;= .equ NO_MEM, 8

        .code                           ;= .text
msg_title db 'SYSINFO 1.2', CR, LF, '$' ;= msg_title: .ascii "SYSINFO 1.2"; .byte CR, LF; .ascii "$"
msg_dos   db 'DOS version $'            ;= msg_dos: .ascii "DOS version $"
msg_mem   db 'Free memory $'            ;= msg_mem: .ascii "Free memory $"
msg_kb    db ' KB', CR, LF, '$'         ;= msg_kb: .ascii " KB"; .byte CR, LF; .ascii "$"
msg_drive db 'Current drive $'          ;= msg_drive: .ascii "Current drive $"
msg_fail  db 'Unexpected DOS error', CR, LF, '$' ;= msg_fail: .ascii "Unexpected DOS error"; .byte CR, LF; .ascii "$"
crlf      db CR, LF, '$'                ;= crlf: .byte CR, LF; .ascii "$"

start:  push cs
        pop ds
        call far ptr banner             ; forward ;= push cs; call banner
        call show_version               ;= push cs; call show_version
        call show_memory                ;= push cs; call show_memory
        call show_drive                 ;= push cs; call show_drive
        xor al, al                      ; errorlevel 0
finish  label far                       ; every way out comes here, al = errorlevel ;= finish:
        mov ah, 4Ch                     ;= mov ah, 0x4C
        int 21h                         ;= int 0x21

; Far (by the model): the title line
banner  proc                            ;= banner:
        mov dx, offset msg_title
        call print_str                  ; near, forward
        ret                             ;= retf
banner  endp                            ;=

show_version proc                       ;= show_version:
        mov dx, offset msg_dos
        call print_str
        mov ah, 30h                     ;= mov ah, 0x30
        int 21h                         ; al = major, ah = minor ;= int 0x21
        push ax
        xor ah, ah
        call print_dec
        mov dl, '.'
        call put_char
        pop ax
        mov al, ah                      ; minor: always two digits
        xor ah, ah
        cmp al, 10
        jae @@two                       ;= jae .Lversion_two
        push ax
        mov dl, '0'
        call put_char
        pop ax
@@two:  call print_dec                  ;= .Lversion_two: call print_dec
        call new_line                   ; far, forward ;= push cs; call new_line
        ret                             ;= retf
show_version endp                       ;=

show_memory proc far                    ;= show_memory:
        mov dx, offset msg_mem
        call print_str
        mov ah, 48h                     ; ask for 1 MB: the answer is no, ;= mov ah, 0x48
        mov bx, 0FFFFh                  ; and bx = the largest block ;= mov bx, 0xFFFF
        int 21h                         ;= int 0x21
        jnc @@odd                       ;= jnc .Lmemory_odd
        cmp ax, NO_MEM
        je @@size                       ;= je .Lmemory_size
@@odd:  jmp far ptr failed              ;= .Lmemory_odd: jmp failed
@@size: mov ax, bx                      ;= .Lmemory_size: mov ax, bx
        shr ax, 6                       ; paragraphs -> KB
        call print_kb
        ret                             ;= retf
show_memory endp                        ;=

show_drive proc                         ;= show_drive:
        mov dx, offset msg_drive
        call print_str
        mov ah, 19h                     ;= mov ah, 0x19
        int 21h                         ; al = 0 for A: ;= int 0x21
        add al, 'A'
        mov dl, al
        call put_char
        mov dl, ':'
        call put_char
        call far ptr new_line           ;= push cs; call new_line
        ret                             ;= retf
show_drive endp                         ;=

; Far, Pascal style: print the $-string whose offset was pushed
print_msg proc                          ;= print_msg:
        push bp
        mov bp, sp
        mov dx, [bp+6]
        call print_str
        pop bp
        ret 2                           ;= retf 2
print_msg endp                          ;=

new_line proc                           ;= new_line:
        push offset crlf
        call print_msg                  ; far, backward ;= push cs; call print_msg
        ret                             ;= retf
new_line endp                           ;=

failed  label far                       ; a DOS call went wrong ;= failed:
        mov dx, offset msg_fail
        call print_str
        mov al, 1
        jmp finish                      ; a far label, backward ;= jmp finish

;------------------------------- near helpers -------------------------------
print_str proc near                     ; ds:dx = $-string ;= print_str:
        mov ah, 9
        int 21h                         ;= int 0x21
        ret
print_str endp                          ;=

put_char proc near                      ; dl = character ;= put_char:
        mov ah, 2
        int 21h                         ;= int 0x21
        ret
put_char endp                           ;=

; ax = a number of kilobytes, then " KB" and the end of the line
print_kb proc near                      ;= print_kb:
        call print_dec
        push offset msg_kb
        call print_msg                  ; near calls far ;= push cs; call print_msg
        ret
print_kb endp                           ;=

; ax = unsigned number, printed in decimal
print_dec proc near                     ;= print_dec:
        mov bx, 10
        xor cx, cx
@@loop: xor dx, dx                      ;= .Ldec_loop: xor dx, dx
        div bx
        push dx
        inc cx
        or ax, ax
        jnz @@loop                      ;= jnz .Ldec_loop
@@out:  pop dx                          ;= .Ldec_out: pop dx
        add dl, '0'
        call put_char
        loop @@out                      ;= loop .Ldec_out
        ret
print_dec endp                          ;=

        end start                       ;=
