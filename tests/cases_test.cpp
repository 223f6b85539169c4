// Golden cases: every tests/cases/*.txt file holds input lines ("< ") each followed by the
// output line it must convert to ("> "). In both, "→" stands for a tab, "␍" for a carriage
// return, "␀" for a NUL byte and "␠" for a space (for trailing ones). Lines starting with "#" and
// blank lines separate groups; an empty expected line may be written ">" alone.
// DRAVENT_UPDATE_CASES=1 rewrites the expected lines from the converter's output, for a person
// to review with git diff.
#include "driver/line_converter.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace dravent {
namespace {

namespace fs = std::filesystem;

const std::vector<std::pair<std::string, std::string>> visible_characters = {
    {"→", "\t"}, {"␍", "\r"}, {"␀", std::string(1, '\0')}, {"␠", " "}};

std::string replace_all(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string decode(std::string text)
{
    for (const auto& [shown, real] : visible_characters) {
        text = replace_all(std::move(text), shown, real);
    }
    return text;
}

std::string encode(std::string text)
{
    for (const auto& [shown, real] : visible_characters) {
        if (real != " ") {
            text = replace_all(std::move(text), real, shown);
        }
    }
    if (!text.empty() && text.back() == ' ') {
        text.replace(text.size() - 1, 1, "␠");
    }
    return text;
}

std::string convert_one(line_converter& converter, const std::string& line)
{
    std::string out;
    converter.convert(line, out);
    out.pop_back();  // the line feed
    return out;
}

std::vector<std::string> read_lines(const fs::path& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> case_files()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(DRAVENT_TEST_DATA) / "cases")) {
        if (entry.path().extension() == ".txt") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class golden_cases : public ::testing::TestWithParam<std::string> {};

TEST_P(golden_cases, convert_to_their_expected_lines)
{
    const fs::path path = fs::path(DRAVENT_TEST_DATA) / "cases" / (GetParam() + ".txt");
    std::vector<std::string> lines = read_lines(path);
    const bool update = std::getenv("DRAVENT_UPDATE_CASES") != nullptr;
    line_converter converter;  // one converter for the whole file, as in a real run
    int cases = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (lines[n].rfind("< ", 0) != 0) {
            continue;
        }
        const std::string input = decode(lines[n].substr(2));
        const std::string actual = convert_one(converter, input);
        ASSERT_TRUE(n + 1 < lines.size() && (lines[n + 1] == ">" || lines[n + 1].rfind("> ", 0) == 0))
            << path.string() << ":" << n + 1 << ": an input line needs an expected line after it";
        ++cases;
        if (update) {
            lines[n + 1] = actual.empty() ? ">" : "> " + encode(actual);
            continue;
        }
        EXPECT_EQ(encode(actual), lines[n + 1].substr(std::min<std::size_t>(2, lines[n + 1].size()))) << path.string() << ":" << n + 2 << ": input "
                                                          << lines[n].substr(2);
    }
    EXPECT_GT(cases, 0) << path.string() << " holds no case";
    if (update) {
        std::ofstream out(path);
        for (const std::string& line : lines) {
            out << line << '\n';
        }
    }
}

INSTANTIATE_TEST_SUITE_P(files, golden_cases, ::testing::ValuesIn(case_files()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
} // namespace dravent
