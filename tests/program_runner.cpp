// Process spawning and file helpers for the tests that run the real executable.
#include "program_runner.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace dravent::testing {
namespace {

// The executable's path and the arguments, and the argv that points into them.
std::vector<std::string> command_words(const std::vector<std::string>& arguments)
{
    std::vector<std::string> words = {DRAVENT_EXECUTABLE};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return words;
}

std::vector<char*> argument_vector(std::vector<std::string>& words)
{
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    return argv;
}

} // namespace

program_result run_dravent(const std::vector<std::string>& arguments)
{
    scratch_folder capture;
    const std::string capture_path = (capture / "stdout").string();

    std::vector<std::string> words = command_words(arguments);
    std::vector<char*> argv = argument_vector(words);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, capture_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + words[0]);
    }
    int status = 0;
    waitpid(pid, &status, 0);

    program_result result;
    result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.standard_output = read_file(capture_path);
    return result;
}

int start_dravent_on_pipe(const std::vector<std::string>& arguments, int pipe_read_end, int pipe_write_end)
{
    std::vector<std::string> words = command_words(arguments);
    std::vector<char*> argv = argument_vector(words);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_read_end, STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_write_end);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_read_end);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + words[0]);
    }
    return pid;
}

namespace {

struct pipe_ends {
    int read = -1;
    int write = -1;
};

pipe_ends make_pipe()
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create a pipe");
    }
    return {ends[0], ends[1]};
}

} // namespace

separate_result run_dravent(const std::vector<std::string>& arguments, const stream_setup& streams)
{
    scratch_folder capture;
    const std::filesystem::path output_path =
        streams.output_file.empty() ? capture / "stdout" : streams.output_file;
    const std::string error_path = (capture / "stderr").string();

    std::vector<std::string> words = command_words(arguments);
    std::vector<char*> argv = argument_vector(words);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    pipe_ends input_pipe;
    if (streams.input == stream_setup::source::pipe) {
        input_pipe = make_pipe();
        posix_spawn_file_actions_adddup2(&actions, input_pipe.read, STDIN_FILENO);
    } else {
        const std::string input_path =
            streams.input == stream_setup::source::file ? streams.input_file.string() : "/dev/null";
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input_path.c_str(), O_RDONLY, 0);
    }
    pipe_ends output_pipe;
    const std::string output_name = output_path.string();
    if (streams.output_to_pipe) {
        output_pipe = make_pipe();
        posix_spawn_file_actions_adddup2(&actions, output_pipe.write, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output_name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, error_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::string directory = streams.working_directory.string();
    if (!directory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    }
    // The test ignores SIGPIPE so that a child that stops reading cannot kill it; the child
    // gets the default back.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t default_signals;
    sigemptyset(&default_signals);
    sigaddset(&default_signals, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &default_signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    signal(SIGPIPE, SIG_IGN);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    for (const int child_end : {input_pipe.read, output_pipe.write}) {
        if (child_end >= 0) {
            close(child_end);
        }
    }
    if (spawned != 0) {
        for (const int own_end : {input_pipe.write, output_pipe.read}) {
            if (own_end >= 0) {
                close(own_end);
            }
        }
        throw std::runtime_error("cannot start " + words[0]);
    }

    std::thread feeder;
    if (input_pipe.write >= 0) {
        feeder = std::thread([&streams, fd = input_pipe.write] {
            std::size_t done = 0;
            while (done < streams.input_bytes.size()) {
                const ssize_t n = write(fd, streams.input_bytes.data() + done, streams.input_bytes.size() - done);
                if (n <= 0) {
                    break;  // the child closed its end
                }
                done += static_cast<std::size_t>(n);
            }
            close(fd);
        });
    }
    separate_result result;
    if (output_pipe.read >= 0) {
        char block[1 << 16];
        for (ssize_t n; (n = read(output_pipe.read, block, sizeof block)) > 0;) {
            result.standard_output.append(block, static_cast<std::size_t>(n));
        }
        close(output_pipe.read);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (feeder.joinable()) {
        feeder.join();
    }

    result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!streams.output_to_pipe && std::filesystem::is_regular_file(output_path)) {
        result.standard_output = read_file(output_path);
    }
    result.standard_error = read_file(error_path);
    return result;
}

std::string read_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void write_file(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

scratch_folder::scratch_folder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "dravent-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch folder");
    }
    path_ = pattern;
}

scratch_folder::~scratch_folder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace dravent::testing
