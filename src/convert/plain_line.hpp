// Plain lines: the lines whose output needs little of the program beyond where they stand. A
// blank line, a comment, a label alone, a data definition of numbers, an instruction whose
// operands are registers, numbers, offset of a name and memory through registers (mov ax,
// [bx+si+4]), and a jump or call to a near label are most of the lines of real programs. They are
// written here straight from their text, as the full conversion writes them, in about half its
// time; every other line, and every line whose rules these readers do not hold entirely, is left
// to the full conversion. A test over every program of the project and a fuzz property hold the
// two to the same output.
#pragma once

#include "convert/conversion_context.hpp"
#include "convert/data_directive.hpp"
#include "convert/workspace.hpp"
#include "text/characters.hpp"
#include "text/text_buffer.hpp"
#include "vocabulary/mnemonics.hpp"

#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace dravent {

enum class plain_line {
    not_plain,   // nothing written: the line needs the full conversion
    written,     // the line is written; it leaves no data definition open
    passed_over, // a blank line or a comment alone is written: an open data definition stays open
};

// Holds the room the operands of a plain instruction are written to before the statement is
// put together, reused from line to line.
class plain_line_writer {
public:
    // A writer for the lines of program (nullptr: lines converted on their own); every line it
    // writes has a context of that program.
    explicit plain_line_writer(const program_declarations* program = nullptr);

    // Appends the output line of text (one line without its line feed; a carriage return that ends
    // it is written back before the line feed) to out when the line is plain, with no warning.
    // The bytes after text up to readable_end may be read. open_data is the data definition the
    // line before left open; work is the conversion's working space. Defined here, so that the
    // loop over a file's lines writes its blank lines and comments without a call.
    plain_line write(std::string_view text, const char* readable_end, const conversion_context& context,
                     data_directive open_data, text_buffer& out, conversion_workspace& work);

private:
    // Writes a blank line or a comment alone from rest, the line from its first byte that is no
    // blank on: nothing or a carriage return for a blank line, the ";" and what follows for a
    // comment. rest is copied whole, its ";" made "#", and a line feed written after it.
    static void write_passed_over(std::string_view rest, text_buffer& out);
    // The line stands where nothing but its own text decides its output: outside comment blocks
    // and structure declarations, on no include line and no line that goes on with an arg or
    // local list.
    bool stands_plainly(const conversion_context& context) const
    {
        return !context.set_apart && (!frame_lists_ || context.program->frame_list_at(context.line) == nullptr);
    }
    // Whether the byte after text may be read (up to readable_end) and ends a word: the line feed
    // after a line in its block.
    static bool byte_after_ends_a_word(std::string_view text, const char* readable_end)
    {
        return text.data() + text.size() < readable_end && !letters_and_digits.contains(text.data()[text.size()]);
    }

    // An operand as it is written out: its mark ("%" for a register, "$" for a number), the prefix
    // of a number's radix ("0x", ...) and a text, a view into the line or, for memory, a range of
    // operands_.
    struct operand {
        char mark = '\0';
        std::string_view prefix;
        const char* text = nullptr;  // nullptr: text is the range [offset, offset + size) of operands_
        std::size_t offset = 0;
        std::size_t size = 0;
        int size_flags = 0;
        bool memory = false;
        bool count_register = false;  // cl
    };
    static constexpr std::size_t most_operands = 3;  // imul ax, bx, 5

    [[gnu::always_inline]] inline std::size_t read_operand(std::string_view text, std::size_t at,
                                                           const conversion_context& context, bool renames,
                                                           conversion_workspace& work, operand& read);
    // Kept out of read_operand, so that the writer of every instruction does not make room for it.
    [[gnu::noinline]] std::size_t read_offset(std::string_view text, std::size_t at, const conversion_context& context,
                                              bool renames, operand& read);
    std::size_t write_usual_memory(std::string_view text, std::size_t at, operand& converted);
    [[gnu::always_inline]] inline void put_operand(line_room& line, const operand& o) const;
    bool convert_memory(std::string_view text, const conversion_context& context, conversion_workspace& work,
                        operand& converted);
    // Kept out of write(), so that a blank or comment line does not pay for what they hold.
    // The bytes of the line up to readable_end_ may be read.
    [[gnu::noinline]] plain_line write_instruction(std::string_view text, std::size_t at, std::string_view ending,
                                                   const conversion_context& context, text_buffer& out,
                                                   conversion_workspace& work);
    [[gnu::noinline]] plain_line write_in_first_column(std::string_view text, std::string_view ending,
                                                       const conversion_context& context, text_buffer& out);
    plain_line write_jump(std::string_view text, std::string_view mnemonic, const mnemonic_row* row,
                          std::string_view ending, const conversion_context& context, text_buffer& out);
    // Within write_in_first_column, so that a label makes no call of its own.
    [[gnu::always_inline]] inline plain_line write_label(std::string_view text, std::size_t label_end,
                                                         std::string_view prefix, std::string_view name,
                                                         std::string_view ending, text_buffer& out);
    plain_line write_data(std::string_view text, std::string_view name, std::string_view word,
                          const mnemonic_row& row, std::string_view ending, text_buffer& out);
    // Within write_in_first_column and write_data, so that a data line makes one call.
    [[gnu::always_inline]] inline plain_line write_named_data(std::string_view text, std::size_t name_end,
                                                              std::string_view ending, text_buffer& out);
    [[gnu::always_inline]] inline plain_line write_data_values(std::string_view text, std::string_view name,
                                                               std::string_view rename, std::size_t directive_end,
                                                               std::string_view ending, text_buffer& out);

    text_buffer operands_;
    std::array<operand, most_operands> read_{};
    bool short_declared_;  // the program declares a name short, which the full conversion looks up
    bool frame_lists_;     // the program has lines that go on with an arg or local list
    const char* readable_end_ = nullptr;  // of the line being written: bytes up to it may be read
    bool stops_ = false;  // the byte after the line may be read and ends a word
};

// Copies n bytes in moves of sixteen, the last of which may overlap the one before: a comment of a
// few dozen bytes is copied in a few moves rather than by a call of memcpy.
inline void copy_in_blocks(char* to, const char* from, std::size_t n)
{
    constexpr std::size_t block = 16;
    if (n <= block || n > 8 * block) {
        n <= block ? copy_short(to, from, n) : static_cast<void>(std::memcpy(to, from, n));
        return;
    }
    for (std::size_t at = 0; at + block < n; at += block) {
        std::memcpy(to + at, from + at, block);
    }
    std::memcpy(to + n - block, from + n - block, block);
}

inline void plain_line_writer::write_passed_over(std::string_view rest, text_buffer& out)
{
    const text_buffer::room_span room = out.room(rest.size() + 1);
    copy_in_blocks(room.begin, rest.data(), rest.size());
    if (!rest.empty() && rest[0] == ';') {
        room.begin[0] = '#';
    }
    room.begin[rest.size()] = '\n';
    out.written_to(room.begin + rest.size() + 1);
}

inline plain_line plain_line_writer::write(std::string_view text, const char* readable_end,
                                           const conversion_context& context, data_directive open_data,
                                           text_buffer& out, conversion_workspace& work)
{
    if (!stands_plainly(context)) {
        return plain_line::not_plain;
    }
    // A blank line, or a comment alone: an open data definition goes on after it. A carriage
    // return that ends the line stays with what is copied.
    const std::size_t first = skip_blanks(text, 0);
    if (first == text.size() || text[first] == ';' || (text[first] == '\r' && first + 1 == text.size())) {
        write_passed_over(text_from(text, first), out);
        return plain_line::passed_over;
    }
    if (open_data != data_directive::none) {
        return plain_line::not_plain;  // the line may go on with a data definition
    }
    std::string_view ending = "\n";
    if (text.back() == '\r') {
        text.remove_suffix(1);
        ending = "\r\n";
    }
    readable_end_ = readable_end;
    stops_ = byte_after_ends_a_word(text, readable_end);
    return first > 0 ? write_instruction(text, first, ending, context, out, work)
                     : write_in_first_column(text, ending, context, out);
}

} // namespace dravent
