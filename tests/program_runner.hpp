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

// Where the child's standard streams come from and go to, for the tests of "-" and of messages
// kept apart from output on standard output.
struct stream_setup {
    enum class source { none, pipe, file };
    source input = source::none;        // none: /dev/null
    std::string input_bytes;            // written into the pipe while the child runs
    std::filesystem::path input_file;   // opened read-only as standard input
    bool output_to_pipe = false;        // otherwise a file
    std::filesystem::path output_file;  // the file that is standard output; empty: a scratch file
    std::filesystem::path working_directory;  // empty: the test's own
};

struct separate_result {
    int exit_status = -1;
    std::string standard_output;
    std::string standard_error;
};

// Runs the executable with standard output and standard error captured apart.
separate_result run_dravent(const std::vector<std::string>& arguments, const stream_setup& streams);

// Starts the executable with the arguments, its standard input the read end of a pipe whose write
// end stays with the caller (and is closed in the child), its standard output /dev/null, its
// standard error the caller's. Closes the read end here; returns the child's process id.
int start_dravent_on_pipe(const std::vector<std::string>& arguments, int pipe_read_end, int pipe_write_end);

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
