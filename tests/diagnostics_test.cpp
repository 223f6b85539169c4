// The warnings the driver writes for lines left for a hand: their form, one copy per line and
// text, the closing summary, --quiet and --strict.
#include "driver/diagnostics.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace dravent {
namespace {

TEST(diagnostics, formats_file_line_and_column_like_a_compiler)
{
    std::ostringstream messages;
    diagnostics warnings(messages, "src/in.asm", {});
    warnings.report(48, 0, "the whole line");
    warnings.report(49, 7, "from column 7");
    EXPECT_EQ(messages.str(), "src/in.asm:48: warning: the whole line\n"
                              "src/in.asm:49:7: warning: from column 7\n");
}

TEST(diagnostics, names_the_input_as_given)
{
    for (const std::string name : {"<stdin>", "../a b.asm", "/tmp/x.ASM"}) {
        std::ostringstream messages;
        diagnostics warnings(messages, name, {});
        warnings.report(1, 2, "t");
        EXPECT_EQ(messages.str(), name + ":1:2: warning: t\n");
    }
}

TEST(diagnostics, one_line_never_gives_two_copies_of_a_warning)
{
    std::ostringstream messages;
    diagnostics warnings(messages, "f", {});
    warnings.report(3, 1, "same");
    warnings.report(3, 9, "other");
    warnings.report(3, 5, "same");   // a copy, at whatever column
    warnings.report(3, 9, "other");  // and again after another text
    warnings.report(4, 1, "same");   // the next line may say it again
    EXPECT_EQ(messages.str(), "f:3:1: warning: same\n"
                              "f:3:9: warning: other\n"
                              "f:4:1: warning: same\n");
    EXPECT_EQ(warnings.warning_count(), 3U);
    EXPECT_EQ(warnings.line_count(), 2U);
}

TEST(diagnostics, summary_counts_lines_after_the_warnings)
{
    struct row {
        int lines;
        int warnings_per_line;
        std::string summary;
    };
    for (const row& r : {row{0, 0, ""},
                         row{1, 1, "dravent: 1 line needs a hand (see the warnings above)\n"},
                         row{1, 3, "dravent: 1 line needs a hand (see the warnings above)\n"},
                         row{3, 2, "dravent: 3 lines need a hand (see the warnings above)\n"}}) {
        std::ostringstream messages;
        diagnostics warnings(messages, "f", {});
        for (int line = 1; line <= r.lines; ++line) {
            for (int n = 0; n < r.warnings_per_line; ++n) {
                warnings.report(static_cast<std::uint64_t>(line * 10), 0, std::string(static_cast<std::size_t>(n + 1), 'w'));
            }
        }
        const std::string before = messages.str();
        warnings.finish();
        EXPECT_EQ(messages.str(), before + r.summary) << r.lines << " lines";
        EXPECT_EQ(warnings.line_count(), static_cast<std::uint64_t>(r.lines));
        EXPECT_EQ(warnings.warning_count(), static_cast<std::uint64_t>(r.lines * r.warnings_per_line));
    }
}

TEST(diagnostics, quiet_writes_nothing_but_still_counts)
{
    std::ostringstream messages;
    diagnostics warnings(messages, "f", {.quiet = true, .strict = true});
    warnings.report(1, 0, "a");
    warnings.report(1, 0, "a");
    warnings.report(2, 4, "b");
    warnings.finish();
    EXPECT_EQ(messages.str(), "");
    EXPECT_EQ(warnings.warning_count(), 2U);
    EXPECT_EQ(warnings.line_count(), 2U);
    EXPECT_EQ(warnings.exit_status(), exit_needs_a_hand);
}

TEST(diagnostics, strict_turns_any_warning_into_status_2)
{
    struct row {
        bool strict;
        bool warned;
        int status;
    };
    for (const row& r : {row{false, false, 0}, row{false, true, 0}, row{true, false, 0}, row{true, true, 2}}) {
        std::ostringstream messages;
        diagnostics warnings(messages, "f", {.quiet = false, .strict = r.strict});
        if (r.warned) {
            warnings.report(7, 0, "left for a hand");
        }
        warnings.finish();
        EXPECT_EQ(warnings.exit_status(), r.status) << "strict " << r.strict << ", warned " << r.warned;
    }
    EXPECT_EQ(exit_needs_a_hand, 2);
}

} // namespace
} // namespace dravent
