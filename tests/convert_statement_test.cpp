// statement_converter: the line flags that a line's statement gives it, and the size letters
// that its operands give the mnemonic.
#include "convert/convert_statement.hpp"

#include "declarations/collect_declarations.hpp"
#include "driver/line_converter.hpp"
#include "source/split_line.hpp"
#include "vocabulary/flags.hpp"

#include <gtest/gtest.h>

#include <string>

namespace dravent {
namespace {

struct converted {
    int line_flags;
    std::string mnemonic;  // with its size letters
};

converted convert_line(const std::string& text)
{
    source_line source;
    split_line(text, source);
    statement_converter converter;
    converted_line line;
    converter.convert(source, conversion_context{}, line);
    std::string mnemonic;
    if (!line.statements.empty()) {
        mnemonic = std::string(line.view(line.statements[0].mnemonic)) + std::string(line.statements[0].size_letters);
    }
    return {converter.line_flags(), mnemonic};
}

TEST(convert_statement, sets_the_line_flags)
{
    const struct {
        std::string line;
        int flags;
    } cases[] = {
        {"msg db 5", LINE_DATA},
        {"\tDW 1", LINE_DATA},
        {"\tdd 1", LINE_DATA},
        {"\tdq 1", LINE_DATA},
        {"\t.byte 1", LINE_DATA},
        {"x = 5", LINE_DATA | LINE_EQUATE},
        // Every data definition GNU As has a form for is a data line, dt and df too; a dt integer
        // keeps the flags of its rename, .octet.
        {"\tdt 1.5", LINE_DATA},
        {"\tdf 5", LINE_DATA},
        {"\tdt 5", 0},
        {"\tpublic main", LINE_DATA},
        {"\talign 4", LINE_DATA},
        {"public main", LINE_DATA},  // in column 0 too
        // A line that equ or textequ rewrote is a data line, equ's an equate too (its strings are
        // numbers); a name beginning with j adds the jump flag.
        {"x equ 5", LINE_DATA | LINE_EQUATE},
        {"jv equ 5", LINE_DATA | LINE_EQUATE | LINE_JUMP},
        {"msg textequ <a>", LINE_DATA},
        // The flags are those of the mnemonic the handler leaves, not of the one it replaced.
        {"equ call", LINE_DATA | LINE_EQUATE},
        {"= call", LINE_EQUATE | LINE_JUMP},
        {"\tin al, dx", LINE_PORT_IO},
        {"\tOUT dx, al", LINE_PORT_IO},
        {"\tinc ax", 0},
        {"\toutsd", 0},
        {"\tjmp x", LINE_JUMP},
        {"\tJnz x", LINE_JUMP},
        {"\tcall x", LINE_JUMP},
        {"\tCALL x", LINE_JUMP},
        {"\tloop x", LINE_JUMP},
        {"\tloope x", LINE_JUMP},
        {"\tloopne x", LINE_JUMP},
        {"\tloopz x", LINE_JUMP},
        {"\tLOOPNZ x", LINE_JUMP},
        {"\tcalls x", 0},
        {"\tlea di, x", LINE_ADDRESS | LINE_NO_ACCESS},
        {"\tLDS si, p", LINE_ADDRESS},
        {"\tles di, p", LINE_ADDRESS},
        {"\tlfs di, p", LINE_ADDRESS},
        {"\tlgs di, p", LINE_ADDRESS},
        {"\tlss sp, p", LINE_ADDRESS},
        {"\tshl ax, cl", LINE_SHIFT},
        {"\tSHRD eax, ebx, cl", LINE_SHIFT},
        {"\tmodel small", 0},
        {"\tcode segment use16", 0},
        {"\tmov ax, bx", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(convert_line(c.line).line_flags, c.flags) << c.line;
    }
}

// .data is the same directive in GNU As: it draws no warning, in the first column or indented;
// with a name or an operand beside it, GNU As rejects the line and the converter says so.
TEST(convert_statement, warns_about_data_and_err_only_with_something_beside_them)
{
    const std::pair<std::string, std::size_t> cases[] = {
        {".data", 0}, {"\t.data", 0}, {"\t.DATA ; c", 0}, {"x .data", 1}, {"\t.data 1", 1},
        // err and .err are GNU As's .err; with anything beside them they are not
        {"\t.err", 0}, {"\tERR ; never", 0}, {"\terr 1", 1}, {"x .err", 1},
    };
    for (const auto& [text, warnings] : cases) {
        source_line source;
        split_line(text, source);
        statement_converter converter;
        converted_line line;
        converter.convert(source, conversion_context{}, line);
        EXPECT_EQ(line.warnings.size(), warnings) << text;
    }
}

TEST(convert_statement, appends_size_letters_from_all_operands)
{
    const struct {
        std::string line;
        std::string mnemonic;
    } cases[] = {
        {"\tmov ax, bx", "movw"},
        {"\tmov eax, 5", "movl"},
        {"\tmov [bx], 5", "mov"},
        {"\tpush qword ptr [x]", "pushq"},
        // Two sizes give two letters, always in the order b, w, l, q.
        {"\tmovzx eax, bl", "movzbl"},
        {"\tmovzx ax, bl", "movzbw"},
        // Directives get letters too when an operand names a size.
        {"\tdb al", ".byteb"},
        // Port instructions: the word-sized port register gives no letter beside another size.
        {"\tin al, dx", "inb"},
        {"\tin ax, dx", "inw"},
        {"\tout dx, eax", "outl"},
        {"\tin al, 60h", "inb"},
        // Without the port flag every size counts.
        {"\tmov al, dx", "movbw"},
        // A shift count in cl gives no letter; a byte register shifted by cl keeps its own.
        {"\tshl ax, cl", "shlw"},
        {"\tshl cl, cl", "shlb"},
        {"\tshl ax, CL ", "shlw"},
        {"\tmov ax, cl", "movbw"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(convert_line(c.line).mnemonic, c.mnemonic) << c.line;
    }
}

// The output line of one input line, without its line feed.
std::string convert(line_converter& converter, const std::string& line)
{
    std::string out;
    converter.convert(line, out);
    out.pop_back();
    return out;
}

// A name from arg or local is a stack slot on the lines of its own procedure alone: each use there
// is warned and written with a "%" for GNU As to reject; before, after and in another procedure,
// the same name is the variable it is there, and the lines keep their form.
TEST(line_converter, frame_names_are_rejected_only_within_their_procedure)
{
    const struct {
        std::string line;
        std::string output;
        bool warned;
    } lines[] = {
        {"count   dw 0", "count:\t.short\t0", false},
        {"first   proc near", "first:\t\t", false},
        {"        arg count:word, @@flag:byte = argsize", "\targw\t$.Lfirst.flag:byte = argsize,count:word", true},
        {"        mov ax, count", "\tmovw\t%count,%ax", true},
        {"        mov ax, [bx+count]", "\tmovw\t%count(%bx),%ax", true},
        {"        mov al, @@flag", "\tmovb\t$%@@flag,%al", true},
        {"        ret argsize", "\tret\t$%argsize", true},
        {"first   endp", "", false},
        {"        mov ax, count", "\tmovw\tcount,%ax", false},
        {"        mov ax, [bx+count]", "\tmovw\tcount(%bx),%ax", false},
        {"second  proc near", "second:\t\t", false},
        {"        inc count", "\tincw\tcount", false},
        {"@@flag: ret argsize", ".Lsecond.flag:\tret\t$argsize", false},
        {"second  endp", "", false},
    };
    std::string text;
    for (const auto& l : lines) {
        text += l.line + "\n";
    }
    program_declarations program;
    collect_declarations_from_text(text, ".", program);
    line_converter converter(&program);
    for (const auto& l : lines) {
        EXPECT_EQ(convert(converter, l.line), l.output) << l.line;
        EXPECT_EQ(!converter.warnings().empty(), l.warned) << l.line;
    }
}

} // namespace
} // namespace dravent
