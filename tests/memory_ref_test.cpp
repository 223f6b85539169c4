// Memory operands through convert_operand: the AT&T text and the size flags of each reference.
#include "convert/convert_operand.hpp"
#include "convert/memory_ref.hpp"
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
        {"[eax*bx]", "(,%eax,%bx)", 0},
        {"[si*]", "(,%si)", 0},
        {"[*si]", "(,%si)", 0},
        {"[*]", "*", 0},
        {"[bx+x*2]", "x*2(%bx)", 0},
        {"[bx+si*2*3]", "(%bx,%si,2*3)", 0},
        // a register beyond base and index joins the displacement, where GNU As rejects it
        {"[bx+si+di]", "%di(%bx,%si)", 0},
        {"[ebx+ecx*4+esi]", "%esi(%ebx,%ecx,4)", 0},
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
        // so does a register behind a minus, with its sign
        {"[-bx]", "-%bx", 0},
        {"[bx-si]", "-%si(%bx)", 0},
        {"[ebx-ecx*4]", "-%ecx*4(%ebx)", 0},
        {"()[4]", "4", 0},
        // parentheses go only before the "["
        {"[bx+(4-2)]", "(4-2)(%bx)", 0},
        {"x [bx]", "x(%bx)", 0},
        // "+" and "-" inside parentheses or quotes end no term
        {"[bx+(si-2)]", "(%si-2)(%bx)", 0},
        {"[bx+' '-'-']", "' '-'-'(%bx)", 0},
        // a term may end at "[" too
        {"[bx]+2[si]", "2(%bx,%si)", 0},
        // a bracket inside quotes opens no reference
        {"'['[bx]", "'['(%bx)", 0},
        {"[bx+']']", "']'(%bx)", 0},
    });
}

TEST(holds_memory_ref, sees_a_bracket_outside_quotes_only)
{
    EXPECT_TRUE(holds_memory_ref("[bx]"));
    EXPECT_TRUE(holds_memory_ref("table[bx]"));
    EXPECT_TRUE(holds_memory_ref("'['+[bx]"));
    EXPECT_TRUE(holds_memory_ref("'it''s'[bx]"));
    EXPECT_FALSE(holds_memory_ref("'['"));
    EXPECT_FALSE(holds_memory_ref("\"[x]\""));
    EXPECT_FALSE(holds_memory_ref("'a[b"));  // a quote left open runs to the end
    EXPECT_FALSE(holds_memory_ref("bx"));
}

TEST(memory_ref, blanks_change_nothing)
{
    expect_conversions({
        {"[bx + si]", "(%bx,%si)", 0},
        {"[ bx ]", "(%bx)", 0},
        {"[bx+4 ]", "4(%bx)", 0},
        {"[bx + si + 2]", "2(%bx,%si)", 0},
        {"[bx\t+\tsi]", "(%bx,%si)", 0},
        {"[ ebp + 12 ]", "12(%ebp)", 0},
        {"[si *2]", "(,%si,2)", 0},
        {"[si* 2]", "(,%si,2)", 0},
        {"[2 *si]", "(,%si,2)", 0},
        {"[2* si]", "(,%si,2)", 0},
        {"[ebx + ecx * 4 - 8]", "-8(%ebx,%ecx,4)", 0},
        {"[bx]\t", "(%bx)", 0},
        {"[bx] + 2", "2(%bx)", 0},
        {"[bx] [si]", "(%bx,%si)", 0},
        {"table [bx]", "table(%bx)", 0},
        {"word ptr [ bx ]", "(%bx)", SIZE_WORD},
        // blanks inside a term are the expression's own
        {"[bx + 2 shl 3]", "2 << 3(%bx)", 0},
        {"[bx + ( 4 - 2 )]", "( 4 - 2 )(%bx)", 0},
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
        {"[byte ptr bx]", "(%bx)", SIZE_BYTE},
        {"[WORD PTR x+2]", "x+2", SIZE_WORD},
        {"[word bx+2]", "2(%bx)", SIZE_WORD},
        {"[DWORD PTR bp+6]", "6(%bp)", SIZE_DWORD},
        {"[dword ptr ebp + 8]", "8(%ebp)", SIZE_DWORD},
        {"[ Byte Ptr bx ]", "(%bx)", SIZE_BYTE},
        {"qword ptr [esi]", "(%esi)", SIZE_QWORD},
        // a size keyword counts in every bracket, and after a segment override
        {"[bx][word si]", "(%bx,%si)", SIZE_WORD},
        {"[cs:byte ptr x]", "%cs:x", SIZE_BYTE},
        {"es:word ptr [di]", "%es:(%di)", SIZE_WORD},
        // "ptr" counts only after a size keyword; keywords end at white space or "["
        {"ptr [bx]", "ptr(%bx)", 0},
        {"byte ptr[bx]", "(%bx)", SIZE_BYTE},
        {"byte[bx]", "(%bx)", SIZE_BYTE},
        {"byte  ptr  x[bx]", "x(%bx)", SIZE_BYTE},
        {"bytes[bx]", "bytes(%bx)", 0},
        {"[byte_count+bx]", "byte_count(%bx)", 0},
        {"[bx+word]", "word(%bx)", 0},
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
        // "." and a number add the number, "." and a structure field the field's offset
        {"[bx].2", "2(%bx)", 0},
        {"[bx+si].0Ah", "0x0A(%bx,%si)", 0},
        {"[bx][si] .4", "4(%bx,%si)", 0},
        {"[bx].len", "len(%bx)", 0},
        {"[si].x_pos+2", "x_pos+2(%si)", 0},
        {"table[bx].next", "table+next(%bx)", 0},
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
        // blanks before and after ":"
        {"[cs: di]", "%cs:(%di)", 0},
        {"[es : bx+si]", "%es:(%bx,%si)", 0},
        {"es: [bx]", "%es:(%bx)", 0},
        {"es :[bx]", "%es:(%bx)", 0},
        {"word ptr es : [bx+2]", "%es:2(%bx)", SIZE_WORD},
        {"[BYTE PTR cs:x]", "%cs:x", SIZE_BYTE},
        {"[byte ptr es:di]", "%es:(%di)", SIZE_BYTE},
        {"[dword es: edi + eax*4]", "%es:(%edi,%eax,4)", SIZE_DWORD},
        {"[cs: si + 1]", "%cs:1(%si)", 0},
        // only a segment register followed by ":" is an override
        {"xs:[bx]", "xs:(%bx)", 0},
        {"[bx+es]", "es(%bx)", 0},
        {"[esx:bx]", "esx:%bx", 0},
    });
}

TEST(memory_ref, offset_is_the_address_as_displacement)
{
    expect_conversions({
        {"[bx+offset table]", "table(%bx)", 0},
        {"[bx + offset table]", "table(%bx)", 0},
        {"[OFFSET table+2+si]", "table+2(%si)", 0},
        {"word ptr [bx+offset table-2]", "table-2(%bx)", SIZE_WORD},
        {"[ebx*4+offset handlers]", "handlers(,%ebx,4)", 0},
    });
}

TEST(memory_ref, bx_and_bp_are_the_base_in_16_bit_addresses)
{
    expect_conversions({
        {"[di+bx]", "(%bx,%di)", 0},
        {"[si+bp+4]", "4(%bp,%si)", 0},
        {"[SI+BX-2]", "-2(%BX,%SI)", 0},
        {"[si][bp]", "(%bp,%si)", 0},
        {"table[di][bx]", "table(%bx,%di)", 0},
        {"[4+di+bp]", "4(%bp,%di)", 0},
        // already in order, or not a base and an index: as written
        {"[bx+di]", "(%bx,%di)", 0},
        {"[si+di]", "(%si,%di)", 0},
        {"[esi+ebx]", "(%esi,%ebx)", 0},
        {"[si+bx*2]", "(%si,%bx,2)", 0},
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
