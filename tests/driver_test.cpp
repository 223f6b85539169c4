// The dravent command as users run it: messages, exit status, which files exist, output bytes.
#include "program_runner.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

namespace dravent::testing {
namespace {

namespace fs = std::filesystem;

const std::string banner = "Dravent 0.8.2 - Tasm to GNU As converter\n\r\n";
const std::string usage = "Converts Tasm intel assembler to AT&T syntax (GNU As)\n\r"
                          "Usage: Dravent <inputfile> <outputfile>\n\n\r\n";

class dravent_command : public ::testing::Test {
protected:
    // Converts input through the executable; expects a completed run with the banner alone on
    // standard output (warnings about the source go to standard error) and returns the output file.
    std::string convert(const std::string& input)
    {
        write_file(folder / "in.asm", input);
        const separate_result result =
            run_dravent({(folder / "in.asm").string(), (folder / "out.s").string()}, stream_setup{});
        EXPECT_EQ(result.exit_status, 0);
        EXPECT_EQ(result.standard_output, banner);
        return read_file(folder / "out.s");
    }

    scratch_folder folder;
};

TEST_F(dravent_command, wrong_argument_counts_print_usage_and_touch_nothing)
{
    for (const auto& arguments : {std::vector<std::string>{},
                                  std::vector<std::string>{(folder / "a.asm").string()},
                                  std::vector<std::string>{(folder / "a").string(), (folder / "b").string(),
                                                           (folder / "c").string()}}) {
        const program_result result = run_dravent(arguments);
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_output, banner + usage);
    }
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(dravent_command, missing_or_directory_input_creates_no_output)
{
    fs::create_directory(folder / "sources");
    for (const std::string input : {"missing.asm", "sources"}) {
        const program_result result = run_dravent({(folder / input).string(), (folder / "out.s").string()});
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_output, banner + "Couldn't open input file\n\r\n");
        EXPECT_FALSE(fs::exists(folder / "out.s"));
    }
}

TEST_F(dravent_command, unopenable_output_is_reported)
{
    write_file(folder / "in.asm", "\tret\n");
    for (const fs::path& output : {folder / "no-such-folder" / "out.s", folder.path()}) {
        const program_result result = run_dravent({(folder / "in.asm").string(), output.string()});
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_output, banner + "Couldn't open output file\n\r\n");
    }
}

TEST_F(dravent_command, full_disk_is_a_write_failure)
{
    write_file(folder / "in.asm", "; one line\n");
    const program_result result = run_dravent({(folder / "in.asm").string(), "/dev/full"});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_output, banner + "Couldn't write output file\n\r\n");
}

TEST_F(dravent_command, read_error_is_not_end_of_input)
{
    // Reading a process's own memory at offset 0 fails with an I/O error.
    const program_result result = run_dravent({"/proc/self/mem", (folder / "out.s").string()});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_output, banner + "Couldn't read input file\n\r\n");
}

TEST_F(dravent_command, same_file_through_any_name_is_refused_and_left_alone)
{
    const std::string source = "; keep me\n\tret\n";
    write_file(folder / "in.asm", source);
    fs::create_hard_link(folder / "in.asm", folder / "hard.asm");
    fs::create_symlink(folder / "in.asm", folder / "soft.asm");
    for (const std::string output : {"in.asm", "hard.asm", "soft.asm"}) {
        const program_result result = run_dravent({(folder / "in.asm").string(), (folder / output).string()});
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_output, banner + "Input and output are the same file\n\r\n");
        EXPECT_EQ(read_file(folder / "in.asm"), source);
    }
}

TEST_F(dravent_command, empty_input_gives_empty_output)
{
    EXPECT_EQ(convert(""), "");
    EXPECT_TRUE(fs::exists(folder / "out.s"));
}

TEST_F(dravent_command, existing_output_is_replaced)
{
    write_file(folder / "out.s", "old contents that are longer than the new ones\n");
    EXPECT_EQ(convert("; new\n"), "# new\n");
}

// An existing output is written over and cut where the new text ends: none of it is left after
// the new text, and an include that names it reads as empty, as if it had been emptied when it
// was opened.
TEST_F(dravent_command, a_large_existing_output_is_replaced_and_reads_as_empty)
{
    std::string filler;
    for (int n = 0; n < 40000; ++n) {
        filler += "; a line of the old output, long enough to make a megabyte\n";
    }
    write_file(folder / "out.s", filler);
    EXPECT_EQ(convert("; new\n"), "# new\n");

    write_file(folder / "defs.inc", "cnt dw 0\n" + filler);
    write_file(folder / "in.asm", "include defs.inc\n\tmov ax, cnt\n");
    const separate_result result =
        run_dravent({(folder / "in.asm").string(), (folder / "defs.inc").string()}, stream_setup{});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(read_file(folder / "defs.inc"), "\n\tmovw\t$cnt,%ax\n");  // cnt was never declared
}

// A write that fails part way (the file size limit, with SIGXFSZ ignored as the shell's trap leaves
// it) leaves the output written so far and none of the old text after it.
TEST_F(dravent_command, a_failed_write_leaves_no_old_output_behind)
{
    std::string old_text;
    std::string input;
    for (int n = 0; n < 200; ++n) {
        old_text += "; old text, many times as long as the limit\n";
        input += "\tmov ax, bx\n";
    }
    write_file(folder / "out.s", old_text);
    write_file(folder / "in.asm", input);
    const std::string command = "trap '' XFSZ; ulimit -f 1; exec '" + std::string(DRAVENT_EXECUTABLE) + "' -q '" +
                                (folder / "in.asm").string() + "' '" + (folder / "out.s").string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    const std::string left = read_file(folder / "out.s");
    EXPECT_GT(left.size(), 0U);
    EXPECT_LT(left.size(), old_text.size());
    std::string converted;
    for (int n = 0; n < 200; ++n) {
        converted += "\tmovw\t%bx,%ax\n";
    }
    EXPECT_TRUE(converted.starts_with(left)) << left;
}

// /proc/PID/status's mask of the signals a process handles (SigCgt) or ignores (SigIgn).
std::uint64_t signal_mask(pid_t pid, const std::string& field)
{
    std::istringstream status(read_file("/proc/" + std::to_string(pid) + "/status"));
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":")) {
            return std::stoull(line.substr(field.size() + 1), nullptr, 16);
        }
    }
    return 0;
}

constexpr std::uint64_t bit_of(int signal) { return std::uint64_t{1} << (signal - 1); }

// Stopped while it still reads its input (a pipe that stays open), dravent leaves the output it
// writes over empty, as emptying it first would have: none of the old contents is left. A signal
// that was ignored when it started (SIGHUP under nohup) stays ignored.
TEST_F(dravent_command, a_stopping_signal_leaves_no_old_output_behind)
{
    write_file(folder / "out.s", "old contents that a stopped conversion must not leave\n");
    int input[2];
    ASSERT_EQ(pipe(input), 0);
    struct sigaction ignore {};
    struct sigaction before {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGHUP, &ignore, &before);  // the child starts with SIGHUP ignored
    const pid_t pid = start_dravent_on_pipe({"-", (folder / "out.s").string()}, input[0], input[1]);
    sigaction(SIGHUP, &before, nullptr);
    ASSERT_EQ(write(input[1], "\tmov ax, 1\n", 11), 11);
    // Until dravent handles SIGTERM, it has not opened the output.
    for (int waited = 0; waited < 10000 && (signal_mask(pid, "SigCgt") & bit_of(SIGTERM)) == 0; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if ((signal_mask(pid, "SigCgt") & bit_of(SIGTERM)) == 0) {
        kill(pid, SIGKILL);
        FAIL() << "dravent never came to handle SIGTERM";
    }
    EXPECT_EQ(signal_mask(pid, "SigCgt") & (bit_of(SIGINT) | bit_of(SIGHUP)), bit_of(SIGINT));
    EXPECT_NE(signal_mask(pid, "SigIgn") & bit_of(SIGHUP), 0U);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    close(input[1]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(read_file(folder / "out.s"), "");
}

TEST_F(dravent_command, one_output_line_per_input_line)
{
    EXPECT_EQ(convert("\n\n; c\n\n"), "\n\n# c\n\n");
    // A last line without a line feed is converted whole and ends in one.
    EXPECT_EQ(convert("; a\n; b"), "# a\n# b\n");
}

TEST_F(dravent_command, crlf_endings_stay_crlf_and_stay_out_of_the_fields)
{
    EXPECT_EQ(convert("\tret\r\n; c\r\nlbl:\r\n\r\n; last\r"), "\tret\t\r\n# c\r\nlbl:\t\t\r\n\r\n# last\r\n");
    // Only the one carriage return that ends the line belongs to the ending.
    EXPECT_EQ(convert("; a\rb\n; c\r\r\n"), "# a\rb\n# c\r\r\n");
}

TEST_F(dravent_command, long_lines_are_converted_whole)
{
    const std::string text(1000, 'x');
    const std::string label(300, 'L');
    EXPECT_EQ(convert(";" + text + "\n" + label + "\n"), "#" + text + "\n" + label + "\t\t\n");
    // Far past any read buffer: one line of 1 MB.
    const std::string huge(1 << 20, 'y');
    EXPECT_EQ(convert(";" + huge), "#" + huge + "\n");
}

// A line longer than 1 MB that needs more than the plain rules (an expression, a string) would
// take memory many times its length to read: it is copied as it stands, with a warning, and the
// lines around it are converted as usual.
TEST_F(dravent_command, a_line_too_long_to_read_is_copied_with_a_warning)
{
    std::string expression = "\tmov ax, 1";
    while (expression.size() <= std::size_t{1} << 20) {
        expression += "+(2)";
    }
    write_file(folder / "in.asm", "\tret\n" + expression + "\r\n\tmov ax, [bx+si+4]\n");
    const separate_result result =
        run_dravent({(folder / "in.asm").string(), (folder / "out.s").string()}, stream_setup{});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(read_file(folder / "out.s"), "\tret\t\n" + expression + "\r\n\tmovw\t4(%bx,%si),%ax\n");
    EXPECT_NE(result.standard_error.find("in.asm:2: warning: a line longer than 1 MB"), std::string::npos)
        << result.standard_error;
    EXPECT_EQ(result.standard_error.find("in.asm:3:"), std::string::npos) << result.standard_error;
    // A data definition of numbers is written and declared at any length.
    std::string values = "table db 1";
    while (values.size() <= std::size_t{1} << 20) {
        values += ",2";
    }
    std::string written = "table:\t.byte\t1";
    for (std::size_t n = 0; n < (values.size() - 10) / 2; ++n) {
        written += ",2";
    }
    EXPECT_EQ(convert(values + "\n\tmov al, table\n"), written + "\n\tmovb\ttable,%al\n");
}

TEST_F(dravent_command, nul_bytes_are_kept)
{
    const std::string input("; a\0b\nlbl\0x\n", 12);
    EXPECT_EQ(convert(input), std::string("# a\0b\nlbl\0x\t\t\n", 14));
}

TEST_F(dravent_command, keeps_all_forty_operands)
{
    std::string line = "\tx ";
    std::string reversed;
    for (int n = 1; n <= 40; ++n) {
        line += std::to_string(n) + ",";
    }
    for (int n = 40; n >= 1; --n) {
        reversed += '$';
        reversed += std::to_string(n);
        reversed += n > 1 ? "," : "";
    }
    EXPECT_EQ(convert(line + " ; c\n"), "\tx\t" + reversed + "\t# c\n");
}

std::size_t count_lines(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) +
           (!text.empty() && text.back() != '\n' ? 1 : 0);
}

// "include" in column 0 stands where a label would: the file name after it is still the file to
// read for declarations, and still written out when the file is not one of declarations alone.
TEST_F(dravent_command, include_in_column_0_reads_and_keeps_its_file_name)
{
    write_file(folder / "defs.inc", "NBYTES equ 10\nglobal cnt:word\n");
    write_file(folder / "code.inc", "\tret\n");
    const std::string output = convert(
        "include DEFS.INC\n"
        "INCLUDE \"code.inc\" ; the code\n"
        "include missing.inc\n"
        "\tinclude missing.inc\n"
        "\tmov ax, cnt\n");
    EXPECT_EQ(output,
              "\t.equ\tNBYTES,10; .globl cnt\n"
              "\tINCLUDE\t\"code.inc\"\t# the code\n"
              "\tinclude\tmissing.inc\n"
              "\tinclude\tmissing.inc\n"
              "\tmovw\tcnt,%ax\n");
}

// arg, and local inside a procedure, name stack-frame variables; local elsewhere is a macro's;
// uses asks for code Tasm writes.
TEST_F(dravent_command, frame_directives_are_told_from_macro_local)
{
    write_file(folder / "in.asm", "sum proc near\n\targ a:word\n\tlocal t:word\nsum endp\n\tlocal t\n"
                                  "p proc near\n\tuses si di\n\tret\np endp\n");
    const separate_result result =
        run_dravent({(folder / "in.asm").string(), (folder / "out.s").string()}, stream_setup{});
    const std::string frame = "warning: arg and local name a procedure's arguments";
    const std::string macro = "warning: macros are not converted";
    const std::string name = (folder / "in.asm").string();
    EXPECT_NE(result.standard_error.find(name + ":2:2: " + frame), std::string::npos) << result.standard_error;
    EXPECT_NE(result.standard_error.find(name + ":3:2: " + frame), std::string::npos) << result.standard_error;
    EXPECT_NE(result.standard_error.find(name + ":5:2: " + macro), std::string::npos) << result.standard_error;
    // uses on a line of its own makes Tasm save and restore registers.
    EXPECT_NE(result.standard_error.find(name + ":7:2: warning: uses makes Tasm save the registers"), std::string::npos)
        << result.standard_error;
}

// The simplified segment directives are all GNU As can want: they draw no warning.
TEST_F(dravent_command, simplified_segments_draw_no_warning)
{
    write_file(folder / "in.asm",
               "\t.model small\n\t.stack 100h\n\t.data\nx dw 1\n\t.data?\ny dw ?\n\t.const\nz db 2\n"
               "\t.code\n\tmov ax, x\n\t.data\n\tend\n");
    const separate_result result =
        run_dravent({(folder / "in.asm").string(), (folder / "out.s").string()}, stream_setup{});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, "");
    EXPECT_EQ(read_file(folder / "out.s"), "\t.code16\t\n\n\t.data\t\nx:\t.short\t1\n\t.bss\t\ny:\t.short\t0\n"
                                            "\t.section\t.rodata\nz:\t.byte\t2\n\t.text\t\n\tmovw\tx,%ax\n\t.data\t\n\n");
}

TEST_F(dravent_command, an_override_that_tasm_would_choose_between_registers_is_left_for_a_hand)
{
    // ds reaches nothing; es and ss both reach DGROUP, where count lies: Tasm puts one of them.
    write_file(folder / "in.asm",
               "\t.model small\n\t.data\ncount dw 0\n\t.code\n\tassume ds:nothing, es:DGROUP\n"
               "\tmov ax, count\n\tmov ax, cs:count\n");
    const separate_result result =
        run_dravent({(folder / "in.asm").string(), (folder / "out.s").string()}, stream_setup{});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, (folder / "in.asm").string() +
                                         ":6:10: warning: assume lets more than one segment register reach this "
                                         "variable, and not the one its address uses by default: Tasm puts one's "
                                         "override here; write it\n"
                                         "dravent: 1 line needs a hand (see the warnings above)\n");
    const std::string out = read_file(folder / "out.s");
    EXPECT_NE(out.find("\tmovw\tcount,%ax\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\tmovw\t%cs:count,%ax\n"), std::string::npos) << out;
}

TEST_F(dravent_command, a_use_of_a_name_that_undecided_branches_declare_otherwise_is_left_for_a_hand)
{
    // BIG is not defined in the file (tasm /dBIG may define it): either branch may be Tasm's.
    write_file(folder / "in.asm", "\t.model small\n\t.data\n\tifdef BIG\nretries dw 0\nP equ word ptr [bp+6]\n"
                                  "\telse\nretries db 0\nP equ word ptr [bp+4]\n\tendif\ncount dw 0\n\t.code\n"
                                  "\tifdef FARCODE\nwork proc far\n\telse\nwork proc near\n\tendif\n"
                                  "\tinc retries\n\tmov ax, P\n\tinc count ; retries\n\tret\nwork endp\n");
    const separate_result result =
        run_dravent({(folder / "in.asm").string(), (folder / "out.s").string()}, stream_setup{});
    EXPECT_EQ(result.exit_status, 0);
    const std::string text = ": warning: a name here is declared otherwise in another branch of a conditional that "
                             "Dravent cannot decide (it asks for a name the file does not define before, or is no "
                             "constant expression): this line follows the branch assembled where nothing is defined "
                             "outside the file (where that is not known, the last declaration); check it against "
                             "the branch Tasm assembles\n";
    const std::string in = (folder / "in.asm").string();
    EXPECT_EQ(result.standard_error, in + ":17:6" + text + in + ":18:10" + text + in + ":20:2" + text +
                                         "dravent: 3 lines need a hand (see the warnings above)\n");
}

TEST_F(dravent_command, an_ifdef_of_a_text_equate_that_undecided_branches_give_is_left_for_a_hand)
{
    // GNU As has no symbol for a text equate, and Tasm has this one only where BIG is defined.
    write_file(folder / "in.asm", "\tifdef BIG\nSLOT equ <[bp+6]>\n\tendif\n\tifdef SLOT\n\tnop\n\tendif\n");
    const separate_result result =
        run_dravent({(folder / "in.asm").string(), (folder / "out.s").string()}, stream_setup{});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, (folder / "in.asm").string() +
                                         ":4: warning: this Tasm directive has no GNU As form as written; convert it "
                                         "by hand\ndravent: 1 line needs a hand (see the warnings above)\n");
    const std::string out = read_file(folder / "out.s");
    EXPECT_NE(out.find("\tifdef\tSLOT\n"), std::string::npos) << out;
}

TEST_F(dravent_command, a_line_that_depends_on_a_code_size_chosen_in_an_undecided_branch_is_warned)
{
    write_file(folder / "in.asm", "\tifdef FLAT\ncode segment use32\n\telse\ncode segment use16\n\tendif\n"
                                  "\tcall dword ptr [bx]\n\tcall word ptr [bx]\n\tlods byte ptr [si]\ncode ends\n"
                                  "more segment use16\n\tcall dword ptr [bx]\nmore ends\n");
    const separate_result result =
        run_dravent({(folder / "in.asm").string(), (folder / "out.s").string()}, stream_setup{});
    const std::string text = ": warning: the code size here (use16 or use32, a model) is chosen in a branch of a "
                             "conditional that Dravent cannot decide, and this line depends on it (a dword pointer "
                             "is far in 16-bit code, near in 32-bit code; a string instruction addresses through "
                             "si or esi): check it against the branch Tasm assembles\n";
    const std::string in = (folder / "in.asm").string();
    EXPECT_EQ(result.standard_error,
              in + ":6:7" + text + in + ":8:7" + text + "dravent: 2 lines need a hand (see the warnings above)\n");
}

TEST_F(dravent_command, lines_of_a_branch_tasm_does_not_assemble_draw_no_warning)
{
    // GNU As skips the branch too; its lines are converted, but there is nothing to finish.
    write_file(folder / "in.asm", "WIDE = 1\n\tif WIDE\nrec struc\nf dd ?\nrec ends\n\telse\nrec struc\nf dw ?\n"
                                  "rec ends\n\tmov ax, seg f\n\tendif\n\tmov ax, seg f\n");
    const separate_result result =
        run_dravent({(folder / "in.asm").string(), (folder / "out.s").string()}, stream_setup{});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, (folder / "in.asm").string() +
                                         ":12:10: warning: 'seg' needs a DOS relocation that ELF cannot hold: load the "
                                         "segment by hand\ndravent: 1 line needs a hand (see the warnings above)\n");
}

TEST_F(dravent_command, a_name_gnu_as_reads_only_in_quotes_draws_a_warning_that_names_it)
{
    // Tasm's own words with an "@" or "?" (@data, @@ labels, ? for no value) and a name the output
    // does not hold (end's) draw nothing of the kind; the @data warning stays @data's.
    write_file(folder / "in.asm",
               "\t.model small\n\t.data\n?tmp dw ?\n\t.code\nstart: mov ax, @data\n\tmov ax, ?TMP\n"
               "@@x: jmp @@x\n\tdb '?tmp'\n\tend ?tmp\n");
    const separate_result result =
        run_dravent({(folder / "in.asm").string(), (folder / "out.s").string()}, stream_setup{});
    const std::string in = (folder / "in.asm").string();
    const std::string quoted = ": warning: the name ?tmp holds a '?' or an '@', which GNU As reads only in quotes: "
                               "rename it, or write \"?tmp\" wherever it stands, by hand\n";
    EXPECT_EQ(result.standard_error,
              in + ":3:1" + quoted + in +
                  ":5:16: warning: a segment value set by the DOS loader (@data, @code, ...) has no ELF form: "
                  "load the segment register by hand\n" +
                  in + ":6:10" + quoted + "dravent: 3 lines need a hand (see the warnings above)\n");
}

TEST_F(dravent_command, a_chain_of_fields_adds_each_ones_offset_and_takes_the_last_ones_size)
{
    // head is a field that is an instance of Block; IDEAL mode names each field by its structure.
    const std::string out = convert("\tideal\nstruc Block\nnext dw ?\ntag db ?\nends Block\n"
                                    "struc Arena\nbase dw ?\nhead Block <>\nends Arena\n"
                                    "Heap Arena <>\n\tmov [Heap.head.next], 0\n\tmov [Heap.head.tag], 1\n");
    EXPECT_NE(out.find("\tmovw\t$0,Heap+Arena.head+Block.next\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\tmovb\t$1,Heap+Arena.head+Block.tag\n"), std::string::npos) << out;
}

TEST_F(dravent_command, broken_input_still_gives_one_line_per_line)
{
    std::string garbage;
    std::uint32_t state = 12345;
    for (int n = 0; n < 200000; ++n) {
        state = state * 1103515245 + 12345;
        garbage += static_cast<char>(state >> 24);
    }
    std::string blanks_and_commas;
    for (int n = 0; n < 1000; ++n) {
        blanks_and_commas += std::string(static_cast<std::size_t>(n % 7), n % 2 ? ',' : ' ') + " ,\t,\n";
    }
    std::string long_line = "\t";
    long_line.append(std::size_t{10} << 20, 'a');
    long_line += " b, c\n";
    const std::string inputs[] = {
        garbage,
        std::string(100000, 'x'),   // no line feed at all
        std::string(100000, '\n'),  // nothing but line feeds
        long_line,                  // one line of 10 MB
        blanks_and_commas,
    };
    for (const std::string& input : inputs) {
        const std::string output = convert(input);
        EXPECT_EQ(count_lines(output), count_lines(input));
        EXPECT_EQ(output.back(), '\n');
    }
}

} // namespace
} // namespace dravent::testing
