// Memory operands through convert_operand: the AT&T text and the size flags of each reference.
#include "convert/convert_operand.hpp"
#include "vocabulary/flags.hpp"

#include <gtest/gtest.h>

#include <string>

namespace dravent {
namespace {

struct memory_case {
    std::string text;
    std::string expected;
    int size_flags;
};

void expect_conversions(std::initializer_list<memory_case> cases)
{
    for (const memory_case& c : cases) {
        // The line's kind plays no part in a memory reference.
        for (const int line_flags : {0, LINE_DATA, LINE_JUMP, LINE_ADDRESS}) {
            text_buffer text;
            conversion_workspace scratch;
            const int size_flags = convert_operand(c.text, line_flags, conversion_context{}, text, scratch).size_flags;
            EXPECT_EQ(text.view(), c.expected) << c.text;
            EXPECT_EQ(size_flags, c.size_flags) << c.text;
        }
    }
}

TEST(memory_ref, base_index_scale_and_displacement)
{
    expect_conversions({
        {"[bx+si+4]", "4(%bx,%si)", 0},
        {"[ebx+ecx*4+8]", "8(%ebx,%ecx,4)", 0},
        {"[ebx+4*ecx]", "(%ebx,%ecx,4)", 0},
        {"[esi*4]", "(,%esi,4)", 0},
        {"[bp-2]", "-2(%bp)", 0},
        {"dword ptr [ebx+ecx*4+10h]", "0x10(%ebx,%ecx,4)", SIZE_DWORD},
        {"[4]", "4", 0},
        {"[BX+Si]", "(%BX,%Si)", 0},
        // the order of the terms does not matter; a scaled term never becomes the base
        {"[ecx*4+ebx+8]", "8(%ebx,%ecx,4)", 0},
        {"[8+ebx+ecx*4]", "8(%ebx,%ecx,4)", 0},
        {"[si*2+bx]", "(%bx,%si,2)", 0},
        // both sides of "*" name registers: the left one is the index
        {"[eax*bx]", "(,%eax,bx)", 0},
        {"[si*]", "(,%si)", 0},
        {"[*si]", "(,%si)", 0},
        {"[*]", "*", 0},
        {"[bx+x*2]", "x*2(%bx)", 0},
        {"[bx+si*2*3]", "(%bx,%si,2*3)", 0},
        // more registers than base and index: the last one is the index, the scale stays
        {"[bx+si+di]", "(%bx,%di)", 0},
        {"[ebx+ecx*4+esi]", "(%ebx,%esi,4)", 0},
        // the reference also ends at the end of the text
        {"[bx+si", "(%bx,%si)", 0},
        {"[eax]", "(%eax)", 0},
    });
}

TEST(memory_ref, pending_sign_and_prefix)
{
    expect_conversions({
        {"(table+2)[bx]", "table+2(%bx)", 0},
        {"[]", "", 0},
        {"x[]", "x+", 0},
        {"x[", "x+", 0},
        {"[-4]", "-4", 0},
        {"x[-4]", "x+-4", 0},
        // a sign before a register is lost
        {"[-bx]", "(%bx)", 0},
        {"[bx-si]", "(%bx,%si)", 0},
        {"()[4]", "4", 0},
        // parentheses go only before the "["
        {"[bx+(4-2)]", "(4-2)(%bx)", 0},
        {"x [bx]", "x (%bx)", 0},
    });
}

TEST(memory_ref, keeps_blanks_before_separators)
{
    expect_conversions({
        {"[bx + si]", "(%bx ,%si)", 0},
        {"[ bx ]", "(%bx )", 0},
        {"[bx+4 ]", "4 (%bx)", 0},
        {"[bx\t+\tsi]", "(%bx\t,%si)", 0},
        {"[si *2]", "(,%si ,2)", 0},
        {"[si* 2]", "(,%si, 2)", 0},
        {"[2 *si]", "(,%si,2 )", 0},
        // a right side that begins with a blank names no register
        {"[2* si]", "2* si", 0},
        {"[bx]\t", "(%bx)", 0},
    });
}

TEST(memory_ref, size_keywords_and_ptr)
{
    expect_conversions({
        {"word ptr [bp+6]", "6(%bp)", SIZE_WORD},
        {"word ptr []", "", SIZE_WORD},
        {"BYTE PTR [BX]", "(%BX)", SIZE_BYTE},
        {"word x[bx]", "x(%bx)", SIZE_WORD},
        {"word ptr [dword ebx]", "(%ebx)", SIZE_WORD | SIZE_DWORD},
        {"[byte bx]", "(%bx)", SIZE_BYTE},
        {"[byte ptr bx]", "ptr bx", SIZE_BYTE},
        {"qword ptr [esi]", "(%esi)", SIZE_QWORD},
        // "ptr" counts only after a size keyword and before white space
        {"ptr [bx]", "ptr (%bx)", 0},
        {"byte ptr[bx]", "ptr(%bx)", SIZE_BYTE},
        {"byte[bx]", "byte(%bx)", 0},
        {"byte  ptr  x[bx]", "x(%bx)", SIZE_BYTE},
    });
}

TEST(memory_ref, reads_on_after_a_closing_bracket)
{
    expect_conversions({
        {"[bx][si]", "(%bx,%si)", 0},
        {"table[bx][si]", "table(%bx,%si)", 0},
        {"[bx]+2", "2(%bx)", 0},
        {"[bx]-2", "-2(%bx)", 0},
        {"[bp+4][si]", "4(%bp,%si)", 0},
        {"[bx]+[si]", "(%bx,%si)", 0},
        {"[bx].len", ".len(%bx)", 0},
        {"[bx] [si+2]", "2(%bx,%si)", 0},
        {"[bx]\r", "(%bx)", 0},
        {"[bx]+", "(%bx)", 0},
        {"word ptr [bx][di+10h]", "0x10(%bx,%di)", SIZE_WORD},
    });
}

TEST(memory_ref, segment_overrides)
{
    expect_conversions({
        {"es:[bx]", "%es:(%bx)", 0},
        {"es:[bx+4]", "%es:4(%bx)", 0},
        {"byte ptr es:[di]", "%es:(%di)", SIZE_BYTE},
        {"[es:di]", "%es:(%di)", 0},
        {"[ES:BX+SI+2]", "%ES:2(%BX,%SI)", 0},
        {"cs:table[bx]", "%cs:table(%bx)", 0},
        {"[es:bx-D*4]", "%es:-D*4(%bx)", 0},
        {"es:[1234h]", "%es:0x1234", 0},
        {"[ fs:eax]", "%fs:(%eax)", 0},
        {"gs:[esi*4]", "%gs:(,%esi,4)", 0},
        // only a segment register directly followed by ":" is an override
        {"xs:[bx]", "xs:(%bx)", 0},
        {"es :[bx]", "es :(%bx)", 0},
        {"[bx+es]", "es(%bx)", 0},
    });
}

TEST(memory_ref, long_references_are_never_cut)
{
    std::string terms;
    std::string displacement;
    for (int n = 0; n < 100; ++n) {
        terms += "+label" + std::to_string(n);
        displacement += "+label" + std::to_string(n);
    }
    text_buffer text;
    conversion_workspace scratch;
    convert_operand("[bx" + terms + "]", 0, conversion_context{}, text, scratch);
    EXPECT_EQ(text.view(), displacement.substr(1) + "(%bx)");
}

} // namespace
} // namespace dravent
