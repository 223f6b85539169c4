// Writes a Tasm expression in GNU As notation.
#pragma once

#include "convert/conversion_context.hpp"
#include "source/tokenizer.hpp"
#include "text/text_buffer.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dravent {

// One node of a parsed expression: its operator, its operands and where it stands in the text.
struct expression_node {
    enum class shape { leaf, parenthesis, prefix, binary };
    shape form = shape::leaf;
    int operation = 0;           // which Tasm operator, for prefix and binary nodes
    std::size_t first = 0;       // the node's first operand, or its token for a leaf
    std::size_t second = 0;      // a binary node's right operand
    std::size_t begin = 0;       // the node's text: [begin, end)
    std::size_t end = 0;
    std::size_t operator_begin = 0;  // the operator's text, or a parenthesis pair's "(" and ")"
    std::size_t operator_end = 0;
};

// Working space reused from call to call, so that writing expressions allocates only while it
// still grows.
struct expression_workspace {
    std::vector<token> tokens;
    std::vector<expression_node> nodes;
    // What @@name becomes before name in the line being converted (".Lmain."), or empty, when
    // the line is converted without its program's declarations: then @@name stays.
    std::string_view local_label_prefix;
    // The context of the line being converted, for its program's structures (var.field), or null.
    const conversion_context* context = nullptr;
    // The text with mask and width of records written as numbers, when it holds them.
    std::string record_operators;
};

// The field that "var . field" addresses when var is an instance of a structure the program
// declares and field one of its fields, or nullptr.
const structure_field* field_of_instance(std::string_view variable, std::string_view field,
                                         const conversion_context* context);

// The field of structure (a structure's facts) named field, or nullptr.
const structure_field* field_of_structure(const name_facts& structure, std::string_view field,
                                          const program_declarations& program);
// The structure a field is an instance of (tl Pt <>: Pt), or nullptr for a field of data.
const name_facts* structure_of_field(const structure_field& field, const program_declarations& program);

// The field that "var . field" addresses in MASM mode, where the fields of every structure are
// names of the program: var a variable that is no instance of the field's structure (buffer db
// 512 dup (?), then buffer.bpb_bps) or a field before (buffer.bs_head.next), field a field the
// program declares. nullptr in IDEAL mode, and for any other pair.
const name_facts* masm_field_of(std::string_view variable, std::string_view field,
                                const conversion_context* context);

// What a string of two or more characters stands for: a number in instructions (and dw, dd), its
// characters where a data directive lays them out one by one.
enum class string_meaning { number, characters };

// Appends the expression to out in GNU As notation, keeping its spacing:
// - numbers in GNU As form (0FFh → 0x0FF, 101b → 0B101, 17o → 017, 010 → 10);
// - a character constant in single quotes with GNU As escapes ('\'' '\\'); two to four characters
//   as one number, the first most significant ('AB' → 0x4142);
// - $ alone as ".", ? alone as 0, a local label @@name as the name its scope gives it;
// - Tasm's operators (or and xor not shl shr mod high low eq ne lt le gt ge) as GNU As operators,
//   with parentheses wherever GNU As would group the expression otherwise.
// Text that it cannot read as an expression is written token by token with the same rewrites,
// its operator words left as they are, so that GNU As rejects it rather than read it otherwise.
// A string meant as characters is written as it stands.
// Returns the first word that has no GNU As form and is left as written (seg, type, size, length,
// width, mask, this, the segment values @data, @code, ..., and a string with no value here: empty,
// left open, or too long for a number), or an empty view.
std::string_view write_expression(std::string_view text, text_buffer& out, expression_workspace& work,
                                  string_meaning strings = string_meaning::number);

// Appends a token that is a whole expression by itself, as write_expression writes the text of
// that token alone, and returns the same.
std::string_view write_single_token(const token& t, text_buffer& out, const expression_workspace& work,
                                    string_meaning strings = string_meaning::number);

// The same, with working space of its own.
std::string_view write_expression(std::string_view text, text_buffer& out,
                                  string_meaning strings = string_meaning::number);

// A number token in GNU As form, a prefix and digits: 0FFh is "0x" and "0FF", 101b "0B" and "101",
// 17o "0" and "17", 010 "" and "10" (a leading zero would make it octal). A real number or an
// invalid one stays as written.
struct gnu_as_number {
    std::string_view prefix;
    std::string_view digits;
};
gnu_as_number gnu_as_number_of(const token& number);

// True for a word that Tasm gives a meaning GNU As has no form for.
bool has_no_gnu_as_form(std::string_view word);

} // namespace dravent
