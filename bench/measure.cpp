// Runs a command once and prints its wall time in seconds and its peak resident memory in kB.
// Usage: measure COMMAND [ARGUMENT...]   (the command's own output goes to /dev/null)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

extern char** environ;

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: measure COMMAND [ARGUMENT...]\n");
        return 2;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[1], &actions, nullptr, argv + 1, environ) != 0) {
        std::fprintf(stderr, "measure: cannot run %s\n", argv[1]);
        return 2;
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%.6f %ld\n", elapsed.count(), usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
