; program 16
; KEYRATE.EXE - set the keyboard typematic rate.  TASM 2.0, MASM mode.
; Linked behind the small-model startup: DS = SS = DGROUP, ES = PSP on entry.
        .model small                    ;=
        .286                            ;=
        .stack 200h                     ;=

KBD_DATA        equ 60h                 ;= .equ KBD_DATA, 0x60
KBD_STATUS      equ 64h                 ;= .equ KBD_STATUS, 0x64
KBD_BUSY        equ 00000010b           ;= .equ KBD_BUSY, 0b00000010
KBD_SETRATE     equ 0F3h                ;= .equ KBD_SETRATE, 0xF3
TIMEOUT         equ 1800h               ;= .equ TIMEOUT, 0x1800
; typematic byte: bits 0-4 rate (0 = 30 cps, 31 = 2 cps), bits 5-6 delay
DELAY_SHIFT     equ 5                   ;= .equ DELAY_SHIFT, 5
RATE_MASK       equ 1 shl DELAY_SHIFT - 1 ;= .equ RATE_MASK, (1 << DELAY_SHIFT) - 1
DELAY_FIELD     equ 140o                ;= .equ DELAY_FIELD, 0140
DEFAULT_RATE    equ 2 + 3 or 4          ;= .equ DEFAULT_RATE, (2 + 3) | 4
DEFAULT_DELAY   equ 1t                  ;= .equ DEFAULT_DELAY, 1
MAX_RATE        equ 37q                 ;= .equ MAX_RATE, 037
FLAG_QUIET      equ 1                   ;= .equ FLAG_QUIET, 1
FLAG_HELP       equ 2                   ;= .equ FLAG_HELP, 2
FLAG_RATE       equ 4                   ;= .equ FLAG_RATE, 4

        .data                           ;= .data
rate_is db 'Rate code: $'               ;= rate_is: .ascii "Rate code: $"
crlf    db 13, 10, '$'                  ;= crlf: .byte 13, 10; .ascii "$"
; the switch letters, in the order of the handler table
switches db 'R', 'Q',                   ;= switches: .byte 'R', 'Q'
            'H', '?'                    ;= .byte 'H', '?'
NSWITCHES equ $ - switches              ;= .equ NSWITCHES, . - switches
handlers dw offset do_rate, offset do_quiet, offset do_help, offset do_help ;= handlers: .short do_rate, do_quiet, do_help, do_help
; what to report: the routine that fetches a setting, then its label
reports dw offset say_rate, offset rate_is  ;= reports: .short say_rate, rate_is
        dw 0                            ;= .short 0
   rate    db DEFAULT_RATE              ;= rate: .byte DEFAULT_RATE
   delay   db DEFAULT_DELAY             ;= delay: .byte DEFAULT_DELAY
   flags   dw FLAG_RATE + FLAG_QUIET    ;= flags: .short FLAG_RATE + FLAG_QUIET
   busy    db 0                         ;= busy: .byte 0
        .data?                          ;= .bss
cmd_tail dd ?                           ;= cmd_tail: .skip 4
argbuf  db 128 dup (?)                  ;= argbuf: .skip 128

        .const                          ;= .section .rodata
usage   db 'usage: KEYRATE [/R rate; 0-31], [/Q]', 13, 10 ;= usage: .ascii "usage: KEYRATE [/R rate; 0-31], [/Q]"; .byte 13, 10
        db 4 dup (' '), "Try ""KEYRATE /R 0"" for the fastest rate.", 13, 10, '$' ;= .fill 4, 1, ' '; .ascii "Try \"KEYRATE /R 0\" for the fastest rate."; .byte 13, 10; .ascii "$"
bad_arg db 'Bad switch; see ''KEYRATE /H''', 13, 10, '$' ;= bad_arg: .ascii "Bad switch; see 'KEYRATE /H'"; .byte 13, 10; .ascii "$"

        .code                           ;= .text
        public _main                    ;= .globl _main
_main   proc near                       ;= _main:
        push ax bx cx                   ;= push ax; push bx; push cx
        mov bx, offset cmd_tail
        mov word ptr [bx], 80h          ; the tail is at PSP:0080h ;= mov word ptr [bx], 0x80
        mov [bx].2, es                  ;= mov [bx+2], es
        mov al, 1                       ; one run at a time, even from
        lock xchg al, byte ptr [busy]   ; the Ctrl-Break handler
        or al, al
        jnz main_done
        and word ptr [flags], not FLAG_QUIET + FLAG_RATE  ;= and word ptr [flags], ~(FLAG_QUIET + FLAG_RATE)
        call get_tail
        call parse_args
        mov dx, offset bad_arg
        jc print_it
        mov dx, offset usage
        test word ptr [flags], FLAG_HELP
        jnz print_it
        call set_typematic
        mov ax, offset main_done        ; quiet: straight out
        test word ptr [flags], FLAG_QUIET
        jnz main_exit
        mov ax, offset report
main_exit:
        jmp ax
print_it:
        mov ah, 9
        int 21h                         ;= int 0x21
main_done:
        mov byte ptr [busy], 0
        pop cx bx ax                    ;= pop cx; pop bx; pop ax
        xor ax, ax
        retn                            ;= ret
_main   endp                            ;=
; get_tail: copy the command tail from the PSP into argbuf, ASCIIZ
get_tail proc near                      ;= get_tail:
        push ds
        les di, dword ptr [cmd_tail]    ; ES:DI -> length byte
        mov cl, es:[di]
        xor ch, ch
        push ds
        pop es
        mov di, offset argbuf
        lds si, dword ptr [cmd_tail]
        inc si
        cld
        rep movsb
        mov byte ptr es:[di], 0
        pop ds
        ret
get_tail endp                           ;=
; parse_args: walk argbuf; carry set on a bad switch
parse_args proc near                    ;= parse_args:
        mov bx, offset argbuf
        xor di, di
        mov ax, '?/'                    ; "/?" as it lies in memory ;= mov ax, 0x3F2F
        cmp ax, [bx+1]
        je do_help
pa_next:
        mov al, [di+bx]
        inc di
        or al, al
        jz pa_done
        cmp al, ';'                     ;= cmp al, 0x3B
        je pa_done                      ; the rest is a comment
        cmp al, ','
        je pa_next
        cmp al, ' '                     ; blanks, tabs and the like
        jbe pa_next
        cmp al, '/'
        jne pa_bad
        mov al, [di+bx]
        inc di
        and al, not 20h                 ;= and al, ~0x20
        push di
        mov di, offset switches         ; ES = DS since get_tail
        mov cx, NSWITCHES
        repne scasb
        pop si                          ; the parse position
        jne pa_bad
        mov bx, NSWITCHES - 1
        sub bx, cx
        shl bx, 1
        jmp word ptr [bx+handlers]
do_rate:
        call get_number
        cmp ax, MAX_RATE
        ja pa_bad
        mov [rate], al
        or word ptr [flags], FLAG_RATE
        jmp short pa_resume
do_quiet:
        or word ptr [flags], FLAG_QUIET
        jmp short pa_resume
do_help:
        or word ptr [flags], FLAG_HELP
pa_done:
        clc
        ret
pa_resume:
        mov di, si
        mov bx, offset argbuf
        jmp short pa_next
pa_bad:
        stc
        ret
parse_args endp                         ;=
; get_number: the decimal number at argbuf[si] -> ax, si past it
get_number proc near                    ;= get_number:
        push bx cx dx                   ;= push bx; push cx; push dx
        xor cx, cx                      ; the total so far
gn_next:
        mov al, argbuf[si]              ;= mov al, [argbuf+si]
        sub al, '0'
        cmp al, 9
        ja gn_done
        inc si
        cbw
        mov bx, ax                      ; the digit
        mov ax, cx
        mov cx, 10d                     ;= mov cx, 10
mul cx
        add ax, bx
        mov cx, ax
        jmp short gn_next
gn_done:
        mov ax, cx
        pop dx cx bx                    ;= pop dx; pop cx; pop bx
        ret
get_number endp                         ;=
; set_typematic: send F3h, then the typematic byte
set_typematic proc near                 ;= set_typematic:
        mov al, [delay]
        mov cl, DELAY_SHIFT
        shl al, cl
        and al, DELAY_FIELD
        mov ah, [rate]
        and ah, RATE_MASK
        or ah, al
        pushf
        cli
        mov al, KBD_SETRATE
        call kbd_write
        mov al, ah
        call kbd_write
        popf
        ret
set_typematic endp                      ;=
; kbd_write: wait until the 8042 can take a byte, then send AL
kbd_write proc near                     ;= kbd_write:
        push cx ax                      ;= push cx; push ax
        mov ch, high TIMEOUT + 1        ;= mov ch, ((TIMEOUT >> 8) & 0xFF) + 1
        mov cl, low TIMEOUT             ;= mov cl, TIMEOUT & 0xFF
kw_wait:
        in al, KBD_STATUS
        test al, KBD_BUSY
        loopnz kw_wait
        pop ax cx                       ;= pop ax; pop cx
        out KBD_DATA, al
        jmp $+2                         ;= jmp .+2
        jmp $+2                         ;= jmp .+2
        ret
kbd_write endp                          ;=
; report: print each setting in the table
report  proc near                       ;= report:
        mov bx, offset reports
rp_next:
        mov dx, [bx].2                  ;= mov dx, [bx+2]
        mov ah, 9
        int 21h                         ;= int 0x21
        push bx
        call word ptr [bx]              ; AX = the setting
        push ax
        call show_number
        pop bx
        add bx, 4
        cmp word ptr [bx], 0
        jne rp_next
        mov dx, offset crlf
        jmp print_it
say_rate:
        mov al, [rate]
        cbw
        ret
report  endp                            ;=
; show_number: print the word the caller pushed (0-99), two digits
show_number proc near                   ;= show_number:
        enter 4, 0                      ; the digits and a '$'
        xor si, si
        mov ax, [si+bp+4]
        aam                             ; AH = tens, AL = units
        add ax, '00'                    ;= add ax, 0x3030
        xchg al, ah
        mov [bp-4], ax
        mov byte ptr [bp-2], '$'
        lea dx, [bp-4]                  ; DS = SS in the small model
        mov ah, 9
        int 21h                         ;= int 0x21
        leave
        ret 2
show_number endp                        ;=
        end                             ;=
