; program 32
;----------------------------------------------------------------------------
; RASTER.ASM - fixed-point 3D and raster core of HOVERTANK (Watcom C, DOS4GW)
; 16.16 fixed point, a 320x200 mode 13h back buffer with a 16-bit z-buffer.
;                                                  tasm /ml /m2 raster
;----------------------------------------------------------------------------
        .386                            ;=
        .387                            ;=
        .model flat                     ;=
        locals                          ;=

SCREEN_W    equ 320                     ;= .equ SCREEN_W, 320
SCREEN_H    equ 200                     ;= .equ SCREEN_H, 200
SCREEN_SIZE equ SCREEN_W * SCREEN_H     ;= .equ SCREEN_SIZE, SCREEN_W * SCREEN_H
HALF_W      equ SCREEN_W / 2            ;= .equ HALF_W, SCREEN_W / 2
HALF_H      equ SCREEN_H / 2            ;= .equ HALF_H, SCREEN_H / 2
FIX_SHIFT   equ 16                      ;= .equ FIX_SHIFT, 16
FIX_ONE     equ 1 shl FIX_SHIFT         ;= .equ FIX_ONE, 1 << FIX_SHIFT
MAX_VERTS   equ 16                      ;= .equ MAX_VERTS, 16
DAC_INDEX   equ 3C8h                    ;= .equ DAC_INDEX, 0x3C8
F_WIRE      equ 80h                     ;= .equ F_WIRE, 0x80

vertex      struc                       ;=
x           dd ?                        ; world, then camera space, 16.16 ;= .equ x, 0
y           dd ?                        ;= .equ y, 4
z           dd ?                        ;= .equ z, 8
u           dw ?                        ; screen column after project ;= .equ u, 12
v           dw ?                        ; screen row ;= .equ v, 14
vertex      ends                        ;=

edge        struc                       ;=
e_x         dd ?                        ; 16.16 column ;= .equ e_x, 0
e_step      dd ?                        ;= .equ e_step, 4
e_z         dd ?                        ;= .equ e_z, 8
e_dz        dd ?                        ;= .equ e_dz, 12
e_rows      dw ?                        ;= .equ e_rows, 16
e_top       dw ?                        ;= .equ e_top, 18
edge        ends                        ;=

VERT_BYTES  equ MAX_VERTS * size vertex ; the vertex pool in bytes ;= .equ VERT_BYTES, MAX_VERTS * 16

        extrn _screen:dword             ; the back buffer, set by the C side ;=
        extrn _frame_ready:byte         ;=
        extrn _ticks:dword              ;=
        extrn _printf:near              ;=
        extrn _palptr:dword             ; C's pointer to the palette routine ;=
        extrn _gamma:qword              ;=

        .data                           ;= .data
camera      vertex <0, 0, -256 shl 16, HALF_W, HALF_H> ;= camera: .long 0, 0, -256 << 16; .short HALF_W, HALF_H
fov         dd 1.5                      ;= fov: .float 1.5
angle_step  dq 0.0245436926061702597    ; 2 pi / 256 ;= angle_step: .double 0.0245436926061702597
fix_scale   dd 65536.0                  ;= fix_scale: .float 65536.0
persp_w     dw 160                      ;= persp_w: .short 160
fade_level  dd 64                       ; 0 black .. 64 full ;= fade_level: .long 64
fade_step   dw 2                        ;= fade_step: .short 2
fade_dir    db 0                        ; 0 in, 1 out ;= fade_dir: .byte 0
draw_mode   db 0                        ;= draw_mode: .byte 0
span_col    db 15                       ;= span_col: .byte 15
clipped     db 0                        ;= clipped: .byte 0
poly_count  dd 0                        ;= poly_count: .long 0
clear_count dd SCREEN_SIZE / 4          ;= clear_count: .long SCREEN_SIZE / 4
clear_value dd 0FFFFFFFFh               ;= clear_value: .long 0xFFFFFFFF
min_y       dw 0                        ;= min_y: .short 0
fixacc      dd 0                        ;= fixacc: .long 0
recip_tab   dw 0, 65535, 32768, 21845, 16384, 13107, 10922, 9362 ;= recip_tab: .short 0, 65535, 32768, 21845, 16384, 13107, 10922, 9362
jumptab     dd offset fill_flat, offset fill_wire, ;= jumptab: .long fill_flat, fill_wire
               offset fill_none         ;= .long fill_none
driver      dd 0, 0, offset zspan       ; size, flags, span routine ;= driver: .long 0, 0, zspan
stats_fmt   db '%ld polygons', 10, 0    ;= stats_fmt: .ascii "%ld polygons"; .byte 10, 0
unit_tab    dd 4 dup (1.0)              ;= unit_tab: .float 1.0, 1.0, 1.0, 1.0
half_tab    dq 2 dup (0.5)              ;= half_tab: .double 0.5, 0.5
small_f     dd 2.5E-1, -1.5, 1.0e3      ;= small_f: .float 0.25, -1.5, 1000.0
recip_lo    label byte                  ;= recip_lo:
quad        vertex 2 dup (<1, 2, 3, 4, 5>) ;= quad: .long 1, 2, 3; .short 4, 5; .long 1, 2, 3; .short 4, 5
apex        vertex <FIX_ONE, -FIX_ONE>  ;= apex: .long 0x10000, -0x10000, 0; .short 0, 0
fx_ptr      dd offset fill_wire         ;= fx_ptr: .long fill_wire
big         dq 1234567890123, -1        ;= big: .quad 1234567890123, -1
pal_dwords  label dword                 ;= pal_dwords:
palette     db 768 dup (0)              ;= palette: .fill 768, 1, 0

        .data?                          ;= .bss
sintab      dd 256 dup (?)              ;= sintab: .skip 1024
verts       vertex MAX_VERTS dup (<>)   ;= verts: .skip MAX_VERTS * 16
left_e      edge <>                     ;= left_e: .skip 20
dirty_rows  dd 7 dup (?)                ; one bit a row ;= dirty_rows: .skip 28
work_pal    db 768 dup (?)              ;= work_pal: .skip 768
zbuf        dw SCREEN_SIZE dup (?)      ;= zbuf: .skip SCREEN_SIZE * 2
tmp_i       dd ?                        ;= tmp_i: .skip 4

        .code                           ;= .text
        public _r_init_sin, _r_clear, _r_project, _r_edge ;= .globl _r_init_sin, _r_clear, _r_project, _r_edge
        public _r_fade, _r_fixmul, _r_fixdiv, _r_poly ;= .globl _r_fade, _r_fixmul, _r_fixdiv, _r_poly
        public _r_swap32, _r_stats, _r_misc, sintab, verts ;= .globl _r_swap32, _r_stats, _r_misc, sintab, verts

; void r_init_sin(void): sintab[i] = sin(i * 2pi / 256) in 16.16
_r_init_sin proc                        ;= _r_init_sin:
        xor ecx, ecx
@@next: mov tmp_i, ecx                  ;= .Lsin_next: mov dword ptr tmp_i, ecx
        fild tmp_i                      ;= fild dword ptr tmp_i
        fmul angle_step                 ;= fmul qword ptr angle_step
        fsin
        fmul fix_scale                  ;= fmul dword ptr fix_scale
        fistp sintab[ecx*4]             ;= fistp dword ptr [sintab+ecx*4]
        inc ecx
        cmp ecx, 256
        jb @@next                       ;= jb .Lsin_next
        fld fov                         ;= fld dword ptr fov
        fimul persp_w                   ;= fimul word ptr persp_w
        push eax
        fistp dword ptr [esp]
        pop eax
        mov fixacc, eax                 ;= mov dword ptr fixacc, eax
        ret
_r_init_sin endp                        ;=

; void r_clear(void): the z-buffer to far, the dirty rows to none
_r_clear proc                           ;= _r_clear:
        push edi
        mov edi, offset zbuf
        mov ecx, clear_count            ;= mov ecx, dword ptr clear_count
        mov eax, clear_value            ;= mov eax, dword ptr clear_value
        rep stosd
        mov edi, offset dirty_rows
        mov ecx, size dirty_rows / 4    ;= mov ecx, 7
        xor eax, eax
        rep stosd
        mov poly_count, eax             ;= mov dword ptr poly_count, eax
        mov clipped, al                 ;= mov byte ptr clipped, al
        mov ecx, length verts           ;= mov ecx, MAX_VERTS
        mov edi, offset verts
@@v:    mov [edi].u, ax                 ;= .Lclear_v: mov word ptr [edi+u], ax
        mov [edi].v, 0                  ;= mov word ptr [edi+v], 0
        add edi, type verts             ;= add edi, 16
        loop @@v                        ;= loop .Lclear_v
        pop edi
        ret
_r_clear endp                           ;=

; fixed eax * ebx -> eax
_r_fixmul proc                          ;= _r_fixmul:
        imul ebx
        shrd eax, edx, FIX_SHIFT
        ret
_r_fixmul endp                          ;=

; fixed eax / ebx -> eax
_r_fixdiv proc                          ;= _r_fixdiv:
        mov edx, eax
        sar edx, 16
        shl eax, FIX_SHIFT
        idiv ebx
        ret
_r_fixdiv endp                          ;=

; esi -> vertex: rotate by the angle in eax (0..255) about y, then project
_r_project proc                         ;= _r_project:
        push ebx
        and eax, 0FFh                   ;= and eax, 0xFF
        mov ebx, [sintab+eax*4]         ; sin
        add eax, 64
        and eax, 255
        mov ecx, sintab[eax*4]          ; cos ;= mov ecx, dword ptr [sintab+eax*4]
        mov eax, [esi].x                ;= mov eax, dword ptr [esi+x]
        imul ecx
        shrd eax, edx, 16
        mov fixacc, eax                 ;= mov dword ptr fixacc, eax
        mov eax, [esi+vertex.z]         ;= mov eax, dword ptr [esi+z]
        imul ebx
        shrd fixacc, edx, 16            ;= shrd dword ptr fixacc, edx, 16
        sub eax, camera.z               ;= sub eax, dword ptr [camera+z]
        mov (vertex ptr [esi]).z, eax   ;= mov dword ptr [esi+z], eax
        mov ebx, eax
        sar ebx, 8
        or ebx, ebx
        jle @@behind                    ;= jle .Lproject_behind
        mov eax, (vertex ptr [esi]).x   ;= mov eax, dword ptr [esi+x]
        cdq
        shld edx, eax, 8
        shl eax, 8
        idiv ebx
        add eax, HALF_W
        mov [esi].u, ax                 ;= mov word ptr [esi+u], ax
        mov eax, [esi].y                ;= mov eax, dword ptr [esi+y]
        cdq
        shld edx, eax, 8
        shl eax, 8
        idiv ebx
        neg eax
        add ax, camera.v                ;= add ax, word ptr [camera+v]
        mov [esi+vertex.v], ax          ;= mov word ptr [esi+v], ax
        cmp ax, min_y                   ;= cmp ax, word ptr min_y
        setl clipped                    ;= setl byte ptr clipped
        pop ebx
        ret
@@behind:                               ;= .Lproject_behind:
        mov clipped, 1                  ;= mov byte ptr clipped, 1
        pop ebx
        ret
_r_project endp                         ;=

; esi, edi -> top and bottom vertex: set up left_e
_r_edge proc                            ;= _r_edge:
        push ebx
        mov ebx, offset left_e
        movzx eax, [edi].u              ;= movzx eax, word ptr [edi+u]
        movzx ecx, [esi].u              ;= movzx ecx, word ptr [esi+u]
        sub eax, ecx
        movsx ecx, [edi].v              ;= movsx ecx, word ptr [edi+v]
        movsx edx, (vertex ptr [esi]).v ;= movsx edx, word ptr [esi+v]
        mov [ebx].e_top, dx             ;= mov word ptr [ebx+e_top], dx
        sub ecx, edx
        jle @@flat                      ;= jle .Ledge_flat
        mov [ebx].e_rows, cx            ;= mov word ptr [ebx+e_rows], cx
        cdq
        shld edx, eax, 16
        shl eax, 16
        idiv ecx
        mov [ebx].e_step, eax           ;= mov dword ptr [ebx+e_step], eax
        movzx eax, [esi].u              ;= movzx eax, word ptr [esi+u]
        shl eax, 16
        mov [ebx].e_x, eax              ;= mov dword ptr [ebx+e_x], eax
        mov eax, [edi].z                ;= mov eax, dword ptr [edi+z]
        sub eax, [esi].z                ;= sub eax, dword ptr [esi+z]
        cdq
        idiv ecx
        mov left_e.e_dz, eax            ;= mov dword ptr [left_e+e_dz], eax
        mov eax, [esi].z                ;= mov eax, dword ptr [esi+z]
        mov [ebx+edge.e_z], eax         ;= mov dword ptr [ebx+e_z], eax
        movzx ecx, [ebx].e_top          ;= movzx ecx, word ptr [ebx+e_top]
        bts dirty_rows, ecx             ;= bts dword ptr dirty_rows, ecx
        pop ebx
        ret
@@flat: mov left_e.e_rows, 0            ;= .Ledge_flat: mov word ptr [left_e+e_rows], 0
        pop ebx
        ret
_r_edge endp                            ;=

; edi = screen, ebx = z-buffer, ecx = count, eax = z, edx = dz (16.16)
zspan   proc                            ;= zspan:
        push ebp
        mov ebp, edx
@@pix:  mov edx, eax                    ;= .Lzspan_pix: mov edx, eax
        shr edx, 16
        cmp dx, [ebx]
        jae @@hidden                    ;= jae .Lzspan_hidden
        mov [ebx], dx
        mov dl, span_col                ;= mov dl, byte ptr span_col
        mov [edi], dl
@@hidden:                               ;= .Lzspan_hidden:
        add eax, ebp
        inc edi
        add ebx, 2
        dec ecx
        jnz @@pix                       ;= jnz .Lzspan_pix
        pop ebp
        ret
zspan   endp                            ;=

fill_flat proc                          ;= fill_flat:
        movzx eax, left_e.e_top         ;= movzx eax, word ptr [left_e+e_top]
        bt dirty_rows, eax              ;= bt dword ptr dirty_rows, eax
        jnc @@done                      ;= jnc .Lflat_done
        lea edx, [eax+eax*4]            ; row * 5
        shl edx, 6                      ; row * 320
        mov edi, _screen                ;= mov edi, dword ptr _screen
        add edi, edx
        lea ebx, zbuf[edx*2]            ;= lea ebx, [zbuf+edx*2]
        mov eax, left_e.e_x             ;= mov eax, dword ptr [left_e+e_x]
        sar eax, 16
        add edi, eax
        lea ebx, [ebx+eax*2]
        movzx ecx, left_e.e_rows        ;= movzx ecx, word ptr [left_e+e_rows]
        jecxz @@done                    ;= jecxz .Lflat_done
        mov eax, left_e.e_z             ;= mov eax, dword ptr [left_e+e_z]
        mov edx, left_e.e_dz            ;= mov edx, dword ptr [left_e+e_dz]
        push offset driver
        pop esi
        call dword ptr [esi+8]
        btr dirty_rows, 3               ;= btr dword ptr dirty_rows, 3
@@done: ret                             ;= .Lflat_done: ret
fill_flat endp                          ;=

fill_wire proc                          ;= fill_wire:
        or draw_mode, F_WIRE            ;= or byte ptr draw_mode, F_WIRE
        ret
fill_wire endp                          ;=

fill_none proc                          ;= fill_none:
        ret
fill_none endp                          ;=

; void r_poly(int mode)
_r_poly proc                            ;= _r_poly:
        mov eax, [esp+4]
        inc poly_count                  ;= inc dword ptr poly_count
        inc _ticks                      ;= inc dword ptr _ticks
        cmp draw_mode, 0                ;= cmp byte ptr draw_mode, 0
        jne @@go                        ;= jne .Lpoly_go
        test draw_mode, F_WIRE          ;= test byte ptr draw_mode, F_WIRE
        jnz @@go                        ;= jnz .Lpoly_go
        mov _frame_ready, 1             ;= mov byte ptr _frame_ready, 1
@@go:   push ebx                        ;= .Lpoly_go: push ebx
        push esi
        push edi
        mov ebx, eax
        imul ebx, ebx, size vertex      ;= imul ebx, ebx, 16
        lea esi, verts[ebx]             ;= lea esi, [verts+ebx]
        imul eax, [esi+12], 3
        movzx edx, verts[ebx].u         ;= movzx edx, word ptr [verts+ebx+u]
        add edx, eax
        xchg edx, fixacc                ;= xchg edx, dword ptr fixacc
        mov eax, [esp+16]
        and eax, 3
        cmp eax, 2
        ja @@out                        ;= ja .Lpoly_out
        call jumptab[eax*4]             ;= call dword ptr [jumptab+eax*4]
@@out:  pop edi                         ;= .Lpoly_out: pop edi
        pop esi
        pop ebx
        ret
_r_poly endp                            ;=

; void r_fade(void): one step of the palette fade, then the DAC
_r_fade proc                            ;= _r_fade:
        push esi
        push edi
        movsx ecx, fade_step            ;= movsx ecx, word ptr fade_step
        cmp fade_dir, 0                 ;= cmp byte ptr fade_dir, 0
        je @@up                         ;= je .Lfade_up
        neg ecx
@@up:   add fade_level, ecx             ;= .Lfade_up: add dword ptr fade_level, ecx
        add fade_step, 2                ;= add word ptr fade_step, 2
        mov esi, offset palette
        mov edi, offset work_pal
        mov ecx, size palette           ;= mov ecx, 768
@@col:  movzx eax, byte ptr [esi]       ;= .Lfade_col: movzx eax, byte ptr [esi]
        imul eax, fade_level            ;= imul eax, dword ptr fade_level
        shr eax, 6
        mov [edi], al
        inc esi
        inc edi
        loop @@col                      ;= loop .Lfade_col
        movzx eax, span_col             ;= movzx eax, byte ptr span_col
        mov edx, pal_dwords[eax*4]      ;= mov edx, dword ptr [pal_dwords+eax*4]
        cmp pal_dwords, 0               ;= cmp dword ptr pal_dwords, 0
        mov dx, DAC_INDEX
        xor al, al
        out dx, al
        inc dx
        mov esi, offset work_pal
        mov ecx, 768
        rep outsb
        pop edi
        pop esi
        ret
_r_fade endp                            ;=

        .486                            ; bswap, xadd ;=
COUNTER     equ ecx                     ;=
ZSTEP       equ [ebp-4]                 ;=

; void r_misc(void): odd jobs of the frame loop, through a frame of its own
_r_misc proc                            ;= _r_misc:
        push ebp
        mov ebp, esp
        sub esp, 8
        mov dword ptr ZSTEP, eax        ;= mov dword ptr [ebp-4], eax
        mov eax, ZSTEP                  ;= mov eax, [ebp-4]
        mov COUNTER, 4                  ;= mov ecx, 4
@@dec:  dec COUNTER                     ;= .Lmisc_dec: dec ecx
        jnz @@dec                       ;= jnz .Lmisc_dec
        and eax, not (FIX_ONE - 1)      ;= and eax, ~(FIX_ONE - 1)
        mov eax, -FIX_ONE               ;= mov eax, -0x10000
        imul eax, eax, -SCREEN_W        ;= imul eax, eax, -320
        mov ecx, SCREEN_W shr 2         ;= mov ecx, 80
        shld fixacc, eax, 8             ;= shld dword ptr fixacc, eax, 8
        mov ax, word ptr sintab+2       ;= mov ax, word ptr [sintab+2]
        mov al, byte ptr pal_dwords+3   ;= mov al, byte ptr [pal_dwords+3]
        movzx eax, recip_tab[ecx*2]     ;= movzx eax, word ptr [recip_tab+ecx*2]
        movzx edx, recip_lo[1]          ;= movzx edx, byte ptr [recip_lo+1]
        sar fade_step, cl               ;= sar word ptr fade_step, cl
        push fade_step                  ;= push word ptr fade_step
        pop min_y                       ;= pop word ptr min_y
        inc [esi].u                     ;= inc word ptr [esi+u]
        dec verts[ebx].v                ;= dec word ptr [verts+ebx+v]
        add [ebx].e_x, eax              ;= add dword ptr [ebx+e_x], eax
        sub verts.z, 5                  ;= sub dword ptr [verts+z], 5
        lea edi, verts + size vertex    ; the second vertex ;= lea edi, [verts+16]
        lea eax, camera.v               ;= lea eax, [camera+v]
        mov eax, offset camera.z        ;= mov eax, offset camera+z
        movzx eax, byte ptr camera.u+1  ;= movzx eax, byte ptr [camera+u+1]
        setnz fade_dir                  ;= setne byte ptr fade_dir
        xchg fixacc, eax                ;= xchg dword ptr fixacc, eax
        xchg al, span_col               ;= xchg al, byte ptr span_col
        mov al, palette[esi][ebx]       ;= mov al, byte ptr [palette+esi+ebx]
        mov eax, [ebx*4+sintab]         ;= mov eax, [sintab+ebx*4]
        mov eax, sintab[ebx*4-4]        ;= mov eax, dword ptr [sintab+ebx*4-4]
        bt dirty_rows, 31               ;= bt dword ptr dirty_rows, 31
        btc dirty_rows+4, eax           ;= btc dword ptr [dirty_rows+4], eax
        fild [esi].u                    ;= fild word ptr [esi+u]
        fild camera.z                   ;= fild dword ptr [camera+z]
        fidiv persp_w                   ;= fidiv word ptr persp_w
        fld half_tab+8                  ;= fld qword ptr [half_tab+8]
        fadd unit_tab[4]                ;= fadd dword ptr [unit_tab+4]
        fstp angle_step                 ;= fstp qword ptr angle_step
        fstp st
        mov eax, [4*ecx+esi]            ;= mov eax, [esi+ecx*4]
        lea eax, [2*eax+eax]            ;= lea eax, [eax+eax*2]
        mov ax, word ptr [esi].x+2      ; the whole part ;= mov ax, word ptr [esi+x+2]
        movsx eax, word ptr left_e.e_x+2 ;= movsx eax, word ptr [left_e+e_x+2]
        call fx_ptr                     ;= call dword ptr fx_ptr
call    _palptr                         ; in the first column, as well ;= call dword ptr _palptr
        call _palptr                    ;= call dword ptr _palptr
        fld _gamma                      ;= fld qword ptr _gamma
        fild big                        ;= fild qword ptr big
        fistp big+8                     ;= fistp qword ptr [big+8]
        xadd fixacc, eax                ;= xadd dword ptr fixacc, eax
        jmp dword ptr jumptab[eax*4]    ;= jmp dword ptr [jumptab+eax*4]
        mov esp, ebp
        pop ebp
        ret 4
_r_misc endp                            ;=

; unsigned r_swap32(unsigned): byte order of a big-endian file word
_r_swap32 proc                          ;= _r_swap32:
        mov eax, [esp+4]
        bswap eax
        ret
_r_swap32 endp                          ;=

; void r_misc2(void): the counters and the span driver, by bracketed names
_r_misc2 proc                           ;= _r_misc2:
        inc [ebx+poly_count]            ;= inc dword ptr [ebx+poly_count]
        cmp [sintab+ebx*4], 0           ;= cmp dword ptr [sintab+ebx*4], 0
        mov [pal_dwords+ecx*4], 0       ;= mov dword ptr [pal_dwords+ecx*4], 0
        add [fade_step], 2              ;= add word ptr [fade_step], 2
        inc [ebx+span_col]              ;= inc byte ptr [ebx+span_col]
        mov [esi+vertex.u], 0           ;= mov word ptr [esi+u], 0
        inc [esi+u]                     ;= inc word ptr [esi+u]
        mov [edi][ebx].v, ax            ;= mov word ptr [edi+ebx+v], ax
        add esi, vertex.v               ;= add esi, 14
        mov eax, ds:sintab              ;= mov eax, dword ptr ds:sintab
        mov al, ds:span_col[ebx]        ;= mov al, byte ptr ds:[span_col+ebx]
        mul fade_level                  ;= mul dword ptr fade_level
        idiv poly_count                 ;= idiv dword ptr poly_count
        imul persp_w                    ;= imul word ptr persp_w
        div span_col                    ;= div byte ptr span_col
        call [fx_ptr]                   ;= call dword ptr [fx_ptr]
        call [driver+8]                 ;= call dword ptr [driver+8]
jmp     fx_ptr                          ; through the variable ;= jmp dword ptr fx_ptr
        jmp [jumptab+eax*4]             ;= jmp dword ptr [jumptab+eax*4]
_r_misc2 endp                           ;=

; void r_stats(void)
_r_stats proc                           ;= _r_stats:
        push poly_count                 ;= push dword ptr poly_count
        push offset stats_fmt
        call _printf
        add esp, 8
        fild poly_count                 ;= fild dword ptr poly_count
        fistp dword ptr fixacc
        ret
_r_stats endp                           ;=

        end                             ;=
