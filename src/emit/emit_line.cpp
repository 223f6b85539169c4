// Output line assembly: columns, statements joined on one line, comment, line ending. A
// text_buffer takes the pieces as they come; for a std::string the line's length is counted first,
// then every piece is copied straight into place.
#include "emit/emit_line.hpp"

#include "text/text_buffer.hpp"

namespace dravent {
namespace {

// Copies pieces into a stretch of the output that was sized for them.
class line_writer {
public:
    explicit line_writer(char* at) : at_(at) {}

    void put(std::string_view text)
    {
        copy_short(at_, text.data(), text.size());
        at_ += text.size();
    }
    void put(char c) { *at_++ = c; }

private:
    char* at_;
};

// Walks the line's output in order and hands each piece to sink: the one walk both measures the
// line and writes it, so the two cannot disagree.
template <typename Sink>
void walk_line(const converted_line& line, Sink& sink)
{
    const auto comment = [&] {
        if (line.has_comment) {
            sink.put('#');
            sink.put(line.comment);
        }
    };
    if (line.label.empty() && line.statements.empty()) {
        comment();
        sink.put(line.ending);
        return;
    }
    if (!line.label.empty()) {
        sink.put(line.view(line.label));
    }
    if (line.label_colon) {
        sink.put(':');
    }
    sink.put('\t');
    if (line.statements.empty()) {
        sink.put('\t');  // the empty mnemonic's column
    }
    bool first = true;
    for (const statement& s : line.statements) {
        if (!first) {
            sink.put("; ");
        }
        if (!s.prefix.empty()) {
            sink.put(line.view(s.prefix));
            sink.put(s.prefix_apart ? "; " : " ");
        }
        sink.put(line.view(s.mnemonic));
        sink.put(s.size_letters);
        // The first statement's operand column always begins with a tab, also when it is empty.
        if (first) {
            sink.put('\t');
        } else if (s.operand_count > 0) {
            sink.put(' ');
        }
        const piece* operand = line.operands.data() + s.first_operand;
        for (std::size_t n = 0; n < s.operand_count; ++n, ++operand) {
            if (n > 0) {
                sink.put(',');
            }
            sink.put(line.view(*operand));
        }
        first = false;
    }
    if (line.has_comment) {
        sink.put('\t');
        comment();
    }
    sink.put(line.ending);
}

struct line_measure {
    std::size_t size = 0;
    void put(std::string_view text) { size += text.size(); }
    void put(char) { ++size; }
};

// Appends each piece to a text_buffer in one walk. It keeps its place and the end of the room it
// has in hand, so a piece costs one comparison and a copy; the buffer grows only when a piece
// does not fit.
class buffer_writer {
public:
    explicit buffer_writer(text_buffer& out) : out_(out) { take_room(usual_line); }
    buffer_writer(const buffer_writer&) = delete;
    buffer_writer& operator=(const buffer_writer&) = delete;
    ~buffer_writer() { out_.written_to(at_); }

    void put(std::string_view text)
    {
        if (static_cast<std::size_t>(end_ - at_) < text.size()) {
            take_room(text.size());
        }
        copy_short(at_, text.data(), text.size());
        at_ += text.size();
    }
    void put(char c)
    {
        if (at_ == end_) {
            take_room(1);
        }
        *at_++ = c;
    }

private:
    static constexpr std::size_t usual_line = 128;  // most lines fit: one room check a line

    void take_room(std::size_t n)
    {
        if (at_ != nullptr) {
            out_.written_to(at_);
        }
        const text_buffer::room_span room = out_.room(n > usual_line ? n : usual_line);
        at_ = room.begin;
        end_ = room.end;
    }

    text_buffer& out_;
    char* at_ = nullptr;
    char* end_ = nullptr;
};

} // namespace

void emit_line(const converted_line& line, text_buffer& out)
{
    buffer_writer writer(out);
    walk_line(line, writer);
}

void emit_line(const converted_line& line, std::string& out)
{
    line_measure measure;
    walk_line(line, measure);
    const std::size_t begin = out.size();
    out.resize(begin + measure.size);
    line_writer writer(out.data() + begin);
    walk_line(line, writer);
}

} // namespace dravent
