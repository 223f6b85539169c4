// Reading blocks of lines and writing output through read(2) and write(2), retrying interrupted calls.
#include "io/file_io.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace dravent {
namespace {

// The signals that stop a conversion part way, and what they did before: an output written over
// is cut where its output ends before they stop the process.
constexpr std::array stopping_signals{SIGHUP, SIGINT, SIGTERM};
std::array<struct sigaction, stopping_signals.size()> actions_before{};
std::array<bool, stopping_signals.size()> handled{};

std::atomic<int> output_to_cut{-1};  // the file a stopping signal cuts, or -1
static_assert(std::atomic<int>::is_always_lock_free, "read in a signal handler");

void cut_and_stop(int signal)
{
    if (const int fd = output_to_cut.exchange(-1); fd >= 0) {
        if (const off_t end = ::lseek(fd, 0, SEEK_CUR); end >= 0) {
            [[maybe_unused]] const int cut = ::ftruncate(fd, end);  // nothing more to do when it fails
        }
    }
    struct sigaction by_default {};
    by_default.sa_handler = SIG_DFL;
    ::sigaction(signal, &by_default, nullptr);
    ::raise(signal);  // delivered as the handler returns: the process stops as the signal would have stopped it
}

// A signal that is ignored stays ignored (nohup, a background job): it stops nothing.
void cut_on_stopping_signals(int fd)
{
    output_to_cut.store(fd);
    struct sigaction cut {};
    cut.sa_handler = cut_and_stop;
    ::sigemptyset(&cut.sa_mask);
    for (std::size_t n = 0; n < stopping_signals.size(); ++n) {
        handled[n] = ::sigaction(stopping_signals[n], nullptr, &actions_before[n]) == 0 &&
                     actions_before[n].sa_handler == SIG_DFL && ::sigaction(stopping_signals[n], &cut, nullptr) == 0;
    }
}

void stop_cutting_on_signals()
{
    for (std::size_t n = 0; n < stopping_signals.size(); ++n) {
        if (handled[n]) {
            ::sigaction(stopping_signals[n], &actions_before[n], nullptr);
        }
    }
    output_to_cut.store(-1);
}

// The size of a regular file, or -1 for any other kind.
off_t regular_file_size(int fd)
{
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) ? status.st_size : -1;
}

} // namespace

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
            written_ += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            failed_ = true;
        }
    }
}

output_file::output_file(int fd, ending end) : fd_(fd), end_(ending::as_written)
{
    const off_t size = end == ending::cut_after_output ? regular_file_size(fd) : -1;
    if (size < 0) {
        return;  // a stream or a device: written as it stands
    }
    // Cutting it at its own size changes nothing: whether it can be cut. One that cannot is left
    // as it is.
    if (::ftruncate(fd, size) != 0) {
        failed_ = true;
        return;
    }
    end_ = end;
    if (output_to_cut.load() < 0) {
        cut_on_stopping_signals(fd_);
        cut_on_interrupt_ = true;
    }
}

output_file::~output_file() { finish(); }

void output_file::discard_old_contents()
{
    if (end_ == ending::cut_after_output && written_ == 0 && ::ftruncate(fd_, 0) != 0) {
        failed_ = true;
    }
}

bool output_file::finish()
{
    if (fd_ < 0) {
        return !failed_;
    }
    if (end_ == ending::cut_after_output && ::ftruncate(fd_, static_cast<off_t>(written_)) != 0) {
        failed_ = true;
    }
    if (cut_on_interrupt_) {
        stop_cutting_on_signals();  // after the cut: a signal before it cuts at the same place
    }
    if (::close(fd_) != 0) {
        failed_ = true;
    }
    fd_ = -1;
    return !failed_;
}

} // namespace dravent
