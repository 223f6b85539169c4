; program 32
;----------------------------------------------------------------------------
; PARTICLE.ASM - particle system and 2D vector/matrix helpers for BLASTER.C
; TASM 4.0, MASM mode, flat model, cdecl (Watcom C 10 / DOS4GW).
;                                                       tasm32 /ml particle
;----------------------------------------------------------------------------
        .386                            ;=
        .387                            ;=
        .model flat                     ;=
        locals                          ;=

MAXP        equ 64                      ; particles in the pool ;= .equ MAXP, 64
LIFE_START  equ 120                     ; frames ;= .equ LIFE_START, 120
F_PAUSED    equ 1                       ;= .equ F_PAUSED, 1
F_STARS     =   2                       ;= .equ F_STARS, 2

Particle    struc                       ;=
x           dd ?                        ; position, pixels ;= .equ x, 0
y           dd ?                        ;= .equ y, 4
vx          dd ?                        ; velocity, pixels a frame ;= .equ vx, 8
vy          dd ?                        ;= .equ vy, 12
life        dw ?                        ; frames left, 0 = free ;= .equ life, 16
colour      db ?                        ;= .equ colour, 18
            db ?                        ; pad to 20 bytes ;=
Particle    ends                        ;=

        extrn _rand:near                ;= .extern _rand
        extrn _plot_pixel:near          ;= .extern _plot_pixel

        .data                           ;= .data
seed        dd 1                        ;= seed: .long 1
frame_no    dd 0                        ;= frame_no: .long 0
alive       dd 0                        ;= alive: .long 0
count       dd MAXP                     ;= count: .long MAXP
points      dd 0                        ;= points: .long 0
score       dw 0                        ;= score: .short 0
flags       dw 0                        ;= flags: .short 0
gravity     dd 0.05                     ;= gravity: .float 0.05
drag        dd 0.98                     ;= drag: .float 0.98
limit       dd 200.0                    ; the floor ;= limit: .float 200.0
half        dq 0.5                      ;= half: .double 0.5
speed_scale dq 0.0625                   ;= speed_scale: .double 0.0625
two_pi      dt 6.283185307179586477     ;= two_pi: .tfloat 6.283185307179586477
kick        dd 1.5, -2.0                ; up-kick for new sparks ;= kick: .float 1.5, -2.0
emitter     Particle <160.0, 100.0, 0.0, -1.0, LIFE_START, 15> ;= emitter: .float 160.0, 100.0, 0.0, -1.0; .short LIFE_START; .byte 15, 0
handlers    dd offset fx_spark, offset fx_smoke, ;= handlers: .long fx_spark, fx_smoke
               offset fx_star, offset fx_dead ;= .long fx_star, fx_dead
fx_ptr      dd offset fx_spark          ;= fx_ptr: .long fx_spark

        .const                          ;= .section .rodata
palette     db 0, 15, 14, 12, 4, 6, 8, 7 ;= palette: .byte 0, 15, 14, 12, 4, 6, 8, 7
table       dw 0, 50, 98, -142, 181, -213, 237, 256 ;= table: .short 0, 50, 98, -142, 181, -213, 237, 256
rot_init    dq 1.0, 0.0, 0.0, 1.0       ;= rot_init: .double 1.0, 0.0, 0.0, 1.0
unit        dd 1.0                      ;= unit: .float 1.0

        .data?                          ;= .bss
particles   Particle MAXP dup (<>)      ;= particles: .skip MAXP * 20
matrix      dd 4 dup (?)                ;= matrix: .skip 16
tmp         dd ?                        ;= tmp: .skip 4
bigscore    dq ?                        ;= bigscore: .skip 8
spin        dt ?                        ;= spin: .skip 10

        .code                           ;= .text
        public _ps_init, _ps_emit, _ps_update, _ps_draw ;= .globl _ps_init, _ps_emit, _ps_update, _ps_draw
        public _ps_random, _ps_shade, _ps_fx, _ps_spin ;= .globl _ps_random, _ps_shade, _ps_fx, _ps_spin
        public _vec_len, _vec_norm, _vec_inv_len, _vec_abs_swap ;= .globl _vec_len, _vec_norm, _vec_inv_len, _vec_abs_swap
        public _mat_rot, _mat_apply, _vec_slope, _ps_total ;= .globl _mat_rot, _mat_apply, _vec_slope, _ps_total
        public _ps_get, _ps_kill        ;= .globl _ps_get, _ps_kill
        public particles, seed          ;= .globl particles, seed

; unsigned ps_random(void): the Borland LCG, 15 bits
_ps_random proc                         ;= _ps_random:
        imul eax, seed, 1103515245      ;= imul eax, dword ptr seed, 1103515245
        mov seed, eax                   ;= mov dword ptr seed, eax
        add seed, 12345                 ;= add dword ptr seed, 12345
        mov eax, seed                   ;= mov eax, dword ptr seed
        shr eax, 16
        and eax, 7FFFh                  ;= and eax, 0x7FFF
        ret
_ps_random endp                         ;=

; void ps_init(void): every particle free
_ps_init proc                           ;= _ps_init:
        push edi
        mov edi, offset particles
        mov ecx, size Particle * MAXP / 4 ;= mov ecx, 20 * MAXP / 4
        xor eax, eax
        rep stosd
        mov alive, eax                  ;= mov dword ptr alive, eax
        mov frame_no, eax               ;= mov dword ptr frame_no, eax
        mov byte ptr flags, 1           ; paused until the first emit
        pop edi
        ret
_ps_init endp                           ;=

; void ps_emit(int n): n new sparks at the emitter
_ps_emit proc                           ;= _ps_emit:
        push ebp
        mov ebp, esp
        push ebx
        push esi
        mov ecx, [ebp+8]
        and flags, not F_PAUSED         ;= and word ptr flags, ~F_PAUSED
        xor ebx, ebx
@@find: cmp particles[ebx].life, 0      ;= .Lemit_find: cmp word ptr [particles+ebx+life], 0
        jne @@next                      ;= jne .Lemit_next
        lea esi, particles[ebx]         ;= lea esi, [particles+ebx]
        fld emitter.x                   ;= fld dword ptr [emitter+x]
        fstp [esi].x                    ;= fstp dword ptr [esi+x]
        fld emitter.y                   ;= fld dword ptr [emitter+y]
        fstp [esi+y]                    ;= fstp dword ptr [esi+y]
        push ecx
        call _rand
        and eax, 0FFh                   ;= and eax, 0xFF
        sub eax, 128
        mov tmp, eax                    ;= mov dword ptr tmp, eax
        fild tmp                        ;= fild dword ptr tmp
        fmul speed_scale                ;= fmul qword ptr speed_scale
        fstp [esi].vx                   ;= fstp dword ptr [esi+vx]
        call _rand
        and eax, 7Fh                    ;= and eax, 0x7F
        neg eax
        mov tmp, eax                    ;= mov dword ptr tmp, eax
        fild tmp                        ;= fild dword ptr tmp
        fmul speed_scale                ;= fmul qword ptr speed_scale
        fadd kick+4                     ; -2.0 ;= fadd dword ptr kick+4
        fstp [esi+Particle.vy]          ;= fstp dword ptr [esi+vy]
        pop ecx
        mov [esi].life, LIFE_START      ;= mov word ptr [esi+life], LIFE_START
        mov eax, frame_no               ;= mov eax, dword ptr frame_no
        and eax, 7
        mov al, palette[eax]            ;= mov al, byte ptr [palette+eax]
        mov [esi].colour, al            ;= mov byte ptr [esi+colour], al
        inc alive                       ;= inc dword ptr alive
        dec ecx
        jz @@done                       ;= jz .Lemit_done
@@next: add ebx, size Particle          ;= .Lemit_next: add ebx, 20
        cmp ebx, size particles         ;= cmp ebx, MAXP * 20
        jb @@find                       ;= jb .Lemit_find
@@done: pop esi                         ;= .Lemit_done: pop esi
        pop ebx
        pop ebp
        ret
_ps_emit endp                           ;=

; void ps_update(void): one frame of motion
_ps_update proc                         ;= _ps_update:
        push esi
        test flags, F_PAUSED            ;= test word ptr flags, F_PAUSED
        jnz @@out                       ;= jnz .Lupdate_out
        inc frame_no                    ;= inc dword ptr frame_no
        mov esi, offset particles
        mov ecx, length particles       ;= mov ecx, MAXP
@@loop: cmp [esi].life, 0               ;= .Lupdate_loop: cmp word ptr [esi+life], 0
        je @@skip                       ;= je .Lupdate_skip
        fld [esi].vy                    ;= fld dword ptr [esi+vy]
        fadd gravity                    ;= fadd dword ptr gravity
        fmul drag                       ;= fmul dword ptr drag
        fst [esi].vy                    ;= fst dword ptr [esi+vy]
        fadd [esi].y                    ;= fadd dword ptr [esi+y]
        fstp [esi].y                    ;= fstp dword ptr [esi+y]
        fld [esi].vx                    ;= fld dword ptr [esi+vx]
        fmul drag                       ;= fmul dword ptr drag
        fst [esi].vx                    ;= fst dword ptr [esi+vx]
        fadd [esi].x                    ;= fadd dword ptr [esi+x]
        fstp [esi].x                    ;= fstp dword ptr [esi+x]
        fld [esi].y                     ;= fld dword ptr [esi+y]
        fcomp limit                     ; on the floor? ;= fcomp dword ptr limit
        fstsw ax
        sahf
        jb @@alive                      ;= jb .Lupdate_alive
        mov [esi].life, 1               ;= mov word ptr [esi+life], 1
@@alive:                                ;= .Lupdate_alive:
        dec [esi].life                  ;= dec word ptr [esi+life]
        jnz @@skip                      ;= jnz .Lupdate_skip
        dec alive                       ;= dec dword ptr alive
@@skip: add esi, type Particle          ;= .Lupdate_skip: add esi, 20
        loop @@loop                     ;= loop .Lupdate_loop
@@out:  pop esi                         ;= .Lupdate_out: pop esi
        ret
_ps_update endp                         ;=

; void ps_draw(void): plot the live ones, then their effect
_ps_draw proc                           ;= _ps_draw:
        push ebp
        mov ebp, esp
        push ebx
        push edi
        xor ebx, ebx
@@each: lea eax, [ebx+ebx*4]            ; index * 5 ;= .Ldraw_each: lea eax, [ebx+ebx*4]
        lea edi, particles[eax*4]       ;= lea edi, [particles+eax*4]
        cmp (Particle ptr [edi]).life, 0 ;= cmp word ptr [edi+life], 0
        je @@next                       ;= je .Ldraw_next
        movzx eax, (Particle ptr [edi]).colour ;= movzx eax, byte ptr [edi+colour]
        push eax
        fld (Particle ptr [edi]).y      ;= fld dword ptr [edi+y]
        fistp score                     ;= fistp word ptr score
        movsx eax, score                ;= movsx eax, word ptr score
        push eax
        fld (Particle ptr [edi]).x      ;= fld dword ptr [edi+x]
        fistp score                     ;= fistp word ptr score
        movsx eax, score                ;= movsx eax, word ptr score
        push eax
        call _plot_pixel
        add esp, 12
        movzx eax, (Particle ptr [edi]).colour ;= movzx eax, byte ptr [edi+colour]
        and eax, 3
        call handlers[eax*4]            ;= call dword ptr [handlers+eax*4]
@@next: inc ebx                         ;= .Ldraw_next: inc ebx
        cmp ebx, MAXP
        jb @@each                       ;= jb .Ldraw_each
        pop edi
        pop ebx
        pop ebp
        ret
_ps_draw endp                           ;=

; the effects, edi -> particle
fx_spark proc                           ;= fx_spark:
        add points, 10                  ;= add dword ptr points, 10
        ret
fx_spark endp                           ;=
fx_smoke proc                           ;= fx_smoke:
        fld (Particle ptr [edi]).vy     ;= fld dword ptr [edi+vy]
        fmul half                       ;= fmul qword ptr half
        fstp (Particle ptr [edi]).vy    ;= fstp dword ptr [edi+vy]
        ret
fx_smoke endp                           ;=
fx_star proc                            ;= fx_star:
        or flags, F_STARS               ;= or word ptr flags, F_STARS
        ret
fx_star endp                            ;=
fx_dead proc                            ;= fx_dead:
        mov [edi].life, 0               ;= mov word ptr [edi+life], 0
        ret
fx_dead endp                            ;=

; int ps_shade(int i): palette entry and table slope of i
_ps_shade proc                          ;= _ps_shade:
        mov ecx, [esp+4]
        and ecx, 7
        movzx eax, palette[ecx]         ;= movzx eax, byte ptr [palette+ecx]
        movsx edx, word ptr table[ecx*2] ;= movsx edx, word ptr [table+ecx*2]
        add eax, edx
        cmp alive, 0                    ;= cmp dword ptr alive, 0
        jne @@done                      ;= jne .Lshade_done
        neg eax
@@done: ret                             ;= .Lshade_done: ret
_ps_shade endp                          ;=

; void ps_fx(void): the current effect on the emitter
_ps_fx  proc                            ;= _ps_fx:
        push ebx
        push edi
        mov edi, offset emitter
        mov ebx, offset fx_ptr
        call dword ptr [ebx]
        pop edi
        pop ebx
        ret
_ps_fx  endp                            ;=

; float ps_spin(void): the angle of this frame, 2 pi / count a frame
_ps_spin proc                           ;= _ps_spin:
        fld two_pi                      ;= fld tbyte ptr two_pi
        fidiv count                     ;= fidiv dword ptr count
        fild frame_no                   ;= fild dword ptr frame_no
        fmulp st(1), st
        fst tmp                         ;= fst dword ptr tmp
        fstp spin                       ;= fstp tbyte ptr spin
        fld spin                        ;= fld tbyte ptr spin
        ret
_ps_spin endp                           ;=

; long long ps_total(void): points times the live count, 64 bits
_ps_total proc                          ;= _ps_total:
        fild points                     ;= fild dword ptr points
        fimul alive                     ;= fimul dword ptr alive
        fistp bigscore                  ;= fistp qword ptr bigscore
        fild bigscore                   ;= fild qword ptr bigscore
        fcomp half                      ;= fcomp qword ptr half
        fstsw ax
        sahf
        mov eax, dword ptr bigscore
        mov edx, dword ptr bigscore+4
        ret
_ps_total endp                          ;=

; float vec_len(const float v[2])
_vec_len proc                           ;= _vec_len:
        mov eax, [esp+4]
        fld dword ptr [eax]
        fmul st, st(0)
        fld dword ptr [eax+4]
        fmul st, st(0)
        faddp st(1), st
        fsqrt
        ret
_vec_len endp                           ;=

; void vec_norm(float v[2]): one unit long (left alone when zero)
_vec_norm proc                          ;= _vec_norm:
        mov eax, [esp+4]
        fld dword ptr [eax+4]           ; y
        fld dword ptr [eax]             ; x, y
        fld st(0)                       ; x, x, y
        fmul st, st                     ; xx, x, y
        fld st(2)                       ; y, xx, x, y
        fmul st, st(0)
        faddp st(1), st                 ; xx + yy, x, y
        fsqrt                           ; len, x, y
        ftst
        fstsw ax
        sahf
        je @@zero                       ;= je .Lnorm_zero
        fdiv st(1), st                  ; len, x / len, y
        fdivp st(2), st                 ; x / len, y / len
        fstp dword ptr [eax]
        fstp dword ptr [eax+4]
        ret
@@zero: fstp st(0)                      ;= .Lnorm_zero: fstp st(0)
        fcompp
        ret
_vec_norm endp                          ;=

; float vec_inv_len(const float v[2])
_vec_inv_len proc                       ;= _vec_inv_len:
        push dword ptr [esp+4]
        call _vec_len
        add esp, 4
        fld unit                        ;= fld dword ptr unit
        fdivrp st(1), st                ; 1 / len
        ret
_vec_inv_len endp                       ;=

; void vec_abs_swap(float v[2]): (|y|, |x|)
_vec_abs_swap proc                      ;= _vec_abs_swap:
        mov eax, [esp+4]
        fld dword ptr [eax]
        fld dword ptr [eax+4]
        fabs
        fxch
        fabs
        fxch st(1)
        fstp dword ptr [eax]
        fstp dword ptr [eax+4]
        ret
_vec_abs_swap endp                      ;=

; void mat_rot(float m[4], float angle): rotation matrix
_mat_rot proc                           ;= _mat_rot:
        push ebp
        mov ebp, esp
        mov eax, [ebp+8]
        fld dword ptr [ebp+12]          ; a
        fsincos                         ; cos, sin
        fst dword ptr [eax]             ; m0 = cos
        fstp dword ptr [eax+12]         ; m3 = cos
        fst dword ptr [eax+8]           ; m2 = sin
        fchs
        fstp dword ptr [eax+4]          ; m1 = -sin
        mov edx, offset matrix
        mov ecx, [eax]
        mov [edx], ecx
        mov ecx, [eax+4]
        mov [edx+4], ecx
        pop ebp
        ret
_mat_rot endp                           ;=

; void mat_apply(const float m[4], Particle *p): turn the velocity
_mat_apply proc                         ;= _mat_apply:
        mov eax, [esp+4]
        mov edx, [esp+8]
        fld [edx].vx                    ;= fld dword ptr [edx+vx]
        fmul dword ptr [eax]
        fld [edx].vy                    ;= fld dword ptr [edx+vy]
        fmul dword ptr [eax+4]
        faddp st(1), st                 ; nx
        fld [edx].vx                    ;= fld dword ptr [edx+vx]
        fmul dword ptr [eax+8]
        fld [edx+vy]                    ;= fld dword ptr [edx+vy]
        fmul dword ptr [eax+12]
        faddp st(1), st                 ; ny, nx
        fstp [edx].vy                   ;= fstp dword ptr [edx+vy]
        fstp [edx].vx                   ;= fstp dword ptr [edx+vx]
        ret
_mat_apply endp                         ;=

; float vec_slope(float angle): tan, clamped to the floor limit
_vec_slope proc                         ;= _vec_slope:
        fld dword ptr [esp+4]
        fptan                           ; 1, tan
        fstp st(0)
        fld st(0)
        fabs
        fcomp limit                     ;= fcomp dword ptr limit
        fstsw ax
        sahf
        jbe @@ok                        ;= jbe .Lslope_ok
        fstp st(0)
        fld limit                       ;= fld dword ptr limit
@@ok:   ret                             ;= .Lslope_ok: ret
_vec_slope endp                         ;=

; Particle *ps_get(int i)
_ps_get proc                            ;= _ps_get:
        mov eax, [esp+4]
        imul eax, eax, size Particle    ;= imul eax, eax, 20
        lea eax, particles[eax]         ;= lea eax, [particles+eax]
        ret
_ps_get endp                            ;=

; int ps_kill(Particle *p): free it, give back its colour
_ps_kill proc                           ;= _ps_kill:
        push ebp
        mov ebp, esp
        mov edx, [ebp+8]
        mov [edx].life, 0               ;= mov word ptr [edx+life], 0
        movzx eax, [edx].colour         ;= movzx eax, byte ptr [edx+colour]
        pop ebp
        ret
_ps_kill endp                           ;=

        end                             ;=
