// A growable buffer of characters into which the converter writes its output in order.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace dravent {

// Copies n bytes with fixed-size moves: the texts written are mostly a few characters long, where
// a call of memcpy costs more than the copy.
inline void copy_short(char* to, const char* from, std::size_t n)
{
    // The shortest first: most are a register, a mnemonic, a separator.
    if (n < 4) {
        if (n >= 2) {
            std::memcpy(to, from, 2);
            std::memcpy(to + n - 2, from + n - 2, 2);  // the two moves may overlap
        } else if (n == 1) {
            *to = *from;
        }
        return;
    }
    if (n < 8) {
        std::memcpy(to, from, 4);
        std::memcpy(to + n - 4, from + n - 4, 4);
        return;
    }
    if (n <= 16) {
        std::memcpy(to, from, 8);
        std::memcpy(to + n - 8, from + n - 8, 8);
        return;
    }
    std::memcpy(to, from, n);
}

// Keeps its capacity when cleared, so that a buffer reused from line to line allocates only while
// it still grows.
class text_buffer {
public:
    text_buffer() = default;
    text_buffer(const text_buffer& other) { append(other.view()); }
    text_buffer& operator=(const text_buffer& other)
    {
        if (this != &other) {
            clear();
            append(other.view());
        }
        return *this;
    }
    text_buffer(text_buffer&&) noexcept = default;
    text_buffer& operator=(text_buffer&&) noexcept = default;
    ~text_buffer() = default;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const char* data() const { return data_.get(); }
    std::string_view view() const { return {data_.get(), size_}; }
    char back() const { return data_[size_ - 1]; }

    void clear() { size_ = 0; }
    // Forgets everything from position size on; size is at most size().
    void truncate(std::size_t size) { size_ = size; }
    void assign(std::string_view text)
    {
        clear();
        append(text);
    }

    // Writing in place: room(n) makes room for at least n more characters and returns where the
    // text ends and where the room ends; written_to(end) then makes the text end at end, a place
    // inside that room.
    struct room_span {
        char* begin;
        char* end;
    };
    room_span room(std::size_t n)
    {
        reserve_more(n);
        return {data_.get() + size_, data_.get() + capacity_};
    }
    void written_to(const char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }

    void append(std::string_view text)
    {
        reserve_more(text.size());
        copy_short(data_.get() + size_, text.data(), text.size());
        size_ += text.size();
    }
    void push_back(char c)
    {
        reserve_more(1);
        data_[size_++] = c;
    }
    text_buffer& operator+=(std::string_view text)
    {
        append(text);
        return *this;
    }
    text_buffer& operator+=(char c)
    {
        push_back(c);
        return *this;
    }

private:
    void reserve_more(std::size_t n)
    {
        if (capacity_ - size_ < n) {
            grow(n);
        }
    }
    void grow(std::size_t n)
    {
        std::size_t capacity = capacity_ < 64 ? 64 : capacity_;
        while (capacity - size_ < n) {
            capacity *= 2;
        }
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (size_ > 0) {
            std::memcpy(grown.get(), data_.get(), size_);
        }
        data_ = std::move(grown);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Room for one output line, taken once; each piece is then copied into it. The line becomes part
// of the output when the room is left, unless it was dropped.
class line_room {
public:
    line_room(text_buffer& out, std::size_t most) : out_(out), begin_(out.room(most).begin), at_(begin_) {}
    line_room(const line_room&) = delete;
    line_room& operator=(const line_room&) = delete;
    ~line_room() { out_.written_to(at_); }

    void drop() { at_ = begin_; }

    void put(std::string_view text)
    {
        copy_short(at_, text.data(), text.size());
        at_ += text.size();
    }
    void put(char c) { *at_++ = c; }
    // A text of eight bytes or fewer, in a larger text whose bytes up to readable_end may be read,
    // is copied as eight bytes, whatever its length: the room must hold eight bytes more than the
    // line takes.
    void put_within(std::string_view text, const char* readable_end)
    {
        if (text.size() <= 8 && readable_end - text.data() >= 8) {
            std::memcpy(at_, text.data(), 8);
            at_ += text.size();
        } else {
            put(text);
        }
    }

private:
    text_buffer& out_;
    char* begin_;
    char* at_;
};

} // namespace dravent
