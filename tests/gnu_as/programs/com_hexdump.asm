; program 16
; HEXTAIL.COM - prints the bytes of its command tail in hex, sixteen to a line, with the
; characters beside them.  TASM, MASM mode, tiny model: link it at 100h (ld -Ttext 0x100);
; the PSP, and the tail at 80h, sit in front of the code.
        .model tiny                             ;=
        .286                                    ;=
        locals                                  ;=

PER_LINE        equ 16                          ;= .equ PER_LINE, 16
TAIL_LEN        equ 80h                         ;= .equ TAIL_LEN, 0x80
TAIL            equ 81h                         ;= .equ TAIL, 0x81

        .data                                   ;= .data
banner  db 'HEXTAIL 1.0 - the command tail, byte by byte', 13, 10, '$' ;= banner: .ascii "HEXTAIL 1.0 - the command tail, byte by byte"; .byte 13, 10; .ascii "$"
empty   db "(no tail; try ""HEXTAIL a b c"")", 13, 10, '$' ;= empty: .ascii "(no tail; try \"HEXTAIL a b c\")"; .byte 13, 10, 0x24
crlf    db 13, 10, '$'                          ;= crlf: .byte 13, 10, 0x24
hex     db '0123456789',                        ;= hex: .ascii "0123456789"
           'ABCDEF'                             ;= .ascii "ABCDEF"
; the printable stand-in for a control character
dot     db '.'                                  ;= dot: .byte '.'
        even                                    ;= .balign 2
; one output line: sixteen "xx " fields, two blanks, sixteen characters, CR LF '$'
line_buf label byte                             ;= line_buf:
hex_part db PER_LINE dup ('?', '?', ' ')        ;= hex_part: .rept 16; .byte 0x3F, 0x3F, 0x20; .endr
        db 2 dup (' ')                          ;= .byte 0x20, 0x20
char_part db PER_LINE dup ('.')                 ;= char_part: .fill 16, 1, 0x2E
line_end db 13, 10, '$'                         ;= line_end: .byte 13, 10, 0x24
LINE_SIZE equ $ - line_buf                      ;= .equ LINE_SIZE, . - line_buf

        .data?                                  ;= .bss
count   dw ?                                    ;= count: .skip 2
lines   dw ?                                    ;= lines: .skip 2
save    db 80 dup (?)                           ;= save: .skip 80

        .code                                   ;= .text
        public start                            ;= .globl start
start   proc near                               ;= start:
        mov dx, offset banner
        call print
        xor ch, ch
        mov cl, ds:[TAIL_LEN]                   ;= mov cl, ds:[0x80]
        mov [count], cx
        jcxz no_tail
        mov si, TAIL
        mov di, offset save
        cld
copy:   lodsb
        stosb
        loop copy
        mov si, offset save
next_line:
        call fill_line
        mov dx, offset line_buf
        call print
        inc word ptr [lines]
        cmp word ptr [count], 0
        jne next_line
        jmp short done
no_tail:
        mov dx, offset empty
        call print
done:   mov ax, 4C00h                           ;= done: mov ax, 0x4C00
        int 21h                                 ;= int 0x21
start   endp                                    ;=

; fill_line: up to PER_LINE bytes from [si] into line_buf; si and count move on
fill_line proc near                             ;= fill_line:
        mov di, offset hex_part
        mov bx, offset char_part
        mov cx, PER_LINE
fl_next:
        cmp word ptr [count], 0
        je fl_blank
        dec word ptr [count]
        lodsb
        call put_hex
        cmp al, ' '
        jae fl_char
        mov al, [dot]
fl_char:
        mov [bx], al
        inc bx
        loop fl_next
        ret
fl_blank:
        mov byte ptr [di], ' '
        mov byte ptr [di+1], ' '
        add di, 3
        mov byte ptr [bx], ' '
        inc bx
        loop fl_blank
        ret
fill_line endp                                  ;=

; put_hex: al as two hex digits at [di], then a blank; di moves past them
put_hex proc near                               ;= put_hex:
        push ax
        push bx
        mov bx, offset hex
        mov ah, al
        shr al, 4
        xlat
        mov [di], al
        mov al, ah
        and al, 0Fh                             ;= and al, 0x0F
        xlat
        mov [di+1], al
        mov byte ptr [di+2], ' '
        add di, 3
        pop bx
        pop ax
        ret
put_hex endp                                    ;=

print   proc near                               ;= print:
        mov ah, 9
        int 21h                                 ;= int 0x21
        ret
print   endp                                    ;=
        end start                               ;=
