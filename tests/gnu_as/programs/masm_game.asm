; program 16
; BOUNCE.ASM - game loop of BOUNCE.EXE: keep the bat under the balls; arrows
; move it, Esc quits.  Medium model: procs without NEAR are FAR.  BOUNCE.C
; (Turbo C, -mm) calls play_game() with DS = DGROUP.   tasm /mx /m2 bounce
        .model medium                   ;=
        locals                          ;=
SCR_W           equ 80                  ;= .equ SCR_W, 80
SCR_H           equ 25                  ;= .equ SCR_H, 25
VIDSEG          equ 0B800h              ;= .equ VIDSEG, 0xB800
BLANK           equ 0720h               ;= .equ BLANK, 0x0720
NBALLS          equ 3                   ;= .equ NBALLS, 3
BALL_SIZE       equ 10                  ;= .equ BALL_SIZE, 10
START_LIVES     equ 3                   ;= .equ START_LIVES, 3
BAT_LEN         =   8                   ;= BAT_LEN = 8
ATTR_BAT        =   1Fh                 ;= ATTR_BAT = 0x1F

ball    struc                           ; BALL_SIZE bytes ;=
x_pos   dw 40                           ;= .equ x_pos, 0
y_pos   dw 12                           ;= .equ y_pos, 2
x_step  dw 1                            ;= .equ x_step, 4
y_step  dw 1                            ;= .equ y_step, 6
colour  db 0Eh                          ;= .equ colour, 8
shape   db 'O'                          ;= .equ shape, 9
ball    ends                            ;=

        .data                           ;= .data
ball1   ball <>                         ;= ball1: .short 40, 12, 1, 1; .byte 0x0E, 'O'
ball2   ball <10, 5, -1, 1, 0Ch>        ;= ball2: .short 10, 5, -1, 1; .byte 0x0C, 'O'
ball3   ball <70,, 1, -1, 0Ah, '*'>     ;= ball3: .short 70, 12, 1, -1; .byte 0x0A, '*'
spare   ball 2 dup (<5,,,,, '+'>)       ; arrays of balls ;= spare: .rept 2; .short 5, 12, 1, 1; .byte 0x0E, '+'; .endr
trail   ball NBALLS DUP (<>)            ;= trail: .rept NBALLS; .short 40, 12, 1, 1; .byte 0x0E, 'O'; .endr
score   dw 0                            ;= score: .short 0
lives   db START_LIVES                  ;= lives: .byte START_LIVES
flag    db 0                            ; set by Esc ;= flag: .byte 0
bat_x   dw 36                           ;= bat_x: .short 36
ticks   dw 0                            ;= ticks: .short 0
last_tick dw 0                          ;= last_tick: .short 0
oldmode db ?                            ;= oldmode: .byte 0
row_ofs dw 0, 160, 320, 480, 640, 800, 960, 1120, 1280, 1440, 1600, 1760, ;= row_ofs: .short 0, 160, 320, 480, 640, 800, 960, 1120, 1280, 1440, 1600, 1760
        1920, 2080, 2240, 2400, 2560, 2720, 2880, 3040, 3200, 3360, 3520, 3680, 3840 ;= .short 1920, 2080, 2240, 2400, 2560, 2720, 2880, 3040, 3200, 3360, 3520, 3680, 3840

        .code                           ;= .text
        public _play_game               ;= .globl _play_game
oldint  dd ?                            ;= oldint: .long 0
game_ds dw ?                            ;= game_ds: .short 0

; Timer tick, 18.2 times a second: count it, then on to the old handler.
tick_isr proc far                       ;= tick_isr:
        push ds
        mov ds, cs:game_ds
        inc ticks                       ;= inc word ptr ticks
        pop ds
        jmp cs:oldint                   ;= jmp dword ptr cs:oldint
tick_isr endp                           ;=
; int far play_game(void): plays one game, returns the score
_play_game proc                         ;= _play_game:
        push si
        push di
        cld
        mov ah, 0Fh                     ;= mov ah, 0x0F
        int 10h                         ;= int 0x10
        mov oldmode, al
        mov ax, 3                       ; 80x25 colour text, clear screen
        int 10h                         ;= int 0x10
        mov ax, ds
        mov cs:game_ds, ax
        call hook_timer
        mov ax, VIDSEG
        mov es, ax
        mov score, 0                    ;= mov word ptr score, 0
        mov lives, START_LIVES          ;= mov byte ptr lives, START_LIVES
        mov [flag], 0                   ;= mov byte ptr [flag], 0
        mov ball1.y_pos, 1              ;= mov word ptr [ball1+y_pos], 1
        mov ball2.y_pos, 1              ;= mov word ptr [ball2+y_pos], 1
        mov (ball ptr [si]).y_step, 1   ; a typed pointer ;= mov word ptr [si+y_step], 1
        mov al, (ball PTR [bx+2]).colour ;= mov al, [bx+2+colour]
@@loop: mov ax, ticks                   ; wait for the next tick ;= .Lplay_loop: mov ax, ticks
        cmp ax, last_tick
        je @@loop                       ;= je .Lplay_loop
        mov last_tick, ax
        call read_keys                  ;= push cs; call read_keys
        cmp [flag], 1                   ;= cmp byte ptr [flag], 1
        je @@over                       ;= je .Lplay_over
        cmp lives, 0                    ;= cmp byte ptr lives, 0
        je @@over                       ;= je .Lplay_over
        mov si, offset ball1
        mov cx, NBALLS
@@each: push cx                         ;= .Lplay_each: push cx
        push si                         ; the ball
        push bat_x                      ;= push word ptr bat_x
        call move_ball                  ;= push cs; call move_ball
        pop cx
        add si, BALL_SIZE
        loop @@each                     ;= loop .Lplay_each
        call draw_bat                   ;= push cs; call draw_bat
        call far ptr show_score         ;= push cs; call show_score
        jmp @@loop                      ;= jmp .Lplay_loop
@@over: call unhook_timer               ;= .Lplay_over: call unhook_timer
        mov al, oldmode
        xor ah, ah
        int 10h                         ;= int 0x10
        mov ax, score
        pop di
        pop si
        ret                             ;= retf
_play_game endp                         ;=
read_keys proc                          ;= read_keys:
        mov ah, 1                       ; a key waiting?
        int 16h                         ;= int 0x16
        jz @@done                       ;= jz .Lkeys_done
        xor ah, ah
        int 16h                         ;= int 0x16
        cmp al, 1Bh                     ; Esc ;= cmp al, 0x1B
        jne @@left                      ;= jne .Lkeys_left
        mov [flag], 1                   ;= mov byte ptr [flag], 1
        jmp short @@done                ;= jmp .Lkeys_done
@@left: cmp ah, 4Bh                     ;= .Lkeys_left: cmp ah, 0x4B
        jne @@right                     ;= jne .Lkeys_right
        cmp bat_x, 0                    ;= cmp word ptr bat_x, 0
        je @@done                       ;= je .Lkeys_done
        sub bat_x, 2                    ;= sub word ptr bat_x, 2
        jmp short @@done                ;= jmp .Lkeys_done
@@right:                                ;= .Lkeys_right:
        cmp ah, 4Dh                     ;= cmp ah, 0x4D
        jne @@done                      ;= jne .Lkeys_done
        cmp bat_x, SCR_W - BAT_LEN      ;= cmp word ptr bat_x, SCR_W - BAT_LEN
        jae @@done                      ;= jae .Lkeys_done
        add bat_x, 2                    ;= add word ptr bat_x, 2
@@done: ret                             ;= .Lkeys_done: retf
read_keys endp                          ;=
; void far pascal move_ball(ball near *b, int bat): one step of one ball
move_ball proc                          ;= move_ball:
        push bp
        mov bp, sp
        push si
        mov si, [bp+8]                  ; the ball
        call cell_addr                  ; rub it out
        mov word ptr es:[di], BLANK
        mov ax, [si].x_pos              ;= mov ax, [si+x_pos]
        add ax, [si].x_step             ;= add ax, [si+x_step]
        js @@turn                       ;= js .Lmove_turn
        cmp ax, SCR_W
        jb @@x_ok                       ;= jb .Lmove_x_ok
@@turn: neg [si].x_step                 ;= .Lmove_turn: neg word ptr [si+x_step]
        mov ax, [si].x_pos              ;= mov ax, [si+x_pos]
@@x_ok: mov [si].x_pos, ax              ;= .Lmove_x_ok: mov [si+x_pos], ax
        mov ax, [si+y_pos]
        add ax, [si+y_step]
        cmp ax, 1                       ; row 0 holds the score
        jge @@low                       ;= jge .Lmove_low
        mov [si+y_step], 1              ;= mov word ptr [si+y_step], 1
        mov ax, 1
@@low:  cmp ax, SCR_H - 2               ;= .Lmove_low: cmp ax, SCR_H - 2
        jl @@y_ok                       ;= jl .Lmove_y_ok
        mov bx, [si].x_pos              ;= mov bx, [si+x_pos]
        sub bx, [bp+6]                  ; over the bat?
        cmp bx, BAT_LEN
        jb @@caught                     ;= jb .Lmove_caught
        call lose_life
        mov ax, 1                       ; serve again from the top
        mov [si].y_step, 1              ;= mov word ptr [si+y_step], 1
        jmp short @@y_ok                ;= jmp .Lmove_y_ok
@@caught:                               ;= .Lmove_caught:
        neg [si].y_step                 ;= neg word ptr [si+y_step]
        add score, 10                   ;= add word ptr score, 10
        inc [si].colour                 ;= inc byte ptr [si+colour]
        or [si].colour, 8               ;= or byte ptr [si+colour], 8
        mov ax, SCR_H - 3
@@y_ok: mov [si].y_pos, ax              ;= .Lmove_y_ok: mov [si+y_pos], ax
        call draw_ball
        pop si
        pop bp
        ret 4                           ;= retf 4
move_ball endp                          ;=
lose_life proc near                     ;= lose_life:
        dec lives                       ;= dec byte ptr lives
        call show_score                 ;= push cs; call show_score
        ret
lose_life endp                          ;=
show_score proc                         ;= show_score:
        push di
        mov ax, score
        mov di, SCR_W * 2 - 2           ; rightmost cell of the top row
        mov bx, 10
        mov cx, 5
@@loop: xor dx, dx                      ;= .Lscore_loop: xor dx, dx
        div bx
        add dl, '0'
        mov dh, 1Eh                     ; yellow on blue ;= mov dh, 0x1E
        mov es:[di], dx
        sub di, 2
        loop @@loop                     ;= loop .Lscore_loop
        mov al, lives                   ; lives in the top left corner
        add al, '0'
        mov es:[0], al
        pop di
        ret                             ;= retf
show_score endp                         ;=
draw_bat proc                           ;= draw_bat:
        mov di, (SCR_H - 1) * SCR_W * 2 ; clear the bottom row
        mov cx, SCR_W
        mov ax, BLANK
        rep stosw
        mov di, (SCR_H - 1) * SCR_W * 2
        add di, bat_x
        add di, bat_x
        mov cx, BAT_LEN
        mov ax, ATTR_BAT * 256 + 0DFh   ;= mov ax, ATTR_BAT * 256 + 0xDF
        rep stosw
        ret                             ;= retf
draw_bat endp                           ;=
; di = screen offset of the ball at si
cell_addr proc near                     ;= cell_addr:
        mov bx, [si].y_pos              ;= mov bx, [si+y_pos]
        shl bx, 1
        mov di, row_ofs[bx]
        add di, [si].x_pos              ;= add di, [si+x_pos]
        add di, [si].x_pos              ;= add di, [si+x_pos]
        ret
cell_addr endp                          ;=
draw_ball proc near                     ;= draw_ball:
        call cell_addr
        mov bx, si
        mov al, [bx+shape]
        mov ah, [bx].colour             ;= mov ah, [bx+colour]
        stosw
        ret
draw_ball endp                          ;=
hook_timer proc near                    ;= hook_timer:
        mov ax, 351Ch                   ;= mov ax, 0x351C
        int 21h                         ;= int 0x21
        mov word ptr cs:oldint, bx
        mov word ptr cs:oldint+2, es
        push ds
        push cs
        pop ds
        mov dx, offset tick_isr
        mov ax, 251Ch                   ;= mov ax, 0x251C
        int 21h                         ;= int 0x21
        pop ds
        ret
hook_timer endp                         ;=
unhook_timer proc near                  ;= unhook_timer:
        mov ax, word ptr cs:oldint
        or ax, word ptr cs:oldint+2
        jz @@done                       ;= jz .Lunhook_done
        push ds
        lds dx, cs:oldint
        mov ax, 251Ch                   ;= mov ax, 0x251C
        int 21h                         ;= int 0x21
        pop ds
@@done: ret                             ;= .Lunhook_done: ret
unhook_timer endp                       ;=
        end                             ;=
