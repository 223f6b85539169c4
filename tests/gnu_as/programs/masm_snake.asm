; program 16
;-----------------------------------------------------------------------------
; SNAKE.EXE - a snake on the 80x25 colour text screen.  The arrow keys steer,
; P pauses, Esc quits.  Eat the stars; don't bite yourself or hit the frame.
; TASM 2.0, MASM mode, small model:      tasm /m2 snake;  tlink snake
;-----------------------------------------------------------------------------
        .model small                    ;=
        .386                            ;=
        .stack 400h                     ;=
        locals                          ;=

COLS    equ 80                          ;= .equ COLS, 80
ROWS    equ 25                          ;= .equ ROWS, 25
ROW_BYTES equ COLS * 2                  ;= .equ ROW_BYTES, COLS * 2
FIELD_W equ COLS - 2                    ; inside the frame ;= .equ FIELD_W, COLS - 2
FIELD_H equ ROWS - 3                    ; the top row holds the score ;= .equ FIELD_H, ROWS - 3
CELLS   equ FIELD_W * FIELD_H           ;= .equ CELLS, FIELD_W * FIELD_H
MAX_LEN equ 64                          ;= .equ MAX_LEN, 64
START_LEN equ 4                         ;= .equ START_LEN, 4
K_ESC   equ 1Bh                         ;= .equ K_ESC, 0x1B
K_UP    equ 48h                         ; scan codes ;= .equ K_UP, 0x48
K_DOWN  equ 50h                         ;= .equ K_DOWN, 0x50
K_LEFT  equ 4Bh                         ;= .equ K_LEFT, 0x4B
K_RIGHT equ 4Dh                         ;= .equ K_RIGHT, 0x4D
STAR    equ '*'                         ;= .equ STAR, 0x2A
HEAD_CH equ 2                           ; a face ;= .equ HEAD_CH, 2
BODY_CH equ HEAD_CH + 0FEh - 2          ; a small square ;= .equ BODY_CH, 0xFE
S_PLAY  equ 0                           ; states: word offsets into states ;= .equ S_PLAY, 0
S_PAUSE equ S_PLAY + 2                  ;= .equ S_PAUSE, S_PLAY + 2
S_OVER  equ S_PAUSE + 2                 ;= .equ S_OVER, S_PAUSE + 2

attr_rec record a_blink:1, a_back:3, a_fore:4 ;= .equ a_blink, 7; .equ a_back, 4; .equ a_fore, 0
COLOUR_BITS equ width a_back + width a_fore ;= .equ COLOUR_BITS, 7
BACK_MAX equ mask a_back shr a_back     ;= .equ BACK_MAX, 7

part    struc                           ; one piece of the snake ;=
p_x     db ?                            ;= .equ p_x, 0
p_y     db ?                            ;= .equ p_y, 1
p_cell  dw ?                            ; character and attribute ;= .equ p_cell, 2
part    ends                            ;=
PART_SIZE equ size part                 ;= .equ PART_SIZE, 4

        .data                           ;= .data
screen_ptr dd 0B8000000h                ; the colour text page ;= screen_ptr: .long 0xB8000000
head_attr attr_rec <0, 1, 14>           ; yellow on blue ;= head_attr: .byte 0x1E
body_attr attr_rec <, 1, 10>            ; light green on blue ;= body_attr: .byte 0x1A
food_attr attr_rec <1, 4, 15>           ; blinking white on red ;= food_attr: .byte 0xCF
dir_x   db 1                            ; -1, 0 or 1 ;= dir_x: .byte 1
dir_y   db 0                            ;= dir_y: .byte 0
cur_dir equ word ptr dir_x              ; both as one word ;=
fade_step db 1                          ;= fade_step: .byte 1
speed   db 4                            ; ticks a step ;= speed: .byte 4
snake_len dw START_LEN                  ;= snake_len: .short START_LEN
score   dw 0                            ;= score: .short 0
score_hi equ byte ptr score+1           ;=
points  equ score                       ; the name the docs use ;=
hiscore dd 0                            ;= hiscore: .long 0
state   dw S_PLAY                       ;= state: .short S_PLAY
seed    dw 1993h                        ;= seed: .short 0x1993
frame_style dw 9                        ; 0 single, 9 double lines ;= frame_style: .short 9
food    part <40, 12, 0>                ;= food: .byte 40, 12; .short 0
keymap  label byte                      ; scan codes, one a handler ;= keymap:
        db K_UP, K_DOWN, K_LEFT, K_RIGHT ;= .byte K_UP, K_DOWN, K_LEFT, K_RIGHT
KEYS    equ $ - keymap                  ;= .equ KEYS, . - keymap
box_chars db 0DAh, 0C4h, 0BFh, 0B3h, ' ', 0B3h, 0C0h, 0C4h, 0D9h ;= box_chars: .byte 0xDA, 0xC4, 0xBF, 0xB3, 0x20, 0xB3, 0xC0, 0xC4, 0xD9
        db 0C9h, 0CDh, 0BBh, 0BAh, ' ', 0BAh, 0C8h, 0CDh, 0BCh ;= .byte 0xC9, 0xCD, 0xBB, 0xBA, 0x20, 0xBA, 0xC8, 0xCD, 0xBC
title_  db ' S N A K E ', 0             ;= title_: .ascii " S N A K E "; .byte 0
TITLE_LEN equ $ - title_ - 1            ;= .equ TITLE_LEN, . - title_ - 1
msg_over db 'Game over.  Score: $'      ;= msg_over: .ascii "Game over.  Score: $"
msg_best db 13, 10, 'A new best!', 13, 10, '$' ;= msg_best: .byte 13, 10; .ascii "A new best!"; .byte 13, 10; .ascii "$"
num_buf db 5 dup (' '), '$'             ;= num_buf: .fill 5, 1, 0x20; .ascii "$"
NUM_LEN equ $ - num_buf - 1             ;= .equ NUM_LEN, . - num_buf - 1

        .data?                          ;= .bss
snake   part MAX_LEN dup (<>)           ;= snake: .skip MAX_LEN * 4
grid    label byte                      ; a byte a cell: 1 where the snake is ;= grid:
grid_w  dw CELLS / 2 dup (?)            ;= grid_w: .skip CELLS / 2 * 2

        .code                           ;= .text
handlers dw offset go_up, offset go_down, offset go_left, offset go_right ;= handlers: .short go_up, go_down, go_left, go_right
states  dw offset st_play, offset st_pause, offset st_over ;= states: .short st_play, st_pause, st_over
old_1c  dd ?                            ; the tick before ours ;= old_1c: .long 0
ticks   db 0                            ;= ticks: .byte 0
digits  db '0123456789'                 ;= digits: .ascii "0123456789"

tick_isr proc far                       ;= tick_isr:
        inc ticks                       ;= inc byte ptr cs:ticks
        jmp old_1c                      ;= jmp dword ptr cs:[old_1c]
tick_isr endp                           ;=

start:  mov ax, ss                      ; DGROUP (@data: the stack is in it) ;= mov ax, ss
        mov ds, ax
        call init_screen
        call new_game
        mov ax, 351Ch                   ; hook the user tick ;= mov ax, 0x351C
        int 21h                         ;= int 0x21
        mov word ptr old_1c, bx         ;= mov word ptr cs:[old_1c], bx
        mov word ptr old_1c+2, es       ;= mov word ptr cs:[old_1c+2], es
        push ds
        push cs
        pop ds
        mov dx, offset tick_isr
        mov ax, 251Ch                   ;= mov ax, 0x251C
        int 21h                         ;= int 0x21
        pop ds
main_loop:
        call read_key
        mov bx, state                   ;= mov bx, word ptr [state]
        call word ptr states[bx]        ;= call word ptr cs:[states+bx]
        cmp state, S_OVER               ;= cmp word ptr [state], S_OVER
        jne main_loop
        push ds
        lds dx, old_1c                  ; unhook ;= lds dx, dword ptr cs:[old_1c]
        mov ax, 251Ch                   ;= mov ax, 0x251C
        int 21h                         ;= int 0x21
        pop ds
        mov ax, 3
        int 10h                         ;= int 0x10
        mov dx, offset msg_over
        mov ah, 9
        int 21h                         ;= int 0x21
        call make_number
        mov dx, offset num_buf
        mov ah, 9
        int 21h                         ;= int 0x21
        movzx eax, score                ;= movzx eax, word ptr [score]
        cmp eax, hiscore                ;= cmp eax, dword ptr [hiscore]
        jbe @@done                      ;= jbe .Lmain_done
        xchg eax, hiscore               ;= xchg eax, dword ptr [hiscore]
        test hiscore, 0FFFF0000h        ;= test dword ptr [hiscore], 0xFFFF0000
        jnz @@done                      ;= jnz .Lmain_done
        inc hiscore                     ;= inc dword ptr [hiscore]
        mov dx, offset msg_best
        mov ah, 9
        int 21h                         ;= int 0x21
@@done: mov ax, 4C00h                   ;= .Lmain_done: mov ax, 0x4C00
        int 21h                         ;= int 0x21

read_key proc near                      ;= read_key:
        mov ah, 1
        int 16h                         ;= int 0x16
        jz @@none                       ;= jz .Lkey_none
        xor ah, ah
        int 16h                         ;= int 0x16
        cmp al, K_ESC
        je @@quit                       ;= je .Lkey_quit
        or al, 20h                      ; lower case ;= or al, 0x20
        cmp al, 'p'
        jne @@arrow                     ;= jne .Lkey_arrow
        cmp state, S_OVER               ;= cmp word ptr [state], S_OVER
        je @@none                       ;= je .Lkey_none
        xor state, S_PAUSE              ; playing <-> paused ;= xor word ptr [state], S_PAUSE
        ret
@@quit: mov state, S_OVER               ;= .Lkey_quit: mov word ptr [state], S_OVER
@@none: ret                             ;= .Lkey_none: ret
@@arrow: xor bx, bx                     ;= .Lkey_arrow: xor bx, bx
@@find: cmp ah, [keymap+bx]             ;= .Lkey_find: cmp ah, [keymap+bx]
        je @@turn                       ;= je .Lkey_turn
        inc bx
        cmp bx, KEYS
        jb @@find                       ;= jb .Lkey_find
        ret
@@turn: shl bx, 1                       ;= .Lkey_turn: shl bx, 1
        jmp handlers[bx]                ;= jmp word ptr cs:[handlers+bx]
read_key endp                           ;=

turns   proc near                       ;= turns:
go_up:  mov ax, 0FF00h                  ; dx 0, dy -1 ;= go_up: mov ax, 0xFF00
        jmp short @@set                 ;= jmp .Lturn_set
go_down: mov ax, 0100h                  ;= go_down: mov ax, 0x0100
        jmp short @@set                 ;= jmp .Lturn_set
go_left: mov ax, 00FFh                  ;= go_left: mov ax, 0x00FF
        jmp short @@set                 ;= jmp .Lturn_set
go_right: mov ax, 0001h                 ;= go_right: mov ax, 0x0001
@@set:  mov dx, ax                      ; straight back? ;= .Lturn_set: mov dx, ax
        add dl, dir_x                   ;= add dl, byte ptr [dir_x]
        add dh, dir_y                   ;= add dh, byte ptr [dir_y]
        or dx, dx
        jz @@back                       ;= jz .Lturn_back
        mov cur_dir, ax                 ; both at once ;= mov word ptr [dir_x], ax
@@back: ret                             ;= .Lturn_back: ret
turns   endp                            ;=

st_play proc near                       ;= st_play:
        mov al, ticks                   ;= mov al, byte ptr cs:[ticks]
        cmp al, speed                   ;= cmp al, byte ptr [speed]
        jb @@wait                       ;= jb .Lplay_wait
        mov ticks, 0                    ;= mov byte ptr cs:[ticks], 0
        call move_snake
@@wait: ret                             ;= .Lplay_wait: ret
st_play endp                            ;=

st_pause proc near                      ;= st_pause:
        test ticks, 7                   ;= test byte ptr cs:[ticks], 7
        jnz @@wait                      ;= jnz .Lpause_wait
        inc ticks                       ; once a round ;= inc byte ptr cs:[ticks]
        mov al, fade_step               ;= mov al, byte ptr [fade_step]
        add head_attr, al               ;= add byte ptr [head_attr], al
        mov al, head_attr               ;= mov al, byte ptr [head_attr]
        and al, mask a_fore             ;= and al, 0x0F
        cmp al, 9
        jb @@turn                       ;= jb .Lpause_turn
        cmp al, 14
        jb @@show                       ;= jb .Lpause_show
@@turn: neg fade_step                   ;= .Lpause_turn: neg byte ptr [fade_step]
@@show: push COLS - NUM_LEN - 1         ;= .Lpause_show: push COLS - NUM_LEN - 1
        call far ptr show_score         ;= push cs; call show_score
@@wait: ret                             ;= .Lpause_wait: ret
st_pause endp                           ;=

st_over proc near                       ;= st_over:
        ret
st_over endp                            ;=

move_snake proc near                    ;= move_snake:
        push si
        mov si, snake_len               ;= mov si, word ptr [snake_len]
        dec si
        shl si, 2
        mov al, snake[si].p_x           ; rub out the tail ;= mov al, byte ptr [snake+si+p_x]
        mov ah, snake[si].p_y           ;= mov ah, byte ptr [snake+si+p_y]
        call clear_cell
@@shift: mov ax, word ptr snake[si-4]   ;= .Lmove_shift: mov ax, word ptr [snake+si-4]
        mov word ptr snake[si], ax      ;= mov word ptr [snake+si], ax
        mov ax, snake[si-4].p_cell      ;= mov ax, word ptr [snake+si-4+p_cell]
        mov snake[si].p_cell, ax        ;= mov word ptr [snake+si+p_cell], ax
        sub si, type snake              ;= sub si, 4
        jnz @@shift                     ;= jnz .Lmove_shift
        mov al, snake.p_x               ; the new head ;= mov al, byte ptr [snake+p_x]
        add al, dir_x                   ;= add al, byte ptr [dir_x]
        mov ah, snake.p_y               ;= mov ah, byte ptr [snake+p_y]
        add ah, dir_y                   ;= add ah, byte ptr [dir_y]
        cmp al, FIELD_W
        jae @@dead                      ; off the side, or -1 ;= jae .Lmove_dead
        cmp ah, FIELD_H
        jae @@dead                      ;= jae .Lmove_dead
        mov snake.p_x, al               ;= mov byte ptr [snake+p_x], al
        mov snake.p_y, ah               ;= mov byte ptr [snake+p_y], ah
        mov dx, ax
        call cell_index
        cmp grid[bx], 0                 ;= cmp byte ptr [grid+bx], 0
        jne @@dead                      ; bit ourselves ;= jne .Lmove_dead
        mov [grid+bx], 1                ;= mov byte ptr [grid+bx], 1
        mov al, BODY_CH                 ;= mov al, BODY_CH
        mov ah, body_attr               ;= mov ah, byte ptr [body_attr]
        mov snake[PART_SIZE].p_cell, ax ; the old head is body now ;= mov word ptr [snake+4+p_cell], ax
        push ax
        push word ptr snake[PART_SIZE]  ;= push word ptr [snake+4]
        call draw_cell
        mov al, HEAD_CH
        mov ah, head_attr               ;= mov ah, byte ptr [head_attr]
        mov snake.p_cell, ax            ;= mov word ptr [snake+p_cell], ax
        push ax
        push dx
        call draw_cell
        cmp dx, word ptr food           ; on the star? ;= cmp dx, word ptr [food]
        jne @@done                      ;= jne .Lmove_done
        inc snake_len                   ;= inc word ptr [snake_len]
        cmp snake_len, length snake     ;= cmp word ptr [snake_len], MAX_LEN
        jb @@grow                       ;= jb .Lmove_grow
        dec snake_len                   ;= dec word ptr [snake_len]
@@grow: add points, 10                  ;= .Lmove_grow: add word ptr [score], 10
        mov al, score_hi                ; faster every 256 points ;= mov al, byte ptr [score+1]
        neg al
        add al, 4
        jg @@fast                       ;= jg .Lmove_fast
        mov al, 1
@@fast: xchg al, speed                  ;= .Lmove_fast: xchg al, byte ptr [speed]
        call beep
        call place_food
        push COLS - NUM_LEN - 1         ;= push COLS - NUM_LEN - 1
        call show_score                 ;= push cs; call show_score
@@done: pop si                          ;= .Lmove_done: pop si
        ret
@@dead: mov state, S_OVER               ;= .Lmove_dead: mov word ptr [state], S_OVER
        pop si
        ret
move_snake endp                         ;=

; bx = the grid cell of (dl, dh)
cell_index proc near                    ;= cell_index:
        mov al, dh
        mov bl, FIELD_W
        mul bl
        mov bl, dl
        xor bh, bh
        add bx, ax
        ret
cell_index endp                         ;=

; the tail's cell at (al, ah) is free again
clear_cell proc near                    ;= clear_cell:
        push dx
        mov dx, ax
        call cell_index
        mov grid[bx], 0                 ;= mov byte ptr [grid+bx], 0
        mov ah, body_attr               ;= mov ah, byte ptr [body_attr]
        and ah, not mask a_fore         ; the background alone ;= and ah, 0xF0
        mov al, ' '
        push ax
        push dx
        call draw_cell
        pop dx
        ret
clear_cell endp                         ;=

; draw_cell(word xy, word cell): xy on top, x in the low byte
draw_cell proc near                     ;= draw_cell:
        push bp
        mov bp, sp
        push es
        push di
        les di, screen_ptr              ;= les di, dword ptr [screen_ptr]
        mov ax, [bp+4]
        mov bl, ah
        add bl, 2                       ; under the score and the frame
        xor bh, bh
        imul bx, bx, ROW_BYTES
        xor ah, ah
        inc ax
        shl ax, 1
        add di, ax
        add di, bx
        mov ax, [bp+6]
        stosw
        pop di
        pop es
        pop bp
        ret 4
draw_cell endp                          ;=

place_food proc near                    ;= place_food:
@@again: mov ax, seed                   ;= .Lfood_again: mov ax, word ptr [seed]
        mov cx, 25173
        mul cx
        add ax, 13849
        mov seed, ax                    ;= mov word ptr [seed], ax
        xor dx, dx
        mov cx, CELLS
        div cx
        mov bx, dx
        cmp grid[bx], 0                 ;= cmp byte ptr [grid+bx], 0
        jne @@again                     ;= jne .Lfood_again
        mov ax, dx
        mov cl, FIELD_W
        div cl                          ; al the row, ah the column
        xchg al, ah
        mov word ptr food, ax           ;= mov word ptr [food], ax
        mov al, STAR
        mov ah, food_attr               ;= mov ah, byte ptr [food_attr]
        test food_attr, mask a_blink    ;= test byte ptr [food_attr], 0x80
        jnz @@keep                      ;= jnz .Lfood_keep
        or ah, 1 shl a_blink            ;= or ah, 0x80
@@keep: mov food.p_cell, ax             ;= .Lfood_keep: mov word ptr [food+p_cell], ax
        push ax
        push word ptr food              ;= push word ptr [food]
        call draw_cell
        ret
place_food endp                         ;=

beep    proc near                       ;= beep:
        mov al, 0B6h                    ; timer 2, square wave ;= mov al, 0xB6
        out 43h, al                     ;= out 0x43, al
        mov ax, 1193                    ; 1 kHz
        out 42h, al                     ;= out 0x42, al
        mov al, ah
        out 42h, al                     ;= out 0x42, al
        in al, 61h                      ;= in al, 0x61
        or al, 3
        out 61h, al                     ;= out 0x61, al
        xor cx, cx
@@wait: loop @@wait                     ;= .Lbeep_wait: loop .Lbeep_wait
        in al, 61h                      ;= in al, 0x61
        and al, not 3                   ;= and al, 0xFC
        out 61h, al                     ;= out 0x61, al
        ret
beep    endp                            ;=

new_game proc near                      ;= new_game:
        push ds
        pop es
        mov di, offset grid_w
        mov cx, CELLS / 2               ; the words of grid_w
        xor ax, ax
        rep stosw
        mov di, offset snake
        mov cx, size snake / 2          ;= mov cx, MAX_LEN * 4 / 2
        rep stosw
        mov snake_len, START_LEN        ;= mov word ptr [snake_len], START_LEN
        mov score, ax                   ;= mov word ptr [score], ax
        mov cur_dir, 1                  ; to the right ;= mov word ptr [dir_x], 1
        xor bx, bx
        mov al, FIELD_W / 2
@@lay:  mov snake[bx].p_x, al           ;= .Lnew_lay: mov byte ptr [snake+bx+p_x], al
        mov snake[bx].p_y, FIELD_H / 2  ;= mov byte ptr [snake+bx+p_y], FIELD_H / 2
        dec al
        add bx, size part               ;= add bx, 4
        cmp bx, size part * START_LEN   ;= cmp bx, 4 * START_LEN
        jb @@lay                        ;= jb .Lnew_lay
        call draw_frame
        call place_food
        ret
new_game endp                           ;=

init_screen proc near                   ;= init_screen:
        mov ax, 3
        int 10h                         ;= int 0x10
        mov ah, 1                       ; no cursor
        mov cx, 2000h                   ;= mov cx, 0x2000
        int 10h                         ;= int 0x10
        les di, screen_ptr              ;= les di, dword ptr [screen_ptr]
        mov cx, COLS
        mov al, ' '
        mov ah, head_attr               ;= mov ah, byte ptr [head_attr]
        rep stosw
        mov di, (COLS - TITLE_LEN) / 2 * 2
        mov si, offset title_
@@title: lodsb                          ;= .Linit_title: lodsb
        or al, al
        jz @@done                       ;= jz .Linit_done
        stosw
        jmp @@title                     ;= jmp .Linit_title
@@done: ret                             ;= .Linit_done: ret
init_screen endp                        ;=

draw_frame proc near                    ;= draw_frame:
        les di, screen_ptr              ;= les di, dword ptr [screen_ptr]
        add di, ROW_BYTES
        xor bx, bx
        call draw_row
        mov bx, 3
        mov dx, FIELD_H
@@mid:  call draw_row                   ;= .Lframe_mid: call draw_row
        dec dx
        jnz @@mid                       ;= jnz .Lframe_mid
        mov bx, 6
        call draw_row
        ret
draw_frame endp                         ;=

; one row of the frame at es:di: bx = 0 the top, 3 the middle, 6 the bottom
draw_row proc near                      ;= draw_row:
        mov si, frame_style             ;= mov si, word ptr [frame_style]
        mov ah, body_attr               ;= mov ah, byte ptr [body_attr]
        mov al, box_chars[bx+si]        ;= mov al, byte ptr [box_chars+bx+si]
        stosw
        mov al, box_chars[bx+si+1]      ;= mov al, byte ptr [box_chars+bx+si+1]
        mov cx, FIELD_W
        rep stosw
        mov al, box_chars[bx+si+2]      ;= mov al, byte ptr [box_chars+bx+si+2]
        stosw
        ret
draw_row endp                           ;=

; the score in decimal into num_buf
make_number proc near                   ;= make_number:
        mov ax, points                  ;= mov ax, word ptr [score]
        mov di, 10
        mov si, offset num_buf + NUM_LEN - 1
        mov bx, offset digits
@@digit: xor dx, dx                     ;= .Lnum_digit: xor dx, dx
        div di
        xchg ax, dx
        xlat digits                     ;= xlat byte ptr cs:[bx]
        mov [si], al
        xchg ax, dx
        dec si
        or ax, ax
        jnz @@digit                     ;= jnz .Lnum_digit
        ret
make_number endp                        ;=

; show_score(word column): the score at the top right; far, for the pause too
show_score proc far                     ;= show_score:
        push bp
        mov bp, sp
        push es
        push si
        push di
        call make_number
        les di, screen_ptr              ;= les di, dword ptr [screen_ptr]
        add di, [bp+6]
        add di, [bp+6]
        mov si, offset num_buf
        mov ah, head_attr               ;= mov ah, byte ptr [head_attr]
        mov cx, NUM_LEN
@@put:  lodsb                           ;= .Lscore_put: lodsb
        stosw
        loop @@put                      ;= loop .Lscore_put
        push ds                         ; keep the top row for the pause
        lds si, screen_ptr              ;= lds si, dword ptr [screen_ptr]
        mov di, si
        add di, (ROWS - 1) * ROW_BYTES
        mov cx, COLS / 2
@@keep: movs word ptr es:[di], word ptr [si] ;= .Lscore_keep: movsw
        loop @@keep                     ;= loop .Lscore_keep
        pop ds
        pop di
        pop si
        pop es
        pop bp
        ret 2                           ;= retf 2
show_score endp                         ;=

        end start                       ;=
