; bits 32
; x87 instructions as Tasm writes them, in 32-bit code. Each line is also read by GNU As in Intel
; mode: the text after ";=" where Intel-mode GNU As cannot read the Tasm form, else the text before
; ";". GNU As in Intel mode gives the Intel meaning of fsub, fsubr, fdiv and fdivr.
        fld dword ptr [ebx]
        fld qword ptr [ebx]
        fld tbyte ptr [ebx]
        fst dword ptr [ebx+4]
        fstp qword ptr [esi]
        fstp tbyte ptr [esi]
        fadd dword ptr [ebx]
        fsub qword ptr [ebx]
        fsubr dword ptr [ebx]
        fmul qword ptr [ebx]
        fdiv dword ptr [ebx]
        fdivr qword ptr [ebx]
        fcom dword ptr [ebx]
        fcomp qword ptr [ebx]
        fild word ptr [ebx]
        fild dword ptr [ebx]
        fild qword ptr [ebx]
        fist word ptr [ebx]
        fistp dword ptr [ebx]
        fistp qword ptr [ebx]
        fiadd word ptr [ebx]
        fisub dword ptr [ebx]
        fimul word ptr [ebx]
        fidiv dword ptr [ebx]
        fidivr word ptr [ebx]
        ficom word ptr [ebx]
        ficomp dword ptr [ebx]
        fbld tbyte ptr [ebx]
        fbstp tbyte ptr [ebx]
        fldcw word ptr [ebx]
        fstcw word ptr [ebx]
        fnstcw word ptr [ebx]
        fstsw word ptr [ebx]
        fstsw ax
        fnstsw ax
        fldenv [ebx]
        fsave [ebx]
        frstor [ebx]
        fld st
        fld st(1)
        fst st(2)
        fstp st(3)
        fxch st(1)
        fxch
        fadd st, st(1)
        fadd st(2), st
        fmul st(1), st
        fsub st, st(2)
        fsub st(2), st
        fsubr st, st(1)
        fsubr st(1), st
        fdiv st, st(3)
        fdiv st(3), st
        fdivr st, st(1)
        fdivr st(1), st
        faddp st(1), st
        fmulp st(2), st
        fsubp st(1), st
        fsubrp st(1), st
        fdivp st(1), st
        fdivrp st(1), st
        fsubp
        fsubrp
        fdivp
        fdivrp
        faddp
        fmulp
        fadd                            ;= faddp
        fmul                            ;= fmulp
        fsub                            ;= fsubp
        fsubr                           ;= fsubrp
        fdiv                            ;= fdivp
        fdivr                           ;= fdivrp
        fsub st(2)                      ;= fsub st, st(2)
        fcom st(1)
        fcomp
        fcompp
        fucom st(2)
        ffree st(7)
        fld ST(0)                       ;= fld st(0)
        fxch st( 4 )                    ;= fxch st(4)
        fldz
        fld1
        fldpi
        fchs
        fabs
        fsqrt
        fsin
        fcos
        fptan
        fpatan
        fscale
        frndint
        fprem
        fxam
        ftst
        finit
        fninit
        fclex
        fwait
        sahf
        enter 12, 0
        pushad
        popad
        pushfd
        popfd
        rep stosd
        movzx eax, byte ptr [esi]
        call eax
        call fword ptr [ebx]            ;= .byte 0xFF, 0x1B
        jmp fword ptr [ebx+8]           ;= .byte 0xFF, 0x6B, 8
