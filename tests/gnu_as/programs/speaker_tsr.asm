; program 16
;----------------------------------------------------------------------------
; PLAYTUNE.EXE - plays a little tune on the PC speaker in the background,
; one step on every timer tick (int 1Ch), and stays resident.
;   PLAYTUNE      install and play      PLAYTUNE /S   stop the music
;   PLAYTUNE /U   take it out of memory
; TASM 3.1, MASM mode, small model.       tasm /m2 playtune;  tlink playtune
;----------------------------------------------------------------------------
        .model small                    ;=
        .stack 200h                     ;=
        locals                          ;=

PIT_CH2         equ 42h                 ; timer channel 2 drives the speaker ;= .equ PIT_CH2, 0x42
PIT_CTRL        equ 43h                 ;= .equ PIT_CTRL, 0x43
SPK_PORT        equ 61h                 ; bits 0-1: gate and speaker data ;= .equ SPK_PORT, 0x61
PIT_MODE3       equ 0B6h                ; ch 2, low then high byte, square wave ;= .equ PIT_MODE3, 0xB6
STACK_PARAS     equ 200h / 16           ;= .equ STACK_PARAS, 0x200 / 16

; divisors of 1193180 Hz for the notes we need
C4      equ 4560                        ;= .equ C4, 4560
D4      equ 4063                        ;= .equ D4, 4063
E4      equ 3620                        ;= .equ E4, 3620
F4      equ 3417                        ;= .equ F4, 3417
G4      equ 3044                        ;= .equ G4, 3044
A4      equ 2712                        ;= .equ A4, 2712
C5      equ 2280                        ;= .equ C5, 2280
REST    equ 0                           ;= .equ REST, 0

F_REST  equ 01h                         ; note flags ;= .equ F_REST, 0x01
F_STACC =   02h                         ; played short ;= F_STACC = 0x02
F_LAST  equ 80h                         ; last note of the tune ;= .equ F_LAST, 0x80
TEMPO   =   2                           ; ticks per length unit ;= TEMPO = 2
REPEATS =   3                           ;= REPEATS = 3

note    struc                           ; 4 bytes ;=
n_divisor dw ?                          ; 0 = silence ;= .equ n_divisor, 0
n_len   db 1                            ; in TEMPO units ;= .equ n_len, 2
n_flags db 0                            ;= .equ n_flags, 3
note    ends                            ;=

        .data                           ;= .data
song    note <C4, 4, 0>                 ;= song: .short C4; .byte 4, 0
        note <D4, 4, 0>                 ;= .short D4; .byte 4, 0
        note <E4, 4, F_STACC>           ;= .short E4; .byte 4, F_STACC
        note <C4, 4, F_STACC>           ;= .short C4; .byte 4, F_STACC
        note <C4, 4>, <D4, 4>           ; two on a line ;= .short C4; .byte 4, 0; .short D4; .byte 4, 0
        note <E4, 4>                    ;= .short E4; .byte 4, 0
        note <C4,, F_STACC>             ; default length ;= .short C4; .byte 1, F_STACC
        note <E4, 4>                    ;= .short E4; .byte 4, 0
        note <F4, 4>                    ;= .short F4; .byte 4, 0
        note <G4, 8>                    ;= .short G4; .byte 8, 0
        note <REST, 2, F_REST>          ;= .short REST; .byte 2, F_REST
        note <G4, 3, F_STACC>, <A4, 1>  ;= .short G4; .byte 3, F_STACC; .short A4; .byte 1, 0
        note <C5, 4>                    ;= .short C5; .byte 4, 0
        note <C4, 8, F_LAST>            ;= .short C4; .byte 8, F_LAST
NUM_NOTES equ ($ - song) / 4            ;= .equ NUM_NOTES, (. - song) / 4
pause   note 2 dup (<REST, 1, F_REST>)  ; a breath between repeats ;= pause: .rept 2; .short REST; .byte 1, F_REST; .endr
tune    note NUM_NOTES dup (<>)         ; the copy that is played ;= tune: .rept NUM_NOTES; .short 0; .byte 1, 0; .endr
song_ptr dd ?                           ; far pointer to the note table ;= song_ptr: .long 0
cur_note dw 0                           ; index of the next note ;= cur_note: .short 0
tick_count db 0                         ;= tick_count: .byte 0
note_ticks db 0                         ;= note_ticks: .byte 0
playing db 0                            ;= playing: .byte 0
repeat_cnt db REPEATS                   ;= repeat_cnt: .byte REPEATS
divisor dw 0                            ;= divisor: .short 0
total_ticks dd 0                        ;= total_ticks: .long 0
cmd_table dw offset cmd_play, offset cmd_stop, offset cmd_unload ;= cmd_table: .short cmd_play, cmd_stop, cmd_unload
fx_table dw offset fx_none, offset fx_rest, ;= fx_table: .short fx_none, fx_rest
        offset fx_stacc, offset fx_stacc ;= .short fx_stacc, fx_stacc
msg_inst db 'PLAYTUNE installed: /S stops it, /U removes it.', 13, 10, '$' ;= msg_inst: .ascii "PLAYTUNE installed: /S stops it, /U removes it."; .byte 13, 10; .ascii "$"
msg_again db 'PLAYTUNE is already resident.', 13, 10, '$' ;= msg_again: .ascii "PLAYTUNE is already resident."; .byte 13, 10; .ascii "$"
msg_none db 'PLAYTUNE isn''t resident.', 13, 10, '$' ;= msg_none: .ascii "PLAYTUNE isn't resident."; .byte 13, 10; .ascii "$"
msg_gone db 'PLAYTUNE removed.', 13, 10, '$' ;= msg_gone: .ascii "PLAYTUNE removed."; .byte 13, 10; .ascii "$"
msg_stop db 'Music stopped.', 13, 10, '$' ;= msg_stop: .ascii "Music stopped."; .byte 13, 10; .ascii "$"
msg_bad db 'The tune has no end!', 13, 10, '$' ;= msg_bad: .ascii "The tune has no end!"; .byte 13, 10; .ascii "$"
pad     db 3 dup ('$')                  ;= pad: .fill 3, 1, '$'

        .code                           ;= .text
;---------------------------- resident part ---------------------------------
signature dw 'PT'                       ; at the same offset in every copy ;= signature: .short 0x5054
old1c   dd ?                            ;= old1c: .long 0
data_seg dw ?                           ;= data_seg: .short 0
psp_seg dw ?                            ;= psp_seg: .short 0
in_isr  db 0                            ;= in_isr: .byte 0

; int 1Ch: the old handler first, then one tick of the tune
tick_isr proc far                       ;= tick_isr:
        cmp cs:in_isr, 0                ;= cmp byte ptr cs:in_isr, 0
        je @@mine                       ;= je .Ltick_mine
        jmp dword ptr cs:[old1c]        ; busy: straight on down the chain
@@mine: pushf                           ;= .Ltick_mine: pushf
        call cs:old1c                   ;= call dword ptr cs:old1c
        inc cs:in_isr                   ;= inc byte ptr cs:in_isr
        push ax bx cx dx si ds es       ;= push ax; push bx; push cx; push dx; push si; push ds; push es
        mov ds, cs:data_seg
        cmp playing, 0                  ;= cmp byte ptr playing, 0
        je @@done                       ;= je .Ltick_done
        add word ptr total_ticks, 1
        adc word ptr total_ticks+2, 0
        inc tick_count                  ;= inc byte ptr tick_count
        mov al, tick_count
        cmp al, note_ticks
        jb @@done                       ;= jb .Ltick_done
        mov tick_count, 0               ;= mov byte ptr tick_count, 0
        call next_note                  ;= push cs; call next_note
@@done: pop es ds si dx cx bx ax        ;= .Ltick_done: pop es; pop ds; pop si; pop dx; pop cx; pop bx; pop ax
        dec cs:in_isr                   ;= dec byte ptr cs:in_isr
        iret
tick_isr endp                           ;=

; start the next note of the table at song_ptr; ds = our data
next_note proc far                      ;= next_note:
        les bx, song_ptr                ;= les bx, dword ptr song_ptr
        mov ax, cur_note
        mov dx, size note               ;= mov dx, 4
        mul dx
        add bx, ax
        test es:[bx].n_flags, F_REST    ;= test byte ptr es:[bx+n_flags], F_REST
        jnz @@rest                      ;= jnz .Lnext_rest
        mov ax, es:[bx].n_divisor       ;= mov ax, es:[bx+n_divisor]
        mov divisor, ax
        call set_tone
        jmp short @@length              ;= jmp .Lnext_length
@@rest: call far ptr stop_sound         ;= .Lnext_rest: push cs; call stop_sound
@@length:                               ;= .Lnext_length:
        mov al, es:[bx+n_len]
        mov cl, TEMPO
        mul cl
        mov note_ticks, al
        inc cur_note                    ;= inc word ptr cur_note
        test es:[bx].n_flags, F_LAST    ;= test byte ptr es:[bx+n_flags], F_LAST
        jz @@fx                         ;= jz .Lnext_fx
        mov cur_note, 0                 ;= mov word ptr cur_note, 0
        dec repeat_cnt                  ;= dec byte ptr repeat_cnt
        jnz @@fx                        ;= jnz .Lnext_fx
        mov playing, 0                  ;= mov byte ptr playing, 0
        call far ptr stop_sound         ;= push cs; call stop_sound
        ret                             ;= retf
@@fx:   mov bl, es:[bx].n_flags         ;= .Lnext_fx: mov bl, es:[bx+n_flags]
        and bx, F_REST or F_STACC       ;= and bx, F_REST | F_STACC
        shl bx, 1
        call fx_table[bx]               ;= call word ptr [bx+fx_table]
        ret                             ;= retf
next_note endp                          ;=

; the effects, by the note's flags
fx_none proc near                       ;= fx_none:
        ret
fx_none endp                            ;=
fx_rest proc near                       ;= fx_rest:
        mov note_ticks, TEMPO           ; rests are one unit whatever they say ;= mov byte ptr note_ticks, TEMPO
        ret
fx_rest endp                            ;=
fx_stacc proc near                      ;= fx_stacc:
        shr note_ticks, 1               ;= shr byte ptr note_ticks, 1
        jnz @@ok                        ;= jnz .Lstacc_ok
        inc note_ticks                  ;= inc byte ptr note_ticks
@@ok:   ret                             ;= .Lstacc_ok: ret
fx_stacc endp                           ;=

; program channel 2 with divisor and switch the speaker on
set_tone proc near                      ;= set_tone:
        mov al, PIT_MODE3
        out 43h, al                     ;= out 0x43, al
        mov ax, divisor
        out PIT_CH2, al
        mov al, ah
        out 42h, al                     ;= out 0x42, al
        in al, 61h                      ;= in al, 0x61
        or al, 3
        out SPK_PORT, al
        ret
set_tone endp                           ;=

stop_sound proc far                     ;= stop_sound:
        in al, SPK_PORT
        and al, not 3                   ;= and al, ~3
        out 61h, al                     ;= out 0x61, al
        ret                             ;= retf
stop_sound endp                         ;=

resident_end label byte                 ;= resident_end:
;------------------------------ transient part ------------------------------
start:  mov ax, cs                       ; seg song has no ELF form: cs stands in ;= start: mov ax, cs
        mov ds, ax
        mov cs:data_seg, ax
        mov cs:psp_seg, es
        call parse_args                 ; bx = command * 2
        jmp word ptr [bx+cmd_table]

cmd_play:                               ;= cmd_play:
        call find_resident
        jne @@new                       ;= jne .Lplay_new
        mov dx, offset msg_again
        jmp exit_msg
@@new:  call init_tune                  ;= .Lplay_new: push cs; call init_tune
        jnc @@ok                        ;= jnc .Lplay_ok
        mov dx, offset msg_bad
        jmp exit_msg
@@ok:   call hook_timer                 ;= .Lplay_ok: call hook_timer
        mov playing, 1                  ;= mov byte ptr playing, 1
        mov dx, offset msg_inst
        mov ah, 9
        int 21h                         ;= int 0x21
        mov dx, ss                      ; keep everything up to the top of the stack
        sub dx, cs:psp_seg
        add dx, STACK_PARAS
        mov ax, 3100h                   ;= mov ax, 0x3100
        int 21h                         ;= int 0x21

cmd_stop:                               ;= cmd_stop:
        call find_resident
        jne @@none                      ;= jne .Lstop_none
        push ds
        mov ds, es:data_seg
        mov playing, 0                  ;= mov byte ptr playing, 0
        pop ds
        call far ptr stop_sound         ;= push cs; call stop_sound
        mov dx, offset msg_stop
        jmp short exit_msg              ;= jmp exit_msg
@@none: mov dx, offset msg_none         ;= .Lstop_none: mov dx, offset msg_none
        jmp short exit_msg              ;= jmp exit_msg

cmd_unload:                             ;= cmd_unload:
        call find_resident
        jne @@none                      ;= jne .Lunload_none
        push ds
        mov ds, es:data_seg
        mov playing, 0                  ;= mov byte ptr playing, 0
        pop ds
        call far ptr stop_sound         ;= push cs; call stop_sound
        push ds
        lds dx, es:old1c                ;= lds dx, dword ptr es:old1c
        mov ax, 251Ch                   ;= mov ax, 0x251C
        int 21h                         ;= int 0x21
        pop ds
        mov es, es:psp_seg              ; the resident copy's PSP
        mov ah, 49h                     ;= mov ah, 0x49
        int 21h                         ;= int 0x21
        mov dx, offset msg_gone
        jmp short exit_msg              ;= jmp exit_msg
@@none: mov dx, offset msg_none         ;= .Lunload_none: mov dx, offset msg_none

exit_msg:                               ;= exit_msg:
        mov ah, 9
        int 21h                         ;= int 0x21
        mov ax, 4C00h                   ;= mov ax, 0x4C00
        int 21h                         ;= int 0x21

; bx = 2 * command from the command tail: 0 play, 1 stop (/S), 2 unload (/U)
parse_args proc near                    ;= parse_args:
        push ds
        push es
        pop ds                          ; ds = PSP
        mov si, 81h                     ;= mov si, 0x81
        mov cl, ds:[80h]                ;= mov cl, ds:[0x80]
        xor ch, ch
        xor bx, bx
        cld
        jcxz @@done                     ;= jcxz .Lparse_done
@@next: lodsb                           ;= .Lparse_next: lodsb
        cmp al, '/'
        jne @@skip                      ;= jne .Lparse_skip
        dec cx
        jz @@done                       ;= jz .Lparse_done
        lodsb
        and al, not 20h                 ; upper case ;= and al, ~0x20
        cmp al, 'U'
        jne @@stop                      ;= jne .Lparse_stop
        mov bx, 2 * 2
        jmp short @@done                ;= jmp .Lparse_done
@@stop: cmp al, 'S'                     ;= .Lparse_stop: cmp al, 'S'
        jne @@skip                      ;= jne .Lparse_skip
        mov bx, 1 * 2
        jmp short @@done                ;= jmp .Lparse_done
@@skip: loop @@next                     ;= .Lparse_skip: loop .Lparse_next
@@done: pop ds                          ;= .Lparse_done: pop ds
        ret
parse_args endp                         ;=

; es = segment of the int 1Ch handler; zf set when it is a copy of us
find_resident proc near                 ;= find_resident:
        mov ax, 351Ch                   ;= mov ax, 0x351C
        int 21h                         ;= int 0x21
        cmp word ptr es:signature, 'PT' ;= cmp word ptr es:signature, 0x5054
        ret
find_resident endp                      ;=

; copy the song to tune, shorten staccato notes, point song_ptr at it;
; cf set when the song has no last note
init_tune proc far                      ;= init_tune:
        push si di es                   ;= push si; push di; push es
        xor bx, bx
        mov cx, NUM_NOTES
@@find: test song[bx].n_flags, F_LAST   ;= .Linit_find: test byte ptr [bx+song+n_flags], F_LAST
        jnz @@found                     ;= jnz .Linit_found
        add bx, size note               ;= add bx, 4
        loop @@find                     ;= loop .Linit_find
@@bad:  stc                             ;= .Linit_bad: stc
        jmp short @@out                 ;= jmp .Linit_out
@@found:                                ;= .Linit_found:
        cmp song[bx].n_divisor, REST    ; the last note must sound ;= cmp word ptr [bx+song+n_divisor], REST
        je @@bad                        ;= je .Linit_bad
        push ds
        pop es
        mov si, offset song
        mov di, offset tune
        mov cx, size note * NUM_NOTES / 2 ;= mov cx, 4 * NUM_NOTES / 2
        rep movsw
        mov si, offset tune
        mov cx, NUM_NOTES
@@short:                                ;= .Linit_short:
        test [si].n_flags, F_STACC      ;= test byte ptr [si+n_flags], F_STACC
        jz @@next                       ;= jz .Linit_next
        cmp [si+n_len], 1               ;= cmp byte ptr [si+n_len], 1
        jbe @@next                      ;= jbe .Linit_next
        dec [si].n_len                  ;= dec byte ptr [si+n_len]
@@next: add si, type note               ;= .Linit_next: add si, 4
        loop @@short                    ;= loop .Linit_short
        sub si, type note               ;= sub si, 4
        mov word ptr song_ptr, offset tune
        mov word ptr song_ptr+2, ds
        mov cur_note, 0                 ;= mov word ptr cur_note, 0
        mov tick_count, 0               ;= mov byte ptr tick_count, 0
        mov note_ticks, 1               ;= mov byte ptr note_ticks, 1
        clc
@@out:  pop es di si                    ;= .Linit_out: pop es; pop di; pop si
        ret                             ;= retf
init_tune endp                          ;=

; hook int 1Ch; old1c sits in the code segment, which cs reaches
hook_timer proc near                    ;= hook_timer:
        push es
        mov ax, 351Ch                   ;= mov ax, 0x351C
        int 21h                         ;= int 0x21
        mov word ptr old1c, bx          ;= mov word ptr cs:old1c, bx
        mov word ptr old1c+2, es        ;= mov word ptr cs:old1c+2, es
        pop es
        push ds
        push cs
        pop ds
        mov dx, offset tick_isr
        mov ax, 251Ch                   ;= mov ax, 0x251C
        int 21h                         ;= int 0x21
        pop ds
        ret
hook_timer endp                         ;=

; put int 1Ch back as it was (not used by the resident copy)
restore_vec proc near                   ;= restore_vec:
        push ds
        lds dx, cs:old1c                ;= lds dx, dword ptr cs:old1c
        mov ax, 251Ch                   ;= mov ax, 0x251C
        int 21h                         ;= int 0x21
        pop ds
        ret
restore_vec endp                        ;=

        end start                       ;=
