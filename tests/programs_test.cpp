// Whole programs through the real executable: every examples/*.asm converts, byte for byte, to
// the .s file committed beside it.
#include "program_runner.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

namespace dravent::testing {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> programs()
{
    std::vector<fs::path> found;
    const fs::path examples = fs::path(DRAVENT_TEST_DATA).parent_path() / "examples";
    for (const auto& entry : fs::directory_iterator(examples)) {
        if (entry.path().extension() == ".asm") {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

class program : public ::testing::TestWithParam<fs::path> {};

TEST_P(program, converts_to_its_committed_output)
{
    const fs::path source = GetParam();
    scratch_folder folder;
    const program_result result = run_dravent({source.string(), (folder / "out.s").string()});
    ASSERT_EQ(result.exit_status, 0) << result.standard_output;
    fs::path expected = source;
    expected.replace_extension(".s");
    ASSERT_TRUE(fs::exists(expected)) << expected << " is missing";
    EXPECT_EQ(read_file(folder / "out.s"), read_file(expected)) << source;
}

INSTANTIATE_TEST_SUITE_P(files, program, ::testing::ValuesIn(programs()),
                         [](const ::testing::TestParamInfo<fs::path>& info) {
                             std::string name = info.param.stem().string();
                             std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                             return name;
                         });

} // namespace
} // namespace dravent::testing
