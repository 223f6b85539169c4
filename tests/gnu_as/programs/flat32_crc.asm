; program 32
; crc32.asm - CRC-32 routines and constant tables for a C program (cdecl, 32-bit flat model):
;   void crc32_init(void);  unsigned crc32(const void *data, unsigned length);
; The table is built at run time into uninitialised data; a few constants ride along for C.
        .386                                    ;=
        .387                                    ;=
        .model flat                             ;=

POLY    equ 0EDB88320h                          ;= .equ POLY, 0xEDB88320

        .const                                  ;= .section .rodata
        public version, scale, ratio, pi_ext, check_in, check_out ;= .globl version, scale, ratio, pi_ext, check_in, check_out
version db 'crc32 1.2 (reflected, "IEEE 802.3")', 0 ;= version: .ascii "crc32 1.2 (reflected, \"IEEE 802.3\")"; .byte 0
scale   dd 0.5, 2.0                             ;= scale: .int 0x3F000000, 0x40000000
ratio   dq 0.75                                 ;= ratio: .quad 0x3FE8000000000000
pi_ext  dt 3.0                                  ;= pi_ext: .quad 0xC000000000000000; .short 0x4000
; the test vector and the CRC it must give
check_in db '123456789'                         ;= check_in: .ascii "123456789"
check_out dd 0CBF43926h                         ;= check_out: .int 0xCBF43926

        .data                                   ;= .data
        public ready                            ;= .globl ready
ready   dd 0                                    ;= ready: .int 0
masks   dd 0FFFFFFFFh, 0,                       ;= masks: .int 0xFFFFFFFF, 0
           not 0                                ;= .int 0xFFFFFFFF

        .data?                                  ;= .bss
        public crc_table                        ;= .globl crc_table
crc_table dd 256 dup (?)                        ;= crc_table: .skip 1024
spare   dq 2 dup (?)                            ;= spare: .skip 16
acc     dt ?                                    ; an x87 extended real ;= acc: .skip 10
accs    dt 2 dup (?)                            ;= accs: .skip 20

        .code                                   ;= .text
        public crc32_init, crc32                ;= .globl crc32_init, crc32
crc32_init proc near                            ;= crc32_init:
        push ebx
        xor ecx, ecx
ci_entry:
        mov eax, ecx
        mov edx, 8
ci_bit: shr eax, 1                              ;= ci_bit: shr eax, 1
        jnc ci_no_poly
        xor eax, POLY
ci_no_poly:
        dec edx
        jnz ci_bit
        mov [crc_table+ecx*4], eax
        inc ecx
        cmp ecx, 256
        jb ci_entry
        mov dword ptr [ready], 1
        pop ebx
        ret
crc32_init endp                                 ;=

crc32   proc                                    ;= crc32:
        push esi
        mov esi, [esp+8]                        ; the data
        mov ecx, [esp+12]                       ; its length
        mov eax, [masks]
        jecxz c_done
c_next: movzx edx, byte ptr [esi]               ;= c_next: movzx edx, byte ptr [esi]
        inc esi
        xor dl, al
        shr eax, 8
        xor eax, [crc_table+edx*4]
        loop c_next
c_done: not eax                                 ;= c_done: not eax
        pop esi
        ret
crc32   endp                                    ;=
        end                                     ;=
