; program 16
; PKTMON.COM - watches COM1 for framed packets (SOH, command, length, data, checksum)
; and prints a line for each: the command, the length and whether the sum is right.
; The port settings and the options are kept in records, as the BIOS and the option
; byte want them; a packet is read into a buffer seen through a union as bytes, words
; or its leading dword.  TASM, MASM mode, tiny model: link it at 100h.
        .model tiny                             ;=
        .286                                    ;=
        locals                                  ;=

SOH             equ 01h                         ;= .equ SOH, 1
PKT_MAX         equ 64                          ;= .equ PKT_MAX, 64
PKT_WORDS       equ 32                          ;= .equ PKT_WORDS, 32
KEY_ESC         equ 1Bh                         ;= .equ KEY_ESC, 0x1B
BAUD_9600       equ 7                           ;= .equ BAUD_9600, 7
BITS_8          equ 3                           ;= .equ BITS_8, 3

; int 14h, ah = 0: the line settings, packed as the BIOS reads them
comset  record baud:3 = BAUD_9600, parity:2, stops:1, wlen:2 = BITS_8 ;= .equ baud, 5; .equ parity, 3; .equ stops, 2; .equ wlen, 0
; the options: hex dump, quiet, echo to the screen, packets to read before stopping
opts    record o_hex:1, o_quiet:1, o_echo:1, o_count:5 = 10 ;= .equ o_hex, 7; .equ o_quiet, 6; .equ o_echo, 5; .equ o_count, 0

; a packet as it comes off the line: the same bytes as bytes, as words, as a dword
packet  union                                   ;=
p_raw   db PKT_MAX dup (?)                      ;= .equ p_raw, 0
p_word  dw PKT_WORDS dup (?)                    ;= .equ p_word, 0
p_head  dd ?                                    ;= .equ p_head, 0
packet  ends                                    ;=

; the two-byte answer: a word for the port, or its two bytes
answer  union                                   ;=
a_word  dw 0615h                                ;= .equ a_word, 0
a_byte  db ?                                    ;= .equ a_byte, 0
answer  ends                                    ;=

; offsets in a packet's header
H_CMD           equ 1                           ;= .equ H_CMD, 1
H_LEN           equ 2                           ;= .equ H_LEN, 2
H_DATA          equ 3                           ;= .equ H_DATA, 3

        .data                                   ;= .data
banner  db 'PKTMON 1.2 - packets on COM1, Esc stops', 13, 10, '$' ;= banner: .ascii "PKTMON 1.2 - packets on COM1, Esc stops"; .byte 13, 10, 0x24
settings comset <>                              ; 9600 baud, 8N1 ;= settings: .byte 0xE3
slow    comset <4, , , 2>                       ; 1200 baud, 7N1 ;= slow: .byte 0x82
options opts <0, 0, 1>                          ;= options: .byte 0x2A
ack     answer <>                               ;= ack: .short 0x0615
nak     answer <1506h>                          ;= nak: .short 0x1506
hexdig  db '0123456789ABCDEF'                   ;= hexdig: .ascii "0123456789ABCDEF"
line    db 'cmd ?? len ?? sum '                 ;= line: .ascii "cmd ?? len ?? sum "
verdict db 'ok', 13, 10, '$'                    ;= verdict: .ascii "ok"; .byte 13, 10, 0x24
bad     db 'bad', 13, 10, '$'                   ;= bad: .ascii "bad"; .byte 13, 10, 0x24
; the settings of each speed the option byte can ask for, all 8N1
speeds  comset <2>                              ;= speeds: .byte 0x43
sp600   comset <3>                              ;= sp600: .byte 0x63
sp1200  comset <4>                              ;= sp1200: .byte 0x83
sp2400  comset <5>                              ;= sp2400: .byte 0xA3
        even                                    ;= .balign 2
RECSIZE equ width comset / 8                    ;= .equ RECSIZE, 1

        .data?                                  ;= .bss
pkt     packet <>                               ;= pkt: .skip 64
left    db ?                                    ;= left: .skip 1

        .code                                   ;= .text
        public start                            ;= .globl start
start   proc near                               ;= start:
        mov dx, offset banner
        mov ah, 9
        int 21h                                 ;= int 0x21
        mov al, settings                        ;= mov al, byte ptr settings
        test options, mask o_quiet              ;= test byte ptr options, 0x40
        jz @@fast                               ;= jz .Lstart.fast
        mov al, slow                            ;= mov al, byte ptr slow
@@fast: xor ah, ah                              ;= .Lstart.fast: xor ah, ah
        xor dx, dx
        int 14h                                 ;= int 0x14
        mov al, options                         ;= mov al, byte ptr options
        and al, mask o_count                    ;= and al, 0x1F
        mov left, al                            ;= mov byte ptr left, al
@@next: call read_packet                        ;= .Lstart.next: call read_packet
        jc @@done                               ;= jc .Lstart.done
        call show_packet
        mov ax, ack.a_word                      ;= mov ax, word ptr ack
        call send_word
        dec left                                ;= dec byte ptr left
        jnz @@next                              ;= jnz .Lstart.next
@@done: mov ax, 4C00h                           ;= .Lstart.done: mov ax, 0x4C00
        int 21h                                 ;= int 0x21
start   endp                                    ;=

; reads one packet into pkt; CF set when Esc was pressed instead
read_packet proc near                           ;= read_packet:
@@sync: call get_byte                           ;= .Lread_packet.sync: call get_byte
        jc @@out                                ;= jc .Lread_packet.out
        cmp al, SOH
        jne @@sync                              ;= jne .Lread_packet.sync
        xor di, di
        mov pkt.p_raw[di], al                   ;= mov byte ptr [pkt+di], al
        inc di
@@head: call get_byte                           ;= .Lread_packet.head: call get_byte
        jc @@out                                ;= jc .Lread_packet.out
        mov pkt.p_raw[di], al                   ;= mov byte ptr [pkt+di], al
        inc di
        cmp di, H_DATA
        jb @@head                               ;= jb .Lread_packet.head
        mov cl, pkt.p_raw[H_LEN]                ;= mov cl, byte ptr [pkt+2]
        xor ch, ch
        inc cx                                  ; the checksum byte after the data
        cmp cx, PKT_MAX - H_DATA
        ja @@sync                               ;= ja .Lread_packet.sync
@@data: call get_byte                           ;= .Lread_packet.data: call get_byte
        jc @@out                                ;= jc .Lread_packet.out
        mov [pkt+di], al                        ;= mov byte ptr [pkt+di], al
        inc di
        loop @@data                             ;= loop .Lread_packet.data
        clc
@@out:  ret                                     ;= .Lread_packet.out: ret
read_packet endp                                ;=

; one byte from the port into al, echoed when the options say so; CF set on Esc
get_byte proc near                              ;= get_byte:
@@poll: mov ah, 1                               ;= .Lget_byte.poll: mov ah, 1
        int 16h                                 ;= int 0x16
        jz @@port                               ;= jz .Lget_byte.port
        xor ah, ah
        int 16h                                 ;= int 0x16
        cmp al, KEY_ESC
        jne @@port                              ;= jne .Lget_byte.port
        stc
        ret
@@port: mov ah, 3                               ;= .Lget_byte.port: mov ah, 3
        xor dx, dx
        int 14h                                 ;= int 0x14
        test ah, 1
        jz @@poll                               ;= jz .Lget_byte.poll
        mov ah, 2
        xor dx, dx
        int 14h                                 ;= int 0x14
        mov ah, options                         ;= mov ah, byte ptr options
        and ah, mask o_echo or mask o_quiet     ;= and ah, 0x60
        cmp ah, 1 shl o_echo                    ;= cmp ah, 0x20
        jne @@done                              ;= jne .Lget_byte.done
        push ax
        mov dl, al
        mov ah, 2
        int 21h                                 ;= int 0x21
        pop ax
@@done: clc                                     ;= .Lget_byte.done: clc
        ret
get_byte endp                                   ;=

; prints the command and length in hex and whether the bytes sum to 0
show_packet proc near                           ;= show_packet:
        mov al, pkt.p_raw[H_CMD]                ;= mov al, byte ptr [pkt+1]
        mov di, offset line + 4
        call put_hex
        mov al, pkt.p_raw[H_LEN]                ;= mov al, byte ptr [pkt+2]
        mov di, offset line + 11
        call put_hex
        mov cl, pkt.p_raw[H_LEN]                ;= mov cl, byte ptr [pkt+2]
        xor ch, ch
        add cx, H_DATA + 1
        xor si, si
        xor ah, ah
@@sum:  add ah, byte ptr pkt[si]                ;= .Lshow_packet.sum: add ah, byte ptr [pkt+si]
        inc si
        loop @@sum                              ;= loop .Lshow_packet.sum
        mov bx, offset verdict
        test ah, ah
        jz @@show                               ;= jz .Lshow_packet.show
        mov bx, offset bad
        mov ax, nak.a_word                      ;= mov ax, word ptr nak
        mov ack.a_word, ax                      ;= mov word ptr ack, ax
@@show: mov dx, offset line                     ;= .Lshow_packet.show: mov dx, offset line
        mov cx, 18
        mov ah, 40h                             ;= mov ah, 0x40
        push bx
        mov bx, 1
        int 21h                                 ;= int 0x21
        pop dx
        mov ah, 9
        int 21h                                 ;= int 0x21
        ; the first word and dword of the packet, for a hex dump when asked
        test options, mask o_hex                ;= test byte ptr options, 0x80
        jz @@quiet                              ;= jz .Lshow_packet.quiet
        mov ax, pkt.p_word[2]                   ;= mov ax, word ptr [pkt+2]
        mov dx, word ptr pkt.p_head + 2         ;= mov dx, word ptr [pkt+2]
        mov bx, offset pkt
        mov al, (packet ptr [bx]).p_raw         ;= mov al, byte ptr [bx]
        mov cx, [bx].p_word                     ;= mov cx, word ptr [bx]
@@quiet:                                        ;= .Lshow_packet.quiet:
        ret
show_packet endp                                ;=

; al in two hex digits at [di]
put_hex proc near                               ;= put_hex:
        mov ah, al
        mov cl, 4
        shr al, cl
        mov bx, offset hexdig
        xlat
        mov [di], al
        mov al, ah
        and al, 0Fh                             ;= and al, 0xF
        xlat
        mov [di+1], al
        ret
put_hex endp                                    ;=

; ax out of the port, high byte first, at the speed the options give
send_word proc near                             ;= send_word:
        push ax
        mov al, ah
        mov ah, 1
        xor dx, dx
        int 14h                                 ;= int 0x14
        pop ax
        mov ah, 1
        int 14h                                 ;= int 0x14
        mov al, options                         ;= mov al, byte ptr options
        shr al, o_echo                          ;= shr al, 5
        and al, mask o_count shr o_count and 3  ;= and al, 3
        xor ah, ah
        mov bx, ax
        mov al, speeds[bx]                      ;= mov al, byte ptr [speeds+bx]
        cmp al, settings                        ;= cmp al, byte ptr settings
        ret
send_word endp                                  ;=
        end start                               ;=
