; program 16
; DSKSCAN.EXE 2.1 - surface scan of a floppy: reads every track, retries, maps the bad ones.
; (c) 1992.  TASM 3.1, MASM mode, small model.  usage: DSKSCAN [A|B]
; Build switches: VERSION (10, 20 or 21), DEBUG (0 off, 1 counters, 2 a trace of every read),
; CPU (86, 286 or 386); what depends on them is chosen below and in DISKHW.INC.
VERSION         =  21                   ;= VERSION = 21
DEBUG           =  2                    ;= DEBUG = 2
CPU             =  386                  ;= CPU = 386
        .model small                    ;=
        locals                          ;=
        include DISKHW.INC              ;= __HW_INC = 1; .equ DISK_INT, 0x13; .equ FN_RESET, 0; .equ FN_READ, 2; .equ FN_PARAMS, 8; .equ ERR_NOTFOUND, 4; .equ ERR_DMA, 9; .equ ERR_CRC, 0x10; .equ ERR_TIMEOUT, 0x80; .equ SECTOR, 512

        if CPU ge 386                   ;= .if CPU >= 386
        .386                            ;=
        elseif CPU ge 286               ;= .elseif CPU >= 286
        .286                            ;=
        endif                           ;= .endif
WIDE            =  CPU ge 386           ; 32-bit counters ;= WIDE = CPU >= 386
CR              equ 0Dh                 ;= .equ CR, 0x0D
LF              equ 0Ah                 ;= .equ LF, 0x0A
        if VERSION lt 20                ;= .if VERSION < 20
MAX_CYL         =  40                   ; 360K drives only ;= MAX_CYL = 40
MAX_SPT         =  9                    ;= MAX_SPT = 9
        elseif VERSION eq 20            ;= .elseif VERSION == 20
MAX_CYL         =  80                   ;= MAX_CYL = 80
MAX_SPT         =  18                   ;= MAX_SPT = 18
        else                            ;= .else
MAX_CYL         =  82                   ; 82 cylinders for the formatters that use them ;= MAX_CYL = 82
MAX_SPT         =  21                   ;= MAX_SPT = 21
        endif                           ;= .endif
MAX_HEAD        =  2                    ;= MAX_HEAD = 2
TRACKS          =  MAX_CYL * MAX_HEAD   ;= TRACKS = MAX_CYL * MAX_HEAD
        ifdef __HW_INC                  ;= .ifdef __HW_INC
        if CPU ge 286                   ;= .if CPU >= 286
MAX_RETRY       =  5                    ;= MAX_RETRY = 5
        else                            ;= .else
MAX_RETRY       =  3                    ;= MAX_RETRY = 3
        endif                           ;= .endif
        endif                           ;= .endif
TRACK_BYTES     equ MAX_SPT * SECTOR    ;= .equ TRACK_BYTES, MAX_SPT * SECTOR
MAP_COLS        =  MAX_CYL / 2          ;= MAP_COLS = MAX_CYL / 2

; the pause between retries, in timer ticks: faster machines wait longer
DELAY           =  1                    ;= DELAY = 1
        if CPU ge 286                   ;= .if CPU >= 286
DELAY           =  DELAY + 1            ;= DELAY = DELAY + 1
        if CPU ge 386                   ;= .if CPU >= 386
DELAY           =  DELAY shl 1          ;= DELAY = DELAY << 1
        endif                           ;= .endif
        endif                           ;= .endif

        if DEBUG                        ;= .if DEBUG
        if DEBUG gt 1                   ;= .if DEBUG > 1
TRACE           =  1                    ;= TRACE = 1
        else                            ;= .else
TRACE           =  0                    ;= TRACE = 0
        endif                           ;= .endif
        else                            ;= .else
TRACE           =  0                    ;= TRACE = 0
        endif                           ;= .endif

; what function 8 tells of a drive (version 1 knows 360K drives only)
geometry struc                          ;=
g_cyls          dw ?                    ;= .equ g_cyls, 0
g_heads         db ?                    ;= .equ g_heads, 2
g_spt           db ?                    ;= .equ g_spt, 3
        if VERSION ge 20                ;= .if VERSION >= 20
g_type          db ?                    ;= .equ g_type, 4
g_drives        db ?                    ;= .equ g_drives, 5
        endif                           ;= .endif
geometry ends                           ;=

; the counts of a scan: 32 bits where the CPU has them
        if WIDE                         ;= .if WIDE
scanstat struc                          ;=
s_reads         dd ?                    ;= .equ s_reads, 0
s_errors        dd ?                    ;= .equ s_errors, 4
s_bad           dw ?                    ;= .equ s_bad, 8
scanstat ends                           ;=
        else                            ;= .else
scanstat struc                          ;=
s_reads         dw ?                    ;= .equ s_reads, 0
s_errors        dw ?                    ;= .equ s_errors, 2
s_bad           dw ?                    ;= .equ s_bad, 4
scanstat ends                           ;=
        endif                           ;= .endif

; one byte of the map for each track: bad or not, how many tries, the last error's class
        if VERSION ge 20                ;= .if VERSION >= 20
track   record t_bad:1, t_tries:3, t_head:1, t_err:3 ;= .equ t_bad, 7; .equ t_tries, 4; .equ t_head, 3; .equ t_err, 0
        else                            ;= .else
track   record t_bad:1, t_tries:2, t_err:5 ;= .equ t_bad, 7; .equ t_tries, 5; .equ t_err, 0
        endif                           ;= .endif
ERR_CLASSES     =  mask t_err + 1       ;= .if VERSION >= 20; ERR_CLASSES = 8; .else; ERR_CLASSES = 32; .endif

        .data                           ;= .data
banner  db 'DSKSCAN ', '0' + VERSION / 10, '.', '0' + VERSION mod 10 ;= banner: .ascii "DSKSCAN "; .byte '0' + VERSION / 10, '.', '0' + VERSION % 10
        if DEBUG                        ;= .if DEBUG
        db ' (debug)'                   ;= .ascii " (debug)"
        endif                           ;= .endif
        db CR, LF, '$'                  ;= .byte CR, LF, '$'
no_drive db 'cannot reset the drive', CR, LF, '$' ;= no_drive: .ascii "cannot reset the drive\r\n$"
map_head db CR, LF, 'cyl  0', MAP_COLS - 6 dup (' '), 'cyl ', '0' + MAP_COLS / 10, '0' + MAP_COLS mod 10, CR, LF, '$' ;= map_head: .ascii "\r\ncyl  0"; .fill MAP_COLS - 6, 1, ' '; .ascii "cyl "; .byte '0' + MAP_COLS / 10, '0' + MAP_COLS % 10; .ascii "\r\n$"
summary db CR, LF, 'bad tracks: $'      ;= summary: .ascii "\r\nbad tracks: $"
reads_msg db ', reads: $'               ;= reads_msg: .ascii ", reads: $"
crlf    db CR, LF, '$'                  ;= crlf: .ascii "\r\n$"
marks   db '.', 'c', 'n', 'd', 't', '?', '?', 'x' ; a mark for each error class ;= marks: .ascii ".cndt??x"
drive   db 0                            ;= drive: .byte 0
retries db MAX_RETRY                    ;= retries: .byte MAX_RETRY
tries_max = mask t_tries shr t_tries    ;= tries_max = 0x7F >> t_tries
stats   scanstat <>                     ;= stats: .skip s_bad + 2
        if WIDE                         ;= .if WIDE
total_bytes dd 0                        ;= total_bytes: .long 0
        else                            ;= .else
total_lo dw 0                           ;= total_lo: .short 0
total_hi dw 0                           ;= total_hi: .short 0
        endif                           ;= .endif
        if DEBUG                        ;= .if DEBUG
dbg_calls dw 0                          ; BIOS calls made ;= dbg_calls: .short 0
dbg_worst db 0                          ; most tries on one track ;= dbg_worst: .byte 0
        if TRACE                        ;= .if TRACE
trace_msg db 'h=', '?', ' e=', 2 dup ('?'), CR, LF, '$' ;= trace_msg: .ascii "h=? e=??\r\n$"
TR_HEAD equ 2                           ;= .equ TR_HEAD, 2
TR_ERR  equ 6                           ;= .equ TR_ERR, 6
        endif                           ;= .endif
        endif                           ;= .endif
hexdig  db '0123456789ABCDEF'           ;= hexdig: .ascii "0123456789ABCDEF"

        .data?                          ;= .bss
geom    geometry <>                     ;= geom: .skip 4; .if VERSION >= 20; .skip 2; .endif
map     track TRACKS dup (<>)           ;= map: .skip TRACKS
buffer  db TRACK_BYTES dup (?)          ;= buffer: .skip TRACK_BYTES
digits  db 12 dup (?)                   ;= digits: .skip 12
        .code                           ;= .text
start:  mov bl, ds:[5Ch]                ; the first FCB's drive: 0 none, 1 A:, 2 B: ;= mov bl, byte ptr ds:[0x5C]
        mov ax, ss                      ; DGROUP holds the stack ;= mov ax, ss
        mov ds, ax                      ;= mov ds, ax
        mov es, ax                      ;= mov es, ax
        dec bl                          ;= dec bl
        js @@any                        ;= js .Lstart.any
        mov drive, bl                   ;= mov byte ptr [drive], bl
@@any:  mov dx, offset banner           ;= .Lstart.any: mov dx, offset banner
        call print                      ;= call print
        call reset_drive                ;= call reset_drive
        jnc @@scan                      ;= jnc .Lstart.scan
        mov dx, offset no_drive         ;= mov dx, offset no_drive
        call print                      ;= call print
        mov ax, 4C02h                   ;= mov ax, 0x4C02
        int 21h                         ;= int 0x21
@@scan: call scan_disk                  ;= .Lstart.scan: call scan_disk
        call show_map                   ;= call show_map
        call show_summary               ;= call show_summary
        mov al, byte ptr stats.s_bad    ; the exit code: bad tracks, at most 255 ;= mov al, byte ptr [stats+s_bad]
        mov ah, 4Ch                     ;= mov ah, 0x4C
        int 21h                         ;= int 0x21

; reset_drive: CF set if the drive does not answer
reset_drive proc near                   ;= reset_drive:
        mov ah, FN_RESET                ;= mov ah, FN_RESET
        mov dl, drive                   ;= mov dl, byte ptr [drive]
        int DISK_INT                    ;= int DISK_INT
        jc @@done                       ;= jc .Lreset_drive.done
        if VERSION ge 20                ;= .if VERSION >= 20
        mov ah, FN_PARAMS               ;= mov ah, FN_PARAMS
        mov dl, drive                   ;= mov dl, byte ptr [drive]
        push es                         ;= push es
        int DISK_INT                    ;= int DISK_INT
        pop es                          ;= pop es
        jc @@done                       ;= jc .Lreset_drive.done
        mov geom.g_type, bl             ;= mov byte ptr [geom+g_type], bl
        mov geom.g_drives, dl           ;= mov byte ptr [geom+g_drives], dl
        inc dh                          ;= inc dh
        mov geom.g_heads, dh            ;= mov byte ptr [geom+g_heads], dh
        mov al, cl                      ;= mov al, cl
        and al, 3Fh                     ;= and al, 0x3F
        mov geom.g_spt, al              ;= mov byte ptr [geom+g_spt], al
        mov al, ch                      ;= mov al, ch
        mov ah, cl                      ;= mov ah, cl
        if CPU ge 286                   ;= .if CPU >= 286
        shr ah, 6                       ;= shr ah, 6
        else                            ;= .else
        mov cl, 6                       ;= mov cl, 6
        shr ah, cl                      ;= shr ah, cl
        endif                           ;= .endif
        inc ax                          ;= inc ax
        cmp ax, MAX_CYL                 ;= cmp ax, MAX_CYL
        jbe @@cyls                      ;= jbe .Lreset_drive.cyls
        mov ax, MAX_CYL                 ;= mov ax, MAX_CYL
@@cyls: mov geom.g_cyls, ax             ;= .Lreset_drive.cyls: mov word ptr [geom+g_cyls], ax
        else                            ;= .else
        mov geom.g_cyls, MAX_CYL        ;= mov word ptr [geom+g_cyls], MAX_CYL
        mov geom.g_heads, MAX_HEAD      ;= mov byte ptr [geom+g_heads], MAX_HEAD
        mov geom.g_spt, MAX_SPT         ;= mov byte ptr [geom+g_spt], MAX_SPT
        endif                           ;= .endif
        clc                             ;= clc
@@done: ret                             ;= .Lreset_drive.done: ret
reset_drive endp                        ;=

; scan_disk: every track of every cylinder, each read up to MAX_RETRY times
scan_disk proc near                     ;= scan_disk:
        xor di, di                      ; index into the map ;= xor di, di
        xor ch, ch                      ; cylinder ;= xor ch, ch
@@cyl:  xor dh, dh                      ; head ;= .Lscan_disk.cyl: xor dh, dh
@@head: call read_track                 ; AL = tries, AH = BIOS status ;= .Lscan_disk.head: call read_track
        mov bl, ah                      ;= mov bl, ah
        call classify                   ; BL = error class ;= call classify
        if VERSION ge 20                ;= .if VERSION >= 20
        shl al, t_tries                 ;= shl al, t_tries
        and al, mask t_tries            ;= and al, 0x70
        or al, bl                       ;= or al, bl
        test dh, 1                      ;= test dh, 1
        jz @@even                       ;= jz .Lscan_disk.even
        or al, mask t_head              ;= or al, 0x08
@@even:                                 ;= .Lscan_disk.even:
        else                            ;= .else
        mov cl, t_tries                 ;= mov cl, t_tries
        shl al, cl                      ;= shl al, cl
        or al, bl                       ;= or al, bl
        endif                           ;= .endif
        or ah, ah                       ;= or ah, ah
        jz @@good                       ;= jz .Lscan_disk.good
        or al, mask t_bad               ;= or al, 0x80
        inc stats.s_bad                 ;= inc word ptr [stats+s_bad]
@@good: mov map[di], al                 ;= .Lscan_disk.good: mov byte ptr [map+di], al
        inc di                          ;= inc di
        inc dh                          ;= inc dh
        cmp dh, geom.g_heads            ;= cmp dh, byte ptr [geom+g_heads]
        jb @@head                       ;= jb .Lscan_disk.head
        inc ch                          ;= inc ch
        cmp ch, byte ptr geom.g_cyls    ;= cmp ch, byte ptr [geom+g_cyls]
        jb @@cyl                        ;= jb .Lscan_disk.cyl
        ret                             ;= ret
scan_disk endp                          ;=

; read_track: CH cylinder, DH head; AL = the tries it took, AH = the last status
read_track proc near                    ;= read_track:
        if CPU ge 286                   ;= .if CPU >= 286
        pusha                           ;= pusha
        else                            ;= .else
        push bx                         ;= push bx
        push cx                         ;= push cx
        push dx                         ;= push dx
        endif                           ;= .endif
        xor bl, bl                      ; tries ;= xor bl, bl
@@try:  inc bl                          ;= .Lread_track.try: inc bl
        push bx                         ;= push bx
        mov ah, FN_READ                 ;= mov ah, FN_READ
        mov al, geom.g_spt              ;= mov al, byte ptr [geom+g_spt]
        mov cl, 1                       ;= mov cl, 1
        mov dl, drive                   ;= mov dl, byte ptr [drive]
        mov bx, offset buffer           ;= mov bx, offset buffer
        int DISK_INT                    ;= int DISK_INT
        pop bx                          ;= pop bx
        if DEBUG                        ;= .if DEBUG
        inc dbg_calls                   ;= inc word ptr [dbg_calls]
        if TRACE                        ;= .if TRACE
        call trace_read                 ;= call trace_read
        endif                           ;= .endif
        endif                           ;= .endif
        if WIDE                         ;= .if WIDE
        inc stats.s_reads               ; a dword ;= inc dword ptr [stats+s_reads]
        else                            ;= .else
        inc stats.s_reads               ;= inc word ptr [stats+s_reads]
        endif                           ;= .endif
        jnc @@read                      ;= jnc .Lread_track.read
        if WIDE                         ;= .if WIDE
        add stats.s_errors, 1           ;= add dword ptr [stats+s_errors], 1
        else                            ;= .else
        add stats.s_errors, 1           ;= add word ptr [stats+s_errors], 1
        endif                           ;= .endif
        cmp ah, ERR_TIMEOUT             ; no disk: do not retry ;= cmp ah, ERR_TIMEOUT
        je @@out                        ;= je .Lread_track.out
        push ax                         ;= push ax
        mov ah, FN_RESET                ;= mov ah, FN_RESET
        int DISK_INT                    ;= int DISK_INT
        call pause                      ;= call pause
        pop ax                          ;= pop ax
        cmp bl, retries                 ;= cmp bl, byte ptr [retries]
        jb @@try                        ;= jb .Lread_track.try
        jmp short @@out                 ;= jmp .Lread_track.out
@@read: xor ah, ah                      ;= .Lread_track.read: xor ah, ah
        if WIDE                         ;= .if WIDE
        add total_bytes, TRACK_BYTES    ;= add dword ptr [total_bytes], TRACK_BYTES
        else                            ;= .else
        add total_lo, TRACK_BYTES       ;= add word ptr [total_lo], TRACK_BYTES
        adc total_hi, 0                 ;= adc word ptr [total_hi], 0
        endif                           ;= .endif
@@out:  mov al, bl                      ;= .Lread_track.out: mov al, bl
        cmp al, tries_max               ;= cmp al, tries_max
        jbe @@fits                      ;= jbe .Lread_track.fits
        mov al, tries_max               ;= mov al, tries_max
@@fits:                                 ;= .Lread_track.fits:
        ifdef dbg_worst                 ;= .ifdef dbg_worst
        cmp al, dbg_worst               ;= cmp al, byte ptr [dbg_worst]
        jbe @@seen                      ;= jbe .Lread_track.seen
        mov dbg_worst, al               ;= mov byte ptr [dbg_worst], al
@@seen:                                 ;= .Lread_track.seen:
        endif                           ;= .endif
        if CPU ge 286                   ;= .if CPU >= 286
        mov bp, sp                      ; the pushed AX: the result survives popa ;= mov bp, sp
        mov [bp+14], ax                 ;= mov [bp+14], ax
        popa                            ;= popa
        else                            ;= .else
        pop dx                          ;= pop dx
        pop cx                          ;= pop cx
        pop bx                          ;= pop bx
        endif                           ;= .endif
        ret                             ;= ret
read_track endp                         ;=

; classify: BL = BIOS status in, BL = its class (0 none ... 7 other) out
classify proc near                      ;= classify:
        push si                         ;= push si
        mov si, offset class_tab - 2    ;= mov si, offset class_tab - 2
@@look: add si, 2                       ;= .Lclassify.look: add si, 2
        cmp byte ptr [si], 0FFh         ;= cmp byte ptr [si], 0xFF
        je @@found                      ;= je .Lclassify.found
        cmp bl, [si]                    ;= cmp bl, [si]
        jne @@look                      ;= jne .Lclassify.look
@@found: mov bl, [si+1]                 ;= .Lclassify.found: mov bl, [si+1]
        pop si                          ;= pop si
        ret                             ;= ret
class_tab db 0, 0, ERR_CRC, 1, ERR_NOTFOUND, 2, ERR_DMA, 3, ERR_TIMEOUT, 4, 0FFh, ERR_CLASSES - 1 ;= class_tab: .byte 0, 0, ERR_CRC, 1, ERR_NOTFOUND, 2, ERR_DMA, 3, ERR_TIMEOUT, 4, 0xFF, ERR_CLASSES - 1
classify endp                           ;=

; pause: DELAY timer ticks
pause   proc near                       ;= pause:
        push ax cx dx                   ;= push ax; push cx; push dx
        xor ah, ah                      ;= xor ah, ah
        int 1Ah                         ;= int 0x1A
        mov cx, dx                      ;= mov cx, dx
@@wait: xor ah, ah                      ;= .Lpause.wait: xor ah, ah
        int 1Ah                         ;= int 0x1A
        sub dx, cx                      ;= sub dx, cx
        cmp dx, DELAY                   ;= cmp dx, DELAY
        jb @@wait                       ;= jb .Lpause.wait
        pop dx cx ax                    ;= pop dx; pop cx; pop ax
        ret                             ;= ret
pause   endp                            ;=

        ifdef trace_msg                 ;= .ifdef trace_msg
; trace_read: a line for each BIOS read, the head in DH and the status in AH
trace_read proc near                    ;= trace_read:
        pushf                           ;= pushf
        push ax bx dx                   ;= push ax; push bx; push dx
        mov bl, ah                      ;= mov bl, ah
        if CPU ge 286                   ;= .if CPU >= 286
        shr bl, 4                       ;= shr bl, 4
        else                            ;= .else
        shr bl, 1                       ;= shr bl, 1
        shr bl, 1                       ;= shr bl, 1
        shr bl, 1                       ;= shr bl, 1
        shr bl, 1                       ;= shr bl, 1
        endif                           ;= .endif
        and bx, 0Fh                     ;= and bx, 0x0F
        mov al, hexdig[bx]              ;= mov al, byte ptr [hexdig+bx]
        mov trace_msg[TR_ERR], al       ;= mov byte ptr [trace_msg+TR_ERR], al
        mov bl, ah                      ;= mov bl, ah
        and bx, 0Fh                     ;= and bx, 0x0F
        mov al, hexdig[bx]              ;= mov al, byte ptr [hexdig+bx]
        mov trace_msg[TR_ERR+1], al     ;= mov byte ptr [trace_msg+TR_ERR+1], al
        add dh, '0'                     ;= add dh, '0'
        mov trace_msg[TR_HEAD], dh      ;= mov byte ptr [trace_msg+TR_HEAD], dh
        mov dx, offset trace_msg        ;= mov dx, offset trace_msg
        call print                      ;= call print
        pop dx bx ax                    ;= pop dx; pop bx; pop ax
        popf                            ;= popf
        ret                             ;= ret
trace_read endp                         ;=
        endif                           ;= .endif

; show_map: a line of marks for each head, a mark for each cylinder
show_map proc near                      ;= show_map:
        mov dx, offset map_head         ;= mov dx, offset map_head
        call print                      ;= call print
        xor dh, dh                      ;= xor dh, dh
@@line: xor si, si                      ;= .Lshow_map.line: xor si, si
        mov cx, geom.g_cyls             ;= mov cx, word ptr [geom+g_cyls]
@@mark: mov bl, dh                      ;= .Lshow_map.mark: mov bl, dh
        xor bh, bh                      ;= xor bh, bh
        mov al, map[bx+si]              ;= mov al, byte ptr [map+bx+si]
        and al, mask t_err              ;= and al, ERR_CLASSES - 1
        mov bl, al                      ;= mov bl, al
        mov dl, marks[bx]               ;= mov dl, byte ptr [marks+bx]
        push dx                         ;= push dx
        mov ah, 2                       ;= mov ah, 2
        int 21h                         ;= int 0x21
        pop dx                          ;= pop dx
        add si, MAX_HEAD                ;= add si, MAX_HEAD
        loop @@mark                     ;= loop .Lshow_map.mark
        push dx                         ;= push dx
        mov dx, offset crlf             ;= mov dx, offset crlf
        call print                      ;= call print
        pop dx                          ;= pop dx
        inc dh                          ;= inc dh
        cmp dh, geom.g_heads            ;= cmp dh, byte ptr [geom+g_heads]
        jb @@line                       ;= jb .Lshow_map.line
        ret                             ;= ret
show_map endp                           ;=

; show_summary: the count of bad tracks and of reads
show_summary proc near                  ;= show_summary:
        mov dx, offset summary          ;= mov dx, offset summary
        call print                      ;= call print
        if WIDE                         ;= .if WIDE
        movzx eax, stats.s_bad          ;= movzx eax, word ptr [stats+s_bad]
        else                            ;= .else
        mov ax, stats.s_bad             ;= mov ax, word ptr [stats+s_bad]
        endif                           ;= .endif
        call put_dec                    ;= call put_dec
        mov dx, offset reads_msg        ;= mov dx, offset reads_msg
        call print                      ;= call print
        if WIDE                         ;= .if WIDE
        mov eax, stats.s_reads          ;= mov eax, dword ptr [stats+s_reads]
        else                            ;= .else
        mov ax, stats.s_reads           ;= mov ax, word ptr [stats+s_reads]
        endif                           ;= .endif
        call put_dec                    ;= call put_dec
        mov dx, offset crlf             ;= mov dx, offset crlf
        jmp print                       ;= jmp print
show_summary endp                       ;=
; put_dec: (E)AX in decimal
put_dec proc near                       ;= put_dec:
        mov di, offset digits + 11         ;= mov di, offset digits + 11
        mov byte ptr [di], '$'          ;= mov byte ptr [di], '$'
        if WIDE                         ;= .if WIDE
        mov ebx, 10                     ;= mov ebx, 10
@@digit: xor edx, edx                   ;= .Lput_dec.digit: xor edx, edx
        div ebx                         ;= div ebx
        else                            ;= .else
        mov bx, 10                      ;= mov bx, 10
@@digit: xor dx, dx                     ;= .Lput_dec.digit: xor dx, dx
        div bx                          ;= div bx
        endif                           ;= .endif
        add dl, '0'                     ;= add dl, '0'
        dec di                          ;= dec di
        mov [di], dl                    ;= mov [di], dl
        if WIDE                         ;= .if WIDE
        test eax, eax                   ;= test eax, eax
        else                            ;= .else
        test ax, ax                     ;= test ax, ax
        endif                           ;= .endif
        jnz @@digit                     ;= jnz .Lput_dec.digit
        mov dx, di                      ;= mov dx, di
print:  mov ah, 9                       ;= print: mov ah, 9
        int 21h                         ;= int 0x21
        ret                             ;= ret
put_dec endp                            ;=
        .stack 200h                     ;=
        end start                       ;=
