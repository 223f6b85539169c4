// Line facts from the declarations' line-ordered lists, followed line by line.
#include "driver/line_context.hpp"

#include <algorithm>

namespace dravent {
namespace {

std::uint64_t first_line_of(const include_span& span) { return span.line; }

template <typename T>
std::uint64_t first_line_of(const T& item)
{
    return item.first_line;
}

// How many items begin at or before line, counted on from known, the count for an earlier line.
template <typename T>
std::size_t count_starting_by(const std::vector<T>& items, std::uint64_t line, std::size_t known)
{
    while (known < items.size() && first_line_of(items[known]) <= line) {
        ++known;
    }
    return known;
}

// The same, found by a search.
template <typename T>
std::size_t search_starting_by(const std::vector<T>& items, std::uint64_t line)
{
    const auto after = std::upper_bound(items.begin(), items.end(), line,
                                        [](std::uint64_t l, const T& item) { return l < first_line_of(item); });
    return static_cast<std::size_t>(after - items.begin());
}

// The last of the first count items, or nullptr.
template <typename T>
const T* last_of(const std::vector<T>& items, std::size_t count)
{
    return count == 0 ? nullptr : &items[count - 1];
}

} // namespace

void line_context::move_to(std::uint64_t line)
{
    const program_declarations& p = *program_;
    if (line < last_line_) {
        counts_ = {search_starting_by(p.procedures, line), search_starting_by(p.includes, line - 1),
                   search_starting_by(p.structures, line),  search_starting_by(p.comments, line),
                   search_starting_by(p.skipped, line),     search_starting_by(p.code_sizes, line),  search_starting_by(p.segments, line),
                   search_starting_by(p.modes, line),       search_starting_by(p.scopes, line),
                   search_starting_by(p.assumes, line)};
    } else {
        counts_.procedures = count_starting_by(p.procedures, line, counts_.procedures);
        counts_.includes = count_starting_by(p.includes, line - 1, counts_.includes);
        counts_.structures = count_starting_by(p.structures, line, counts_.structures);
        counts_.comments = count_starting_by(p.comments, line, counts_.comments);
        counts_.skipped = count_starting_by(p.skipped, line, counts_.skipped);
        counts_.code_sizes = count_starting_by(p.code_sizes, line, counts_.code_sizes);
        counts_.segments = count_starting_by(p.segments, line, counts_.segments);
        counts_.modes = count_starting_by(p.modes, line, counts_.modes);
        counts_.scopes = count_starting_by(p.scopes, line, counts_.scopes);
        counts_.assumes = count_starting_by(p.assumes, line, counts_.assumes);
    }
    last_line_ = line;
}

const conversion_context& line_context::changed_at(std::uint64_t line)
{
    context_.program = program_;
    move_to(line);
    const program_declarations& p = *program_;
    const procedure_span* procedure = last_of(p.procedures, counts_.procedures);
    context_.procedure = procedure != nullptr && line <= procedure->last_line ? procedure : nullptr;
    // The includes before the line are counted: the next one is the line's own, if any.
    const bool include_here = counts_.includes < p.includes.size() && p.includes[counts_.includes].line == line;
    context_.include = include_here ? &p.includes[counts_.includes] : nullptr;
    const structure_span* structure = last_of(p.structures, counts_.structures);
    context_.structure = structure != nullptr && line <= structure->last_line ? structure : nullptr;
    const comment_span* comment = last_of(p.comments, counts_.comments);
    context_.comment = comment != nullptr && line <= comment->last_line ? comment : nullptr;
    context_.set_apart = context_.comment != nullptr || context_.structure != nullptr || context_.include != nullptr;
    const skipped_span* skipped = last_of(p.skipped, counts_.skipped);
    context_.skipped = skipped != nullptr && line <= skipped->last_line;
    const code_size_change* size = last_of(p.code_sizes, counts_.code_sizes);
    context_.code_bits = size != nullptr ? size->bits : 16;
    context_.code_bits_uncertain = size != nullptr && size->uncertain;
    const segment_change* segment = last_of(p.segments, counts_.segments);
    context_.segment = segment != nullptr ? segment->segment : 0;
    const mode_change* mode = last_of(p.modes, counts_.modes);
    context_.ideal = mode != nullptr && mode->ideal;
    context_.scope = last_of(p.scopes, counts_.scopes);
    context_.assumes = last_of(p.assumes, counts_.assumes);
    write_local_label_prefix(context_.scope);
    context_.local_label_prefix = prefix_;
    next_change_ = next_change(line);
    return context_;
}

// The first line after line at which an item of a list begins, or the procedure, structure or
// comment block that line stands in ends, or line's own include is over.
std::uint64_t line_context::next_change(std::uint64_t line) const
{
    if (context_.include != nullptr) {
        return line + 1;
    }
    const program_declarations& p = *program_;
    std::uint64_t next = ~std::uint64_t{0};
    const auto take = [&](const auto& items, std::size_t count) {
        if (count < items.size()) {
            next = std::min(next, first_line_of(items[count]));
        }
    };
    take(p.procedures, counts_.procedures);
    take(p.includes, counts_.includes);
    take(p.structures, counts_.structures);
    take(p.comments, counts_.comments);
    take(p.skipped, counts_.skipped);
    take(p.code_sizes, counts_.code_sizes);
    take(p.segments, counts_.segments);
    take(p.modes, counts_.modes);
    take(p.scopes, counts_.scopes);
    take(p.assumes, counts_.assumes);
    if (context_.procedure != nullptr) {
        next = std::min(next, context_.procedure->last_line + 1);
    }
    if (context_.structure != nullptr) {
        next = std::min(next, context_.structure->last_line + 1);
    }
    if (context_.comment != nullptr) {
        next = std::min(next, context_.comment->last_line + 1);
    }
    if (context_.skipped) {
        const skipped_span& skipped = p.skipped[counts_.skipped - 1];
        next = std::min(next, skipped.last_line == ~std::uint64_t{0} ? skipped.last_line : skipped.last_line + 1);
    }
    return next;
}

// @@name in a scope becomes .L<scope>.name: one name for every use within the scope.
void line_context::write_local_label_prefix(const local_scope* scope)
{
    if (prefix_written_ && scope == scope_) {
        return;  // the line before stood in the same scope
    }
    prefix_.assign(".L");
    if (scope == nullptr) {
        prefix_.append("file");  // before the first label
    } else if (scope->name != no_entry) {
        prefix_.append(program_->names.name(scope->name));
    } else {
        prefix_.append(std::to_string(scope->ordinal));
    }
    prefix_ += '.';
    scope_ = scope;
    prefix_written_ = true;
}

} // namespace dravent
