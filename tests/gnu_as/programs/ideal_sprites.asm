; program 32
;----------------------------------------------------------------------------
; SPRITES.ASM - sprite list and 3D camera for SKYRAID (TASM 4.0, IDEAL mode)
; Flat model under DOS4GW, called from Watcom C with stack arguments (cdecl).
; World positions are floats for the x87 projector; the camera shake is
; 16.16 fixed point so it damps the same on a 386SX without a coprocessor.
;----------------------------------------------------------------------------
        IDEAL                           ;=
        P386                            ;=
        P387                            ;=
        MODEL   flat                    ;=
        LOCALS                          ;=

MAXS        equ 64                      ; sprite slots ;= .equ MAXS, 64
SHIFT       equ 16                      ; fixed point: 16.16 ;= .equ SHIFT, 16
SPR_SHIFT   =   5                       ; log2 (size Sprite) ;= .equ SPR_SHIFT, 5
DAMP        =   0E000h                  ; 0.875 in 16.16 ;= .equ DAMP, 0xE000
SCREEN_W    equ 320                     ;= .equ SCREEN_W, 320
SCREEN_H    equ 200                     ;= .equ SCREEN_H, 200

; sprite state bits: visible, solid, draw layer 0-7 (2 = the play field),
; animation frame 0-7
RECORD  SprFlags visible:1, solid:1, layer:3 = 2, anim:3 ;= .equ visible, 7; .equ solid, 6; .equ layer, 3; .equ anim, 0
FLAGBITS    equ width SprFlags          ;= .equ FLAGBITS, 8
NLAYERS     equ 1 shl width layer       ; 8 ;= .equ NLAYERS, 8

STRUC   Vec                             ;=
x       dd ?                            ; 0 ;=
y       dd ?                            ; 4 ;=
z       dd ?                            ; 8 ;=
ENDS    Vec                             ; 12 bytes ;=

STRUC   Sprite                          ;=
pos     Vec <>                          ; 0: world position ;=
vel     Vec <>                          ; 12: world units a frame ;=
flags   SprFlags <>                     ; 24 ;=
        db 3 dup (?)                    ; 25: keeps id on a dword ;=
id      dw ?                            ; 28 ;=
tile    dw ?                            ; 30: first tile of the animation ;=
ENDS    Sprite                          ; 32 bytes ;=

STRUC   Cam                             ;=
zoom    dd 1.0                          ; 0 ;=
pos     Vec <>                          ; 4 ;=
shake   Vec <>                          ; 16: 16.16 fixed point ;=
yaw     dw 0                            ; 28: 0-1023 ;=
scale   dd 256.0                        ; 30 ;=
mode    db 0                            ; 34: 0 fixed, 1 follow ;=
        db ?                            ; 35 ;=
ENDS                                    ; 36 bytes ;=

        GLOBAL  InitSprites:NEAR, AddSprite:NEAR, MoveSprites:NEAR ;= .globl InitSprites, AddSprite, MoveSprites
        GLOBAL  DrawAll:NEAR, UpdateCamera:NEAR, FindSprite:NEAR, Shake:NEAR ;= .globl DrawAll, UpdateCamera, FindSprite, Shake
        GLOBAL  SprCount:DWORD          ;= .globl SprCount
        GLOBAL  DrawTile:NEAR           ; in TILES.C ;= .extern DrawTile
        PUBLIC  Camera, Sprites, Hero, Scale ;= .globl Camera, Sprites, Hero, Scale

        DATASEG                         ;= .data
SprCount    dd 0                        ;= SprCount: .long 0
NextId      dw 1                        ;= NextId: .short 1
HalfH       dw SCREEN_H / 2             ;= HalfH: .short SCREEN_H / 2
Scale       dd 1.2                      ; 320x200 pixels are tall ;= Scale: .float 1.2
FocalLen    dd 256.0                    ;= FocalLen: .float 256.0
HalfW       dd 160.0                    ;= HalfW: .float 160.0
Follow      dd 0.125                    ;= Follow: .float 0.125
Gravity     dd -0.25                    ;= Gravity: .float -0.25
ZNear       dq 16.0                     ;= ZNear: .double 16.0
Huge        dd 1.0e30                   ;= Huge: .float 1.0e30
Kick        dd 0C000h                   ; 0.75 in 16.16 ;= Kick: .long 0xC000
ShakeScale  dd 65536.0                  ;= ShakeScale: .float 65536.0
DrawMask    SprFlags <1, 0>             ; visible, not solid, layer 2 ;= DrawMask: .byte 0x90
Camera      Cam <2.0, <0.0, 40.0, -64.0>, <>, 0, 200.0, 1> ;= Camera: .float 2.0; .float 0.0, 40.0, -64.0; .long 0, 0, 0; .short 0; .float 200.0; .byte 1, 0
SaveCam     Cam <>                      ; where every level starts ;= SaveCam: .float 1.0; .long 0, 0, 0, 0, 0, 0; .short 0; .float 256.0; .byte 0, 0
Template    Sprite <<0.0, 0.0, 64.0>, <0.0, 0.0, -1.0>, <1, 1>> ;= Template: .float 0.0, 0.0, 64.0, 0.0, 0.0, -1.0; .byte 0xD0, 0, 0, 0; .short 0, 0
Hero        Sprite <<160.0, 100.0, 16.0>, , <1, 1, 3>> ;= Hero: .float 160.0, 100.0, 16.0; .long 0, 0, 0; .byte 0xD8, 0, 0, 0; .short 0, 0
Sprites     Sprite MAXS dup (<>)        ;= Sprites: .rept MAXS; .long 0, 0, 0, 0, 0, 0; .byte 0x10, 0, 0, 0; .short 0, 0; .endr
LABEL   SpritesEnd DWORD                ;= SpritesEnd:

        UDATASEG                        ;= .bss
Order       dd MAXS dup (?)             ; sprites to draw, farthest first ;= Order: .skip MAXS * 4
NumShown    dd ?                        ;= NumShown: .skip 4
ShakeX      dw ?                        ;= ShakeX: .skip 2
ShakeY      dw ?                        ;= ShakeY: .skip 2
LayerCnt    dw NLAYERS dup (?)          ;= LayerCnt: .skip NLAYERS * 2

        CODESEG                         ;= .text

;--- void InitSprites(void): the hero in slot 0, the camera at the start
PROC    InitSprites NEAR                ;= InitSprites:
        push esi edi                    ;= push esi; push edi
        mov edi, offset Sprites
        mov ecx, size Sprites / 4       ;= mov ecx, 2048 / 4
        xor eax, eax
        rep stosd
        mov [SprCount], eax             ;= mov dword ptr [SprCount], eax
        mov [NextId], 1                 ;= mov word ptr [NextId], 1
        mov esi, offset Hero
        mov edi, offset Sprites
        mov ecx, size Sprite / 4        ;= mov ecx, 32 / 4
        rep movsd
        mov [Sprites.id], 1             ;= mov word ptr [Sprites+28], 1
        inc [NextId]                    ;= inc word ptr [NextId]
        inc [SprCount]                  ;= inc dword ptr [SprCount]
        mov esi, offset SaveCam
        mov edi, offset Camera
        mov ecx, size Cam / 4           ;= mov ecx, 36 / 4
        rep movsd
        pop edi esi                     ;= pop edi; pop esi
        ret
ENDP    InitSprites                     ;=

;--- int AddSprite(float x, float y, float z): the new id, or -1 when full
PROC    AddSprite NEAR                  ;= AddSprite:
        push ebp
        mov ebp, esp
        push esi edi                    ;= push esi; push edi
        mov eax, [SprCount]             ;= mov eax, dword ptr [SprCount]
        cmp eax, length Sprites         ;= cmp eax, 64
        jae @@full                      ;= jae .LAddSprite_full
        mov edi, eax
        shl edi, SPR_SHIFT
        add edi, offset Sprites
        mov esi, offset Template
        mov ecx, size Sprite / 4        ;= mov ecx, 32 / 4
        rep movsd
        sub edi, size Sprite            ;= sub edi, 32
        mov eax, [ebp+8]
        mov [edi+Sprite.pos.x], eax     ;= mov dword ptr [edi+0], eax
        mov eax, [ebp+12]
        mov [(Sprite PTR edi).pos.y], eax ;= mov dword ptr [edi+4], eax
        mov eax, [ebp+16]
        mov [edi + Sprite.pos.z], eax   ;= mov dword ptr [edi+8], eax
        mov ax, [NextId]                ;= mov ax, word ptr [NextId]
        mov [edi+Sprite.id], ax         ;= mov word ptr [edi+28], ax
        inc [NextId]                    ;= inc word ptr [NextId]
        movzx eax, ax
        inc [SprCount]                  ;= inc dword ptr [SprCount]
        jmp @@done                      ;= jmp .LAddSprite_done
@@full: mov eax, -1                     ;= .LAddSprite_full: mov eax, -1
@@done: pop edi esi                     ;= .LAddSprite_done: pop edi; pop esi
        pop ebp
        ret
ENDP    AddSprite                       ;=

;--- Sprite *FindSprite(int id): 0 when there is none
PROC    FindSprite NEAR                 ;= FindSprite:
        movzx edx, [word esp+4]         ;= movzx edx, word ptr [esp+4]
        mov eax, offset Sprites
        mov ecx, [SprCount]             ;= mov ecx, dword ptr [SprCount]
        jecxz @@none                    ;= jecxz .LFindSprite_none
@@look: cmp [(Sprite PTR eax).id], dx   ;= .LFindSprite_look: cmp word ptr [eax+28], dx
        je @@found                      ;= je .LFindSprite_found
        add eax, size Sprite            ;= add eax, 32
        dec ecx
        jnz @@look                      ;= jnz .LFindSprite_look
@@none: xor eax, eax                    ;= .LFindSprite_none: xor eax, eax
@@found:                                ;= .LFindSprite_found:
        ret
ENDP                                    ;=

;--- void KillSprite(int id): hidden and not solid any more
PROC    KillSprite NEAR                 ;= KillSprite:
        push [dword esp+4]              ;= push dword ptr [esp+4]
        call FindSprite
        add esp, 4
        test eax, eax
        jz @@gone                       ;= jz .LKillSprite_gone
        and [eax+Sprite.flags], not (mask visible or mask solid) ;= and byte ptr [eax+24], ~(0x80 | 0x40)
        mov [(Sprite PTR eax).id], 0    ;= mov word ptr [eax+28], 0
@@gone: ret                             ;= .LKillSprite_gone: ret
ENDP    KillSprite                      ;=

;--- void SetLayer(Sprite *s, int layer) / int GetLayer(Sprite *s)
PROC    SetLayer NEAR                   ;= SetLayer:
        mov edx, [esp+4]
        mov al, [esp+8]
        shl al, layer                   ;= shl al, 3
        and al, mask layer              ;= and al, 0x38
        and [edx+Sprite.flags], not mask layer ;= and byte ptr [edx+24], ~0x38
        or [edx+Sprite.flags], al       ;= or [edx+24], al
        ret
ENDP    SetLayer                        ;=

PROC    GetLayer NEAR                   ;= GetLayer:
        mov edx, [esp+4]
        movzx eax, [edx+Sprite.flags]   ;= movzx eax, byte ptr [edx+24]
        and al, mask layer              ;= and al, 0x38
        shr eax, layer                  ;= shr eax, 3
        ret
ENDP    GetLayer                        ;=

;--- void CountLayers(void): LayerCnt[l] = visible sprites on layer l
PROC    CountLayers NEAR                ;= CountLayers:
        push esi edi                    ;= push esi; push edi
        mov edi, offset LayerCnt
        mov ecx, NLAYERS / 2
        xor eax, eax
        rep stosd
        mov esi, offset Sprites
@@next: cmp esi, offset SpritesEnd     ;= .LCountLayers_next: cmp esi, offset SpritesEnd
        jae @@done                      ;= jae .LCountLayers_done
        mov al, [byte esi+Sprite.flags] ;= mov al, byte ptr [esi+24]
        test al, mask visible           ;= test al, 0x80
        jz @@skip                       ;= jz .LCountLayers_skip
        and eax, mask layer             ;= and eax, 0x38
        shr eax, layer - 1              ; a word index ;= shr eax, 3 - 1
        inc [LayerCnt+eax]              ;= inc word ptr [LayerCnt+eax]
@@skip: add esi, size Sprite            ;= .LCountLayers_skip: add esi, 32
        jmp @@next                      ;= jmp .LCountLayers_next
@@done: pop edi esi                     ;= .LCountLayers_done: pop edi; pop esi
        ret
ENDP    CountLayers                     ;=

;--- void MoveSprites(void): one frame of motion and animation
PROC    MoveSprites NEAR                ;= MoveSprites:
        push esi
        mov esi, offset Sprites
        mov ecx, [SprCount]             ;= mov ecx, dword ptr [SprCount]
        jecxz @@done                    ;= jecxz .LMoveSprites_done
@@next: test [esi+Sprite.flags], mask visible ;= .LMoveSprites_next: test byte ptr [esi+24], 0x80
        jz @@skip                       ;= jz .LMoveSprites_skip
        fld [esi+Sprite.vel.y]          ;= fld dword ptr [esi+16]
        fadd [Gravity]                  ;= fadd dword ptr [Gravity]
        fst [esi+Sprite.vel.y]          ;= fst dword ptr [esi+16]
        fadd [esi+Sprite.pos.y]         ;= fadd dword ptr [esi+4]
        fstp [esi+Sprite.pos.y]         ;= fstp dword ptr [esi+4]
        fld [(Sprite PTR esi).vel.x]    ;= fld dword ptr [esi+12]
        fadd [(Sprite PTR esi).pos.x]   ;= fadd dword ptr [esi+0]
        fstp [(Sprite PTR esi).pos.x]   ;= fstp dword ptr [esi+0]
        fld [esi + Sprite.pos.z]        ;= fld dword ptr [esi+8]
        fadd [esi + Sprite.vel.z]       ;= fadd dword ptr [esi+20]
        fstp [esi + Sprite.pos.z]       ;= fstp dword ptr [esi+8]
        ; next animation frame, wrapping inside the anim field
        mov al, [esi+Sprite.flags]      ;= mov al, [esi+24]
        mov ah, al
        and ah, not mask anim           ;= and ah, ~0x07
        inc al
        and al, mask anim               ;= and al, 0x07
        or al, ah
        mov [esi+Sprite.flags], al      ;= mov [esi+24], al
@@skip: add esi, size Sprite            ;= .LMoveSprites_skip: add esi, 32
        loop @@next                     ;= loop .LMoveSprites_next
@@done: pop esi                         ;= .LMoveSprites_done: pop esi
        ret
ENDP    MoveSprites                     ;=

;--- float VecDist2(Vec *a, Vec *b): squared distance, in st(0)
PROC    VecDist2 NEAR                   ;= VecDist2:
        mov eax, [esp+4]
        mov edx, [esp+8]
        fld [eax+Vec.x]                 ;= fld dword ptr [eax+0]
        fsub [edx+Vec.x]                ;= fsub dword ptr [edx+0]
        fmul st, st                     ;= fmul st, st
        fld [eax+Vec.y]                 ;= fld dword ptr [eax+4]
        fsub [edx+Vec.y]                ;= fsub dword ptr [edx+4]
        fmul st, st                     ;= fmul st, st
        faddp st(1), st                 ;= faddp st(1), st
        fld [(Vec PTR eax).z]           ;= fld dword ptr [eax+8]
        fsub [(Vec PTR edx).z]          ;= fsub dword ptr [edx+8]
        fmul st, st                     ;= fmul st, st
        faddp st(1), st                 ;= faddp st(1), st
        ret
ENDP    VecDist2                        ;=

;--- Sprite *Nearest(void): the sprite nearest the camera
PROC    Nearest NEAR                    ;= Nearest:
        push ebx esi                    ;= push ebx; push esi
        mov esi, offset Sprites
        xor ebx, ebx                    ; best so far
        fld [Huge]                      ; best distance ;= fld dword ptr [Huge]
        mov ecx, [SprCount]             ;= mov ecx, dword ptr [SprCount]
        jecxz @@done                    ;= jecxz .LNearest_done
@@next: push ecx                        ;= .LNearest_next: push ecx
        lea eax, [esi+Sprite.pos]       ;= lea eax, [esi+0]
        push offset Camera.pos          ;= push offset Camera+4
        push eax
        call VecDist2                   ; st = d, st(1) = best
        add esp, 8
        pop ecx
        fcom st(1)                      ;= fcom st(1)
        fstsw ax
        sahf
        jae @@worse                     ;= jae .LNearest_worse
        fstp st(1)                      ;= fstp st(1)
        mov ebx, esi
        jmp @@on                        ;= jmp .LNearest_on
@@worse: fstp st                        ;= .LNearest_worse: fstp st
@@on:   add esi, size Sprite            ;= .LNearest_on: add esi, 32
        loop @@next                     ;= loop .LNearest_next
@@done: fstp st                         ;= .LNearest_done: fstp st
        mov eax, ebx
        pop esi ebx                     ;= pop esi; pop ebx
        ret
ENDP    Nearest                         ;=

;--- void SortByDepth(void): Order[] = the visible sprites, farthest first
PROC    SortByDepth NEAR                ;= SortByDepth:
        push ebx esi edi                ;= push ebx; push esi; push edi
        mov ecx, [SprCount]             ;= mov ecx, dword ptr [SprCount]
        mov esi, offset Sprites
        mov edi, offset Order
        xor edx, edx
        jecxz @@filled                  ;= jecxz .LSortByDepth_filled
@@fill: test [esi+Sprite.flags], mask visible ;= .LSortByDepth_fill: test byte ptr [esi+24], 0x80
        jz @@hidden                     ;= jz .LSortByDepth_hidden
        mov [edi+edx*4], esi
        inc edx
@@hidden:                               ;= .LSortByDepth_hidden:
        add esi, size Sprite            ;= add esi, 32
        loop @@fill                     ;= loop .LSortByDepth_fill
@@filled:                               ;= .LSortByDepth_filled:
        mov [NumShown], edx             ;= mov dword ptr [NumShown], edx
        mov ecx, 1
@@outer: cmp ecx, edx                   ;= .LSortByDepth_outer: cmp ecx, edx
        jae @@sorted                    ;= jae .LSortByDepth_sorted
        mov esi, [Order+ecx*4]          ;= mov esi, dword ptr [Order+ecx*4]
        fld [esi+Sprite.pos.z]          ;= fld dword ptr [esi+8]
        mov ebx, ecx
@@inner: test ebx, ebx                  ;= .LSortByDepth_inner: test ebx, ebx
        jz @@place                      ;= jz .LSortByDepth_place
        mov edi, [Order+ebx*4-4]        ;= mov edi, dword ptr [Order+ebx*4-4]
        fcom [edi+Sprite.pos.z]         ;= fcom dword ptr [edi+8]
        fstsw ax
        sahf
        jbe @@place                     ; not farther: it goes here ;= jbe .LSortByDepth_place
        mov [Order+ebx*4], edi          ;= mov dword ptr [Order+ebx*4], edi
        dec ebx
        jmp @@inner                     ;= jmp .LSortByDepth_inner
@@place: fstp st                        ;= .LSortByDepth_place: fstp st
        mov [Order+ebx*4], esi          ;= mov dword ptr [Order+ebx*4], esi
        inc ecx
        jmp @@outer                     ;= jmp .LSortByDepth_outer
@@sorted:                               ;= .LSortByDepth_sorted:
        pop edi esi ebx                 ;= pop edi; pop esi; pop ebx
        ret
ENDP    SortByDepth                     ;=

;--- int Project(Sprite *s, int xy[2]): 0 when behind the near plane
PROC    Project NEAR                    ;= Project:
        push ebp
        mov ebp, esp
        push esi edi                    ;= push esi; push edi
        mov esi, [ebp+8]
        mov edi, [ebp+12]
        fld [esi+Sprite.pos.z]          ;= fld dword ptr [esi+8]
        fsub [Camera.pos.z]             ;= fsub dword ptr [Camera+12]
        fcom [ZNear]                    ;= fcom qword ptr [ZNear]
        fstsw ax
        sahf
        jb @@behind                     ;= jb .LProject_behind
        fdivr [FocalLen]                ; f = focal / dz ;= fdivr dword ptr [FocalLen]
        fld [esi+Sprite.pos.x]          ;= fld dword ptr [esi+0]
        fsub [Camera.pos.x]             ;= fsub dword ptr [Camera+4]
        fmul st, st(1)                  ;= fmul st, st(1)
        fmul [Scale]                    ;= fmul dword ptr [Scale]
        fadd [HalfW]                    ;= fadd dword ptr [HalfW]
        fistp [dword edi]               ;= fistp dword ptr [edi]
        fld [esi+Sprite.pos.y]          ;= fld dword ptr [esi+4]
        fsubr [Camera.pos.y]            ; up is up ;= fsubr dword ptr [Camera+8]
        fmulp st(1), st                 ;= fmulp st(1), st
        fmul [Camera.zoom]              ;= fmul dword ptr [Camera+0]
        fiadd [HalfH]                   ;= fiadd word ptr [HalfH]
        fistp [dword ptr edi+4]         ;= fistp dword ptr [edi+4]
        mov eax, 1
        jmp @@out                       ;= jmp .LProject_out
@@behind:                               ;= .LProject_behind:
        fstp st(0)                      ;= fstp st(0)
        xor eax, eax
@@out:  pop edi esi                     ;= .LProject_out: pop edi; pop esi
        pop ebp
        ret
ENDP    Project                         ;=

;--- void DrawAll(void): every shown sprite, farthest first
PROC    DrawAll NEAR                    ;= DrawAll:
        push ebp
        mov ebp, esp
        sub esp, 8                      ; int xy[2]
        push ebx esi                    ;= push ebx; push esi
        call SortByDepth
        xor ebx, ebx
@@next: cmp ebx, [NumShown]             ;= .LDrawAll_next: cmp ebx, dword ptr [NumShown]
        jae @@done                      ;= jae .LDrawAll_done
        mov esi, [Order+ebx*4]          ;= mov esi, dword ptr [Order+ebx*4]
        lea eax, [ebp-8]
        push eax
        push esi
        call Project
        add esp, 8
        test eax, eax
        jz @@skip                       ;= jz .LDrawAll_skip
        movsx eax, [esi+Sprite.tile]    ;= movsx eax, word ptr [esi+30]
        movzx ecx, [esi+Sprite.flags]   ;= movzx ecx, byte ptr [esi+24]
        and ecx, mask anim              ;= and ecx, 0x07
        add eax, ecx
        push eax
        push [dword ebp-4]              ;= push dword ptr [ebp-4]
        push [dword ptr ebp-8]          ;= push dword ptr [ebp-8]
        call DrawTile
        add esp, 12
@@skip: inc ebx                         ;= .LDrawAll_skip: inc ebx
        jmp @@next                      ;= jmp .LDrawAll_next
@@done: pop esi ebx                     ;= .LDrawAll_done: pop esi; pop ebx
        mov esp, ebp
        pop ebp
        ret
ENDP    DrawAll                         ;=

;--- void UpdateCamera(void): follow the hero, damp the shake
PROC    UpdateCamera NEAR               ;= UpdateCamera:
        cmp [Camera.mode], 0            ;= cmp byte ptr [Camera+34], 0
        je @@shake                      ;= je .LUpdateCamera_shake
        fld [Hero.pos.x]                ;= fld dword ptr [Hero+0]
        fsub [Camera.pos.x]             ;= fsub dword ptr [Camera+4]
        fmul [Follow]                   ;= fmul dword ptr [Follow]
        fadd [Camera.pos.x]             ;= fadd dword ptr [Camera+4]
        fstp [Camera.pos.x]             ;= fstp dword ptr [Camera+4]
        fld [Hero.pos.y]                ;= fld dword ptr [Hero+4]
        fsub [Camera.pos.y]             ;= fsub dword ptr [Camera+8]
        fmul [Follow]                   ;= fmul dword ptr [Follow]
        fadd [Camera.pos.y]             ;= fadd dword ptr [Camera+8]
        fstp [Camera.pos.y]             ;= fstp dword ptr [Camera+8]
        fld [Camera.zoom]               ;= fld dword ptr [Camera+0]
        fmul [Camera.scale]             ;= fmul dword ptr [Camera+30]
        fdiv [FocalLen]                 ;= fdiv dword ptr [FocalLen]
        fstp [Camera.zoom]              ;= fstp dword ptr [Camera+0]
@@shake:                                ;= .LUpdateCamera_shake:
        ; shake, 16.16 fixed point, damped
        mov eax, [Camera.shake.x]       ;= mov eax, dword ptr [Camera+16]
        imul eax, DAMP                  ;= imul eax, eax, DAMP
        sar eax, SHIFT
        mov [Camera.shake.x], eax       ;= mov dword ptr [Camera+16], eax
        imul eax, [Camera.shake.y], DAMP ;= imul eax, dword ptr [Camera+20], DAMP
        sar eax, SHIFT
        mov [Camera.shake.y], eax       ;= mov dword ptr [Camera+20], eax
        mov eax, [Camera.shake.z]       ;= mov eax, dword ptr [Camera+24]
        imul [Kick]                     ;= imul dword ptr [Kick]
        shrd eax, edx, SHIFT
        mov [Camera.shake.z], eax       ;= mov dword ptr [Camera+24], eax
        ; the screen offset in whole pixels
        mov edx, [Camera.shake.x]       ;= mov edx, dword ptr [Camera+16]
        sar edx, SHIFT
        mov [ShakeX], dx                ;= mov word ptr [ShakeX], dx
        mov eax, [Camera.shake.y]       ;= mov eax, dword ptr [Camera+20]
        sar eax, SHIFT
        mov [ShakeY], ax                ;= mov word ptr [ShakeY], ax
        sar [Camera.shake.z], 1         ;= sar dword ptr [Camera+24], 1
        inc [Camera.yaw]                ;= inc word ptr [Camera+28]
        and [Camera.yaw], 1023          ;= and word ptr [Camera+28], 1023
        ret
ENDP    UpdateCamera                    ;=

;--- void Shake(int xyz[3]): x, y in 16.16, z in pixels
PROC    Shake NEAR                      ;= Shake:
        mov edx, [esp+4]
        mov eax, [dword ptr edx]        ;= mov eax, dword ptr [edx]
        mov [Camera.shake.x], eax       ;= mov dword ptr [Camera+16], eax
        mov eax, [dword edx+4]          ;= mov eax, dword ptr [edx+4]
        mov [Camera.shake.y], eax       ;= mov dword ptr [Camera+20], eax
        fild [dword ptr edx+8]          ;= fild dword ptr [edx+8]
        fmul [ShakeScale]               ;= fmul dword ptr [ShakeScale]
        fistp [Camera.shake.z]          ;= fistp dword ptr [Camera+24]
        lea edi, [Camera.pos]           ;= lea edi, [Camera+4]
        lea eax, [ebx + Sprites.pos.z]  ;= lea eax, [ebx+Sprites+8]
        lea esi, [ebx+Sprite.vel]       ;= lea esi, [ebx+12]
        mov [Hero.flags], 0             ;= mov byte ptr [Hero+24], 0
        mov [Hero.id], 0                ;= mov word ptr [Hero+28], 0
        test [DrawMask], mask solid     ;= test byte ptr [DrawMask], 0x40
        movsx ecx, [Hero.tile]          ;= movsx ecx, word ptr [Hero+30]
        imul ebx, ecx, size Sprite      ;= imul ebx, ecx, 32
        mov eax, [ebx + Sprites.pos.y]  ;= mov eax, dword ptr [ebx+Sprites+4]
        ret
ENDP    Shake                           ;=

        MASM                            ;=
; void SlotInfo(int info[3]): slots, bytes a slot, bytes in all
SlotInfo proc near                      ;= SlotInfo:
        mov edx, [esp+4]
        mov dword ptr [edx], length Sprites ;= mov dword ptr [edx], 64
        mov dword ptr [edx+4], type Sprites ;= mov dword ptr [edx+4], 32
        mov dword ptr [edx+8], size Sprites ;= mov dword ptr [edx+8], 2048
        ret
SlotInfo endp                           ;=
        public SlotInfo                 ;= .globl SlotInfo
        end                             ;=
