; program 32
; FPMATH.ASM - x87 helpers for the 32-bit C side.  TASM 4.0, MASM mode, with
; the byte statistics in IDEAL mode at the end. cdecl: arguments on the stack,
; results in ST(0) or EAX (EDX:EAX), EBX ESI EDI EBP preserved.
        .386                            ;=
        .387                            ;=
        .model flat                     ;=
RC_SHIFT equ 10                         ;= .equ RC_SHIFT, 10
RC_MASK  equ 3 shl RC_SHIFT             ;= .equ RC_MASK, 3 << RC_SHIFT

        .data                           ;= .data
half    dq 0.5                          ;= half: .double 0.5
hundred dt 100.0                        ;= hundred: .tfloat 100.0
sample_max dd 32767.0                   ;= sample_max: .float 32767.0
byte_max dd 255.0                       ;= byte_max: .float 255.0
; what _apply_all does to its argument, in order
fn_table dd offset f_square, offset f_half, offset f_ratio, ;= fn_table: .int f_square, f_half, f_ratio
            offset f_less_one, offset f_one_minus, offset f_recip ;= .int f_less_one, f_one_minus, f_recip
NFUNCS  equ ($ - fn_table) / 4          ;= .equ NFUNCS, (. - fn_table) / 4
        public fn_table                 ;= .globl fn_table

        .code                           ;= .text
        public _poly_eval, _lerp, _slope, _percent_change ;= .globl _poly_eval, _lerp, _slope, _percent_change
        public _normalize2, _round_with, _int64_to_double, _byte_to_unit ;= .globl _normalize2, _round_with, _int64_to_double, _byte_to_unit
        public _mean_var, _scale_samples, _apply_all, _histogram ;= .globl _mean_var, _scale_samples, _apply_all, _histogram

; double poly_eval(double x, const double *c, int n): Horner, c[0] highest
_poly_eval proc near                    ;= _poly_eval:
        mov edx, [esp+12]
        mov ecx, [esp+16]
        fld qword ptr [esp+4]           ; x
        fldz                            ; sum, x
pe_next:
        fmul st, st(1)
        fadd qword ptr [edx]
        add edx, 8
        loop pe_next
        fxch                            ; x, sum
        fstp st(0)
        ret
_poly_eval endp                         ;=
; double lerp(double a, double b, double t) = a + (b - a) * t
_lerp   proc near                       ;= _lerp:
        fld qword ptr [esp+4]           ; a
        fld qword ptr [esp+12]          ; b, a
        fld st(1)                       ; a, b, a
        fsubp st(1), st                 ; b - a, a
        fmul qword ptr [esp+20]
        faddp st(1), st
        ret
_lerp   endp                            ;=
; double slope(double x0, double y0, double x1, double y1)
_slope  proc near                       ;= _slope:
        fld qword ptr [esp+4]           ; x0
        fld qword ptr [esp+20]          ; x1, x0
        fsubr st(1), st                 ; x1, dx
        fld qword ptr [esp+12]          ; y0, x1, dx
        fld qword ptr [esp+28]          ; y1, y0, x1, dx
        fsubrp st(1), st                ; dy, x1, dx
        fdivr st(2), st                 ; dy, x1, dy / dx
        fcompp                          ; drop the two
        ret
_slope  endp                            ;=
; double percent_change(double old, double new)
_percent_change proc near               ;= _percent_change:
        fld qword ptr [esp+12]          ; new
        fld qword ptr [esp+4]           ; old, new
        fsub st(1), st                  ; old, new - old
        fdivp st(1), st                 ; (new - old) / old
        fld tbyte ptr [hundred]
        fmulp st(1), st
        ret
_percent_change endp                    ;=
; void normalize2(double v[2]): make the vector one unit long
_normalize2 proc near                   ;= _normalize2:
        mov eax, [esp+4]
        fld qword ptr [eax]             ; x
        fld qword ptr [eax+8]           ; y, x
        fld st(1)
        fmul st, st                     ; xx, y, x
        fld st(1)
        fmul st, st(0)                  ; yy, xx, y, x
        fadd st, st(1)
        fsqrt                           ; len, xx, y, x
        fdiv st(3), st
        fdiv st(2), st                  ; len, xx, y / len, x / len
        fcompp
        fstp qword ptr [eax+8]
        fstp qword ptr [eax]
        ret
_normalize2 endp                        ;=
; long long round_with(double x, int mode): mode is an x87 rounding code 0-3
_round_with proc near                   ;= _round_with:
        enter 12, 0
        fstcw word ptr [ebp-2]          ; the caller's control word
        mov ax, [ebp-2]
        and ax, not RC_MASK             ;= and ax, ~RC_MASK
        mov ecx, [ebp+16]
        and ecx, 3
        shl ecx, RC_SHIFT
        or ax, cx
        mov [ebp-4], ax
        fldcw word ptr [ebp-4]
        fld qword ptr [ebp+8]
        fistp qword ptr [ebp-12]
        fldcw word ptr [ebp-2]
        mov eax, [ebp-12]
        mov edx, [ebp-8]
        leave
        ret
_round_with endp                        ;=
; double int64_to_double(long long v)
_int64_to_double proc near              ;= _int64_to_double:
        fild qword ptr [esp+4]
        ret
_int64_to_double endp                   ;=
; double byte_to_unit(const unsigned char *p): *p scaled to 0..1
_byte_to_unit proc near                 ;= _byte_to_unit:
        mov edx, [esp+4]
        movzx eax, byte ptr [edx]
        push eax
        fild dword ptr [esp]
        pop eax
        fdiv dword ptr [byte_max]
        ret
_byte_to_unit endp                      ;=
; double mean_var(const float *v, int n, long double *mean): the variance
_mean_var proc near                     ;= _mean_var:
        push ebp
        mov ebp, esp
        push esi
        mov esi, [ebp+8]
        mov ecx, [ebp+12]
        fldz
mv_sum: fadd dword ptr [esi+ecx*4-4]
        loop mv_sum
        fidiv dword ptr [ebp+12]        ; mean
        mov eax, [ebp+16]
        fld st(0)
        fstp tbyte ptr [eax]
        fldz                            ; squares, mean
        mov ecx, [ebp+12]
mv_sq:  fld dword ptr [esi+ecx*4-4]
        fsub st, st(2)
        fmul st, st
        faddp st(1), st
        loop mv_sq
        fild dword ptr [ebp+12]
        fdivp st(1), st                 ; variance, mean
        fstp st(1)
        pop esi
        pop ebp
        ret
_mean_var endp                          ;=
; void scale_samples(short *s, int n, float gain): 16-bit audio, saturating
_scale_samples proc near                ;= _scale_samples:
        mov edx, [esp+4]
        mov ecx, [esp+8]
ss_next:
        fild word ptr [edx]
        fmul dword ptr [esp+12]         ; s * gain
        fld dword ptr [sample_max]
        fcomp st(1)                     ; max against s * gain
        fstsw ax
        sahf
        jae ss_fits
        fstp st(0)
        fld dword ptr [sample_max]
ss_fits:
        fistp word ptr [edx]
        add edx, 2
        loop ss_next
        ret
_scale_samples endp                     ;=
; void apply_all(double x, double *out): out[i] = fn_table[i](x); may run
; from an interrupt, so the caller's FPU state and registers all survive
_apply_all proc near                    ;= _apply_all:
        enter 108, 0                    ; room for FSAVE
        pushad
        pushfd
        fsave [ebp-108]
        mov edi, [ebp+16]
        mov ebx, offset fn_table
        mov ecx, NFUNCS
aa_next:
        fld qword ptr [ebp+8]
        call dword ptr [ebx]            ; near: this is flat 32-bit code
        fstp qword ptr [edi]
        add edi, 8
        add ebx, 4
        loop aa_next
        frstor [ebp-108]
        popfd
        popad
        leave
        ret
_apply_all endp                         ;=
f_square: fmul st, st(0)
        ret
f_half: fmul qword ptr [half]
        ret
f_ratio: fld st(0)                      ; x / (x + 1)
        fld1
        faddp st(1), st
        fdivp
        ret
f_less_one: fld1
        fsubp
        ret
f_one_minus: fld1
        fsubrp st(1), st
        ret
f_recip: fld1
        fdivrp st(1), st
        ret

        ideal                           ;=
; int histogram(const unsigned char *p, int n, int bins[256]): the mean byte
proc    _histogram                      ;= _histogram:
        push ebp
        mov ebp, esp
        push esi edi                    ;= push esi; push edi
        mov edi, [DWORD PTR ebp + 16]   ;= mov edi, dword ptr [ebp+16]
        mov ecx, 256
        xor eax, eax
        rep stosd
        mov esi, [dword ptr ebp+8]      ;= mov esi, dword ptr [ebp+8]
        mov ecx, [ ebp + 12 ]           ;= mov ecx, [ebp+12]
        mov edi, [ebp+16]
        xor edx, edx                    ; the sum
hg_next:
        movzx eax, [byte ptr esi]       ;= movzx eax, byte ptr [esi]
        inc [dword es: edi + eax*4]     ; through ES, as STOSD cleared them ;= inc dword ptr es:[edi+eax*4]
        add edx, eax
        inc esi
        loop hg_next
        push edx
        fild [dword ptr esp]            ;= fild dword ptr [esp]
        fidiv [DWORD PTR ebp+12]        ;= fidiv dword ptr [ebp+12]
        fistp [dword esp]               ;= fistp dword ptr [esp]
        pop eax
        pop edi esi                     ;= pop edi; pop esi
        pop ebp
        ret
endp    _histogram                      ;=
        masm                            ;=
        end                             ;=
