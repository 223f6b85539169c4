// Data lists: items split at the commas that stand outside quotes and parentheses, dup groups
// parsed into the items they repeat.
#include "convert/data_list.hpp"

#include "text/characters.hpp"

namespace dravent {
namespace {

// Deeper dup nesting than this is no data worth laying out; it stays as written.
constexpr int max_dup_depth = 64;

bool is_blank_token(const token& t) { return t.kind == token_kind::other && is_blank(t.text[0]); }
bool is_character(const token& t, char c) { return t.kind == token_kind::other && t.text[0] == c; }
bool is_dup(const token& t) { return t.kind == token_kind::name && equal_folded(t.text, "dup"); }

class list_parser {
public:
    list_parser(std::string_view text, data_list& list) : text_(text), list_(list), tokens_(list.tokens) {}

    void parse() { parse_items(0, tokens_.size(), 0); }

private:
    // The text of the tokens [first, last) without blank tokens at either end; empty if all are blank.
    std::string_view trimmed(std::size_t first, std::size_t last) const
    {
        while (first < last && is_blank_token(tokens_[first])) {
            ++first;
        }
        while (last > first && is_blank_token(tokens_[last - 1])) {
            --last;
        }
        if (first == last) {
            return {};
        }
        const char* begin = tokens_[first].text.data();
        const char* end = tokens_[last - 1].text.data() + tokens_[last - 1].text.size();
        return text_.substr(static_cast<std::size_t>(begin - text_.data()), static_cast<std::size_t>(end - begin));
    }

    // The text of the tokens [first, last) without the blank tokens at its beginning.
    std::string_view leading_trimmed(std::size_t first, std::size_t last) const
    {
        const std::string_view kept = trimmed(first, last);
        const char* end = tokens_[last - 1].text.data() + tokens_[last - 1].text.size();
        return {kept.data(), static_cast<std::size_t>(end - kept.data())};
    }

    std::size_t skip_blank_tokens(std::size_t at, std::size_t last) const
    {
        while (at < last && is_blank_token(tokens_[at])) {
            ++at;
        }
        return at;
    }

    // The items among tokens [first, last), separated by the commas outside parentheses. At the
    // outermost level a comma with nothing after it leaves the list open.
    void parse_items(std::size_t first, std::size_t last, int depth)
    {
        std::size_t begin = first;
        for (;;) {
            std::size_t end = begin;
            std::size_t dup_at = no_dup;
            int parentheses = 0;
            for (; end < last; ++end) {
                const token& t = tokens_[end];
                if (is_character(t, '(')) {
                    ++parentheses;
                } else if (is_character(t, ')') && parentheses > 0) {
                    --parentheses;
                } else if (is_character(t, ',') && parentheses == 0) {
                    break;
                } else if (is_dup(t) && parentheses == 0 && dup_at == no_dup) {
                    dup_at = end;
                }
            }
            const bool empty = trimmed(begin, end).empty();
            if (!empty) {
                add_item(begin, end, dup_at, depth);
            }
            if (end == last) {
                if (depth == 0) {
                    list_.open = empty && begin > first;
                }
                return;
            }
            begin = end + 1;  // past the comma
        }
    }

    void add_item(std::size_t first, std::size_t last, std::size_t dup_at, int depth)
    {
        if (dup_at != no_dup && depth < max_dup_depth && add_repeat(first, last, dup_at, depth)) {
            return;
        }
        const data_item_kind kind = kind_of(first, last);
        // A value keeps the blanks that end it, as an operand of the line splitter does: the
        // operand conversion reads "offset " by the blank after it.
        const std::string_view text = kind == data_item_kind::value ? leading_trimmed(first, last) : trimmed(first, last);
        list_.items.push_back({kind, text, 0});
    }

    // count dup ( items ): false, adding nothing, when the item has any other shape.
    bool add_repeat(std::size_t first, std::size_t last, std::size_t dup_at, int depth)
    {
        const std::string_view count = trimmed(first, dup_at);
        const std::size_t open = skip_blank_tokens(dup_at + 1, last);
        if (count.empty() || open == last || !is_character(tokens_[open], '(')) {
            return false;
        }
        std::size_t close = open + 1;
        for (int parentheses = 1; close < last; ++close) {
            if (is_character(tokens_[close], '(')) {
                ++parentheses;
            } else if (is_character(tokens_[close], ')') && --parentheses == 0) {
                break;
            }
        }
        if (close == last || skip_blank_tokens(close + 1, last) != last || trimmed(open + 1, close).empty()) {
            return false;
        }
        const std::size_t begin_index = list_.items.size();
        list_.items.push_back({data_item_kind::repeat_begin, count, 0});
        parse_items(open + 1, close, depth + 1);
        list_.items[begin_index].end = list_.items.size();
        list_.items.push_back({data_item_kind::repeat_end, text_.substr(offset_of(tokens_[close]), 1), 0});
        return true;
    }

    std::size_t offset_of(const token& t) const { return static_cast<std::size_t>(t.text.data() - text_.data()); }

    // A string standing alone, a real number with or without a sign, or any other value.
    data_item_kind kind_of(std::size_t first, std::size_t last) const
    {
        first = skip_blank_tokens(first, last);
        while (last > first && is_blank_token(tokens_[last - 1])) {
            --last;
        }
        const token& t = tokens_[first];
        if (last - first == 1 && t.kind == token_kind::string) {
            return t.closed && character_count(t) == 1 ? data_item_kind::value : data_item_kind::string;
        }
        if (first < last && (is_character(t, '-') || is_character(t, '+'))) {
            first = skip_blank_tokens(first + 1, last);
        }
        if (last - first == 1 && tokens_[first].kind == token_kind::number &&
            tokens_[first].radix == number_radix::real) {
            return data_item_kind::real;
        }
        return data_item_kind::value;
    }

    static std::size_t character_count(const token& string)
    {
        std::size_t count = 0;
        const char quote = string.text.front();
        for (std::size_t at = 0; at < string.digits.size(); ++at, ++count) {
            if (string.digits[at] == quote) {
                ++at;  // the second quote of a pair
            }
        }
        return count;
    }

    static constexpr std::size_t no_dup = static_cast<std::size_t>(-1);

    std::string_view text_;
    data_list& list_;
    const std::vector<token>& tokens_;
};

} // namespace

void parse_data_list(std::string_view text, data_list& list)
{
    list.items.clear();
    list.open = false;
    list.tokens.clear();
    tokenizer tokens(text);
    for (token t; tokens.next(t);) {
        list.tokens.push_back(t);
    }
    list_parser(text, list).parse();
}

std::size_t find_comment(std::string_view text, std::size_t position)
{
    while (position < text.size() && text[position] != ';') {
        position = is_quote(text[position]) ? end_of_string(text, position).end : position + 1;
    }
    return position;
}

} // namespace dravent
