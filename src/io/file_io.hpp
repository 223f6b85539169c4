// Reading in blocks of whole lines and writing on POSIX file descriptors, with every error reported.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace dravent {

// A run of whole lines read from a file, in storage that is reused from block to block and
// grows only for a longer line.
struct line_block {
    std::vector<char> storage;
    std::size_t size = 0;  // the bytes of storage that hold the lines

    std::string_view text() const { return {storage.data(), size}; }
};

// Reads a file in blocks of whole lines: each block holds at least block_size bytes, or the rest
// of the file, and ends with a line feed, except the file's last line when it has none.
class block_reader {
public:
    enum class result { block, end, error };

    explicit block_reader(int fd, std::size_t block_size = 1 << 16);

    // Fills block with the next lines. After an error nothing more is read.
    result next(line_block& block);

private:
    bool read_more(line_block& block);  // false on a read error

    int fd_;
    std::size_t block_size_;
    std::vector<char> carried_;     // the start of a line that the last block cut off
    std::size_t carried_size_ = 0;
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
