// Converts a line's statement: mnemonic and directive replacement, label colon, line flags,
// operands and size letters.
#pragma once

#include "convert/conversion_context.hpp"
#include "convert/convert_operand.hpp"
#include "convert/converted_line.hpp"
#include "convert/data_directive.hpp"
#include "convert/statement_draft.hpp"
#include "source/source_line.hpp"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dravent {

// Holds the working record reused from line to line; keeps nothing else between lines.
class statement_converter {
public:
    // Fills line, which it clears first, from the split source line. continued is the data
    // definition that the line before left open (line.leaves_open of that line), if any.
    void convert(const source_line& source, const conversion_context& context, converted_line& line,
                 data_directive continued = data_directive::none);

    // The line flags of the line converted last: what kind of statement it held.
    int line_flags() const { return draft_.line_flags; }

private:
    void convert_line(const source_line& source, const conversion_context& context, converted_line& line,
                      data_directive continued);
    void take_prefixes(statement_draft& draft, converted_line& line) const;
    void put_text_equates(statement_draft& draft, const conversion_context& context);
    void put_type_values(statement_draft& draft, const conversion_context& context);
    void write_typed_pointers(statement_draft& draft, const conversion_context& context);
    bool write_far_transfer(const statement_draft& draft, const conversion_context& context, converted_line& line);
    void look_up_declared_sizes(const conversion_context& context);
    void address_string_operands(std::string_view mnemonic, std::size_t first, int code_bits,
                                 converted_line& line) const;
    void warn_left_as_written(std::string_view operand, std::string_view word, const conversion_context& context,
                              converted_line& line) const;
    static void warn_unconverted_directive(std::string_view word, std::size_t column, bool in_procedure,
                                           converted_line& line);
    void write_statement(const statement_draft& draft, std::span<const std::string_view> operands,
                         const conversion_context& context, converted_line& line);

    const source_line* source_ = nullptr;        // the line being converted
    statement_draft draft_;
    std::vector<operand_result> results_;        // what each operand of a statement turned out to be
    std::vector<std::string_view> list_items_;   // the registers of a push or pop list
    std::string typed_pointers_;                  // operands with their typed pointers rewritten
    std::string equated_;                         // operands with the texts of text equates put in
    std::string typed_values_;                    // operands with the values of type, length and size put in
    std::vector<std::size_t> rewritten_;          // where the operands written anew begin and end in one of these
};

// The line flags that a mnemonic (any case) gives its line.
int line_flags_of(std::string_view mnemonic);

} // namespace dravent
