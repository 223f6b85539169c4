// Plain lines are written at once, and exactly as the full conversion writes them: every line of
// every test and example program gives the same output, warnings and open data definition with
// plain lines and without; and the lines that are plain are taken, those that need the program's
// declarations or a rule of their own are not.
#include "convert/plain_line.hpp"
#include "declarations/collect_declarations.hpp"
#include "driver/line_converter.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dravent::testing {
namespace {

std::string read_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// What converting a line gave: its output, its warnings, what it leaves open.
std::string converted(line_converter& converter, std::string_view line)
{
    std::string out;
    converter.convert(line, out);
    for (const warning& w : converter.warnings()) {
        out += std::to_string(w.column) + ": " + std::string(w.text) + "\n";
    }
    out += "open " + std::to_string(static_cast<int>(converter.open_data())) + "\n";
    return out;
}

std::vector<std::filesystem::path> programs()
{
    std::vector<std::filesystem::path> found;
    for (const char* folder : {"tests", "examples"}) {
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(std::filesystem::path(DRAVENT_TEST_DATA) / ".." / folder)) {
            const std::string extension = entry.path().extension().string();
            if (entry.is_regular_file() && (extension == ".asm" || extension == ".inc")) {
                found.push_back(entry.path());
            }
        }
    }
    return found;
}

TEST(plain_lines, are_written_as_the_full_conversion_writes_them_in_every_program)
{
    std::size_t files = 0;
    for (const std::filesystem::path& path : programs()) {
        const std::string text = read_file(path);
        program_declarations program;
        collect_declarations_from_text(text, path.parent_path().string(), program);
        line_converter plain(&program);
        line_converter full(&program);
        full.write_plain_lines(false);
        std::size_t number = 1;
        for (std::size_t start = 0; start < text.size(); ++number) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            const std::string_view line = std::string_view(text).substr(start, end - start);
            ASSERT_EQ(converted(plain, line), converted(full, line)) << path << ":" << number << ": " << line;
            start = end + 1;
        }
        ++files;
    }
    EXPECT_GT(files, 20U);
}

struct plain_case {
    std::string_view line;
    std::string_view output;  // empty: the line is not plain
};

// Lines converted without a program's declarations, and with those of declared_program.
constexpr std::string_view declared_program = "count dw 0\n"
                                              "far_one proc far\n"
                                              "        ret\n"
                                              "far_one endp\n"
                                              "si_text equ <si>\n";

TEST(plain_lines, take_the_lines_whose_rules_are_plain_and_leave_every_other)
{
    const plain_case cases[] = {
        {"", "\n"},
        {"  \t", "\n"},
        {"; a comment", "# a comment\n"},
        {"\t; indented\r", "# indented\r\n"},
        {"L1:", "L1:\t\t\n"},
        {"next_one:  ; on", "next_one:\t\t\t# on\n"},
        {"\tmov ax, bx", "\tmovw\t%bx,%ax\n"},
        {"\tMOV AX,BX ; upper", "\tMOVw\t%BX,%AX\t# upper\n"},
        {"\tmov bp, [bx+si+38]\t; load", "\tmovw\t38(%bx,%si),%bp\t# load\n"},
        {"\tmov word ptr [bp-6], 70", "\tmovw\t$70,-6(%bp)\n"},
        {"\tmov esi, [ebx+ecx*4+0FBFh]", "\tmovl\t0x0FBF(%ebx,%ecx,4),%esi\n"},
        {"\tmov byte ptr es:[di], 1010b", "\tmovb\t$0B1010,%es:(%di)\n"},
        {"\tmov ax, [si+bx+4]", "\tmovw\t4(%bx,%si),%ax\n"},
        {"\tmov ax, [bx-0Ah]", "\tmovw\t-0x0A(%bx),%ax\n"},
        {"\tmov ax, word ptr[bx + 2-1 ]", "\tmovw\t2-1(%bx),%ax\n"},
        {"\tmov eax, [ebx+ecx*04]", "\tmovl\t(%ebx,%ecx,4),%eax\n"},
        {"\txor dh, 0EBh", "\txorb\t$0x0EB,%dh\n"},
        {"\tshl ax, cl", "\tshlw\t%cl,%ax\n"},
        {"\tin al, dx", "\tinb\t%dx,%al\n"},
        {"\tout dx, ax", "\toutw\t%ax,%dx\n"},
        {"\tint 21h", "\tint\t$0x21\n"},
        {"\tpush ds", "\tpush\t%ds\n"},
        {"\timul ax, bx, 5", "\timulw\t$5,%bx,%ax\n"},
        {"\tret", "\tret\t\n"},
        {"\tret 4", "\tret\t$4\n"},
        {"\tmov ax, 010", "\tmovw\t$10,%ax\n"},
        {"\tmov dx, offset  count ", "\tmovw\t$count,%dx\n"},
        {"\tjmp short L1", "\tjmp\tL1\n"},
        {"\tjnz  L1 ; back", "\tjnz\tL1\t# back\n"},
        {"\tcall print_it", "\tcall\tprint_it\n"},
        {"\tmov byte ptr [di], ' '", "\tmovb\t$' ',(%di)\n"},
        {"\tcmp al, \"Z\" ; upper", "\tcmpb\t$'Z',%al\t# upper\n"},
        {"\tmov al, ';'", "\tmovb\t$';',%al\n"},
        {"count dw 1", "count:\t.short\t1\n"},
        {"tbl284\tdd 163, 90 ,,0B0h, 1010b ; table", "tbl284:\t.int\t163,90,0x0B0,0B1010\t# table\n"},
        {"\tdb 1, 2", "\t.byte\t1,2\n"},
        {"tbl db 0FFH, 1B, 0 ; c", "tbl:\t.byte\t0x0FF,0B1,0\t# c\n"},
        {"q dq 1010b,,0fh , 0", "q:\t.quad\t0B1010,0x0f,0\n"},
        {"x dd 08", "x:\t.int\t8\n"},
        {"lbl:\r", "lbl:\t\t\r\n"},
        {"\t\r", "\r\n"},
        {"; a comment longer than one move of sixteen bytes\r", "# a comment longer than one move of sixteen bytes\r\n"},
        {"x dw 1", "x:\t.short\t1\n"},
        {";xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", "#xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\n"},
        // Not plain: names, rules of their own, forms the plain rules do not read.
        {"\tmov ax, count", ""},
        {"\tmov ax, offset COUNT", ""},
        {"\tmov ax, offset si_text", ""},
        {"\tmov ax, bx+2", ""},
        {"\tcall far_one", ""},
        {"\tjmp count", ""},
        {"\tjmp ax", ""},
        {"\tjmp near ptr L1", ""},
        {"\tcall print_it, ax", ""},
        {"\tmov [bx], 1", ""},
        {"\tmov ax, 'ab'", ""},
        {"\tmov al, ''''", ""},
        {"\tmov al, '\\'", ""},
        {"\tmov ax, -1", ""},
        {"\tpush ax, bx", ""},
        {"\tlea si, [bx+4]", ""},
        {"\tmovsb", ""},
        {"\tfld st(1)", ""},
        {"\trep stosw", ""},
        {"\tmovzx ax, bl", ""},
        {"@@again:", ""},
        {"L2: mov ax, bx", ""},
        {"table db 1,", ""},
        {"msg db 'hi', 0", ""},
        {"buf db 80 dup (?)", ""},
        {"wide dt 1", ""},
        {"minus dw -1", ""},
        {"end db 1", ""},
        {"Test dw 1", ""},
        {"x db 1h0", ""},
        {"x db 1 2", ""},
        {"q dq 1010b,,0fh 0, 0", ""},
        {"x db ;c", ""},
        {"x db 12B", ""},
        {"x dp 1", ""},
        {"x do 1", ""},
        {"x db", ""},
        {"1x db 1", ""},
        {"x:y", ""},
        {"\tmov ax, si_text", ""},
    };
    program_declarations program;
    collect_declarations_from_text(declared_program, "/nonexistent", program);
    conversion_context context;
    context.program = &program;
    context.line = 100;
    context.code_bits = 16;
    plain_line_writer writer(&program);
    conversion_workspace work;
    for (const plain_case& c : cases) {
        text_buffer out;
        const plain_line taken = writer.write(c.line, c.line.data() + c.line.size(), context, data_directive::none, out, work);
        EXPECT_EQ(taken == plain_line::not_plain, c.output.empty()) << c.line;
        EXPECT_EQ(out.view(), c.output) << c.line;
    }
}

// A comment alone is copied in moves of several bytes: every length, around each size of move,
// keeps each byte of the comment and its carriage return.
TEST(plain_lines, keep_every_byte_of_a_comment_of_any_length)
{
    conversion_context context;
    plain_line_writer writer;
    conversion_workspace work;
    for (std::size_t length = 0; length <= 200; ++length) {
        std::string comment;
        for (std::size_t n = 0; n < length; ++n) {
            comment += static_cast<char>('a' + n % 26);
        }
        for (const std::string_view ending : {"", "\r"}) {
            const std::string line = "\t;" + comment + std::string(ending);
            text_buffer out;
            EXPECT_EQ(writer.write(line, line.data() + line.size(), context, data_directive::none, out, work),
                      plain_line::passed_over);
            EXPECT_EQ(out.view(), "#" + comment + std::string(ending) + "\n") << length;
        }
    }
}

TEST(plain_lines, follow_the_procedure_the_scope_and_the_open_data_definition_of_their_line)
{
    program_declarations program;
    collect_declarations_from_text(declared_program, "/nonexistent", program);
    conversion_context context;
    context.program = &program;
    context.procedure = &program.procedures.front();
    ASSERT_TRUE(context.procedure->far);
    plain_line_writer writer(&program);
    conversion_workspace work;
    text_buffer out;
    constexpr std::string_view ret = "\tret";
    EXPECT_EQ(writer.write(ret, ret.data() + ret.size(), context, data_directive::none, out, work), plain_line::not_plain);

    context.procedure = nullptr;
    constexpr std::string_view more = "\tmov ax, bx";
    EXPECT_EQ(writer.write(more, more.data() + more.size(), context, data_directive::db, out, work),
              plain_line::not_plain);
    program_declarations shorts;
    collect_declarations_from_text("Short dw 0\n", "/nonexistent", shorts);
    plain_line_writer short_writer(&shorts);
    context.program = &shorts;
    constexpr std::string_view jump = "\tjmp short next";
    EXPECT_EQ(short_writer.write(jump, jump.data() + jump.size(), context, data_directive::none, out, work),
              plain_line::not_plain);  // a program's own short is a name the full conversion looks up
    context.program = &program;

    context.local_label_prefix = ".Lmain.";
    for (const auto& [line, written] : {std::pair<std::string_view, std::string_view>{"@@again:", ".Lmain.again:\t\t\n"},
                                        {"\tjnz short @@again ; back", "\tjnz\t.Lmain.again\t# back\n"}}) {
        text_buffer local;
        EXPECT_EQ(writer.write(line, line.data() + line.size(), context, data_directive::none, local, work),
                  plain_line::written);
        EXPECT_EQ(local.view(), written);
    }
    context.local_label_prefix = {};

    constexpr std::string_view comment = "; between";
    EXPECT_EQ(writer.write(comment, comment.data() + comment.size(), context, data_directive::db, out, work),
              plain_line::passed_over);
    EXPECT_EQ(out.view(), "# between\n");
}

} // namespace
} // namespace dravent::testing
