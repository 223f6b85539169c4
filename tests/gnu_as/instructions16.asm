; bits 16
; Instructions as Tasm programs write them, in 16-bit code. Each line is also read by GNU As in
; Intel mode: the text after ";=" where Intel-mode GNU As cannot read the Tasm form (values and
; bytes worked out by hand), else the text before ";".
start:  rep movsb
        rep stosw
        rep stosd
        repe cmpsb
        repne scasb
        segcs                           ;= .byte 0x2E
        lodsb
        seges lodsw                     ;= .byte 0x26; lodsw
        SEGSS movsb                     ;= .byte 0x36; movsb
        repz cmpsw
        repnz scasw
        lock inc word ptr [bx]
        lock dec byte ptr [si+2]
; Tasm lays prefixes out in the order written, the instruction's own override after them
        rep segcs movsb                 ;= .byte 0xF3, 0x2E, 0xA4
        segcs rep movsb                 ;= .byte 0x2E, 0xF3, 0xA4
        repne segss scasb               ;= .byte 0xF2, 0x36, 0xAE
        lock seges inc word ptr [bx]    ;= .byte 0xF0, 0x26; inc word ptr [bx]
        rep lock segfs movsb            ;= .byte 0xF3, 0xF0, 0x64, 0xA4
        rep segds                       ;= .byte 0xF3, 0x3E
        lodsb
        rep movs byte ptr es:[di], cs:[si]  ;= .byte 0xF3, 0x2E, 0xA4
        lock inc word ptr es:[bx]       ;= .byte 0xF0; inc word ptr es:[bx]
        segcs mov ax, es:[bx]           ;= .byte 0x2E; mov ax, es:[bx]
rep     movsb                           ;= rep movsb
rep     stosd                           ;= rep stosd
        push ax bx cx                   ;= push ax; push bx; push cx
        pop cx bx ax                    ;= pop cx; pop bx; pop ax
        push ds es                      ;= push ds; push es
        push si, di                     ;= push si; push di
        push word ptr [bx]
        push offset start
mul     cx                              ;= mul cx
movzx   ax, bl                          ;= movzx ax, bl
xchg    ax, bx                          ;= xchg ax, bx
        nop
nop                                     ;= nop
cbw                                     ;= cbw
        pushad                          ;= pushad
        popad                           ;= popad
        pushfd                          ;= pushfd
        popfd                           ;= popfd
        pushf
        popf
        pusha
        popa
        iretd                           ;= iretd
        iret
        cwde
        cdq
        movsd                           ;= movsd
        cmpsd                           ;= cmpsd
        lodsd                           ;= lodsd
        stosd                           ;= stosd
        scasd                           ;= scasd
        insd                            ;= insd
        outsd                           ;= outsd
        jcxz next
        loop next
        loopd next                      ;= loopd next
        loopw next                      ;= loopw next
next:   enter 8, 0
        enter 16, 1
        leave
        bound si, [bx]
        lds si, dword ptr [bx]
        les di, dword ptr [bp+4]
        lds si, [bx]
        lfs ax, dword ptr [bx]
        lgs bx, [si]
        lss sp, dword ptr [bx]
        jmp ax
        call ax
        jmp word ptr [bx]
        call word ptr [bx+2]
        jmp [bx]
        call table[bx]                  ;= call word ptr [bx+table]
        jmp far ptr [bx]                ;= .byte 0xFF, 0x2F
        call far ptr [bx+4]             ;= .byte 0xFF, 0x5F, 4
        jmp near ptr next
        jmp short next
        call near ptr near_proc         ;= call near_proc
near_proc:
        retn                            ;= ret
        retn 2                          ;= ret 2
        retf
        retf 4
        ret
        ret 6
table   dw start, next                  ;= table: .short start, next
