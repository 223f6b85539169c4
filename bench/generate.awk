# Writes about `megabytes` MB (or `lines` lines) of Tasm source in the proportions of
# hand-written code: instructions with registers, immediates and memory operands, data lines,
# labels, comments and blank lines. Deterministic: the same file every time. Every line is one
# Tasm reads; only the names repeat (a thousand tables, five thousand labels), so that GNU As
# takes the converted file line by line but not as one program.
# Usage: awk -v megabytes=50 -f generate.awk   or   awk -v lines=3000 -f generate.awk
function pick(list,    n, items) { n = split(list, items, " "); return items[int(rand() * n) + 1] }
# A hexadecimal number as Tasm reads it: a leading 0 when the first digit is a letter (Ah is a register).
function hex(n, width,    digits) { digits = sprintf("%0" width "X", n); return (digits ~ /^[A-F]/ ? "0" : "") digits "h" }
function line(    r, reg16, reg8, reg32, port) {
    reg16 = pick("ax bx cx dx si di bp"); reg8 = pick("al bl cl dl ah bh ch dh")
    reg32 = pick("eax ebx ecx edx esi edi")
    r = rand()
    if (r < 0.14) return "\tmov " reg16 ", " pick("bx cx dx si di ax")
    if (r < 0.22) return "\tmov " reg16 ", [bx+si+" int(rand() * 64) "]\t; load"
    if (r < 0.28) return "\tmov " pick("word byte") " ptr [bp-" int(rand() * 16) * 2 "], " int(rand() * 100)
    if (r < 0.33) return "\tmov " reg32 ", [" pick("ebx esi edi") "+" pick("ecx edx") "*4+" hex(int(rand() * 4096), 1) "]"
    if (r < 0.40) return "\t" pick("add sub and or xor cmp") " " reg8 ", " hex(int(rand() * 256), 2)
    if (r < 0.45) return "\t" pick("inc dec push pop") " " reg16
    if (r < 0.50) return "\t" pick("jz jnz jc jnc jmp") " short L" int(rand() * 5000)
    if (r < 0.54) return "\tcall proc" int(rand() * 300)
    if (r < 0.57) return "\tmov dx, offset msg" int(rand() * 300)
    if (r < 0.60) return "\t" pick("shl shr sar rol") " " reg16 ", " pick("cl 1")
    if (r < 0.62) return "\tint 21h"
    if (r < 0.64) { port = pick("in out"); return "\t" port " " (port == "in" ? pick("al,dx ax,dx al,dx") : pick("dx,al dx,ax dx,al")) }
    if (r < 0.70) return "L" int(rand() * 5000) ":"
    if (r < 0.76) return "tbl" int(rand() * 1000) "\t" pick("db dw dd") " " int(rand() * 256) ", " int(rand() * 256) ", 0" sprintf("%Xh", int(rand() * 256)) ", 1010b"
    if (r < 0.86) return "; " pick("compute save restore check load") " the " pick("buffer pointer counter table result") " for the next step"
    if (r < 0.90) return "\tret"
    return ""
}
BEGIN {
    srand(1)
    if (lines > 0) { for (n = 0; n < lines; n++) print line(); exit }
    limit = megabytes * 1000000
    while (written < limit) { text = line(); print text; written += length(text) + 1 }
}
