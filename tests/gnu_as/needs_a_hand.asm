; bits 16
; Tasm forms that the converter leaves for the user to finish. Each converted line must be
; rejected by GNU As, loudly, rather than assemble to other code.
; Tasm's segment symbols and operators
        mov ax, @data
        mov ax, seg msg
hand_g  group hand_x
        mov ax, hand_g
        push hand_x
; far jumps and calls
        jmp far ptr start
        call far ptr start
; a prefix before a word that is no instruction (cs as a prefix word, a macro's name)
        rep cs movsb
        lock twice
; names with a '?' or an '@', which GNU As reads only in quotes: where they are declared and
; used, and the local labels of a scope such a name opens
?tmp    dw 0
@start: mov ax, ?TMP
        jmp @start
        mov bx, offset ?tmp
        dw @start
        public ?tmp
q?      equ 5
        mov al, q?+1
@@again: loop @@again
; macros
twice   macro x
        endm
; directives with no GNU As equivalent: the location counter, include files, another radix,
; code the directive generates, far data segments
        org 100h
        include globals.inc
        .radix 16
        .startup
        .fardata
; communal variables that are far (in a segment of their own), have a language, a type that is
; no size (a structure's) or a count that is no number
        comm far fbuf:byte:10
        comm c cbuf:word
        comm pbuf:hand_pt
        comm vbuf:byte:hand_g
; a model not known
        model
; procs for which Tasm generates a frame or saves registers
sum     proc near uses ax bx
add2    proc c near arg1:word, arg2:word
; a segment at a fixed address, a segment named by another name, a label without a type
video   segment at 0B800h
        .code other_text
x       label
; data with no GNU As form: an integer or a string in dt, a real in df, an address in df or dp
; (a far pointer), an empty string, a string left open, a string too long for its directive
        dt 5
        dt 'AB'
        df 1.5
        dp offset handler
        db ''
        db 'abc
        dw 'ABCDE'
        dd 'ABCDE'
; a global list cut short
        global a,
; a text macro whose text no operand can hold, nor an equate of a string too long to be a number
name    textequ <mov ax, bx>
greet   equ "Hello"
; an equate of a text in angle brackets that Dravent cannot put in place of each use: empty, left
; open, an instruction, several operands, a string, Tasm's text operators, a size keyword alone
local1  equ <>
local2  equ <[bp-2]
local3  equ <stosb>
local4  equ <[bp-2], 4>
local5  equ <'ab'>
local6  equ <a!>b>
local7  equ <word ptr>
local8  equ <[bp-2>
local9  textequ cx
; a name with a text where Dravent does not put the text in: a directive's arguments, texts that
; name each other without end or would grow an operand past 64 KB (grow9: 4^9 ones); and texts
; that make data values no data can hold
cnt     equ cx
inner   equ <5>
round1  equ <round2>
round2  equ <round1>
grow0   equ <1>
grow1   equ <grow0+grow0+grow0+grow0>
grow2   equ <grow1+grow1+grow1+grow1>
grow3   equ <grow2+grow2+grow2+grow2>
grow4   equ <grow3+grow3+grow3+grow3>
grow5   equ <grow4+grow4+grow4+grow4>
grow6   equ <grow5+grow5+grow5+grow5>
grow7   equ <grow6+grow6+grow6+grow6>
grow8   equ <grow7+grow7+grow7+grow7>
grow9   equ <grow8+grow8+grow8+grow8>
wptr    equ <word ptr [bp+4]>
        if inner
        mov ax, round1
        mov ax, grow9
        dw 3 dup (cnt)
        dw cnt
        dw wptr
; a register where a number belongs: subtracted or a third one in an address, in parentheses, in
; an immediate expression, as a scale (Tasm rejects most; GNU As would read the name as a symbol)
        mov ax, [bx-si]
        mov ax, [-di]
        mov eax, [ebx-ecx*4]
        mov ax, [bx+si+di]
        mov ax, [bx+(si-2)]
        mov ax, [(bx+2)]
        mov ax, bx+2
        mov ax, (bx)
        mov eax, [eax*ebx]
        push offset si
; a procedure's stack frame named by arg (Tasm addresses the names through bp)
        arg count:word, buffer:dword
; conditional assembly on passes, on macro arguments, on what GNU As cannot work out
        if1
        ifb <x>
        ifidn <a>, <b>
        if type buffer eq 2
        elseifdef DEBUG
        elseifb <x>
; the same alone in the first column (MASM sources opened their include of macros with IF1),
; and a word alone there that no table knows: a macro called without arguments
IF1
elseif2
init_all
; checks of the same kinds that stop the assembly
        .err1
        errif2
        .errb <x>
        .errnb <>
        .erridn <a>, <b>
        .errdifi <a>, <b>
; a union instance whose first field has no name or does not fill the union, or that gives two
; values: what Tasm lays out there is not certain (the unnamed fields keep the lines empty)
hand_u  union
        db ?
        dw ?
hand_u  ends
hu      hand_u <1>
hu2     hand_u <1, 2>
; a struc or union nested in a structure, and the structure's instances
hand_s  struc
        db ?
        union
        dw ?
        ends
hand_s  ends
hs      hand_s <>
; a structure with a field that is an instance of itself: its instances
hand_t  struc
        dw ?
        hand_t <>
hand_t  ends
ht      hand_t <>
        hand_t <>
; a record whose field is named like another declared name; its instances with a value too wide
; for its field, one that is no number or constant number, or a missing one without a default
hand_r  record hand_u:3, hr_b:5, hr_c:4 = ?
hr      hand_r <8>
hr2     hand_r <1, LIMIT + 1>
hr3     hand_r <1, 2>
; each use of a name that arg or local gives a stack slot, within its procedure: Tasm reads
; [bp+n], with an n GNU As cannot know (a variable of the same name elsewhere changes nothing)
frames  proc near uses si
        uses di                         ; a uses line of its own
        arg count:word, buffer:dword, @@flag:byte = argsize
        local tmp:word, save:dword = locsize
        local wide:dword,               ; a list that goes on on the next line
              last:word
        mov last, 1
        mov ax, count
        mov count, 1
        les bx, buffer
        inc tmp
        cmp [count], 0
        mov ax, [bx+count]
        mov ax, word ptr buffer+2
        mov al, @@flag
        push tmp
        lea si, save
        call buffer
        sub sp, locsize
        dw count
        ret argsize
; the same in IDEAL mode, and the arguments a proc line names
        ideal
proc    iframe pascal near first:word, second:dword
        local @@tmp:word
        mov ax, [first]
        les bx, [second]
        add [@@tmp], ax
        mov ax, [word second+2]
; ifdef of an @@ label (last: the block it opens never ends)
        ifdef @@later
