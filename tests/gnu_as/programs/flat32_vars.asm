; program 32
;----------------------------------------------------------------------------
; STATS.ASM  -  running statistics for the data logger (TASM32, flat model)
; Called from C (cdecl): stats_reset, stats_add(int), stats_mean, stats_rms,
; stats_tenths, stats_over, stats_replay, stats_log.  Results that are
; volts come back in st(0).      tasm32 /ml stats
;----------------------------------------------------------------------------
        .386                            ;=
        .387                            ;=
        .model flat                     ;=
        locals                          ;=

LIMIT_LOW   equ 100                     ; below: the probe is off ;= .equ LIMIT_LOW, 100
LIMIT_HIGH  equ 4000                    ; above: saturated ;= .equ LIMIT_HIGH, 4000
        extrn _printf:near              ;= .extern _printf

        .data                           ;= .data
fscale      dd 0.0025                   ; volts per count ;= fscale: .float 0.0025
alarm_v     dd 7.5                      ;= alarm_v: .float 7.5
result      dq ?                        ;= result: .quad 0
sumsq       dq 0.0                      ;= sumsq: .double 0.0
count       dd 0                        ;= count: .long 0
total       dd 0                        ;= total: .long 0
counter     dd 0                        ; samples out of range ;= counter: .long 0
peak        dw 0                        ;= peak: .short 0
ten         dw 10                       ;= ten: .short 10
level       db 1                        ; 0 low, 1 in range, 2 high ;= level: .byte 1
alarm       db 0                        ;= alarm: .byte 0
handlers    dd offset on_low, offset on_ok, offset on_high ;= handlers: .long on_low, on_ok, on_high
fmt         db 'stats: %ld samples, total %ld, %ld out of range', 10, 0 ;= fmt: .ascii "stats: %ld samples, total %ld, %ld out of range"; .byte 10, 0

        .code                           ;= .text
        public _stats_reset, _stats_add, _stats_mean, _stats_rms ;= .globl _stats_reset, _stats_add, _stats_mean, _stats_rms
        public _stats_tenths, _stats_over, _stats_replay, _stats_log ;= .globl _stats_tenths, _stats_over, _stats_replay, _stats_log

; void stats_reset(void)
_stats_reset proc                       ;= _stats_reset:
        xor eax, eax
        mov count, eax
        mov total, eax
        mov counter, eax
        mov peak, ax
        mov level, 1                    ;= mov byte ptr level, 1
        mov alarm, al
        fldz
        fst sumsq                       ;= fst qword ptr sumsq
        fstp result                     ;= fstp qword ptr result
        ret
_stats_reset endp                       ;=

; void stats_add(int sample)
_stats_add proc                         ;= _stats_add:
        mov eax, [esp+4]
        add total, eax
        inc count                       ;= inc dword ptr count
        fild dword ptr [esp+4]
        fmul st, st(0)                  ; the square
        fadd sumsq                      ;= fadd qword ptr sumsq
        fstp sumsq                      ;= fstp qword ptr sumsq
        cmp ax, peak
        jle @@level                     ;= jle .Ladd_level
        mov peak, ax
@@level:                                ;= .Ladd_level:
        call classify                   ; edx = level of the sample
        call handlers[edx*4]
        ret
_stats_add endp                         ;=

; eax = sample -> edx = 0, 1 or 2, also kept in level
classify proc                           ;= classify:
        mov edx, 1
        cmp eax, LIMIT_LOW
        jge @@not_low                   ;= jge .Lclassify_not_low
        dec edx
@@not_low:                              ;= .Lclassify_not_low:
        cmp eax, LIMIT_HIGH
        jle @@done                      ;= jle .Lclassify_done
        mov edx, 2
@@done: mov level, dl                   ;= .Lclassify_done: mov level, dl
        ret
classify endp                           ;=

on_low  proc                            ;= on_low:
        inc counter                     ;= inc dword ptr counter
        ret
on_low  endp                            ;=

on_ok   proc                            ;= on_ok:
        mov alarm, 0                    ;= mov byte ptr alarm, 0
        ret
on_ok   endp                            ;=

on_high proc                            ;= on_high:
        inc counter                     ;= inc dword ptr counter
        mov alarm, 1                    ;= mov byte ptr alarm, 1
        ret
on_high endp                            ;=

; void stats_replay(void): the handler of the last sample, once more
_stats_replay proc                      ;= _stats_replay:
        push ebx
        movzx eax, level                ;= movzx eax, byte ptr level
        lea ebx, handlers[eax*4]
        call dword ptr [ebx]            ; near: this is 32-bit code
        pop ebx
        ret
_stats_replay endp                      ;=

; double stats_mean(void): mean sample in volts
_stats_mean proc                        ;= _stats_mean:
        cmp count, 0                    ;= cmp dword ptr count, 0
        je @@empty                      ;= je .Lmean_empty
        fild total                      ;= fild dword ptr total
        fidiv count                     ;= fidiv dword ptr count
        fmul fscale                     ;= fmul dword ptr fscale
        fst result                      ;= fst qword ptr result
        ret
@@empty:                                ;= .Lmean_empty:
        fldz
        ret
_stats_mean endp                        ;=

; double stats_rms(void): root mean square in volts
_stats_rms proc                         ;= _stats_rms:
        cmp count, 0                    ;= cmp dword ptr count, 0
        je @@empty                      ;= je .Lrms_empty
        fld sumsq                       ;= fld qword ptr sumsq
        fild count                      ;= fild dword ptr count
        fdivp st(1), st                 ; sumsq / count
        fsqrt
        fld fscale                      ;= fld dword ptr fscale
        fmulp st(1), st
        fst result                      ;= fst qword ptr result
        ret
@@empty:                                ;= .Lrms_empty:
        fldz
        ret
_stats_rms endp                         ;=

; int stats_tenths(void): the mean in tenths of a volt, rounded
_stats_tenths proc                      ;= _stats_tenths:
        push eax                        ; room for the answer
        call _stats_mean
        fimul ten                       ;= fimul word ptr ten
        fistp dword ptr [esp]
        pop eax
        ret
_stats_tenths endp                      ;=

; int stats_over(void): 1 when the rms is above the alarm level
_stats_over proc                        ;= _stats_over:
        call _stats_rms
        fcomp alarm_v                   ;= fcomp dword ptr alarm_v
        fstsw ax
        sahf
        seta al
        movzx eax, al
        ret
_stats_over endp                        ;=

; void stats_log(void): one line on stdout
_stats_log proc                         ;= _stats_log:
        push counter                    ;= push dword ptr counter
        push total                      ;= push dword ptr total
        push count                      ;= push dword ptr count
        push offset fmt
        call _printf
        add esp, 16
        ret
_stats_log endp                         ;=

        end                             ;=
