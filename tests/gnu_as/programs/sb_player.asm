; program 16
;------------------------------------------------------------------------------
; SBPLAY.EXE - finds a Sound Blaster, resets its DSP, and plays a short tone
; through 8-bit single-cycle DMA; the block's end comes back as the card's IRQ.
;       SBPLAY [/Axxx] [/In] [/Dn]      port (hex), IRQ, DMA channel
; TASM 3.1, MASM mode, full segment definitions.    tasm /m2 sbplay; tlink sbplay
; The IRQ and timer handlers run with any DS: they say "assume ds:nothing" and
; Tasm reaches their variables, kept in the code segment, through CS.
;------------------------------------------------------------------------------
        locals                          ;=

DEF_BASE     equ 220h                   ;= .equ DEF_BASE, 0x220
DEF_IRQ      equ 7                      ;= .equ DEF_IRQ, 7
DEF_DMA      equ 1                      ;= .equ DEF_DMA, 1
; DSP ports, from the base port
SB_RESET     equ 6                      ;= .equ SB_RESET, 6
SB_READ      equ 0Ah                    ;= .equ SB_READ, 0x0A
SB_WRITE     equ 0Ch                    ;= .equ SB_WRITE, 0x0C
SB_STATUS    equ 0Eh                    ; bit 7: data to read; reading it acks the IRQ ;= .equ SB_STATUS, 0x0E
DSP_READY    equ 0AAh                   ;= .equ DSP_READY, 0xAA
; DSP commands
CMD_DMA8     equ 14h                    ;= .equ CMD_DMA8, 0x14
CMD_TC       equ 40h                    ;= .equ CMD_TC, 0x40
CMD_HALT     equ 0D0h                   ;= .equ CMD_HALT, 0xD0
CMD_SPK_ON   equ 0D1h                   ;= .equ CMD_SPK_ON, 0xD1
CMD_SPK_OFF  equ 0D3h                   ;= .equ CMD_SPK_OFF, 0xD3
CMD_VERSION  equ 0E1h                   ;= .equ CMD_VERSION, 0xE1
RATE         equ 11025                  ;= .equ RATE, 11025
TIME_CONST   equ 256 - 1000000 / RATE   ; 166 ;= .equ TIME_CONST, 256 - 1000000 / RATE
; the 8237 (channels 0-3)
DMA_MASK_REG equ 0Ah                    ;= .equ DMA_MASK_REG, 0x0A
DMA_MODE_REG equ 0Bh                    ;= .equ DMA_MODE_REG, 0x0B
DMA_CLEAR_FF equ 0Ch                    ;= .equ DMA_CLEAR_FF, 0x0C
MASK_ON      equ 04h                    ;= .equ MASK_ON, 0x04
MODE_READ    equ 1 shl 3                ; memory to the card ;= .equ MODE_READ, 1 << 3
MODE_SINGLE  equ 1 shl 6                ;= .equ MODE_SINGLE, 1 << 6
; the 8259
PIC1_CMD     equ 20h                    ;= .equ PIC1_CMD, 0x20
PIC1_MASK    equ 21h                    ;= .equ PIC1_MASK, 0x21
EOI          equ 20h                    ;= .equ EOI, 0x20
; the sample
BUF_LEN      =   2048                   ;= BUF_LEN = 2048
RAMP_LEN     =   8                      ;= RAMP_LEN = 8
PERIOD       equ 24                     ; 459 Hz at RATE ;= .equ PERIOD, 24
SILENCE      equ 80h                    ;= .equ SILENCE, 0x80
HIGH_LVL     equ SILENCE + 40h          ;= .equ HIGH_LVL, SILENCE + 0x40
LOW_LVL      equ SILENCE - 40h          ;= .equ LOW_LVL, SILENCE - 0x40
TIMEOUT      =   18 * 3                 ; three seconds of ticks ;= TIMEOUT = 18 * 3
GUARD        equ 5AA5h                  ;= .equ GUARD, 0x5AA5
PAGE_MASK    equ (BUF_LEN - 1) shr 4 and 0FFh ;= .equ PAGE_MASK, ((BUF_LEN - 1) >> 4) & 0xFF

dma_chan struc                          ; the ports of one channel ;=
dma_page  db ?                          ; page register ;= .equ dma_page, 0
dma_addr  db ?                          ; base address ;= .equ dma_addr, 1
dma_count db ?                          ; count ;= .equ dma_count, 2
dma_mask  db ?                          ; its bits in the mask and mode registers ;= .equ dma_mask, 3
dma_chan ends                           ;=

DGROUP  group data, bss                 ;=

data    segment word public 'DATA'      ;= .section data, "aw"
sb_base   dw DEF_BASE                   ;= sb_base: .short DEF_BASE
sb_irq    db DEF_IRQ                    ;= sb_irq: .byte DEF_IRQ
sb_dma    db DEF_DMA                    ;= sb_dma: .byte DEF_DMA
int_vec   db 0                          ; sb_irq + 8 ;= int_vec: .byte 0
pic_save  db ?                          ;= pic_save: .byte 0
psp_seg   dw ?                          ;= psp_seg: .short 0
buf_ofs   dw ?                          ;= buf_ofs: .short 0
buf_page  db ?                          ;= buf_page: .byte 0
page_bits db PAGE_MASK                  ;= page_bits: .byte PAGE_MASK
play_ptr  dw ?                          ;= play_ptr: .short 0
bytes_played dd 0                       ;= bytes_played: .long 0
ports     dw DEF_BASE, 240h, 260h, 280h ; where to look ;= ports: .short DEF_BASE, 0x240, 0x260, 0x280
NUM_PORTS equ ($ - ports) / 2           ;= .equ NUM_PORTS, (. - ports) / 2
; the 8237's ports for channels 0 to 3
dma_table dma_chan <87h, 00h, 01h, 0>   ;= dma_table: .byte 0x87, 0x00, 0x01, 0
          dma_chan <83h, 02h, 03h, 1>   ;= .byte 0x83, 0x02, 0x03, 1
          dma_chan <81h, 04h, 05h, 2>, <82h, 06h, 07h, 3> ;= .byte 0x81, 0x04, 0x05, 2; .byte 0x82, 0x06, 0x07, 3
irq_ok    db 0, 0, 1, 1, 0, 1, 0, 1     ; 2, 3, 5 and 7 only ;= irq_ok: .byte 0, 0, 1, 1, 0, 1, 0, 1
ramp      db 80h, 88h, 90h, 98h, 0A0h, 0A8h, 0B0h, 0B8h ;= ramp: .byte 0x80, 0x88, 0x90, 0x98, 0xA0, 0xA8, 0xB0, 0xB8
hex_digits db '0123456789ABCDEF'        ;= hex_digits: .ascii "0123456789ABCDEF"
msg_title db 'SBPLAY 1.0 - Sound Blaster tone test', 13, 10, '$' ;= msg_title: .ascii "SBPLAY 1.0 - Sound Blaster tone test"; .byte 13, 10; .ascii "$"
msg_usage db 'usage: SBPLAY [/Axxx] [/In] [/Dn]', 13, 10, '$' ;= msg_usage: .ascii "usage: SBPLAY [/Axxx] [/In] [/Dn]"; .byte 13, 10; .ascii "$"
msg_found db 'Sound Blaster at 2'   ;= msg_found: .ascii "Sound Blaster at 2"
msg_port  db '20h, DSP version '        ;= msg_port: .ascii "20h, DSP version "
msg_ver   db '0.00', 13, 10, '$'        ;= msg_ver: .ascii "0.00"; .byte 13, 10; .ascii "$"
msg_nosb  db 'No Sound Blaster answers there.', 13, 10, '$' ;= msg_nosb: .ascii "No Sound Blaster answers there."; .byte 13, 10; .ascii "$"
msg_badirq db 'IRQ must be 2, 3, 5 or 7.', 13, 10, '$' ;= msg_badirq: .ascii "IRQ must be 2, 3, 5 or 7."; .byte 13, 10; .ascii "$"
msg_tmo   db 'Timed out: no IRQ came; wrong /I or /D?', 13, 10, '$' ;= msg_tmo: .ascii "Timed out: no IRQ came; wrong /I or /D?"; .byte 13, 10; .ascii "$"
msg_done  db 'Played; interrupts: $'        ;= msg_done: .ascii "Played; interrupts: $"
msg_crlf  db 13, 10, '$'                ;= msg_crlf: .byte 13, 10, 0x24
data    ends                            ;=

bss     segment word public 'BSS'       ;= .section bss, "aw", @nobits
num_buf   db 6 dup (?)                  ;= num_buf: .skip 6
sample    db 2 * BUF_LEN dup (?)        ; one half never crosses a 64K page ;= sample: .skip 2 * BUF_LEN
bss     ends                            ;=

stack   segment para stack 'STACK'      ;= .section stack, "aw"
stk_low   dw ?                          ; overwritten when the stack overflows ;= stk_low: .short 0
          dw 255 dup (?)                ;= .fill 255, 2, 0
stk_top   label word                    ;= stk_top:
stack   ends                            ;=

code    segment para public 'CODE'      ;= .section code, "ax"
        assume cs:code, ds:DGROUP, ss:stack ;=

; what the handlers need, where they can find it without DS
old_irq    dd ?                         ; the IRQ's handler before ours ;= old_irq: .long 0
old_vec    dd ?                         ; the timer's (int 1Ch) ;= old_vec: .long 0
irq_count  dw 0                         ;= irq_count: .short 0
tick_count dw 0                         ;= tick_count: .short 0
isr_port   dw ?                         ; sb_base + SB_STATUS ;= isr_port: .short 0
opt_table  dw offset opt_port, offset opt_irq, offset opt_dma ;= opt_table: .short opt_port, opt_irq, opt_dma
cur_irq    db ?                         ;= cur_irq: .byte 0
playing    db 0                         ;= playing: .byte 0
opt_letters db 'AID'                    ;= opt_letters: .ascii "AID"
NUM_OPTS   equ $ - opt_letters          ;= .equ NUM_OPTS, . - opt_letters

; the card's IRQ: the block has been played
sb_isr  proc far                        ;= sb_isr:
        assume ds:nothing               ;=
        push ax dx                      ;= push ax; push dx
        cmp playing, 0                  ;= cmp byte ptr cs:[playing], 0
        je @@not_ours                   ;= je .Lisr_not_ours
        mov dx, isr_port                ;= mov dx, word ptr cs:[isr_port]
        in al, dx                       ; acknowledge the DSP
        inc irq_count                   ;= inc word ptr cs:[irq_count]
        xor al, al
        xchg al, playing                ;= xchg al, byte ptr cs:[playing]
        mov al, cur_irq                 ;= mov al, byte ptr cs:[cur_irq]
        cmp al, 8
        mov al, EOI
        jb @@master                     ;= jb .Lisr_master
        out 0A0h, al                    ; the slave PIC too ;= out 0xA0, al
@@master:                               ;= .Lisr_master:
        out PIC1_CMD, al
        pop dx ax                       ;= pop dx; pop ax
        iret
@@not_ours:                             ;= .Lisr_not_ours:
        pop dx ax                       ;= pop dx; pop ax
        jmp old_irq                     ; not for us: down the chain ;= jmp dword ptr cs:[old_irq]
sb_isr  endp                            ;=

; int 1Ch: count the ticks for the time-out
tick_isr proc far                       ;= tick_isr:
        assume ds:nothing               ;=
        inc tick_count                  ;= inc word ptr cs:[tick_count]
        pushf
        call dword ptr old_vec          ;= call dword ptr cs:[old_vec]
        iret
tick_isr endp                           ;=

; int 1Bh, Ctrl-Break: ask the player to stop
brk_isr proc far                        ;= brk_isr:
        assume ds:nothing               ;=
        mov stop_req, 1                 ;= mov byte ptr cs:[stop_req], 1
        pushf
        call old_brk                    ;= call dword ptr cs:[old_brk]
        iret
brk_isr endp                            ;=
dummy_iret:                             ;= dummy_iret:
        iret
        assume ds:DGROUP                ;=

start:  mov ax, cs                      ; DGROUP (a loader fixup) has no ELF form: cs stands in ;= start: mov ax, cs
        mov ds, ax
        mov psp_seg, es                 ;= mov word ptr [psp_seg], es
        mov stk_low, GUARD              ;= mov word ptr ss:[stk_low], GUARD
        cld
ifdef DEBUG                             ;= .ifdef DEBUG
        int 3                           ; stop here under the debugger
endif                                   ;= .endif
        mov dx, offset DGROUP:msg_title ;= mov dx, offset msg_title
        call print
        call parse_args
        jnc @@args_ok                   ;= jnc .Lstart_args_ok
        mov dx, offset msg_usage
        jmp fail
@@args_ok:                              ;= .Lstart_args_ok:
        mov bl, sb_irq                  ;= mov bl, byte ptr [sb_irq]
        xor bh, bh
        cmp bl, 7
        ja @@bad_irq                    ;= ja .Lstart_bad_irq
        cmp irq_ok[bx], 0               ;= cmp byte ptr [bx+irq_ok], 0
        jne @@irq_ok                    ;= jne .Lstart_irq_ok
@@bad_irq:                              ;= .Lstart_bad_irq:
        mov dx, offset msg_badirq
        jmp fail
@@irq_ok:                               ;= .Lstart_irq_ok:
        and sb_dma, 3                   ;= and byte ptr [sb_dma], 3
        call find_card
        jnc @@found                     ;= jnc .Lstart_found
        mov dx, offset DGROUP:msg_nosb  ;= mov dx, offset msg_nosb
        jmp fail
@@found:                                ;= .Lstart_found:
        call show_card
        call dma_address
        call make_tone
        call hook_irq
        call play_block                 ;= push cs; call play_block
        pushf
        call unhook_irq
        popf
        jnc @@played                    ;= jnc .Lstart_played
        mov dx, offset msg_tmo
        jmp fail
@@played:                               ;= .Lstart_played:
        test stop_req, 1                ;= test byte ptr cs:[stop_req], 1
        jz @@whole                      ;= jz .Lstart_whole
        mov si, offset stop_msg
        call print_cs
@@whole:                                ;= .Lstart_whole:
        mov dx, offset msg_done
        call print
        push irq_count                  ;= push word ptr cs:[irq_count]
        call print_num
        mov dx, offset msg_crlf
        call print
        cmp stk_low, GUARD              ;= cmp word ptr ss:[stk_low], GUARD
        je @@exit                       ;= je .Lstart_exit
        mov dx, offset msg_stack
        jmp fail
@@exit: mov ax, 4C00h                   ;= .Lstart_exit: mov ax, 0x4C00
        int 21h                         ;= int 0x21
fail:   call print                      ;= fail: call print
        mov ax, 4C01h                   ;= mov ax, 0x4C01
        int 21h                         ;= int 0x21

; parse_args: /A<hex port> /I<irq> /D<dma> from the command tail at es:80h;
; carry set for anything else
parse_args proc near                    ;= parse_args:
        mov si, 81h                     ;= mov si, 0x81
        mov cl, es:[80h]                ;= mov cl, es:[0x80]
        xor ch, ch
@@skip: jcxz @@done                     ;= .Lparse_skip: jcxz .Lparse_done
        mov al, es:[si]
        inc si
        dec cx
        cmp al, ' '
        je @@skip                       ;= je .Lparse_skip
        cmp al, '/'
        je @@skip                       ;= je .Lparse_skip
        and al, not 20h                 ; upper case ;= and al, ~0x20
        xor bx, bx
@@find: cmp al, opt_letters[bx]         ;= .Lparse_find: cmp al, byte ptr cs:[bx+opt_letters]
        je @@known                      ;= je .Lparse_known
        inc bx
        cmp bx, NUM_OPTS
        jb @@find                       ;= jb .Lparse_find
        stc
        ret
@@known:                                ;= .Lparse_known:
        push bx
        call get_hex
        pop bx
        jc @@bad                        ;= jc .Lparse_bad
        shl bx, 1
        jmp opt_table[bx]               ;= jmp word ptr cs:[bx+opt_table]
opt_port:                               ;= opt_port:
        mov sb_base, ax                 ;= mov word ptr [sb_base], ax
        jmp @@skip                      ;= jmp .Lparse_skip
opt_irq:                                ;= opt_irq:
        mov sb_irq, al                  ;= mov byte ptr [sb_irq], al
        jmp @@skip                      ;= jmp .Lparse_skip
opt_dma:                                ;= opt_dma:
        mov sb_dma, al                  ;= mov byte ptr [sb_dma], al
        jmp @@skip                      ;= jmp .Lparse_skip
@@bad:  ret                             ; carry still set ;= .Lparse_bad: ret
@@done: clc                             ;= .Lparse_done: clc
        ret
parse_args endp                         ;=

; get_hex: ax = the hex number at es:si, cx bytes left; carry set if no digit
get_hex proc near                       ;= get_hex:
        push bx
        xor bx, bx
        mov ah, 0FFh                    ; no digit yet ;= mov ah, 0xFF
@@next: jcxz @@end                      ;= .Lhex_next: jcxz .Lhex_end
        mov al, es:[si]
        cmp al, '0'
        jb @@end                        ;= jb .Lhex_end
        cmp al, '9'
        jbe @@digit                     ;= jbe .Lhex_digit
        and al, not 20h                 ;= and al, ~0x20
        cmp al, 'A'
        jb @@end                        ;= jb .Lhex_end
        cmp al, 'F'
        ja @@end                        ;= ja .Lhex_end
        sub al, 'A' - '9' - 1
@@digit:                                ;= .Lhex_digit:
        sub al, '0'
        push cx
        mov cl, 4
        shl bx, cl
        pop cx
        or bl, al
        xor ah, ah                      ; a digit was seen
        inc si
        dec cx
        jmp @@next                      ;= jmp .Lhex_next
@@end:  add ah, 1                       ; carry when there was none ;= .Lhex_end: add ah, 1
        mov ax, bx
        pop bx
        ret
get_hex endp                            ;=

; find_card: the port given (or the default), then the usual ones
find_card proc near                     ;= find_card:
        call dsp_reset
        jnc @@found                     ;= jnc .Lfind_found
        mov si, offset DGROUP:ports     ;= mov si, offset ports
        mov cx, NUM_PORTS
@@try:  lodsw                           ;= .Lfind_try: lodsw
        mov sb_base, ax                 ;= mov word ptr [sb_base], ax
        push cx
        call dsp_reset
        pop cx
        jnc @@found                     ;= jnc .Lfind_found
        loop @@try                      ;= loop .Lfind_try
        stc
@@found: ret                            ;= .Lfind_found: ret
find_card endp                          ;=

; dsp_reset: carry clear when a DSP answers at sb_base
dsp_reset proc near                     ;= dsp_reset:
        mov dx, sb_base                 ;= mov dx, word ptr [sb_base]
        add dl, SB_RESET
        mov al, 1
        out dx, al
        mov cx, 40
@@delay: in al, dx                      ; at least 3 microseconds ;= .Lreset_delay: in al, dx
        loop @@delay                    ;= loop .Lreset_delay
        xor al, al
        out dx, al
        add dl, SB_STATUS - SB_RESET
        mov cx, 1000
@@wait: in al, dx                       ;= .Lreset_wait: in al, dx
        test al, 80h                    ;= test al, 0x80
        jnz @@ready                     ;= jnz .Lreset_ready
        loop @@wait                     ;= loop .Lreset_wait
        stc
        ret
@@ready:                                ;= .Lreset_ready:
        sub dl, SB_STATUS - SB_READ
        in al, dx
        cmp al, DSP_READY
        je @@ok                         ;= je .Lreset_ok
        stc
        ret
@@ok:   clc                             ;= .Lreset_ok: clc
        ret
dsp_reset endp                          ;=

; dsp_write: al to the DSP; keeps every register
dsp_write proc near                     ;= dsp_write:
        push dx
        push ax
        mov dx, sb_base                 ;= mov dx, word ptr [sb_base]
        add dl, SB_WRITE
@@busy: in al, dx                       ;= .Lwrite_busy: in al, dx
        or al, al
        js @@busy                       ;= js .Lwrite_busy
        pop ax
        out dx, al
        pop dx
        ret
dsp_write endp                          ;=

; dsp_read: al = the next byte from the DSP
dsp_read proc near                      ;= dsp_read:
        push dx
        mov dx, sb_base                 ;= mov dx, word ptr [sb_base]
        add dl, SB_STATUS
@@wait: in al, dx                       ;= .Lread_wait: in al, dx
        test al, 80h                    ;= test al, 0x80
        jz @@wait                       ;= jz .Lread_wait
        sub dl, SB_STATUS - SB_READ
        in al, dx
        pop dx
        ret
dsp_read endp                           ;=

; show_card: "Sound Blaster at 2x0h, DSP version n.nn"
show_card proc near                     ;= show_card:
        mov ax, sb_base                 ;= mov ax, word ptr [sb_base]
        mov cl, 4
        shr ax, cl
        and ax, 0Fh                     ;= and ax, 0x0F
        mov bx, ax
        mov al, hex_digits[bx]          ;= mov al, byte ptr [bx+hex_digits]
        mov msg_port, al                ;= mov byte ptr [msg_port], al
        mov al, CMD_VERSION
        call dsp_write
        call dsp_read
        mov byte ptr dsp_ver+1, al      ;= mov byte ptr [dsp_ver+1], al
        call dsp_read
        mov byte ptr dsp_ver, al        ;= mov byte ptr [dsp_ver], al
        mov al, byte ptr dsp_ver+1      ;= mov al, byte ptr [dsp_ver+1]
        add al, '0'
        mov msg_ver, al                 ;= mov byte ptr [msg_ver], al
        mov al, byte ptr dsp_ver        ;= mov al, byte ptr [dsp_ver]
        aam
        add ax, '00'                    ;= add ax, 0x3030
        xchg al, ah
        mov word ptr msg_ver+2, ax      ;= mov word ptr [msg_ver+2], ax
        mov dx, offset msg_found
        call print
        ret
show_card endp                          ;=

; dma_address: buf_page:buf_ofs = the linear address of the sample; the
; second half of the buffer when the first would cross a 64K page
dma_address proc near                   ;= dma_address:
        mov play_ptr, offset sample     ;= mov word ptr [play_ptr], offset sample
        mov ax, ds
        mov dx, ax
        mov cl, 4
        shl ax, cl
        mov cl, 12
        shr dx, cl
        add ax, offset sample
        adc dl, 0
        mov buf_ofs, ax                 ;= mov word ptr [buf_ofs], ax
        mov buf_page, dl                ;= mov byte ptr [buf_page], dl
        add ax, BUF_LEN - 1
        jnc @@same                      ;= jnc .Laddr_same
        add buf_ofs, BUF_LEN            ;= add word ptr [buf_ofs], BUF_LEN
        adc buf_page, 0                 ;= adc byte ptr [buf_page], 0
        add play_ptr, BUF_LEN           ;= add word ptr [play_ptr], BUF_LEN
@@same: ret                             ;= .Laddr_same: ret
dma_address endp                        ;=

; make_tone: silence, a fade-in ramp, then a square wave
make_tone proc near                     ;= make_tone:
        push ds
        pop es
        mov di, play_ptr                ;= mov di, word ptr [play_ptr]
        mov cx, BUF_LEN / 2
        mov ax, SILENCE * 101h          ;= mov ax, SILENCE * 0x101
        rep stosw
        mov di, play_ptr                ;= mov di, word ptr [play_ptr]
        mov si, offset ramp
        mov cx, RAMP_LEN / 2
        rep movs word ptr es:[di], word ptr [si] ;= rep movsw
        mov cx, (BUF_LEN - RAMP_LEN) / PERIOD
@@period:                               ;= .Ltone_period:
        push cx
        mov cx, PERIOD / 2
        mov al, HIGH_LVL
        rep stosb
        mov cx, PERIOD / 2
        mov al, LOW_LVL
        rep stosb
        pop cx
        loop @@period                   ;= loop .Ltone_period
        ret
make_tone endp                          ;=

; dma_setup: channel sb_dma reads cx + 1 bytes from buf_page:buf_ofs
dma_setup proc near                     ;= dma_setup:
        push bx
        push dx
        mov bl, sb_dma                  ;= mov bl, byte ptr [sb_dma]
        xor bh, bh
        shl bx, 1
        shl bx, 1                       ; 4 bytes a channel
        mov al, dma_table[bx].dma_mask  ;= mov al, byte ptr [bx+dma_table+dma_mask]
        or al, MASK_ON
        out DMA_MASK_REG, al            ; mask the channel while it is set up
        out DMA_CLEAR_FF, al            ; any value clears the flip-flop
        mov al, dma_table[bx].dma_mask  ;= mov al, byte ptr [bx+dma_table+dma_mask]
        or al, MODE_SINGLE or MODE_READ ;= or al, MODE_SINGLE | MODE_READ
        out DMA_MODE_REG, al
        add bx, offset dma_table
        xor dh, dh
        mov dl, [bx].dma_addr           ;= mov dl, byte ptr [bx+dma_addr]
        mov ax, buf_ofs                 ;= mov ax, word ptr [buf_ofs]
        out dx, al
        jmp $+2                         ; give the 8237 time ;= jmp .+2
        mov al, ah
        out dx, al
        mov dl, [bx].dma_count          ;= mov dl, byte ptr [bx+dma_count]
        mov ax, cx
        out dx, al
        mov al, ah
        out dx, al
        mov dl, [bx].dma_page           ;= mov dl, byte ptr [bx+dma_page]
        mov al, buf_page                ;= mov al, byte ptr [buf_page]
        out dx, al
        mov al, [bx].dma_mask           ; its bits alone: unmasked ;= mov al, byte ptr [bx+dma_mask]
        out DMA_MASK_REG, al
        pop dx
        pop bx
        ret
dma_setup endp                          ;=

; hook_irq: our handlers on the card's IRQ and on int 1Ch; the IRQ unmasked
hook_irq proc near                      ;= hook_irq:
        mov al, sb_irq                  ;= mov al, byte ptr [sb_irq]
        mov cur_irq, al                 ;= mov byte ptr cs:[cur_irq], al
        add al, 8
        mov int_vec, al                 ;= mov byte ptr [int_vec], al
        mov ax, sb_base                 ;= mov ax, word ptr [sb_base]
        add al, SB_STATUS
        mov isr_port, ax                ;= mov word ptr cs:[isr_port], ax
        mov al, int_vec                 ;= mov al, byte ptr [int_vec]
        mov ah, 35h                     ;= mov ah, 0x35
        int 21h                         ;= int 0x21
        mov word ptr old_irq, bx        ;= mov word ptr cs:[old_irq], bx
        mov word ptr old_irq+2, es      ;= mov word ptr cs:[old_irq+2], es
        mov ax, 351Ch                   ;= mov ax, 0x351C
        int 21h                         ;= int 0x21
        mov word ptr old_vec, bx        ;= mov word ptr cs:[old_vec], bx
        mov word ptr old_vec+2, es      ;= mov word ptr cs:[old_vec+2], es
        les bx, old_vec                 ; a timer vector of 0:0 would hang the chain ;= les bx, dword ptr cs:[old_vec]
        mov ax, es
        or ax, bx
        jnz @@hook                      ;= jnz .Lhook_hook
        mov word ptr old_vec, offset dummy_iret ;= mov word ptr cs:[old_vec], offset dummy_iret
        mov word ptr old_vec+2, cs      ;= mov word ptr cs:[old_vec+2], cs
@@hook: mov ax, 351Bh                   ;= .Lhook_hook: mov ax, 0x351B
        int 21h                         ;= int 0x21
        mov word ptr old_brk, bx        ;= mov word ptr cs:[old_brk], bx
        mov word ptr old_brk+2, es      ;= mov word ptr cs:[old_brk+2], es
        push ds
        pop es
        push cs
        pop ds
        assume ds:code, es:DGROUP       ;=
        mov al, int_vec                 ;= mov al, byte ptr es:[int_vec]
        mov ah, 25h                     ;= mov ah, 0x25
        mov dx, offset sb_isr
        int 21h                         ;= int 0x21
        mov dx, offset tick_isr
        mov ax, 251Ch                   ;= mov ax, 0x251C
        int 21h                         ;= int 0x21
        mov dx, offset brk_isr
        mov ax, 251Bh                   ;= mov ax, 0x251B
        int 21h                         ;= int 0x21
        mov tick_count, 0               ;= mov word ptr [tick_count], 0
        mov irq_count, 0                ;= mov word ptr [irq_count], 0
        mov stop_req, 0                 ;= mov byte ptr [stop_req], 0
        push es
        pop ds
        assume ds:DGROUP, es:nothing    ;=
        cli
        in al, PIC1_MASK
        mov pic_save, al                ;= mov byte ptr [pic_save], al
        mov cl, sb_irq                  ;= mov cl, byte ptr [sb_irq]
        mov ah, 1
        shl ah, cl
        not ah
        and al, ah
        out PIC1_MASK, al
        sti
        ret
hook_irq endp                           ;=

; unhook_irq: the PIC and both vectors as they were
unhook_irq proc near                    ;= unhook_irq:
        cli
        mov al, pic_save                ;= mov al, byte ptr [pic_save]
        out PIC1_MASK, al
        mov bl, int_vec                 ; straight into the interrupt table ;= mov bl, byte ptr [int_vec]
        xor bh, bh
        shl bx, 1
        shl bx, 1
        les ax, old_irq                 ;= les ax, dword ptr cs:[old_irq]
        mov dx, es
        xor cx, cx
        mov es, cx
        mov es:[bx], ax
        mov es:[bx+2], dx
        sti
        push ds
        lds dx, cs:old_vec              ;= lds dx, dword ptr cs:[old_vec]
        mov ax, 251Ch                   ;= mov ax, 0x251C
        int 21h                         ;= int 0x21
        lds dx, old_brk                 ;= lds dx, dword ptr cs:[old_brk]
        mov ax, 251Bh                   ;= mov ax, 0x251B
        int 21h                         ;= int 0x21
        pop ds
        ret
unhook_irq endp                         ;=

; play_block: the whole buffer through DMA; carry set on a time-out
play_block proc far                     ;= play_block:
        mov cx, BUF_LEN - 1
        call dma_setup
        mov al, CMD_SPK_ON
        call dsp_write
        mov al, CMD_TC
        call dsp_write
        mov al, TIME_CONST
        call dsp_write
        cli
        mov playing, 1                  ;= mov byte ptr cs:[playing], 1
        mov tick_count, 0               ;= mov word ptr cs:[tick_count], 0
        sti
        mov al, CMD_DMA8
        call dsp_write
        mov al, low (BUF_LEN - 1)       ;= mov al, (BUF_LEN - 1) & 0xFF
        call dsp_write
        mov al, high (BUF_LEN - 1)      ;= mov al, ((BUF_LEN - 1) >> 8) & 0xFF
        call dsp_write
@@wait: cmp playing, 0                  ;= .Lplay_wait: cmp byte ptr cs:[playing], 0
        je @@done                       ;= je .Lplay_done
        test stop_req, 1                ;= test byte ptr cs:[stop_req], 1
        jnz @@halt                      ;= jnz .Lplay_halt
        cmp tick_count, TIMEOUT         ;= cmp word ptr cs:[tick_count], TIMEOUT
        jb @@wait                       ;= jb .Lplay_wait
@@halt: mov al, CMD_HALT                ;= .Lplay_halt: mov al, CMD_HALT
        call dsp_write
        stc
        jmp short @@out                 ;= jmp .Lplay_out
@@done: add word ptr bytes_played, BUF_LEN ;= .Lplay_done: add word ptr [bytes_played], BUF_LEN
        adc word ptr bytes_played+2, 0  ;= adc word ptr [bytes_played+2], 0
        clc
@@out:  pushf                           ;= .Lplay_out: pushf
        mov al, CMD_SPK_OFF
        call dsp_write
        popf
        ret                             ;= retf
play_block endp                         ;=

; print_num: the word on the stack in decimal
print_num proc near                     ;= print_num:
        push bp
        mov bp, sp
        mov ax, [bp+4]
        mov di, offset DGROUP:num_buf + 5 ;= mov di, offset num_buf + 5
        mov byte ptr [di], '$'
        mov bx, 10
@@digit:                                ;= .Lnum_digit:
        xor dx, dx
        div bx
        add dl, '0'
        dec di
        mov [di], dl
        or ax, ax
        jnz @@digit                     ;= jnz .Lnum_digit
        mov dx, di
        call print
        pop bp
        ret 2
print_num endp                          ;=

print   proc near                       ;= print:
        mov ah, 9
        int 21h                         ;= int 0x21
        ret
print   endp                            ;=

; print_cs: the zero-ended string at cs:si
print_cs proc near                      ;= print_cs:
@@next: lods byte ptr cs:[si]           ;= .Lpcs_next: lods byte ptr cs:[si]
        or al, al
        jz @@end                        ;= jz .Lpcs_end
        mov dl, al
        mov ah, 2
        int 21h                         ;= int 0x21
        jmp @@next                      ;= jmp .Lpcs_next
@@end:  ret                             ;= .Lpcs_end: ret
print_cs endp                           ;=

; kept here, after the code that uses them
old_brk    dd ?                         ; the Ctrl-Break handler before ours ;= old_brk: .long 0
stop_req   db 0                         ;= stop_req: .byte 0
stop_msg   db 'Stopped by Ctrl-Break.', 13, 10, 0 ;= stop_msg: .ascii "Stopped by Ctrl-Break."; .byte 13, 10, 0
code    ends                            ;=

data    segment word public 'DATA'      ; the data segment again ;= .section data, "aw"
dsp_ver   dw 0                          ; major in the high byte ;= dsp_ver: .short 0
msg_stack db 'Stack overflow!', 13, 10, '$' ;= msg_stack: .ascii "Stack overflow!"; .byte 13, 10; .ascii "$"
data    ends                            ;=
        end start                       ;=
