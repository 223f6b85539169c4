// The dravent command's options and "-" names through the real executable: what goes to standard
// output and standard error, the exit status, and which files exist afterwards.
#include "program_runner.hpp"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace dravent::testing {
namespace {

namespace fs = std::filesystem;
using source = stream_setup::source;

const std::string banner = "Dravent 0.8.2 - Tasm to GNU As converter\n\r\n";
const std::string usage = "Converts Tasm intel assembler to AT&T syntax (GNU As)\n\r"
                          "Usage: Dravent <inputfile> <outputfile>\n\n\r\n";
const std::string try_help = "Try 'dravent --help' for more information.\n";

// A few lines and what dravent makes of them.
const std::string source_text = "start:  mov ax, [bx+si+4]   ; load\r\n\tint 21h\n; end\n";
const std::string converted = "start:\tmovw\t4(%bx,%si),%ax\t# load\r\n\tint\t$0x21\n# end\n";

stream_setup from_pipe(const std::string& bytes)
{
    stream_setup streams;
    streams.input = source::pipe;
    streams.input_bytes = bytes;
    return streams;
}

class dravent_options : public ::testing::Test {
protected:
    dravent_options() { write_file(folder / "in.asm", source_text); }

    std::string in() const { return (folder / "in.asm").string(); }
    std::string out() const { return (folder / "out.s").string(); }

    // Every file in the folder but in.asm.
    std::vector<std::string> other_files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            if (entry.path().filename() != "in.asm") {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }

    scratch_folder folder;
};

TEST_F(dravent_options, help_and_version_print_on_standard_output_and_exit_0)
{
    for (const std::string option : {"--help", "-h"}) {
        // Even with names after it, help touches no file.
        const separate_result result = run_dravent({option, in(), out()}, {});
        EXPECT_EQ(result.exit_status, 0);
        EXPECT_EQ(result.standard_output.rfind("Usage: dravent [OPTION]... INPUT OUTPUT\n", 0), 0U) << option;
        for (const std::string documented : {"-o, --output=FILE", "-q, --quiet", "--strict", "-h, --help",
                                             "-V, --version", "  --  ", "\"-\"", "Exit status"}) {
            EXPECT_NE(result.standard_output.find(documented), std::string::npos) << documented;
        }
        EXPECT_EQ(result.standard_error, "");
    }
    for (const std::string option : {"--version", "-V"}) {
        const separate_result result = run_dravent({option, in(), out()}, {});
        EXPECT_EQ(result.exit_status, 0);
        EXPECT_EQ(result.standard_output.rfind("dravent 0.8.2\nCopyright (c) 2026 the Dravent developers\n", 0), 0U)
            << option;
        EXPECT_EQ(result.standard_error, "");
    }
    EXPECT_TRUE(other_files().empty());
}

TEST_F(dravent_options, unknown_options_and_bad_option_use_are_usage_errors)
{
    struct row {
        std::vector<std::string> arguments;
        std::string error;
    };
    const std::vector<row> rows = {
        {{"--bogus", in(), out()}, "unknown option '--bogus'"},
        {{"-x", in(), out()}, "unknown option '-x'"},
        {{"-qx", in(), out()}, "unknown option '-x'"},
        {{"--Quiet", in(), out()}, "unknown option '--Quiet'"},
        {{"--quiet=yes", in(), out()}, "option '--quiet' takes no value"},
        {{"--strict", "--help=all"}, "option '--help' takes no value"},
        {{"-o"}, "option '-o' needs a file name"},
        {{"--output"}, "option '--output' needs a file name"},
        {{"-o", out(), in(), out()}, "with -o, give exactly one input file"},
        {{"-o", out()}, "with -o, give exactly one input file"},
        {{"-o", out(), "--output=" + out(), in()}, "more than one output file"},
        // A name that starts with "-" needs "--" before it.
        {{"-in.asm", out()}, "unknown option '-i'"},
    };
    for (const row& r : rows) {
        const separate_result result = run_dravent(r.arguments, {});
        EXPECT_EQ(result.exit_status, 1) << r.error;
        EXPECT_EQ(result.standard_output, "");
        EXPECT_EQ(result.standard_error, "dravent: " + r.error + "\n" + try_help);
    }
    EXPECT_TRUE(other_files().empty());
}

TEST_F(dravent_options, wrong_name_counts_after_options_print_the_usage)
{
    // Options after the names are names too: three names.
    const separate_result late = run_dravent({in(), out(), "-q"}, {});
    EXPECT_EQ(late.exit_status, 1);
    EXPECT_EQ(late.standard_output, banner + usage);
    // Quiet drops the banner, never the failure.
    const separate_result quiet = run_dravent({"-q", "--strict", in()}, {});
    EXPECT_EQ(quiet.exit_status, 1);
    EXPECT_EQ(quiet.standard_output, usage);
    EXPECT_EQ(quiet.standard_error, "");
    EXPECT_TRUE(other_files().empty());
}

TEST_F(dravent_options, every_way_to_name_the_output_converts_alike)
{
    const std::vector<std::vector<std::string>> forms = {
        {in(), out()},
        {"-o", out(), in()},
        {"-o" + out(), in()},
        {"--output", out(), in()},
        {"--output=" + out(), in()},
        {"--strict", "--", in(), out()},
        {"--", in(), out()},
    };
    for (const auto& arguments : forms) {
        fs::remove(folder / "out.s");
        const separate_result result = run_dravent(arguments, {});
        EXPECT_EQ(result.exit_status, 0) << arguments[0];
        EXPECT_EQ(result.standard_output, banner);
        EXPECT_EQ(result.standard_error, "");
        EXPECT_EQ(read_file(folder / "out.s"), converted) << arguments[0];
    }
}

TEST_F(dravent_options, double_dash_lets_names_start_with_a_dash)
{
    write_file(folder / "-in.asm", source_text);
    stream_setup streams;
    streams.working_directory = folder.path();
    const separate_result result = run_dravent({"-q", "--", "-in.asm", "-out.s"}, streams);
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_output, "");
    EXPECT_EQ(read_file(folder / "-out.s"), converted);
}

TEST_F(dravent_options, quiet_prints_nothing_but_failures)
{
    for (const std::string option : {"-q", "--quiet"}) {
        const separate_result clean = run_dravent({option, in(), out()}, {});
        EXPECT_EQ(clean.exit_status, 0);
        EXPECT_EQ(clean.standard_output, "");
        EXPECT_EQ(clean.standard_error, "");
        EXPECT_EQ(read_file(folder / "out.s"), converted);

        const separate_result missing = run_dravent({option, (folder / "missing.asm").string(), out()}, {});
        EXPECT_EQ(missing.exit_status, 1);
        EXPECT_EQ(missing.standard_output, "Couldn't open input file\n\r\n");
        const separate_result full = run_dravent({option, in(), "/dev/full"}, {});
        EXPECT_EQ(full.exit_status, 1);
        EXPECT_EQ(full.standard_output, "Couldn't write output file\n\r\n");
    }
}

TEST_F(dravent_options, strict_keeps_status_0_when_no_line_needs_a_hand)
{
    const separate_result result = run_dravent({"--strict", in(), out()}, {});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_output, banner);
    EXPECT_EQ(result.standard_error, "");
    EXPECT_EQ(read_file(folder / "out.s"), converted);
}

// One warning for each line that needs a hand, with its column, in the form compilers use, then the
// summary; the output is written whole all the same, and --strict turns it into exit status 2.
TEST_F(dravent_options, lines_left_for_a_hand_draw_one_warning_each)
{
    const fs::path fixture = fs::path(DRAVENT_TEST_DATA) / "fixtures" / "needs_a_hand.asm";
    const std::string name = fixture.string();
    const std::string expected = name + ":2:17: warning: a segment value set by the DOS loader (@data, @code, ...) "
                                        "has no ELF form: load the segment register by hand\n" +
                                 name + ":4:17: warning: 'seg' needs a DOS relocation that ELF cannot hold: load "
                                        "the segment by hand\n" +
                                 name + ":5:17: warning: Tasm's type operators (type, size, length, width, mask, "
                                        "this) have no GNU As form: write the value\n" +
                                 name + ":6:17: warning: Tasm's type operators (type, size, length, width, mask, "
                                        "this) have no GNU As form: write the value\n" +
                                 name + ":7:9: warning: no instruction or directive of that name (a macro call?): "
                                        "expand it by hand\n" +
                                 name + ":8:20: warning: call with arguments (call proc, args) is not converted: "
                                        "push the arguments and call by hand\n" +
                                 name + ":9:21: warning: 'seg' needs a DOS relocation that ELF cannot hold: load "
                                        "the segment by hand\n" +
                                 "dravent: 7 lines need a hand (see the warnings above)\n";
    const separate_result plain = run_dravent({name, out()}, {});
    EXPECT_EQ(plain.exit_status, 0);
    EXPECT_EQ(plain.standard_output, banner);
    EXPECT_EQ(plain.standard_error, expected);
    const std::string output = read_file(folder / "out.s");
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 10) << "every line is written";

    const separate_result strict = run_dravent({"--strict", name, out()}, {});
    EXPECT_EQ(strict.exit_status, 2);
    EXPECT_EQ(strict.standard_error, expected);
    EXPECT_EQ(read_file(folder / "out.s"), output) << "the whole output, as without --strict";

    const separate_result quiet = run_dravent({"--strict", "-q", name, out()}, {});
    EXPECT_EQ(quiet.exit_status, 2);
    EXPECT_EQ(quiet.standard_output, "");
    EXPECT_EQ(quiet.standard_error, "");
}

// Issue 16's program: every far call and jump in one segment draws its warning on its own line,
// and no other line does. The lines come from the fixture's Intel readings.
TEST_F(dravent_options, far_transfers_within_a_segment_are_named_by_line)
{
    const fs::path fixture = fs::path(DRAVENT_TEST_DATA) / "gnu_as" / "programs" / "far_calls.asm";
    const std::string name = fixture.string();
    std::ifstream in(fixture);
    std::string expected;
    std::size_t number = 0;
    for (std::string text; std::getline(in, text);) {
        ++number;
        const std::size_t intel = text.find(";=");
        if (intel == std::string::npos || text.compare(0, 1, ";") == 0) {
            continue;
        }
        const std::string reading = text.substr(intel + 2);
        // The warning points at the target: the first word after "call" or "jmp".
        const std::size_t verb = std::min(text.find("call"), text.find("jmp"));
        const std::size_t operand = text.find_first_not_of(" \t", text.find_first_of(" \t", verb));
        if (reading.find("push cs; call") != std::string::npos) {
            expected += name + ":" + std::to_string(number) + ":" + std::to_string(operand + 1) +
                        ": warning: far call written as push cs + near call; target in the same segment\n";
        } else if (text.find("jmp far ptr") != std::string::npos || text.find("; a far label") != std::string::npos) {
            expected += name + ":" + std::to_string(number) + ":" + std::to_string(operand + 1) +
                        ": warning: far jump written as a near jump; target in the same segment\n";
        }
    }
    const separate_result result = run_dravent({name, out()}, {});
    EXPECT_EQ(result.exit_status, 0);
    const std::string warnings = result.standard_error.substr(0, result.standard_error.rfind("dravent:"));
    EXPECT_EQ(warnings, expected);
}

TEST_F(dravent_options, dash_input_reads_a_pipe_of_any_size)
{
    // Several times the pipe's buffer, so the input really streams.
    std::string big_source;
    std::string big_converted;
    for (int n = 0; n < 20000; ++n) {
        big_source += source_text;
        big_converted += converted;
    }
    for (const std::string* text : std::vector<const std::string*>{&source_text, &big_source}) {
        const separate_result result = run_dravent({"-", out()}, from_pipe(*text));
        EXPECT_EQ(result.exit_status, 0);
        EXPECT_EQ(result.standard_output, banner);
        EXPECT_EQ(read_file(folder / "out.s"), text == &source_text ? converted : big_converted);
    }
}

// A pipe cannot be read twice: its copy still gives the declarations pass the whole program, so a
// variable declared after its use (a forward reference) is memory, through a pipe as from a file.
TEST_F(dravent_options, a_pipe_is_read_for_its_declarations_too)
{
    const std::string program = "\tmov ax, count\n\tinc flag\n\tret\ncount dw 0\nflag db 1\n";
    const std::string expected = "\tmovw\tcount,%ax\n\tincb\tflag\n\tret\t\ncount:\t.short\t0\nflag:\t.byte\t1\n";
    const separate_result piped = run_dravent({"-", out()}, from_pipe(program));
    EXPECT_EQ(piped.exit_status, 0);
    EXPECT_EQ(read_file(folder / "out.s"), expected);
    write_file(folder / "program.asm", program);
    const separate_result named = run_dravent({(folder / "program.asm").string(), "-"}, {});
    EXPECT_EQ(named.exit_status, 0);
    EXPECT_EQ(named.standard_output, expected);
}

TEST_F(dravent_options, a_fifo_is_read_by_name)
{
    const fs::path fifo = folder / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&fifo] {
        std::ofstream stream(fifo, std::ios::binary);
        stream << source_text;
    });
    const separate_result result = run_dravent({"-q", fifo.string(), out()}, {});
    writer.join();
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(read_file(folder / "out.s"), converted);
}

TEST_F(dravent_options, output_on_standard_output_gets_no_banner_or_message)
{
    write_file(folder / "stdout.s", "old text, longer than what replaces it: longer, longer, longer, longer\n");
    fs::create_symlink(folder / "stdout.s", folder / "link.s");
    struct row {
        std::string output;
        bool pipe;
        std::string file;  // the file that is standard output, if not a pipe
    };
    const std::vector<row> rows = {
        {"-", true, ""},
        {"-", false, ""},
        {"/dev/stdout", true, ""},
        {"/dev/stdout", false, ""},
        {(folder / "stdout.s").string(), false, (folder / "stdout.s").string()},  // the same file by name
        {(folder / "link.s").string(), false, (folder / "stdout.s").string()},    // and through a link
    };
    for (const row& r : rows) {
        for (const bool piped_input : {false, true}) {
            const std::vector<std::string> arguments = {piped_input ? "-" : in(), r.output};
            stream_setup streams = from_pipe(source_text);
            streams.input = piped_input ? source::pipe : source::none;
            streams.output_to_pipe = r.pipe;
            streams.output_file = r.file;
            const separate_result result = run_dravent(arguments, streams);
            const std::string what = r.output + (r.pipe ? " on a pipe" : " on a file") + (piped_input ? ", from -" : "");
            EXPECT_EQ(result.exit_status, 0) << what;
            EXPECT_EQ(result.standard_output, converted) << what;
            EXPECT_EQ(result.standard_error, banner) << what;
        }
    }
}

TEST_F(dravent_options, failures_with_output_on_standard_output_go_to_standard_error)
{
    const separate_result missing = run_dravent({(folder / "missing.asm").string(), "-"}, {});
    EXPECT_EQ(missing.exit_status, 1);
    EXPECT_EQ(missing.standard_output, "");
    EXPECT_EQ(missing.standard_error, banner + "Couldn't open input file\n\r\n");

    stream_setup full_disk;
    full_disk.output_file = "/dev/full";
    const separate_result full = run_dravent({in(), "/dev/stdout"}, full_disk);
    EXPECT_EQ(full.exit_status, 1);
    EXPECT_EQ(full.standard_error, banner + "Couldn't write output file\n\r\n");
}

TEST_F(dravent_options, standard_input_that_is_the_output_file_is_refused)
{
    // "dravent - out.s < out.s" would truncate its own input before reading it.
    write_file(folder / "out.s", source_text);
    stream_setup streams;
    streams.input = source::file;
    streams.input_file = folder / "out.s";
    const separate_result named = run_dravent({"-", out()}, streams);
    EXPECT_EQ(named.exit_status, 1);
    EXPECT_EQ(named.standard_output, banner + "Input and output are the same file\n\r\n");
    EXPECT_EQ(read_file(folder / "out.s"), source_text);
}

TEST_F(dravent_options, dash_both_ways_is_a_filter)
{
    stream_setup streams = from_pipe(source_text);
    streams.output_to_pipe = true;
    for (const auto& arguments : {std::vector<std::string>{"--quiet", "-", "-"}, std::vector<std::string>{"-qo-", "-"},
                                  std::vector<std::string>{"-q", "--output=-", "--", "-"}}) {
        const separate_result result = run_dravent(arguments, streams);
        EXPECT_EQ(result.exit_status, 0) << arguments[1];
        EXPECT_EQ(result.standard_output, converted) << arguments[1];
        EXPECT_EQ(result.standard_error, "") << arguments[1];
    }
    EXPECT_TRUE(other_files().empty());
}

} // namespace
} // namespace dravent::testing
