// Runs the built dravent executable in a scratch folder and captures what it prints.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace dravent::testing {

struct program_result {
    int exit_status = -1;
    std::string standard_output;
};

// Runs the executable with the given arguments; standard output and error are captured together.
program_result run_dravent(const std::vector<std::string>& arguments);

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

// A fresh folder, removed with everything in it when the object goes.
class scratch_folder {
public:
    scratch_folder();
    ~scratch_folder();
    scratch_folder(const scratch_folder&) = delete;
    scratch_folder& operator=(const scratch_folder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace dravent::testing
