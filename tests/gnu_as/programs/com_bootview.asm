; program 16
; BOOTVIEW.COM 1.20 - shows the BIOS parameter block of a floppy's boot sector and can
; save the sector to a file.  (c) 1990, shareware: if you use it, send $5.
; TASM 2.0, MASM mode, tiny model.  usage: BOOTVIEW A: [/S | /W | /H]
        .model tiny                     ;=
        locals                          ;=

CR              equ 0Dh                 ;= .equ CR, 0x0D
LF              equ 0Ah                 ;= .equ LF, 0x0A
SECTOR_SIZE     equ 512                 ;= .equ SECTOR_SIZE, 512
MAX_TRIES       equ 3                   ;= .equ MAX_TRIES, 3
READ_ONE        equ 2 shl 8 or 1        ;= .equ READ_ONE, (2 << 8) | 1
WRITE_ONE       equ READ_ONE + 100h     ;= .equ WRITE_ONE, READ_ONE + 0x100
VERSION         equ 1 shl 8 + 20        ;= .equ VERSION, (1 << 8) + 20
F_ATTR          equ 0 + 1 or 20h        ;= .equ F_ATTR, (0 + 1) | 0x20
BOOT_SIG        equ 0AA55h              ;= .equ BOOT_SIG, 0xAA55
CASE_BIT        equ 'a' - 'A'           ;= .equ CASE_BIT, 'a' - 'A'
TAIL_LEN        equ 80h                 ;= .equ TAIL_LEN, 0x80

; the boot sector as DOS 3.3 writes it: a jump, then the BIOS parameter block
bootsec struc                           ;=
bs_jump         db 3 dup (?)            ;= .equ bs_jump, 0
bpb_oem         db 8 dup (?)            ;= .equ bpb_oem, 3
bpb_bps         dw ?                    ;= .equ bpb_bps, 11
bpb_spc         db ?                    ;= .equ bpb_spc, 13
bpb_res         dw ?                    ;= .equ bpb_res, 14
bpb_fats        db ?                    ;= .equ bpb_fats, 16
bpb_root        dw ?                    ;= .equ bpb_root, 17
bpb_total       dw ?                    ;= .equ bpb_total, 19
bpb_media       db ?                    ;= .equ bpb_media, 21
bpb_fatsz       dw ?                    ;= .equ bpb_fatsz, 22
bpb_spt         dw ?                    ;= .equ bpb_spt, 24
bpb_heads       dw ?                    ;= .equ bpb_heads, 26
bpb_hidden      dd ?                    ;= .equ bpb_hidden, 28
bootsec ends                            ;=

        .code                           ;= .text
; org 100h: linked at 100h instead (ld -Ttext 0x100), which GNU As cannot say
start:  jmp begin

; ---- variables kept in the code segment
drive     db 0                          ;= drive: .byte 0
retries   db MAX_TRIES                  ;= retries: .byte MAX_TRIES
handle    dw -1                         ;= handle: .short -1
count     dw 0                          ;= count: .short 0
ten       dw 10                         ;= ten: .short 10
hexchars  db '0123456789ABCDEF'         ;= hexchars: .ascii "0123456789ABCDEF"
cmd_keys  label byte                    ;= cmd_keys:
          db 'SWHF'                     ;= .ascii "SWHF"
NCMDS     equ $ - cmd_keys              ;= .equ NCMDS, . - cmd_keys
cmd_tab   label word                    ;= cmd_tab:
          dw offset cmd_show, offset cmd_write, ;= .short cmd_show, cmd_write
             offset cmd_help, offset cmd_fix ;= .short cmd_help, cmd_fix
fname     db 'BOOT.BIN', 0              ;= fname: .ascii "BOOT.BIN"; .byte 0
help_z    db 'Drive A: or B: only; it''s a floppy tool.', CR, LF, 0 ;= help_z: .ascii "Drive A: or B: only; it's a floppy tool."; .byte CR, LF, 0

begin:
        mov dx, offset banner
        call print
        mov si, 81h                     ;= mov si, 0x81
        mov cl, ds:[TAIL_LEN]           ;= mov cl, ds:[0x80]
        xor ch, ch
        jcxz @@usage                    ;= jcxz .Lb_usage
        push ds
        pop es
        mov di, si
        mov al, ' '
        repe scasb                      ; skip the blanks
        je @@usage                      ;= je .Lb_usage
        mov al, es:[di-1]               ; the drive letter
        and al, not CASE_BIT            ;= and al, ~CASE_BIT
        sub al, 'A'
        cmp al, 1
        ja @@usage                      ;= ja .Lb_usage
        mov drive, al                   ;= mov byte ptr [drive], al
        mov al, '/'
        repne scasb                     ; a switch?
        jne @@show                      ;= jne .Lb_show
        mov al, es:[di]
        and al, not CASE_BIT            ;= and al, ~CASE_BIT
        mov di, offset cmd_keys
        mov cx, NCMDS
        repne scasb
        jne @@usage                     ;= jne .Lb_usage
        sub di, offset cmd_keys + 1     ; the command's number
        shl di, 1
        mov bx, di
        or bx, bx
        jnz @@not_show                  ;= jnz .Lb_not_show
        call [cmd_tab+bx]               ;= call word ptr [cmd_tab+bx]
        jmp short @@exit                ;= jmp .Lb_exit
@@not_show:                             ;= .Lb_not_show:
        cmp bx, 2
        jne @@help                      ;= jne .Lb_help
        mov ax, offset @@exit           ;= mov ax, offset .Lb_exit
        push ax                         ; W returns to @@exit
        jmp word ptr cs:[bx+cmd_tab]
@@help: call cmd_tab[bx]                ;= .Lb_help: call word ptr [cmd_tab+bx]
        jmp @@exit                      ;= jmp .Lb_exit
@@show: call near ptr cmd_show          ;= .Lb_show: call cmd_show
@@exit: mov ah, 4Ch                     ;= .Lb_exit: mov ah, 0x4C
        mov al, byte ptr count          ;= mov al, byte ptr [count]
        int 21h                         ;= int 0x21
@@usage:                                ;= .Lb_usage:
        mov dx, offset usage
        jmp short fail                  ;= jmp fail

; fail: prints the message at dx, beeps and ends with errorlevel 1
fail:   call print
        mov cx, 3
@@beep: mov dl, 7                       ;= .Lf_beep: mov dl, 7
        mov ah, 2
        int 21h                         ;= int 0x21
        loop @@beep                     ;= loop .Lf_beep
        mov ax, 4C01h                   ;= mov ax, 0x4C01
        int 21h                         ;= int 0x21

; read_boot: sector 0 of the drive into buffer; CF set when the BIOS gave up
read_boot proc near                     ;= read_boot:
        mov retries, MAX_TRIES          ;= mov byte ptr [retries], MAX_TRIES
        cmp drive, 1                    ;= cmp byte ptr [drive], 1
        ja @@fail                       ;= ja .Lr_fail
@@again:                                ;= .Lr_again:
        push cs
        pop es
        mov bx, offset buffer
        mov ax, READ_ONE
        mov cx, 0001h                   ; cylinder 0, sector 1 ;= mov cx, 0x0001
        xor dh, dh
        mov dl, drive                   ;= mov dl, byte ptr [drive]
        int 13h                         ;= int 0x13
        jnc @@ok                        ;= jnc .Lr_ok
        xor ah, ah                      ; reset the controller and try again
        int 13h                         ;= int 0x13
        dec retries                     ;= dec byte ptr [retries]
        jnz @@again                     ;= jnz .Lr_again
@@fail: stc                             ;= .Lr_fail: stc
        ret
@@ok:   clc                             ;= .Lr_ok: clc
        ret
read_boot endp                          ;=

; cmd_show: the /S command
cmd_show proc near                      ;= cmd_show:
        call read_boot
        jnc @@read                      ;= jnc .Ls_read
        mov dx, offset rd_err
        jmp fail
@@read: mov dx, offset t_oem            ;= .Ls_read: mov dx, offset t_oem
        call print
        push ds
        pop es
        mov si, offset buffer.bpb_oem   ;= mov si, offset buffer + bpb_oem
        mov di, offset oem_out
        mov cx, 8
@@copy: movs byte ptr es:[di], byte ptr [si] ;= .Ls_copy: movsb
        loop @@copy                     ;= loop .Ls_copy
        mov dx, offset oem_out
        call print
        lea si, buffer.bpb_oem          ;= lea si, [buffer+bpb_oem]
        mov di, offset ibm_name
        mov cx, IBM_LEN                 ;= mov cx, offset IBM_LEN
        repe cmps byte ptr [si], byte ptr es:[di] ;= repe cmpsb
        jne @@bps                       ;= jne .Ls_bps
        mov dx, offset ibm_msg
        call print
@@bps:  mov dx, offset t_bps            ;= .Ls_bps: mov dx, offset t_bps
        mov ax, buffer.bpb_bps          ;= mov ax, word ptr [buffer+bpb_bps]
        call put_dec
        cmp buffer.bpb_bps, SECTOR_SIZE ;= cmp word ptr [buffer+bpb_bps], SECTOR_SIZE
        je @@std                        ;= je .Ls_std
        mov dx, offset odd_bps
        call print
@@std:  mov bx, offset buffer           ;= .Ls_std: mov bx, offset buffer
        mov dx, offset t_spc
        mov al, [bx].bpb_spc            ;= mov al, [bx+bpb_spc]
        xor ah, ah
        call put_dec
        mov dx, offset t_res
        mov ax, [bx].bpb_res            ;= mov ax, [bx+bpb_res]
        call put_dec
        mov dx, offset t_fats
        mov al, [bx+bpb_fats]
        cbw
        call put_dec
        cmp [bx+bpb_fats], 2            ;= cmp byte ptr [bx+bpb_fats], 2
        je @@fats_ok                    ;= je .Ls_fats_ok
        mov dx, offset one_fat
        call print
@@fats_ok:                              ;= .Ls_fats_ok:
        cmp [bx].bpb_root, 224          ;= cmp word ptr [bx+bpb_root], 224
        jbe @@words                     ;= jbe .Ls_words
        inc count                       ;= inc word ptr [count]
@@words:                                ;= .Ls_words:
        mov si, offset word_fields
@@field:                                ;= .Ls_field:
        lodsw                           ; the text
        mov dx, ax
        lodsw                           ; the field's offset
        mov bx, ax
        mov ax, word ptr buffer[bx]     ;= mov ax, word ptr [buffer+bx]
        call put_dec
        cmp si, offset word_fields_end
        jb @@field                      ;= jb .Ls_field
        mov dx, offset t_media
        call print
        mov al, buffer.bpb_media        ;= mov al, byte ptr [buffer+bpb_media]
        call put_hex8
        cmp buffer.bpb_media, 0F0h      ;= cmp byte ptr [buffer+bpb_media], 0xF0
        jae @@spt                       ;= jae .Ls_spt
        test buffer.bpb_media, 1        ;= test byte ptr [buffer+bpb_media], 1
        jz @@spt                        ;= jz .Ls_spt
        mov dx, offset two_sides
        call print
@@spt:  mov dx, offset t_spt            ;= .Ls_spt: mov dx, offset t_spt
        call print
        mov ax, buffer.bpb_spt          ;= mov ax, word ptr [buffer+bpb_spt]
        aam                             ; two decimal digits
        add ax, '00'                    ;= add ax, 0x3030
        xchg al, ah
        mov word ptr digits, ax         ;= mov word ptr [digits], ax
        mov dx, offset digits
        call print
        mov bx, offset buffer
        mov ax, word ptr [bx].bpb_hidden ;= mov ax, word ptr [bx+bpb_hidden]
        or ax, word ptr [bx].bpb_hidden+2 ;= or ax, word ptr [bx+bpb_hidden+2]
        jz @@size                       ;= jz .Ls_size
        mov dx, offset hidden_msg
        call print
@@size: mov ax, buffer.bpb_total        ;= .Ls_size: mov ax, word ptr [buffer+bpb_total]
        mul buffer.bpb_bps              ;= mul word ptr [buffer+bpb_bps]
        mov cx, 1024
        div cx
        mov dx, offset t_kb
        call put_dec
        cmp bs_sig, BOOT_SIG            ;= cmp word ptr [bs_sig], BOOT_SIG
        je @@signed                     ;= je .Ls_signed
        mov ah, 40h                     ;= mov ah, 0x40
        mov bx, 1                       ; to standard output, by length
        mov cx, NOSIG_LEN               ;= mov cx, offset NOSIG_LEN
        mov dx, offset no_sig
        int 21h                         ;= int 0x21
@@signed:                               ;= .Ls_signed:
        ret
cmd_show endp                           ;=

; cmd_write: the /W command: the sector into BOOT.BIN
cmd_write proc near                     ;= cmd_write:
        call read_boot
        jc @@fail                       ;= jc .Lw_fail
        mov ah, 3Ch                     ;= mov ah, 0x3C
        mov cx, F_ATTR and 0FEh         ;= mov cx, F_ATTR & 0xFE
        mov dx, offset fname
        int 21h                         ;= int 0x21
        jc @@nofile                     ;= jc .Lw_nofile
        mov handle, ax                  ;= mov word ptr [handle], ax
        mov bx, handle                  ;= mov bx, word ptr [handle]
        mov ah, high WRITE_ONE + 3Dh    ;= mov ah, ((WRITE_ONE >> 8) & 0xFF) + 0x3D
        mov cx, SECTOR_SIZE
        mov dx, offset buffer
        int 21h                         ;= int 0x21
        jc @@nofile                     ;= jc .Lw_nofile
        cmp ax, cx
        jne @@nofile                    ;= jne .Lw_nofile
        inc count                       ;= inc word ptr [count]
        xchg bx, handle                 ;= xchg bx, word ptr [handle]
        mov ah, 3Eh                     ;= mov ah, 0x3E
        int 21h                         ;= int 0x21
        mov handle, -1                  ;= mov word ptr [handle], -1
        push count                      ;= push word ptr [count]
        pop ax
        mov dx, offset saved
        call print
        clc
        ret
@@nofile:                               ;= .Lw_nofile:
        mov dx, offset no_file
        call print
@@fail: stc                             ;= .Lw_fail: stc
        ret
cmd_write endp                          ;=

; cmd_fix: the /F command: a 360K BPB over the one read, and the sector written back
cmd_fix proc near                       ;= cmd_fix:
        call read_boot
        jc @@fail                       ;= jc .Lx_fail
        push ds
        pop es
        mov si, offset buffer           ; keep the old sector
        mov di, offset copy_buf
        mov cx, SECTOR_SIZE / 2
        cld
        rep movs word ptr es:[di], word ptr [si] ;= rep movsw
        mov si, offset proto.bpb_bps    ;= mov si, offset proto + bpb_bps
        mov di, offset buffer.bpb_bps   ;= mov di, offset buffer + bpb_bps
        mov cx, size bootsec - bpb_bps  ;= mov cx, 32 - bpb_bps
        rep movsb
        mov word ptr buffer[SECTOR_SIZE - 2], BOOT_SIG ;= mov word ptr [buffer+SECTOR_SIZE-2], BOOT_SIG
        cmp proto.bpb_media, 0FDh       ;= cmp byte ptr [proto+bpb_media], 0xFD
        jne @@fail                      ;= jne .Lx_fail
        mov retries, MAX_TRIES          ;= mov byte ptr [retries], MAX_TRIES
@@again:                                ;= .Lx_again:
        mov ah, high WRITE_ONE          ;= mov ah, (WRITE_ONE >> 8) & 0xFF
        mov al, low WRITE_ONE           ;= mov al, WRITE_ONE & 0xFF
        mov bx, offset buffer
        mov cx, 1
        mov dh, 0
        mov dl, drive                   ;= mov dl, byte ptr [drive]
        int 13h                         ;= int 0x13
        jnc @@done                      ;= jnc .Lx_done
        dec retries                     ;= dec byte ptr [retries]
        jnz @@again                     ;= jnz .Lx_again
@@fail: stc                             ;= .Lx_fail: stc
        ret
@@done: add count, 2                    ;= .Lx_done: add word ptr [count], 2
        mov dx, offset fixed
        call print
        clc
        ret
cmd_fix endp                            ;=

; cmd_help: the /H command; the help text lives in the code segment
cmd_help proc near                      ;= cmd_help:
        mov dx, offset usage
        call print
        mov si, offset help_z
        cld
@@next: lods byte ptr cs:[si]           ;= .Lh_next: lods byte ptr cs:[si]
        or al, al
        jz @@done                       ;= jz .Lh_done
        mov dl, al
        mov ah, 2
        int 21h                         ;= int 0x21
        jmp @@next                      ;= jmp .Lh_next
@@done: mov dx, offset ver_msg          ;= .Lh_done: mov dx, offset ver_msg
        call print
        mov di, offset fname            ; the length of the file name
        push cs
        pop es
        xor al, al
        mov cx, -1
        repne scasb
        not cx
        dec cx
        mov al, cl
        mov dl, cs:drive                ;= mov dl, byte ptr cs:[drive]
        add dl, 'A'
        mov ah, 2
        int 21h                         ;= int 0x21
        ret
cmd_help endp                           ;=

; put_hex8: al as two hex digits and 'h'
put_hex8 proc near                      ;= put_hex8:
        push bx
        push ds
        pop es
        mov di, offset hex_out
        mov bx, offset hexchars
        mov ah, al
        mov cl, 4
        shr al, cl
        xlat hexchars                   ;= xlat
        stosb
        mov al, ah
        and al, 0Fh                     ;= and al, 0x0F
        xlat
        mov es:[di], al
        pop bx
        mov dx, offset hex_out
        jmp short print                 ;= jmp print
put_hex8 endp                           ;=

; put_dec: the text at dx, then ax in decimal, then CR LF
put_dec proc near                       ;= put_dec:
        push ax
        call print
        pop ax
        call print_dec
        mov dx, offset crlf
        call print
        ret
put_dec endp                            ;=

print_dec proc near                     ;= print_dec:
        push bx cx dx                   ;= push bx; push cx; push dx
        xor cx, cx
@@div:  xor dx, dx                      ;= .Ld_div: xor dx, dx
        div ten                         ;= div word ptr [ten]
        push dx
        inc cx
        or ax, ax
        jnz @@div                       ;= jnz .Ld_div
@@out:  pop dx                          ;= .Ld_out: pop dx
        add dl, '0'
        mov ah, 2
        int 21h                         ;= int 0x21
        loop @@out                      ;= loop .Ld_out
        pop dx cx bx                    ;= pop dx; pop cx; pop bx
        ret
print_dec endp                          ;=

print   proc near                       ;= print:
        mov ah, 9
        int 21h                         ;= int 0x21
        ret
print   endp                            ;=

        .data                           ;= .data
banner  db 'BOOTVIEW 1.20 - boot sector viewer.  It''s shareware!', CR, LF, '$' ;= banner: .ascii "BOOTVIEW 1.20 - boot sector viewer.  It's shareware!"; .byte CR, LF; .ascii "$"
usage   db 'usage: BOOTVIEW A:|B: [/S] [/W] [/H]', CR, LF ;= usage: .ascii "usage: BOOTVIEW A:|B: [/S] [/W] [/H]"; .byte CR, LF
        db '  /S  show the BPB (that''s the default)', CR, LF, ;= .ascii "  /S  show the BPB (that's the default)"; .byte CR, LF
           '  /F  make it a 360K disk', CR, LF, ;= .ascii "  /F  make it a 360K disk"; .byte CR, LF
           '  /W  write the sector to "BOOT.BIN"', CR, LF, '$' ;= .ascii "  /W  write the sector to \"BOOT.BIN\""; .byte CR, LF; .ascii "$"
rule    db 2 dup (19 dup ('-'), ' '), CR, LF, '$' ;= rule: .rept 2; .fill 19, 1, '-'; .byte ' '; .endr; .byte CR, LF, '$'
ver_msg db 'v', high VERSION + '0', '.', low VERSION / 10 + '0', low VERSION mod 10 + '0', CR, LF, '$' ;= ver_msg: .byte 'v', ((VERSION >> 8) & 0xFF) + '0', '.', (VERSION & 0xFF) / 10 + '0', (VERSION & 0xFF) % 10 + '0', CR, LF, '$'
t_oem   db 'OEM name:           $'  ;= t_oem: .ascii "OEM name:           $"
oem_out db 8 dup (' '), CR, LF, '$'    ;= oem_out: .fill 8, 1, ' '; .byte CR, LF, '$'
ibm_name db 'IBM  '                     ;= ibm_name: .ascii "IBM  "
IBM_LEN equ $ - ibm_name                ;= .equ IBM_LEN, . - ibm_name
ibm_msg db '(an IBM PC-DOS disk)', CR, LF, '$' ;= ibm_msg: .ascii "(an IBM PC-DOS disk)"; .byte CR, LF, '$'
t_bps   db 'Bytes per sector:   $'      ;= t_bps: .ascii "Bytes per sector:   $"
odd_bps db '  (not 512!)', CR, LF, '$' ;= odd_bps: .ascii "  (not 512!)"; .byte CR, LF, '$'
t_spc   db 'Sectors per cluster: $'     ;= t_spc: .ascii "Sectors per cluster: $"
t_res   db 'Reserved sectors:   $'      ;= t_res: .ascii "Reserved sectors:   $"
t_fats  db 'FAT copies:         $'      ;= t_fats: .ascii "FAT copies:         $"
one_fat db '  (only one FAT; don''t trust it)', CR, LF, '$' ;= one_fat: .ascii "  (only one FAT; don't trust it)"; .byte CR, LF, '$'
t_root  db 'Root entries:       $'      ;= t_root: .ascii "Root entries:       $"
t_total db 'Total sectors:      $'      ;= t_total: .ascii "Total sectors:      $"
t_fatsz db 'Sectors per FAT:    $'      ;= t_fatsz: .ascii "Sectors per FAT:    $"
t_heads db 'Heads:              $'      ;= t_heads: .ascii "Heads:              $"
t_media db 'Media descriptor:   $'      ;= t_media: .ascii "Media descriptor:   $"
two_sides db '  (double sided)', CR, LF, '$' ;= two_sides: .ascii "  (double sided)"; .byte CR, LF, '$'
t_spt   db 'Sectors per track:  $'      ;= t_spt: .ascii "Sectors per track:  $"
t_kb    db 'Disk size in KB:    $'      ;= t_kb: .ascii "Disk size in KB:    $"
hidden_msg db 'Hidden sectors: yes', CR, LF, '$' ;= hidden_msg: .ascii "Hidden sectors: yes"; .byte CR, LF, '$'
digits  db '00', CR, LF, '$'            ;= digits: .ascii "00"; .byte CR, LF, '$'
hex_out db '00h', CR, LF, '$'           ;= hex_out: .ascii "00h"; .byte CR, LF, '$'
crlf    db CR, LF, '$'                  ;= crlf: .byte CR, LF, '$'
no_sig  db 'No 55AAh signature: not a boot sector.', CR, LF ;= no_sig: .ascii "No 55AAh signature: not a boot sector."; .byte CR, LF
NOSIG_LEN equ $ - no_sig                ;= .equ NOSIG_LEN, . - no_sig
rd_err  db 'Can''t read the boot sector.', CR, LF, '$' ;= rd_err: .ascii "Can't read the boot sector."; .byte CR, LF, '$'
no_file db 'Can''t write "BOOT.BIN".', CR, LF, '$' ;= no_file: .ascii "Can't write \"BOOT.BIN\"."; .byte CR, LF, '$'
saved   db 'Saved in BOOT.BIN.', CR, LF, '$' ;= saved: .ascii "Saved in BOOT.BIN."; .byte CR, LF, '$'
fixed   db 'BPB set to 360K; boot sector written.', CR, LF, '$' ;= fixed: .ascii "BPB set to 360K; boot sector written."; .byte CR, LF, '$'
; a 360K disk's BPB, for /F
proto   bootsec <, , 512, 2, 1, 2, 112, 720, 0FDh, 2, 9, 2, 0> ;= proto: .fill 3, 1, 0; .fill 8, 1, 0; .short 512; .byte 2; .short 1; .byte 2; .short 112, 720; .byte 0xFD; .short 2, 9, 2; .int 0
; the word fields, shown by one loop: the text, then the field's offset
word_fields label word                  ;= word_fields:
        dw offset t_root, bpb_root      ;= .short t_root, bpb_root
        dw offset t_total, bpb_total    ;= .short t_total, bpb_total
        dw offset t_fatsz, bpb_fatsz    ;= .short t_fatsz, bpb_fatsz
        dw offset t_heads, bpb_heads    ;= .short t_heads, bpb_heads
word_fields_end label word              ;= word_fields_end:
NFIELDS equ (word_fields_end - word_fields) / 4 ;= .equ NFIELDS, (word_fields_end - word_fields) / 4
        dw NFIELDS, $ - word_fields     ;= .short NFIELDS, . - word_fields

        .data?                          ;= .bss
buffer  label byte                      ;= buffer:
        db SECTOR_SIZE - 2 dup (?)      ;= .skip SECTOR_SIZE - 2
bs_sig  dw ?                            ;= bs_sig: .skip 2
copy_buf db 2 dup (SECTOR_SIZE / 2 dup (?)) ;= copy_buf: .skip 512
        end start                       ;=
