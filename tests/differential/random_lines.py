#!/usr/bin/env python3
"""Random Tasm-like lines for the differential check (compare_with_0.8.2.sh).

Writes raw bytes to standard output: lines made to stress the line splitter, the operand
tokenizer and every operand and statement path of the converter. Mostly plausible Tasm
(instructions, labels, directives, data, memory references of every shape, numbers with and
without radix suffixes, quotes, comments) written with odd spacing and odd case, mixed with
broken and hostile text: unbalanced quotes and brackets, separators in odd places, CR before
LF and inside lines, NUL and other control bytes, bytes from 0x80 up, lines of 100 KB and
more, lines with hundreds of operands, and pure garbage. Odd seeds end the file without a
line feed. The same seed always gives the same bytes (standard library only).

Usage: random_lines.py --seed N (--megabytes M | --lines N) > file.asm
"""

import argparse
import random
import sys

# ---- vocabulary ------------------------------------------------------------------------------

REG8 = "al ah bl bh cl ch dl dh".split()
REG16 = "ax bx cx dx si di bp sp".split()
REG32 = "eax ebx ecx edx esi edi ebp esp".split()
SEGMENT = "cs ds es fs gs ss".split()
SPECIAL = "cr0 cr1 cr2 cr3 cr4 dr0 dr1 dr2 dr3 dr4 dr5 dr6 dr7 tr6 tr7".split()
NOT_QUITE_REGISTERS = "cr5 cr8 dr8 tr5 tr8 axx eaxx e ax0 ahh r8 st st0 xmm0 ip eip flags".split()
BASE16 = "bx bp si di".split()
BASE32 = REG32

PLAIN = ("mov add sub and or xor cmp test adc sbb xchg inc dec neg not push pop mul imul div idiv "
         "int ret retf nop hlt cli sti cld std clc stc cmc lodsb lodsw stosb stosw movsb movsw "
         "scasb cmpsb rep repe repne lock pusha popa pushf popf iret enter leave bound bt bts btr "
         "bsf bsr setz xlat aaa daa das into arpl lar lsl sgdt lgdt").split()
RENAMED = ("cbw cwd cwde cdq movzx movsx stosd lodsd movsd scasd cmpsd insd outsd "
           "align codeseg dataseg public db dw dd dq dt ddq do").split()
FLAGGED = ("in out rol ror rcl rcr sal sar shl shr shld shrd lea les lds lfs lgs lss call loop "
           "loope loopne loopnz loopz jmp jz jnz je jne jc jnc ja jb jcxz jecxz js jo jfoo j").split()
DIRECTIVES = "equ = textequ model ideal end p386 stack extrn dosseg".split()
# Names next to the vocabulary: one letter more or less, 7 and 8 characters, near a table edge.
NEAR_NAMES = ("codesegs dataseg_ textequs udataseg fnstenv nolocals movzxx movz movs cbtw cwdee "
              "stosdd dbb dww d equu eq textequal p3866 p38 dossegs modelx ideals ends extrns "
              "stacks publics aligns a aaaaaaa aaaaaaaa zzzzzzz zzzzzzzz offsets shorts ptrs "
              "bytes words dwords qwords loopnzz calls lea_ in_ out_ ins outs").split()
SIZE = "byte word dword qword tbyte fword near far".split()
DATA = "db dw dd dq dt ddq do".split()
OPERATOR_WORDS = "offset short ptr seg type size length near far large small not and or shl shr mod".split()

# Case changes touch A-Z and a-z only, as Tasm does; other bytes stay as they are.
TO_UPPER = str.maketrans("abcdefghijklmnopqrstuvwxyz", "ABCDEFGHIJKLMNOPQRSTUVWXYZ")
TO_LOWER = str.maketrans("ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz")

NAME_START = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_@?$."
NAME_REST = NAME_START + "0123456789"


class Lines:
    def __init__(self, seed):
        self.r = random.Random(seed)

    # ---- small pieces ------------------------------------------------------------------------

    def chance(self, p):
        return self.r.random() < p

    def pick(self, items):
        return self.r.choice(items)

    def case(self, word):
        """A word in lower, upper, capitalised or mixed case."""
        x = self.r.random()
        if x < 0.6:
            return word
        if x < 0.75:
            return word.translate(TO_UPPER)
        if x < 0.85:
            return word[:1].translate(TO_UPPER) + word[1:].translate(TO_LOWER)
        return "".join(c.translate(TO_UPPER) if self.r.random() < 0.5 else c for c in word)

    def blank(self):
        """Space between tokens: mostly one blank or a tab, sometimes runs or other white space."""
        x = self.r.random()
        if x < 0.45:
            return " "
        if x < 0.75:
            return "\t"
        if x < 0.90:
            return self.pick(["  ", "\t\t", " \t", "\t ", "   \t  ", " " * self.r.randint(3, 30)])
        if x < 0.96:
            return self.pick(["\v", "\f", " \v", "\f\t", "\r ", " \r"])
        return ""

    def spaces(self):
        """Blanks around commas, brackets and operators: mostly none."""
        x = self.r.random()
        if x < 0.7:
            return ""
        if x < 0.9:
            return " "
        return self.pick(["\t", "  ", " \t ", "\v", "\f"])

    def name(self):
        x = self.r.random()
        if x < 0.08:
            return self.case(self.pick(NEAR_NAMES))
        if x < 0.14:
            # a name with digits in it, that a radix pass must leave alone
            return self.pick(["L", "msg", "tbl", "a", "ab", "x_", "@@", "lbl", "f", "h"]) + \
                self.pick(["1", "12", "1h", "10b", "0ffh", "2h3", "1b", "7q", "12cdh", "0"])
        if x < 0.17:
            # bytes a name never holds in Tasm: high bytes, NUL, control bytes
            return self.pick(["n\x80me", "\xe9t\xe9", "a\x00b", "d\x00", "\xff", "x\x7fy", "db\x80", "\x00"])
        length = self.r.choice([1, 1, 2, 3, 4, 5, 6, 7, 7, 8, 8, 9, 12, 20, 40])
        first = self.pick(NAME_START)
        return first + "".join(self.pick(NAME_REST) for _ in range(length - 1))

    def register(self):
        x = self.r.random()
        if x < 0.3:
            word = self.pick(REG16)
        elif x < 0.5:
            word = self.pick(REG8)
        elif x < 0.7:
            word = self.pick(REG32)
        elif x < 0.8:
            word = self.pick(SEGMENT)
        elif x < 0.9:
            word = self.pick(SPECIAL)
        else:
            word = self.pick(NOT_QUITE_REGISTERS)
        return self.case(word)

    def digits(self, alphabet, low=1, high=6):
        return "".join(self.pick(alphabet) for _ in range(self.r.randint(low, high)))

    def number(self):
        x = self.r.random()
        if x < 0.25:
            return str(self.r.choice([0, 1, 2, 4, 8, 10, 16, 100, 255, 256, 1234, 65535, self.r.randint(0, 99999)]))
        if x < 0.45:  # hex with a suffix, sometimes starting with a letter (a name, then)
            body = self.digits("0123456789abcdefABCDEF")
            if self.chance(0.5):
                body = "0" + body
            return body + self.pick("hH")
        if x < 0.55:
            return self.digits("01", 1, 16) + self.pick("bByY")
        if x < 0.62:
            return self.digits("01234567") + self.pick("oOqQ")
        if x < 0.68:
            return self.digits("0123456789") + self.pick("dDtT")
        if x < 0.85:  # digit runs glued to names and to each other
            return self.pick(["a1h", "1h2h", "ab12cdh", "0a1h2", "12b3", "101b", "1011bh", "0b1h",
                              "1bh", "2hh", "0x10", "0x1Fh", "10h10h", "1e3", "9fh", "0fh", "fh",
                              "h", "b", "0", "00000h", "1_000", "12$", "$1", "1.5", "10h.", "7bh2b",
                              self.digits("0123456789abcdefhb", 2, 12)])
        if x < 0.93:
            return self.pick(["$", "$+2", "$-1", "-1", "-80h", "+5", "not 0", "1 shl 4",
                              "(1+2)*3", "10h/2", "5 mod 3", "?", "dup", "4 dup (0)", "3 dup(?)"])
        return self.digits("0123456789", 15, 40) + self.pick(["", "h", "b", "d"])

    def quoted(self):
        quote = self.pick("'\"")
        inner = self.pick(["A", "abc", "Hello, world", "it''s", 'say ""hi""', "10h", "1010b",
                           "a;b", "; not a comment", ",", ",,", "[bx]", "offset x", "", " ",
                           "\t", "$", "ax", "\x80\xff", "\x00", "\r", "x" * self.r.randint(1, 60)])
        x = self.r.random()
        if x < 0.85:
            return quote + inner + quote
        if x < 0.93:
            return quote + inner  # unbalanced
        return quote + inner + ("'" if quote == '"' else '"')  # mismatched

    def expression(self):
        x = self.r.random()
        if x < 0.35:
            return self.number()
        if x < 0.6:
            return self.name()
        if x < 0.75:
            return self.name() + self.spaces() + self.pick("+-*/") + self.spaces() + self.number()
        if x < 0.85:
            return self.case(self.pick(["offset", "seg", "type", "size", "length", "low", "high"])) + \
                self.blank() + self.name()
        return self.number() + self.spaces() + self.pick("+-*") + self.spaces() + self.name()

    # ---- memory references -------------------------------------------------------------------

    def term(self):
        x = self.r.random()
        if x < 0.35:
            return self.case(self.pick(BASE16 if self.chance(0.5) else BASE32))
        if x < 0.55:
            return self.number()
        if x < 0.7:
            return self.name()
        if x < 0.85:  # a scaled index, either way round
            reg = self.case(self.pick(BASE32 + BASE16))
            scale = self.pick(["1", "2", "4", "8", "3", "16", "", "x"])
            return reg + self.spaces() + "*" + self.spaces() + scale if self.chance(0.7) else \
                scale + self.spaces() + "*" + self.spaces() + reg
        return self.pick(["", " ", "(bx)", "(ebx+4)", "-", "+", "*", "**", "bx bx", "si di", "es:bx",
                          "ds:", ":", "bx:", "[bx]", "[", self.register()])

    def bracketed(self):
        parts = [self.term()]
        for _ in range(self.r.choice([0, 0, 1, 1, 1, 2, 2, 3, 5])):
            parts.append(self.spaces() + self.pick("++++--*") + self.spaces() + self.term())
        inside = "".join(parts)
        if self.chance(0.1):
            inside = self.case(self.pick(SEGMENT)) + ":" + self.spaces() + inside
        if self.chance(0.05):
            inside = self.case(self.pick(SIZE)) + self.blank() + inside
        close = "]" if self.chance(0.93) else self.pick(["", "]]", " ]", "]\t"])
        return "[" + self.spaces() + inside + self.spaces() + close

    def memory(self):
        x = self.r.random()
        if x < 0.12:
            return self.pick(["[bx+si+4]", "es:[di]", "[es:di]", "table[bx][si]", "[bx]+2", "word ptr [bp-2]",
                              "[ebx+ecx*4+10h]", "[si*]", "[]", "x[", "[ bx + si ]", "[bx][si]",
                              "[bp+4][si]", "[bx].len", "cs:table[bx]", "[es:bx-D*4]", "es:[1234h]",
                              "dword ptr [table+ebx*4]", "[esi*4]", "[4*ecx+ebx]", "[bx]-2", "[bx] + [si]",
                              "[bx]2", "[-bx]", "[bx+-si]", "[(bx)]", "(table)[bx]", "ds:[bx]+table[si]",
                              "byte ptr es:[di+1]", "[bx+si]]", "]", "[[bx]]", "[ebx*4*2]", "[*4]",
                              "[bx+]", "[+bx]", "[\tbx\t+\tdi\t]", "fs:[eax]", "[gs:0]", "[ebp-8]", "ss:[bp]"])
        text = self.bracketed()
        if self.chance(0.3):
            text = self.expression() + self.spaces() + text  # table[bx]
        if self.chance(0.2):
            text = text + self.spaces() + self.pick(["", "+", "-", "+ "]) + \
                self.pick([self.number(), self.bracketed(), ".len", self.name()])
        if self.chance(0.15):
            text = self.case(self.pick(SEGMENT)) + ":" + self.spaces() + text
        if self.chance(0.35):
            size = self.case(self.pick(SIZE))
            text = size + self.blank() + (self.case("ptr") + self.blank() if self.chance(0.8) else "") + text
        return text

    # ---- operands and statements -------------------------------------------------------------

    def operand(self):
        x = self.r.random()
        if x < 0.28:
            text = self.register()
            if self.chance(0.05):
                text += self.blank() + self.pick(["+1", "x", "ax", ""])  # a register token, then more
            return text
        if x < 0.48:
            return self.memory()
        if x < 0.63:
            return self.number()
        if x < 0.72:
            return self.name()
        if x < 0.78:
            return self.case("offset") + self.pick([" ", "\t", "  ", "\v", "\f", "\r", ""]) + \
                self.pick([self.name(), self.memory(), self.number(), ""])
        if x < 0.82:
            return self.case("short") + self.pick([" ", "\t", "\v", ""]) + self.name()
        if x < 0.86:
            return self.case(self.pick(SIZE)) + self.blank() + self.case("ptr") + self.blank() + \
                self.pick([self.name(), self.number(), self.register()])
        if x < 0.91:
            return self.quoted()
        if x < 0.95:
            return self.expression()
        return self.pick(["", " ", "ptr", "ptr x", "offset", "short", "byte", "word ptr", "?",
                          "<1,2>", "(", ")", "st(1)", "$", ":", "::", "+", "ax:bx", "a,b"])

    def separator(self):
        x = self.r.random()
        if x < 0.55:
            return ","
        if x < 0.8:
            return self.pick([", ", " , ", " ,", ",\t", "\t,\t", ",  "])
        return self.pick([",,", ", ,", ",,,", " ,, ", ",\v", "\f,", ", \r "])

    def operands(self, count=None):
        if count is None:
            count = self.r.choice([0, 1, 1, 2, 2, 2, 2, 3, 3, 4, 6])
        if count == 0:
            return ""
        text = [self.operand()]
        for _ in range(count - 1):
            text.append(self.separator())
            text.append(self.operand())
        joined = "".join(text)
        if self.chance(0.04):
            joined = self.pick([",", ", ", ",,"]) + joined  # leading commas
        if self.chance(0.04):
            joined += self.pick([",", " ,", ",,"])  # trailing commas
        return joined

    def mnemonic(self):
        x = self.r.random()
        if x < 0.45:
            word = self.pick(PLAIN)
        elif x < 0.62:
            word = self.pick(RENAMED)
        elif x < 0.85:
            word = self.pick(FLAGGED)
        elif x < 0.9:
            word = self.pick(DIRECTIVES)
        elif x < 0.96:
            word = self.pick(NEAR_NAMES)
        else:
            word = self.name()
        return self.case(word)

    def comment(self):
        if not self.chance(0.3):
            return ""
        text = self.pick([" load the table", ";; twice", "; ; ;", "", " it's 10h, [bx]", "\ttab",
                          " a\x00b", " \x80\xfe", " trailing  ", "= mov ax, 0x10", " x" * self.r.randint(1, 30)])
        return self.blank() + ";" + text

    def label(self):
        """What stands in column 0 before an instruction: nothing, a name, a name and a colon."""
        x = self.r.random()
        if x < 0.55:
            return ""
        if x < 0.8:
            return self.name() + ":"
        if x < 0.92:
            return self.name()
        return self.case(self.pick(RENAMED + DIRECTIVES + ["mov", "in", "call", "jmp"]))

    def instruction(self):
        label = self.label()
        lead = self.blank() if label else self.pick(["\t", "\t", " ", "    ", "\t\t", " \t", "\v", "\f", "\r"])
        mnemonic = self.mnemonic()
        if self.chance(0.03):
            mnemonic = self.case(self.pick(["rep", "lock", "repe"])) + self.blank() + self.mnemonic()
        operands = self.operands()
        line = label + lead + mnemonic
        if operands:
            line += self.blank() + operands
        return line + self.comment()

    def in_column_zero(self):
        """An instruction or directive with no leading blank: its first word is read as a label."""
        line = self.mnemonic()
        if self.chance(0.8):
            line += self.blank() + self.operands()
        return line + self.comment()

    def directive(self):
        x = self.r.random()
        if x < 0.3:
            line = self.name() + self.blank() + self.case(self.pick(DATA)) + self.blank() + \
                self.operands(self.r.choice([1, 1, 2, 3, 4, 8, 16]))
        elif x < 0.45:
            line = self.name() + self.blank() + self.case("equ") + self.blank() + \
                self.pick([self.number(), self.expression(), self.memory(), self.quoted(), "<ax>", ""])
        elif x < 0.6:
            line = self.name() + self.spaces() + "=" + self.spaces() + \
                self.pick([self.number(), self.expression(), self.memory(),
                           self.case(self.pick(SIZE)) + self.blank() + self.case("ptr") + self.blank() + self.memory(),
                           self.case(self.pick(SIZE)) + self.blank() + self.number(), "", self.quoted()])
            if self.chance(0.3):
                line += self.separator() + self.operand()
        elif x < 0.68:
            line = self.name() + self.blank() + self.case("textequ") + self.blank() + \
                self.pick(["<ax>", "<[bx+si]>", "%10h", self.quoted(), self.memory()])
        elif x < 0.8:
            word = self.case(self.pick(["model", "ideal", "p386", "end", "stack", "extrn", "dosseg",
                                        "public", "align", "codeseg", "dataseg", ".model", "segment", "ends",
                                        "proc", "endp", "assume", "org", "even", "masm", "jumps"]))
            argument = self.pick(["", "small", "tiny", "flat", "100h", "start", "foo:near, bar:far",
                                  "a, b, c", "4", "16", "cs:code, ds:data", self.name()])
            line = word + (self.blank() + argument if argument else "")
            if self.chance(0.7):
                line = self.pick(["\t", " ", "        "]) + line
            elif self.chance(0.5):
                line = self.name() + self.blank() + line
        else:
            line = self.pick(["\t", ""]) + self.case(self.pick(DATA)) + self.blank() + \
                self.operands(self.r.choice([1, 2, 3, 5]))
        return line + self.comment()

    def comment_line(self):
        return self.pick(["", "\t", "  ", "\t\t"]) + ";" + self.pick(
            ["", " compute the next step", ";; banner ;;", "; ; ;", " mov ax, 10h ; old", "\x00", " \r",
             " é \xff", " [bx+si]", ";" * self.r.randint(1, 80)])

    def label_line(self):
        return self.name() + self.pick([":", "", "::", ": ", ":\t", "\t", " :"]) + self.comment()

    def garbage(self):
        length = self.r.choice([1, 2, 5, 10, 30, 80, 200])
        x = self.r.random()
        if x < 0.4:  # any byte but LF
            return bytes(self.r.randrange(256) for _ in range(length)).replace(b"\n", b"\x00")
        if x < 0.7:  # punctuation soup
            return "".join(self.pick(",;[]:+-*$'\"()<>?@.=% \t\r\v\f\x00") for _ in range(length))
        return "".join(self.pick("0123456789abcdefhbHB ,[]+") for _ in range(length))

    # ---- very long lines ---------------------------------------------------------------------

    def many_operands(self, counts=(50, 51, 64, 100, 255, 256, 257, 1000, 4000)):
        count = self.r.choice(counts)
        return self.pick(["\t", "tbl\t"]) + self.case(self.pick(["db", "dw", "mov", "push", "add", "dd", "out"])) + \
            self.blank() + self.operands(count) + self.comment()

    def long_line(self):
        x = self.r.random()
        size = self.r.choice([1000, 5000, 70000, 100000, 140000, 300000])
        if x < 0.25:
            return "\tmov ax, bx ;" + "".join(self.pick("abc ;,[]\t'\"") for _ in range(size))
        if x < 0.4:
            return ("L" + "x" * size + ":") if self.chance(0.5) else ("\tjmp " + "y" * size)
        if x < 0.55:  # one long memory reference
            terms = []
            while sum(len(t) for t in terms) < size // 4:
                terms.append(self.term())
            return "\tmov ax, [" + "+".join(terms) + "]"
        if x < 0.7:  # one long operand full of numbers for the radix pass
            parts = []
            while sum(len(p) for p in parts) < size // 8:
                parts.append(self.number())
            return "\tdb " + "+".join(parts)
        if x < 0.85:
            return "\t" * self.r.randint(1, size) + "ret"
        return self.many_operands((10000, 20000))

    # ---- a whole line ------------------------------------------------------------------------

    def line(self):
        x = self.r.random()
        if x < 0.42:
            text = self.instruction()
        elif x < 0.52:
            text = self.in_column_zero()
        elif x < 0.64:
            text = self.directive()
        elif x < 0.71:
            text = self.comment_line()
        elif x < 0.76:
            text = self.label_line()
        elif x < 0.82:
            text = self.pick(["", "", "", " ", "\t", " \t ", "\r", "\x00", "\v", "\f", ";", ",", ":", "="])
        elif x < 0.87:
            text = self.garbage()
        elif x < 0.8702:
            text = self.long_line()
        elif x < 0.871:
            text = self.many_operands()
        else:
            text = self.instruction()
        if isinstance(text, str):
            text = text.encode("latin-1")
        if self.chance(0.01):  # a control byte or high byte dropped anywhere in the line
            at = self.r.randint(0, len(text))
            text = text[:at] + bytes([self.pick([0, 1, 7, 8, 11, 12, 13, 27, 127, 128, 160, 200, 255])]) + text[at:]
        y = self.r.random()
        if y < 0.8:
            return text + b"\n"
        if y < 0.95:
            return text + b"\r\n"
        return text + self.pick([b"\r\r\n", b" \r\n", b"\r \n", b"\t\r\n"])


def main():
    parser = argparse.ArgumentParser(description="Random Tasm-like lines for the differential check.")
    parser.add_argument("--seed", type=int, required=True)
    size = parser.add_mutually_exclusive_group(required=True)
    size.add_argument("--megabytes", type=float, help="stop once this many MB (10^6 bytes) are written")
    size.add_argument("--lines", type=int, help="write exactly this many lines")
    options = parser.parse_args()

    generator = Lines(options.seed)
    out = sys.stdout.buffer
    limit = int(options.megabytes * 1_000_000) if options.megabytes is not None else None
    chunk = []        # lines not yet written, but for the last one made
    chunk_bytes = 0
    total = 0         # bytes of every line made so far
    count = 0
    last = b""
    while total < limit if limit is not None else count < options.lines:
        if count > 0:
            chunk.append(last)
            chunk_bytes += len(last)
            if chunk_bytes >= 1 << 20:
                out.write(b"".join(chunk))
                chunk, chunk_bytes = [], 0
        last = generator.line()
        total += len(last)
        count += 1
    # Odd seeds drop the last line feed: the last line then ends at the end of the file.
    if options.seed % 2 == 1 and last.endswith(b"\n"):
        last = last[:-1]
    chunk.append(last)
    out.write(b"".join(chunk))

if __name__ == "__main__":
    main()
