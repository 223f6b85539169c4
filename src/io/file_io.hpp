// Line-by-line reading and buffered writing on POSIX file descriptors, with every error reported.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace dravent {

// Reads lines of any length. Memory grows only with the longest line, never with the file.
class line_reader {
public:
    enum class result { line, end, error };

    explicit line_reader(int fd, std::size_t buffer_size = 1 << 16);

    // Sets line to the next line without its line feed; a last line without one counts too.
    // The view stays valid until the next call.
    result next(std::string_view& line);

private:
    bool fill();  // reads more bytes behind the pending ones; false on a read error

    int fd_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;     // first byte not yet handed out
    std::size_t searched_ = 0;  // bytes from begin_ on known to hold no line feed
    std::size_t end_ = 0;       // end of the bytes read
    bool at_end_ = false;
};

// Writes output as it is given; remembers whether any write failed.
class output_file {
public:
    explicit output_file(int fd) : fd_(fd) {}

    // Writes all of text, unless a write failed before.
    void write(std::string_view text);
    // Closes the file. False when any write or the close failed.
    bool finish();
    bool failed() const { return failed_; }

private:
    int fd_;
    bool failed_ = false;
};

} // namespace dravent
