// Tasm's constant expressions, read by precedence (loosest first): or xor; and; not; eq ne lt le
// gt ge; binary + -; * / mod shl shr; unary + - high low; ( ) and the numbers and names.
#include "declarations/constant_expression.hpp"

#include "source/tokenizer.hpp"
#include "text/characters.hpp"

#include <array>
#include <optional>

namespace dravent {
namespace {

// Where both assemblers give the same number: Tasm keeps 32 bits, GNU As more, so a value must
// be one that 32 bits hold the same way, signed or not.
constexpr std::int64_t lowest = -(std::int64_t{1} << 31);
constexpr std::int64_t highest = (std::int64_t{1} << 32) - 1;
constexpr int deepest_nesting = 64;  // parentheses and unary operators

using value = std::optional<std::int64_t>;

value within_range(std::int64_t v) { return v >= lowest && v <= highest ? value(v) : std::nullopt; }

// Signed or not, a value below 2^31 means the same number to both.
bool plain(std::int64_t v) { return v >= 0 && v < (std::int64_t{1} << 31); }

// A truth value as Tasm writes it: all ones (-1) or 0.
value truth(bool b) { return b ? -1 : 0; }

enum class operation { none, plus, minus, times, divide, mod, shl, shr, eq, ne, lt, le, gt, ge, and_, or_, xor_ };

struct operator_word {
    std::string_view word;
    operation op;
};

constexpr std::array<operator_word, 14> operator_words{{
    {"mod", operation::mod}, {"shl", operation::shl}, {"shr", operation::shr}, {"eq", operation::eq},
    {"ne", operation::ne},   {"lt", operation::lt},   {"le", operation::le},   {"gt", operation::gt},
    {"ge", operation::ge},   {"and", operation::and_}, {"or", operation::or_}, {"xor", operation::xor_},
    {"+", operation::plus},  {"-", operation::minus},
}};

value apply(operation op, std::int64_t a, std::int64_t b)
{
    switch (op) {
    case operation::plus: return within_range(a + b);
    case operation::minus: return within_range(a - b);
    case operation::times: return plain(a) && plain(b) ? within_range(a * b) : std::nullopt;
    case operation::divide: return plain(a) && plain(b) && b != 0 ? value(a / b) : std::nullopt;
    case operation::mod: return plain(a) && plain(b) && b != 0 ? value(a % b) : std::nullopt;
    case operation::shl: return plain(a) && b >= 0 && b < 32 ? within_range(a << b) : std::nullopt;
    case operation::shr: return plain(a) && b >= 0 && b < 32 ? value(a >> b) : std::nullopt;
    case operation::eq: return plain(a) && plain(b) ? truth(a == b) : std::nullopt;
    case operation::ne: return plain(a) && plain(b) ? truth(a != b) : std::nullopt;
    case operation::lt: return plain(a) && plain(b) ? truth(a < b) : std::nullopt;
    case operation::le: return plain(a) && plain(b) ? truth(a <= b) : std::nullopt;
    case operation::gt: return plain(a) && plain(b) ? truth(a > b) : std::nullopt;
    case operation::ge: return plain(a) && plain(b) ? truth(a >= b) : std::nullopt;
    // Bitwise on values of 32 bits that both read alike as signed numbers: -1 and 0 combine as
    // truth values do.
    case operation::and_: return a < (std::int64_t{1} << 31) && b < (std::int64_t{1} << 31) ? value(a & b) : std::nullopt;
    case operation::or_: return a < (std::int64_t{1} << 31) && b < (std::int64_t{1} << 31) ? value(a | b) : std::nullopt;
    case operation::xor_: return a < (std::int64_t{1} << 31) && b < (std::int64_t{1} << 31) ? value(a ^ b) : std::nullopt;
    case operation::none: break;
    }
    return std::nullopt;
}

class reader {
public:
    reader(std::string_view text, const program_declarations& program) : tokens_(text), program_(program)
    {
        advance();
    }

    value whole()
    {
        const value v = either();
        return at_end_ ? v : std::nullopt;
    }

private:
    // or, xor
    value either()
    {
        value v = both();
        for (operation op; v && ((op = operator_here()) == operation::or_ || op == operation::xor_);) {
            advance();
            v = combine(op, v, both());
        }
        return v;
    }

    // and
    value both()
    {
        value v = negation();
        while (v && operator_here() == operation::and_) {
            advance();
            v = combine(operation::and_, v, negation());
        }
        return v;
    }

    // not covers a whole comparison (not a + b is not (a + b)).
    value negation()
    {
        if (word_here("not")) {
            advance();
            const value v = deeper() ? negation() : std::nullopt;
            --depth_;
            return v && *v < (std::int64_t{1} << 31) ? value(~*v) : std::nullopt;
        }
        return comparison();
    }

    value comparison()
    {
        value v = sum();
        for (operation op; v && (op = operator_here()) >= operation::eq && op <= operation::ge;) {
            advance();
            v = combine(op, v, sum());
        }
        return v;
    }

    value sum()
    {
        value v = product();
        for (operation op; v && ((op = operator_here()) == operation::plus || op == operation::minus);) {
            advance();
            v = combine(op, v, product());
        }
        return v;
    }

    value product()
    {
        value v = unary();
        for (operation op; v && (op = product_operator()) != operation::none;) {
            advance();
            v = combine(op, v, unary());
        }
        return v;
    }

    value unary()
    {
        const bool plus = text_here("+");
        const bool minus = text_here("-");
        const bool high = word_here("high");
        if (!plus && !minus && !high && !word_here("low")) {
            return primary();
        }
        advance();
        const value v = deeper() ? unary() : std::nullopt;
        --depth_;
        if (!v) {
            return std::nullopt;
        }
        if (plus || minus) {
            return minus ? within_range(-*v) : v;
        }
        return plain(*v) ? value(high ? (*v >> 8) & 0xFF : *v & 0xFF) : std::nullopt;
    }

    value primary()
    {
        if (at_end_) {
            return std::nullopt;
        }
        if (text_here("(")) {
            advance();
            const value v = deeper() ? either() : std::nullopt;
            --depth_;
            if (!v || !text_here(")")) {
                return std::nullopt;
            }
            advance();
            return v;
        }
        const token t = token_;
        advance();
        std::uint32_t number = 0;
        if (t.kind == token_kind::number) {
            return number_value(t, number) ? value(number) : std::nullopt;
        }
        if (t.kind == token_kind::name) {
            const name_facts* facts = program_.find(t.text);
            if (facts == nullptr || !has_evaluated_value(*facts)) {
                return std::nullopt;
            }
            return facts->negative ? value(std::int64_t{facts->value} - (std::int64_t{1} << 32)) : value(facts->value);
        }
        return std::nullopt;
    }

    // One level further into parentheses or unary operators; false past the deepest (the caller
    // steps back out either way).
    bool deeper() { return ++depth_ <= deepest_nesting; }

    static value combine(operation op, const value& a, const value& b)
    {
        return a && b ? apply(op, *a, *b) : std::nullopt;
    }

    operation operator_here() const
    {
        if (at_end_) {
            return operation::none;
        }
        for (const operator_word& row : operator_words) {
            if (token_.kind == token_kind::name ? equal_folded(token_.text, row.word) : token_.text == row.word) {
                return row.op;
            }
        }
        return operation::none;
    }

    operation product_operator() const
    {
        if (text_here("*")) {
            return operation::times;
        }
        if (text_here("/")) {
            return operation::divide;
        }
        const operation op = operator_here();
        return op == operation::mod || op == operation::shl || op == operation::shr ? op : operation::none;
    }

    bool text_here(std::string_view text) const { return !at_end_ && token_.kind == token_kind::other && token_.text == text; }
    bool word_here(std::string_view word) const
    {
        return !at_end_ && token_.kind == token_kind::name && equal_folded(token_.text, word);
    }

    // The next token that is not white space.
    void advance()
    {
        while (tokens_.next(token_)) {
            if (token_.kind != token_kind::other || !is_white_space(token_.text[0])) {
                return;
            }
        }
        at_end_ = true;
    }

    tokenizer tokens_;
    const program_declarations& program_;
    token token_;
    bool at_end_ = false;
    int depth_ = 0;
};

} // namespace

bool constant_value(std::string_view text, const program_declarations& program, std::int64_t& result)
{
    const value v = reader(text, program).whole();
    if (v) {
        result = *v;
    }
    return v.has_value();
}

} // namespace dravent
