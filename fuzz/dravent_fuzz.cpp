// libFuzzer target: arbitrary bytes through the same conversion code the dravent command runs,
// as a whole file and line by line, checking what must hold for every input:
// - one output line for every input line, and no line feed inside an output line;
// - the output of a line depends only on that line, the declarations of its file, and the data
//   definition the line before left open (a data list that ends in a comma goes on in the next
//   line); a line leaves one open only when it holds a comma, or when it is blank or a comment
//   and passes on the one before;
// - a line written at once as a plain line gives the output, warnings and open data definition
//   that the full conversion gives it;
// - the whole-file loop gives the same bytes whatever its read and write block size;
// - the splitter's views lie inside the line, in order, and the tokenizer's tokens cover an operand
//   exactly, each one at least one character long.
#include "declarations/collect_declarations.hpp"
#include "driver/convert_file.hpp"
#include "driver/line_converter.hpp"
#include "source/split_line.hpp"
#include "source/tokenizer.hpp"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

int memory_file(std::string_view bytes)
{
    const int fd = memfd_create("dravent-fuzz", 0);
    check(fd >= 0, "memfd_create works");
    check(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()), "input written");
    ::lseek(fd, 0, SEEK_SET);
    return fd;
}

std::string read_back(int fd)
{
    std::string bytes;
    ::lseek(fd, 0, SEEK_SET);
    char block[4096];
    for (ssize_t n; (n = ::read(fd, block, sizeof block)) > 0;) {
        bytes.append(block, static_cast<std::size_t>(n));
    }
    return bytes;
}

std::string convert_whole_file(std::string_view input, const dravent::program_declarations& program,
                               std::size_t block_size)
{
    const int input_fd = memory_file(input);
    const int output_fd = memory_file({});
    const int kept = ::dup(output_fd);  // convert_file closes the descriptor it writes to
    std::ostringstream messages;
    dravent::diagnostics warnings(messages, "<fuzz>", {});
    check(dravent::convert_file(input_fd, output_fd, warnings, &program, block_size) == dravent::convert_result::done,
          "a memory file converts without error");
    std::string output = read_back(kept);
    ::close(kept);
    ::close(input_fd);
    return output;
}

bool lies_within(std::string_view part, std::string_view whole)
{
    return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

void check_tokens(std::string_view text)
{
    dravent::tokenizer tokens(text);
    std::size_t covered = 0;
    for (dravent::token t; tokens.next(t);) {
        check(!t.text.empty() && t.text.data() == text.data() + covered, "tokens follow each other without a gap");
        check(t.kind != dravent::token_kind::number || lies_within(t.digits, t.text), "a number's digits lie in it");
        covered += t.text.size();
    }
    check(covered == text.size(), "the tokens cover the whole text");
}

void check_split(std::string_view line)
{
    dravent::source_line source;
    dravent::split_line(line, source);
    const char* after = line.data();
    for (const std::string_view part : {source.label, source.mnemonic}) {
        check(lies_within(part, line) && (part.empty() || part.data() >= after), "label and mnemonic lie in the line");
        if (!part.empty()) {
            after = part.data() + part.size();
        }
    }
    for (const std::string_view operand : source.operands) {
        check(lies_within(operand, line) && operand.data() >= after, "operands lie in the line, in order");
        after = operand.data() + operand.size();
        check_tokens(operand);
    }
    check(!source.has_comment || lies_within(source.comment, line), "the comment lies in the line");
}

// A data definition stays open only after a line with a comma, or passes a blank or comment line.
void check_left_open(std::string_view line, dravent::data_directive before, dravent::data_directive after)
{
    dravent::source_line source;
    dravent::split_line(line, source);
    const bool blank = source.label.empty() && source.mnemonic.empty() && source.operands.empty();
    check(after == dravent::data_directive::none || (blank ? after == before : line.find(',') != line.npos),
          "a line leaves a data definition open only after a comma, or passes one on when blank");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // What the whole file declares; its includes name no file of the fuzzer's.
    dravent::program_declarations program;
    dravent::collect_declarations_from_text(input, "/nonexistent", program);

    // Line by line, each line with a converter of its own that knows only the declarations, the
    // line's number and the data definition the line before left open: nothing else carries over.
    std::string expected;
    std::size_t lines = 0;
    dravent::data_directive open = dravent::data_directive::none;
    for (std::size_t start = 0; start < input.size(); ++lines) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        const std::string_view line = input.substr(start, end - start);
        check_split(line);
        dravent::line_converter fresh(&program, open);
        fresh.set_next_line(lines + 1);
        std::string one;
        fresh.convert(line, one);
        check(!one.empty() && one.find('\n') == one.size() - 1, "an output line holds exactly one line feed, at its end");
        for (const dravent::warning& w : fresh.warnings()) {
            check(w.column <= line.size() + 1 && !w.text.empty(), "a warning points into its line and says something");
        }
        check_left_open(line, open, fresh.open_data());
        dravent::line_converter full(&program, open);
        full.set_next_line(lines + 1);
        full.write_plain_lines(false);
        std::string in_full;
        full.convert(line, in_full);
        check(in_full == one && full.open_data() == fresh.open_data() &&
                  std::equal(full.warnings().begin(), full.warnings().end(), fresh.warnings().begin(),
                             fresh.warnings().end(),
                             [](const dravent::warning& a, const dravent::warning& b) {
                                 return a.column == b.column && a.text == b.text;
                             }),
              "a plain line is written as the full conversion writes it");
        open = fresh.open_data();
        expected += one;
        start = end + 1;
    }

    // The whole file with one converter, as the command runs, with tiny and with usual blocks.
    for (const std::size_t block_size : {std::size_t{1} + size % 7, std::size_t{1} << 16}) {
        const std::string output = convert_whole_file(input, program, block_size);
        check(output == expected, "whole-file output equals the lines converted one by one");
    }
    std::size_t output_lines = 0;
    for (const char c : expected) {
        output_lines += c == '\n';
    }
    check(output_lines == lines, "one output line for every input line");
    return 0;
}
