// assemble_line: column layout, operand order and size letters, on records filled by hand.
#include "line/assemble_line.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dravent {
namespace {

struct operand {
    std::string text;
    int size_flags;
};

line_record make_record(std::string label, std::string mnemonic, std::vector<operand> operands,
                        std::string comment = "", int line_flags = 0)
{
    line_record record;
    record.label = std::move(label);
    record.mnemonic = std::move(mnemonic);
    record.comment = std::move(comment);
    record.line_flags = line_flags;
    for (const operand& o : operands) {
        record.add_operand(o.text);
        record.operand(record.count - 1).size_flags = o.size_flags;
    }
    return record;
}

std::string assembled(const line_record& record)
{
    std::string out = "previous line\n";
    assemble_line(record, out);
    EXPECT_EQ(out.substr(0, 14), "previous line\n") << "the line is appended";
    return out.substr(14);
}

TEST(assemble_line, writes_columns_with_operands_reversed)
{
    EXPECT_EQ(assembled(make_record("", "mov", {{"%ax", SIZE_WORD}, {"4(%bx,%si)", 0}}, "# load")),
              "\tmovw\t4(%bx,%si),%ax\t# load")
        << "operands are written last to first";
    EXPECT_EQ(assembled(make_record("start:", "", {})), "start:\t\t");
    EXPECT_EQ(assembled(make_record("", "ret", {})), "\tret\t");
    EXPECT_EQ(assembled(make_record("", "ret", {}, "#done")), "\tret\t\t#done");
    EXPECT_EQ(assembled(make_record("label", "", {}, "#c")), "label\t\t\t#c");
    EXPECT_EQ(assembled(make_record("", "", {}, "# note")), "# note");
    EXPECT_EQ(assembled(make_record("", "", {})), "");
    EXPECT_EQ(assembled(make_record("", "push", {{"", 0}, {"ax", 0}})), "\tpush\tax,");
}

TEST(assemble_line, data_lines_keep_source_order)
{
    EXPECT_EQ(assembled(make_record("msg:", ".byte", {{"1", 0}, {"2", 0}}, "", LINE_DATA)), "msg:\t.byte\t1,2");
}

TEST(assemble_line, writes_every_operand_of_a_long_list)
{
    std::vector<operand> operands;
    std::string reversed;
    for (int n = 1; n <= 40; ++n) {
        operands.push_back({std::to_string(n), 0});
        reversed = std::to_string(n) + (n > 1 ? "," : "") + reversed;
    }
    EXPECT_EQ(assembled(make_record("", "x", operands)), "\tx\t" + reversed);
}

struct size_case {
    std::string mnemonic;
    std::vector<operand> operands;
    int line_flags;
    std::string expected_mnemonic;
};

TEST(assemble_line, appends_size_letters_from_all_operands)
{
    const std::vector<size_case> cases = {
        {"mov", {{"%ax", SIZE_WORD}, {"%bx", SIZE_WORD}}, 0, "movw"},
        {"mov", {{"%eax", SIZE_DWORD}, {"$5", 0}}, 0, "movl"},
        {"mov", {{"(%bx)", 0}, {"$5", 0}}, 0, "mov"},
        {"push", {{"x", SIZE_QWORD}}, 0, "pushq"},
        // Two sizes give two letters, always in the order b, w, l, q.
        {"movz", {{"%eax", SIZE_DWORD}, {"%bl", SIZE_BYTE}}, 0, "movzbl"},
        {"movz", {{"%ax", SIZE_WORD}, {"%bl", SIZE_BYTE}}, 0, "movzbw"},
        // Directives get letters too when an operand names a size.
        {".byte", {{"%al", SIZE_BYTE}}, LINE_DATA, ".byteb"},
        // Port instructions: the word-sized port register gives no letter beside another size.
        {"in", {{"%al", SIZE_BYTE}, {"%dx", SIZE_WORD}}, LINE_PORT_IO, "inb"},
        {"in", {{"%ax", SIZE_WORD}, {"%dx", SIZE_WORD}}, LINE_PORT_IO, "inw"},
        {"out", {{"%dx", SIZE_WORD}, {"%eax", SIZE_DWORD}}, LINE_PORT_IO, "outl"},
        {"in", {{"%al", SIZE_BYTE}, {"$0x60", 0}}, LINE_PORT_IO, "inb"},
        // Without the port flag every size counts.
        {"mov", {{"%al", SIZE_BYTE}, {"%dx", SIZE_WORD}}, 0, "movbw"},
    };
    for (const size_case& c : cases) {
        SCOPED_TRACE(c.expected_mnemonic);
        const line_record record = make_record("", c.mnemonic, c.operands, "", c.line_flags);
        const std::string out = assembled(record);
        EXPECT_EQ(out.substr(0, out.find('\t', 1)), "\t" + c.expected_mnemonic);
    }
}

} // namespace
} // namespace dravent
