// The file loop converts in blocks of lines, a round of them at a time on several threads:
// whatever the block size and the number of threads, the output and the warnings are those of
// converting the lines one after another.
#include "declarations/collect_declarations.hpp"
#include "driver/convert_file.hpp"
#include "driver/line_converter.hpp"
#include "program_runner.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace dravent::testing {
namespace {

// Declarations, a far procedure, local labels, data lists left open across blank and comment
// lines, lines that draw warnings, a CRLF line, a line longer than the small blocks, a comment
// block.
const std::string program_part = "count dw 0\n"
                                 "table db 1, 2,\n"
                                 "\n"
                                 "; more of the table\n"
                                 "        3, 4,\n"
                                 "        5\n"
                                 "draw proc far\n"
                                 "@@again: inc count\r\n"
                                 "        mov ax, count\n"
                                 "        frobnicate ax\n"
                                 "        jnz @@again\n"
                                 "        ret\n"
                                 "draw endp\n"
                                 "msg db '" + std::string(300, 'x') + "', 0\n"
                                 "        dd 1, 2,\n"
                                 "comment ~ not a declaration:\n"
                                 "count db 0\n"
                                 "        mov ax, count ~ ; the end\n";

struct conversion {
    std::string output;
    std::string messages;
};

program_declarations declarations_of_file(const std::filesystem::path& input)
{
    program_declarations program;
    const int fd = ::open(input.c_str(), O_RDONLY);
    EXPECT_TRUE(collect_declarations(fd, input.parent_path().string(), program));
    ::close(fd);
    return program;
}

conversion convert_in_blocks(const std::filesystem::path& input, const std::filesystem::path& output,
                             std::size_t block_size, unsigned threads, const program_declarations& program,
                             std::size_t most_output = std::size_t{8} << 20)
{
    std::ostringstream messages;
    diagnostics warnings(messages, "in.asm", {});
    const int input_fd = ::open(input.c_str(), O_RDONLY);
    const int output_fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_EQ(convert_file(input_fd, output_fd, warnings, &program, block_size, threads, most_output),
              convert_result::done);
    ::close(input_fd);
    warnings.finish();
    return {read_file(output), messages.str()};
}

conversion convert_in_blocks(const std::filesystem::path& input, const std::filesystem::path& output,
                             std::size_t block_size, unsigned threads)
{
    return convert_in_blocks(input, output, block_size, threads, declarations_of_file(input));
}

// The lines converted one after another, the reference.
std::string convert_line_by_line(const std::filesystem::path& input, const std::string& text)
{
    program_declarations program;
    const int fd = ::open(input.c_str(), O_RDONLY);
    EXPECT_TRUE(collect_declarations(fd, input.parent_path().string(), program));
    ::close(fd);
    line_converter converter(&program);
    std::string output;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        converter.convert(rest.substr(0, end), output);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return output;
}

TEST(convert_file, blocks_of_any_size_give_the_output_of_one_line_after_another)
{
    scratch_folder folder;
    std::string text;
    for (int part = 0; part < 40; ++part) {
        text += program_part;
    }
    text += "        db 9";  // the last line has no line feed
    write_file(folder / "in.asm", text);
    const std::string expected = convert_line_by_line(folder / "in.asm", text);
    const conversion whole = convert_in_blocks(folder / "in.asm", folder / "out.s", 1 << 20, 1);
    EXPECT_EQ(whole.output, expected);
    EXPECT_NE(whole.messages.find("in.asm:10:"), std::string::npos) << whole.messages;
    for (const unsigned threads : {1, 2, 3, 5}) {
        for (const std::size_t block_size : {1, 5, 64, 333, 4096}) {
            const conversion blocks = convert_in_blocks(folder / "in.asm", folder / "out.s", block_size, threads);
            EXPECT_EQ(blocks.output, expected) << threads << " threads, block size " << block_size;
            EXPECT_EQ(blocks.messages, whole.messages) << threads << " threads, block size " << block_size;
        }
    }
    // A block whose output grows past the most it may hold is written and converted on from the
    // line after: with a bound of a few bytes, every line or two.
    const program_declarations program = declarations_of_file(folder / "in.asm");
    for (const unsigned threads : {1, 2, 3}) {
        for (const std::size_t most_output : {1, 20, 100}) {
            const conversion bounded =
                convert_in_blocks(folder / "in.asm", folder / "out.s", 4096, threads, program, most_output);
            EXPECT_EQ(bounded.output, expected) << threads << " threads, output bound " << most_output;
            EXPECT_EQ(bounded.messages, whole.messages) << threads << " threads, output bound " << most_output;
        }
    }
}

// Past the limit of what the declarations keep, later names are converted as undeclared: the
// line where the limit was reached draws a warning, once, whatever the blocks and threads.
TEST(convert_file, the_line_where_the_declarations_reach_their_limit_is_warned_about)
{
    scratch_folder folder;
    std::string text;
    for (int n = 0; n < 30; ++n) {
        text.append("v").append(std::to_string(n)).append(" dw 0\n        inc v").append(std::to_string(n)).append("\n");
    }
    write_file(folder / "in.asm", text);
    program_declarations program;
    program.limit = 10;
    const int fd = ::open((folder / "in.asm").c_str(), O_RDONLY);
    ASSERT_TRUE(collect_declarations(fd, folder.path().string(), program));
    ::close(fd);
    for (const unsigned threads : {1, 2}) {
        const conversion result = convert_in_blocks(folder / "in.asm", folder / "out.s", 64, threads, program);
        EXPECT_NE(result.messages.find("in.asm:21: warning: the program declares more than Dravent keeps"),
                  std::string::npos)
            << result.messages;
        const std::size_t first = result.messages.find("the program declares more");
        EXPECT_EQ(result.messages.find("the program declares more", first + 1), std::string::npos) << result.messages;
    }
}

// A converter's first line knows its context like any later one: an instance met first (the
// first line of a block taken by a new thread) writes its field's default, a constant named in
// another case, as declared.
TEST(convert_file, the_first_line_a_converter_meets_knows_its_context)
{
    scratch_folder folder;
    const std::string text = "LIMIT   equ 5\n"
                             "pt      struc\n"
                             "px      dw limit\n"
                             "pt      ends\n"
                             "p       pt <>\n";
    write_file(folder / "in.asm", text);
    const std::string whole = convert_line_by_line(folder / "in.asm", text);
    const program_declarations program = declarations_of_file(folder / "in.asm");
    line_converter fresh(&program);
    fresh.set_next_line(5);
    std::string first;
    fresh.convert("p       pt <>", first);
    EXPECT_NE(first.find("LIMIT"), std::string::npos) << first;
    EXPECT_TRUE(whole.ends_with(first)) << whole << first;
}

// The declarations pass reads a file in blocks, looked at on a thread beside: the lines it marks
// keep their numbers from block to block, so every line stands in the procedure and @@ scope it
// stands in when the whole text is read at once. A name declared on the last line is known from
// the first.
TEST(convert_file, declarations_read_in_blocks_are_those_of_the_whole_text)
{
    scratch_folder folder;
    std::string text = "        mov ax, last_count\n";
    for (int part = 0; part < 4000; ++part) {
        text += "part" + std::to_string(part) + ":\n"
                "@@loop: dec cx\n"
                "        jnz @@loop\n";
        if (part % 7 == 0) {
            text += program_part;
        }
        if (part == 2000) {
            // A comment block longer than a block: the lines in it declare nothing.
            text += "        COMMENT |\n";
            for (int line = 0; line < 20000; ++line) {
                text += "phantom" + std::to_string(line) + " dw 0\nfake" + std::to_string(line) + ":\n";
            }
            text += "|\n        mov ax, phantom7\n";
        }
    }
    text += "last_count dw 0\n";
    ASSERT_GT(text.size(), 3U << 17) << "several blocks of the declarations pass";
    write_file(folder / "in.asm", text);
    program_declarations at_once;
    collect_declarations_from_text(text, folder.path().string(), at_once);
    const conversion expected = convert_in_blocks(folder / "in.asm", folder / "out.s", 1 << 17, 2, at_once);
    ASSERT_NE(expected.output.find("movw\tlast_count,%ax"), std::string::npos);
    ASSERT_NE(expected.output.find("\n#phantom7 dw 0\n#fake7:\n"), std::string::npos);
    ASSERT_NE(expected.output.find("\tmovw\t$phantom7,%ax"), std::string::npos) << "not a variable";
    ASSERT_EQ(at_once.comments.size(), 4000U / 7 + 1 + 1);  // one in every program part, the long one
    const conversion in_blocks = convert_in_blocks(folder / "in.asm", folder / "out.s", 1 << 17, 2);
    EXPECT_EQ(in_blocks.output, expected.output);
    EXPECT_EQ(in_blocks.messages, expected.messages);
}

} // namespace
} // namespace dravent::testing
