// Reading blocks of lines and writing output through read(2) and write(2), retrying interrupted calls.
#include "io/file_io.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace dravent {

block_reader::block_reader(int fd, std::size_t block_size) : fd_(fd), block_size_(block_size > 0 ? block_size : 1) {}

block_reader::result block_reader::next(line_block& block)
{
    if (block.storage.size() < carried_size_ + block_size_) {
        block.storage.resize(carried_size_ + block_size_);
    }
    if (carried_size_ > 0) {  // memcpy takes no null pointer, even for no bytes
        std::memcpy(block.storage.data(), carried_.data(), carried_size_);
    }
    block.size = carried_size_;
    carried_size_ = 0;
    std::size_t searched = 0;  // bytes at the front known to hold no line feed
    for (;;) {
        if (at_end_) {
            return block.size == 0 ? result::end : result::block;
        }
        if (block.size >= block_size_) {
            const char* data = block.storage.data();
            const void* last = ::memrchr(data + searched, '\n', block.size - searched);
            if (last != nullptr) {
                const auto end = static_cast<std::size_t>(static_cast<const char*>(last) - data) + 1;
                carried_size_ = block.size - end;
                if (carried_.size() < carried_size_) {
                    carried_.resize(carried_size_);
                }
                if (carried_size_ > 0) {
                    std::memcpy(carried_.data(), data + end, carried_size_);
                }
                block.size = end;
                return result::block;
            }
            searched = block.size;  // one line longer than a block: read on
        }
        if (!read_more(block)) {
            at_end_ = true;
            return result::error;
        }
    }
}

bool block_reader::read_more(line_block& block)
{
    if (block.storage.size() - block.size < block_size_) {
        block.storage.resize(std::max(block.storage.size() * 2, block.size + block_size_));
    }
    for (;;) {
        const ssize_t n = ::read(fd_, block.storage.data() + block.size, block.storage.size() - block.size);
        if (n > 0) {
            block.size += static_cast<std::size_t>(n);
            return true;
        }
        if (n == 0) {
            at_end_ = true;
            return true;
        }
        if (errno != EINTR) {
            return false;
        }
    }
}

void output_file::write(std::string_view text)
{
    std::size_t done = 0;
    while (!failed_ && done < text.size()) {
        const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            failed_ = true;
        }
    }
}

bool output_file::finish()
{
    if (::close(fd_) != 0) {
        failed_ = true;
    }
    return !failed_;
}

} // namespace dravent
