; program 16
;----------------------------------------------------------------------------
; KEYCLIK.COM - a resident key click: hooks int 09h and ticks the speaker on
; every key press.  TASM 1.01, MASM mode, full segment definitions; the
; installer's messages in a segment of their own, grouped with the code.
;       tasm keyclik;  tlink /t keyclik
; The handler cannot count on DS: it says so with "assume ds:nothing", and
; Tasm reaches the variables it keeps in the code segment through CS.
;----------------------------------------------------------------------------
DGROUP  group code, msgs                ;=
PPI     equ 61h                         ;= .equ PPI, 0x61
SPK_ON  equ 02h                         ;= .equ SPK_ON, 0x02

code    segment byte public 'CODE'      ;= .section code, "ax"
        assume cs:code, ds:code         ;=
start:  jmp install                     ;= jmp install
old09   dd ?                            ;= old09: .long 0
clicks  dw 0                            ;= clicks: .short 0
muted   db 0                            ;= muted: .byte 0
length_ db 40                           ; delay loop count ;= length_: .byte 40

; int 09h: let the BIOS read the key, then tick
click   proc far                        ;= click:
        assume ds:nothing               ;=
        pushf
        call old09                      ;= call dword ptr cs:[old09]
        cmp muted, 0                    ;= cmp byte ptr cs:[muted], 0
        jne done                        ;= jne done
        push ax
        push cx
        inc clicks                      ;= inc word ptr cs:[clicks]
        in al, PPI                      ;= in al, 0x61
        or al, SPK_ON                   ;= or al, 0x02
        out PPI, al                     ;= out 0x61, al
        xor ch, ch
        mov cl, length_                 ;= mov cl, byte ptr cs:[length_]
wait_:  loop wait_                      ;= wait_: loop wait_
        and al, not SPK_ON              ;= and al, 0xFD
        out PPI, al                     ;= out 0x61, al
        pop cx
        pop ax
done:   iret                            ;= done: iret
click   endp                            ;=
resident_end label byte                 ;= resident_end:

install:                                ;= install:
        assume ds:DGROUP                ;=
        mov dx, offset DGROUP:banner    ; measured from the group: the image's own address here ;= mov dx, offset banner
        mov ah, 9
        int 21h                         ;= int 0x21
        mov al, DGROUP:banner+8         ; the version digit ;= mov al, byte ptr [banner+8]
        mov ax, 3509h                   ;= mov ax, 0x3509
        int 21h                         ;= int 0x21
        mov word ptr old09, bx          ;= mov word ptr [old09], bx
        mov word ptr old09+2, es        ;= mov word ptr [old09+2], es
        assume es:msgs, ds:nothing      ;=
        push cs
        pop es
        cmp banner, 'K'                 ;= cmp byte ptr es:[banner], 0x4B
        mov clicks, 0                   ;= mov word ptr cs:[clicks], 0
        push cs
        pop ds
        assume ds:code                  ;=
        mov dx, offset click            ;= mov dx, offset click
        mov ax, 2509h                   ;= mov ax, 0x2509
        int 21h                         ;= int 0x21
        mov dx, offset resident_end + 100h + 15 ;= mov dx, offset resident_end + 0x100 + 15
        mov cl, 4
        shr dx, cl
        mov ax, 3100h                   ;= mov ax, 0x3100
        int 21h                         ;= int 0x21
code    ends                            ;=

msgs    segment byte public 'DATA'      ;= .section msgs, "aw"
banner  db 'KEYCLIK 1 installed', 13, 10, '$' ;= banner: .ascii "KEYCLIK 1 installed"; .byte 13, 10, 0x24
msgs    ends                            ;=
        end start                       ;=
