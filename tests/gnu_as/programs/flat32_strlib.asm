; program 32
;----------------------------------------------------------------------------
; STRLIB.ASM - string and memory routines for a 32-bit DOS-extender program,
; called from C (cdecl): str_len, str_upper, mem_find, word_swap, bit_count,
; bit_set, fmt_hex, sym_add, sym_kind.  Symbol records are kept in a table.
;                                                         tasm32 /ml strlib
;----------------------------------------------------------------------------
        .386                            ;=
        .model flat                     ;=
        locals                          ;=

SYM_NAME    equ 12                      ; name length in a record ;= .equ SYM_NAME, 12
MAX_SYMS    equ 64                      ;= .equ MAX_SYMS, 64
SYM_SIZE    equ 24                      ; bytes of a record ;= .equ SYM_SIZE, 24
TAG_CODE    equ 'C'                     ;= .equ TAG_CODE, 0x43
TAG_DATA    equ "D"                     ;= .equ TAG_DATA, 0x44
SIGNATURE   equ 'SY'                    ;= .equ SIGNATURE, 0x5359
CASE_BIT    equ 'a' - 'A'               ;= .equ CASE_BIT, 0x20

symbol  struc                           ;=
s_name  db SYM_NAME dup (0)             ;= .equ s_name, 0
s_tag   db '?'                          ;= .equ s_tag, 12
        db 3 dup (?)                    ; pad to a dword ;=
s_value dd 0                            ;= .equ s_value, 16
s_next  dd 0                            ;= .equ s_next, 20
symbol  ends                            ;=

        .data                           ;= .data
hexdig      db '0123456789ABCDEF'       ;= hexdig: .ascii "0123456789ABCDEF"
kinds       dd offset k_code, offset k_data, offset k_other ;= kinds: .long k_code, k_data, k_other
nsyms       dd 0                        ;= nsyms: .long 0
sig         dw SIGNATURE                ;= sig: .short 0x5359
bitmap      dd 8 dup (0)                ; 256 bits ;= bitmap: .fill 8, 4, 0
first       symbol <, TAG_CODE>         ; the list head ;= first: .fill 12, 1, 0; .byte 0x43; .byte 0,0,0; .long 0, 0
symtab      db MAX_SYMS * SYM_SIZE dup (0) ;= symtab: .fill MAX_SYMS * 24, 1, 0

        .code                           ;= .text
        public _str_len, _str_upper, _mem_find, _word_swap, _bit_count ;= .globl _str_len, _str_upper, _mem_find, _word_swap, _bit_count
        public _bit_set, _fmt_hex, _sym_add, _sym_kind ;= .globl _bit_set, _fmt_hex, _sym_add, _sym_kind

; size_t str_len(const char *s)
_str_len proc near                      ;= _str_len:
        push edi
        mov edi, [esp+8]
        xor eax, eax
        mov ecx, -1
        repne scas byte ptr [edi]       ;= repne scasb
        not ecx
        lea eax, [ecx-1]
        pop edi
        ret
_str_len endp                           ;=

; void str_upper(char *s)
_str_upper proc near                    ;= _str_upper:
        push esi
        push edi
        mov esi, [esp+12]
        mov edi, esi
@@next: lods hexdig                     ; a byte from [esi] ;= .Lupper_next: lodsb
        cmp al, 'a'                     ;= cmp al, 0x61
        jb @@store                      ;= jb .Lupper_store
        cmp al, 'z'                     ;= cmp al, 0x7A
        ja @@store                      ;= ja .Lupper_store
        sub al, CASE_BIT
@@store:                                ;= .Lupper_store:
        stos byte ptr es:[edi]          ;= stosb
        test al, al
        jnz @@next                      ;= jnz .Lupper_next
        pop edi
        pop esi
        ret
_str_upper endp                         ;=

; void *mem_find(const void *p, int c, size_t n)
_mem_find proc near                     ;= _mem_find:
        push edi
        mov edi, [esp+8]
        mov eax, [esp+12]
        mov ecx, [esp+16]
        jecxz @@none                    ;= jecxz .Lfind_none
        repne scasb
        jne @@none                      ;= jne .Lfind_none
        lea eax, [edi-1]
        pop edi
        ret
@@none: xor eax, eax                    ;= .Lfind_none: xor eax, eax
        pop edi
        ret
_mem_find endp                          ;=

; void word_swap(unsigned long *p, size_t n): byte order of each dword
_word_swap proc near                    ;= _word_swap:
        push esi
        push edi
        mov esi, [esp+12]
        mov ecx, [esp+16]
        mov edi, esi
@@one:  lods dword ptr [esi]            ;= .Lswap_one: lodsd
        bswap eax
        stosd
        loop @@one                      ;= loop .Lswap_one
        pop edi
        pop esi
        ret
_word_swap endp                         ;=

; int bit_count(void): bits set in bitmap
_bit_count proc near                    ;= _bit_count:
        push ebx
        xor eax, eax
        xor ecx, ecx
@@bit:  bt bitmap, ecx                  ;= .Lcount_bit: bt dword ptr bitmap, ecx
        adc eax, 0
        inc ecx
        cmp ecx, 256
        jb @@bit                        ;= jb .Lcount_bit
        pop ebx
        ret
_bit_count endp                         ;=

; int bit_set(int n): sets bit n, returns whether it was set
_bit_set proc near                      ;= _bit_set:
        mov ecx, [esp+4]
        and ecx, 0FFh                   ;= and ecx, 0xFF
        bts bitmap, ecx                 ;= bts dword ptr bitmap, ecx
        setc al
        movzx eax, al
        ret
_bit_set endp                           ;=

; void fmt_hex(char *out, unsigned long v): eight digits and a NUL
_fmt_hex proc near                      ;= _fmt_hex:
        push ebx
        push edi
        mov edi, [esp+12]
        mov edx, [esp+16]
        lea ebx, hexdig
        mov ecx, 8
@@digit:                                ;= .Lhex_digit:
        rol edx, 4
        mov al, dl
        and al, 0Fh                     ;= and al, 0x0F
        xlat hexdig                     ;= xlat
        stosb
        loop @@digit                    ;= loop .Lhex_digit
        mov byte ptr [edi], 0
        pop edi
        pop ebx
        ret
_fmt_hex endp                           ;=

; symbol *sym_add(const char *name, int tag, long value)
_sym_add proc near                      ;= _sym_add:
        push esi
        push edi
        push ebx
        mov eax, nsyms
        cmp eax, MAX_SYMS
        jae @@full                      ;= jae .Ladd_full
        imul ebx, eax, SYM_SIZE         ;= imul ebx, eax, 24
        add ebx, offset symtab
        mov esi, [esp+16]
        lea edi, [ebx].s_name           ;= lea edi, [ebx+0]
        mov ecx, SYM_NAME
@@copy: lodsb                           ;= .Ladd_copy: lodsb
        stosb
        test al, al
        loopnz @@copy                   ;= loopnz .Ladd_copy
        mov eax, [esp+20]
        mov [ebx].s_tag, al             ;= mov [ebx+12], al
        mov eax, [esp+24]
        mov [ebx].s_value, eax          ;= mov [ebx+16], eax
        mov eax, offset first
        xchg eax, first.s_next          ;= xchg eax, dword ptr [first+20]
        mov [ebx].s_next, eax           ;= mov [ebx+20], eax
        inc nsyms                       ;= inc dword ptr nsyms
        mov eax, ebx
        jmp @@done                      ;= jmp .Ladd_done
@@full: xor eax, eax                    ;= .Ladd_full: xor eax, eax
@@done: pop ebx                         ;= .Ladd_done: pop ebx
        pop edi
        pop esi
        ret
_sym_add endp                           ;=

; const char *sym_kind(const symbol *s): the name of its kind
_sym_kind proc near                     ;= _sym_kind:
        mov edx, [esp+4]
        xor eax, eax
        cmp [edx].s_tag, TAG_CODE       ;= cmp byte ptr [edx+12], 0x43
        je @@known                      ;= je .Lkind_known
        inc eax
        cmp [edx].s_tag, TAG_DATA       ;= cmp byte ptr [edx+12], 0x44
        je @@known                      ;= je .Lkind_known
        inc eax
@@known:                                ;= .Lkind_known:
        jmp kinds[eax*4]                ;= jmp dword ptr [kinds+eax*4]
k_code: mov eax, offset kind_names      ;= k_code: mov eax, offset kind_names
        ret
k_data: mov eax, offset kind_names[5]   ;= k_data: mov eax, offset kind_names + 5
        ret
k_other:                                ;= k_other:
        lea eax, kind_names+10          ;= lea eax, [kind_names+10]
        ret
_sym_kind endp                          ;=

kind_names  db 'code', 0, 'data', 0, '????', 0 ;= kind_names: .ascii "code"; .byte 0; .ascii "data"; .byte 0; .ascii "????"; .byte 0

        end                             ;=
