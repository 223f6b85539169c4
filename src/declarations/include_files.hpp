// Opening the files that include lines name: DOS names, found without regard to case, with
// cycles and depth bounded.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dravent {

class include_guard {
public:
    // Includes nest at most this deep.
    static constexpr int max_depth = 16;
    // Names not found as written are looked for in their folders' lists, which are read for this
    // many entries at most in all; past that, a name is found as written or not at all (many
    // include lines of missing names in a large folder would otherwise read it again and again).
    static constexpr std::uint64_t max_entries_read = std::uint64_t{1} << 22;

    // Opens the regular file that name (a DOS name: "\" separates folders) gives, relative to
    // folder, each part matched without regard to case when no part of that exact name exists.
    // Sets found_folder to the folder it lives in. Returns -1 when there is none, when it cannot
    // be read, when it is no regular file, when it is already open (an include cycle) or when
    // depth reaches max_depth.
    int open(std::string_view name, std::string_view folder, int depth, std::string& found_folder);

    void close(int fd);

    // Called once, before the first include is looked for: what must be done before another file
    // is read (the output, which may be one of them, truncated).
    void call_before_first_open(std::function<void()> call) { before_first_open_ = std::move(call); }

private:
    struct open_file {
        int fd;
        unsigned long long device;
        unsigned long long inode;
    };
    std::string find_entry(const std::string& folder, std::string_view part);

    std::vector<open_file> open_;
    std::function<void()> before_first_open_;
    std::uint64_t entries_read_ = 0;  // of folders' lists
};

// The folder part of a path, "." when it has none.
std::string folder_of(std::string_view path);

} // namespace dravent
