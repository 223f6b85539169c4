// Reading in blocks of whole lines and writing on POSIX file descriptors, with every error reported.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

namespace dravent {

// Makes the elements of a container without a value: bytes that are read into before anything
// looks at them need no zeros first (which would also touch every page of a block at once).
template <typename T>
struct uninitialised_allocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = uninitialised_allocator<U>;
    };
    template <typename U>
    void construct(U* at) noexcept
    {
        ::new (static_cast<void*>(at)) U;
    }
};

// A run of whole lines read from a file, in storage that is reused from block to block and
// grows only for a longer line.
struct line_block {
    std::vector<char, uninitialised_allocator<char>> storage;
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
    std::vector<char, uninitialised_allocator<char>> carried_;     // the start of a line that the last block cut off
    std::size_t carried_size_ = 0;
    bool at_end_ = false;
};

// Writes output as it is given; remembers whether any write failed.
class output_file {
public:
    // How the file ends once the output is written: as it stands (a stream; a file that whoever
    // opened it emptied, or appends to), or cut where the output ends (a file opened by its name,
    // its old contents written over from the start). Writing over the pages a file holds costs far
    // less than freeing them all by emptying it first and taking new ones for the same bytes.
    enum class ending { as_written, cut_after_output };

    // Until the output is finished, an interrupt or a termination (SIGHUP, SIGINT, SIGTERM, where
    // they are not ignored) cuts a file to be cut where its output ends before the process
    // stops: no old contents are left after the new, as though the file had been emptied first.
    explicit output_file(int fd, ending end = ending::as_written);
    output_file(const output_file&) = delete;
    output_file& operator=(const output_file&) = delete;
    ~output_file();  // finishes the file, if finish() was not called

    // Writes all of text, unless a write failed before.
    void write(std::string_view text);
    // Empties a file to be cut before anything is written: for a reader that would otherwise
    // read its old contents (the output named by an include of the input).
    void discard_old_contents();
    // Cuts the file where the output ends, when it is to be cut, and closes it. False when any
    // write, the cut or the close failed.
    bool finish();
    bool failed() const { return failed_; }

private:
    int fd_;
    ending end_;
    bool failed_ = false;
    bool cut_on_interrupt_ = false;
    std::size_t written_ = 0;  // bytes, from the start of the file
};

} // namespace dravent
