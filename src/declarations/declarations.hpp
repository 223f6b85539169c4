// What a whole program declares: its names and their facts, and which lines belong to which
// procedure, local-label scope, code size and syntax mode. Collected by one pass over the file
// (and the files it includes) before any line is converted.
#pragma once

#include "declarations/name_table.hpp"
#include "text/characters.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace dravent {

enum class declared : std::uint8_t {
    unknown,
    variable,   // a data definition without a colon, a label byte/word/..., an extrn of a size
    constant,   // equ or = of a value
    procedure,  // proc, extrn name:near/far/proc, label near/far
    label,      // name: (a code address)
    structure,  // struc ... ends, union ... ends
    field,      // a field of a structure; it is also known as structure.field
    record,     // name record field:width, ...
    bit_field,  // a field of a record: its name stands for its shift count
};
inline constexpr std::size_t declared_kinds = static_cast<std::size_t>(declared::bit_field) + 1;

// How a structure lays out its fields, kept in its value.
enum structure_layout : std::uint32_t {
    layout_struc = 0,   // one field after another
    layout_union = 1,   // every field at offset 0; as long as the longest
    layout_nested = 2,  // a struc or union stands inside: where its fields lie is not worked out
};

inline constexpr std::uint32_t no_entry = ~std::uint32_t{0};

// The offset of a field that follows one whose length the declarations cannot work out (a dup
// whose count is no number).
inline constexpr std::uint32_t unknown_offset = ~std::uint32_t{0};

// At most this many names, line facts and declarations of include lines are kept (about 300 MB at
// most): a file that declares more (none that people write does) is converted with the first ones
// known and the rest treated as undeclared, so that no input can exhaust memory.
inline constexpr std::size_t max_declared_names = 4'000'000;
// The texts kept for fields' defaults, text equates and what include lines declare: at most this
// many bytes, with the same effect.
inline constexpr std::size_t max_kept_text = std::size_t{64} << 20;
// The files that include lines name are read for declarations up to this many bytes in all (a
// file read by each of its include lines counts each time); later include lines read as ones whose
// file cannot be read.
inline constexpr std::uint64_t max_included_bytes = std::uint64_t{1} << 30;
// And looked for at most this many times in all (a name not found as written is looked for in its
// folder's list): files that include others several times over, level after level, would
// otherwise be opened a number of times that grows as a power of their depth.
inline constexpr std::uint64_t max_included_files = 65'536;

struct name_facts {
    declared kind = declared::unknown;
    bool far : 1 = false;                 // a procedure's distance
    bool external : 1 = false;            // declared by extrn or global, defined elsewhere
    bool evaluated : 1 = false;           // a constant whose value the pass worked out, kept in value
    bool negative : 1 = false;            // and that value is below 0 (value holds its low 32 bits)
    // Conditional assembly the pass cannot decide (conditional_blocks.hpp):
    bool conditional : 1 = false;         // declared only in such a branch so far: it may not exist
    bool value_uncertain : 1 = false;     // a constant given another value there: its value is unknown
    bool conflicting : 1 = false;         // declared otherwise there: which declaration holds is unknown
    std::uint32_t segment = no_entry;     // the segment a procedure or label stands in
    std::uint32_t size = 0;               // bytes of a variable, field or whole structure; 0 unknown
    std::uint32_t count = 0;              // what Tasm's length gives a variable: its first values' count; 0 unknown
    std::uint32_t structure = no_entry;   // a variable's structure type; a field's structure
    std::uint32_t offset = 0;             // a field's offset in its structure, or unknown_offset
    std::uint32_t value = 0;              // a constant's number, when evaluated; a structure's layout
                                          // (structure_layout flags); a record's width in bits; a
                                          // bit field's shift count
    std::uint32_t first_field = 0;        // a structure's fields: [first_field, first_field + field_count)
    std::uint32_t field_count = 0;        //   in program_declarations::fields; a record's likewise in
                                          //   bit_fields; a bit field's own row there
};

// A constant whose value the pass worked out from its number or expression, unless branches of
// a conditional the pass cannot decide give it others.
inline bool has_evaluated_value(const name_facts& facts)
{
    return facts.kind == declared::constant && facts.evaluated && !facts.value_uncertain;
}

// Such a constant that is a count, a width or another number from 0 up.
inline bool has_number_value(const name_facts& facts) { return has_evaluated_value(facts) && !facts.negative; }

// A stretch of program_declarations::text.
struct text_span {
    std::uint32_t first = 0;
    std::uint32_t length = 0;
};

// An ifdef or ifndef line of the main file (or .errdef, .errndef, errifdef, errifndef) whose name
// GNU As has no symbol for: a structure, a record, a group, a segment, a text equate, an extrn or
// global name. Whether Tasm finds the name defined there, if that is known.
struct name_test {
    std::uint64_t line = 0;
    bool defined = false;
    bool known = true;   // false: declared only in a branch the pass cannot decide
};

// A field of a structure, in order, with what an instance that gives no value for it lays out.
struct structure_field {
    std::uint32_t name = no_entry;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    text_span directive;   // db, dw, ... as written
    text_span value;       // the default value as written
};

// A field of a record, in order from the most significant end. Its bits are
// [shift, shift + width) of the record's value.
struct bit_field_row {
    std::uint32_t name = no_entry;
    std::uint32_t shift = 0;
    std::uint32_t width = 0;
    bool has_default = true;      // the default is a number (none written is 0)
    std::uint32_t default_value = 0;
};

// The bits a field of width bits holds, from bit 0.
constexpr std::uint32_t low_bits(std::uint32_t width)
{
    return width >= 32 ? ~std::uint32_t{0} : (std::uint32_t{1} << width) - 1;
}

// Lines are numbered from 1 in the main file; included files add names, never lines.
struct procedure_span {
    std::uint64_t first_line = 0;  // the proc line
    std::uint64_t last_line = 0;   // the endp line (the last line of the file when it has none)
    std::uint32_t name = no_entry;
    bool far = false;
    // The names its arg and local lines (and its proc line) give stack slots, which Tasm reads as
    // [bp+n]: program_declarations::frame_names[first_frame_name, first_frame_name +
    // frame_name_count), in ascending order.
    std::uint32_t first_frame_name = 0;
    std::uint32_t frame_name_count = 0;
};

// A stretch of lines whose @@ labels belong together: a procedure, or outside procedures the
// lines from one non-local label to the next. name is the label that opens it (no_entry before
// the first one).
struct local_scope {
    std::uint64_t first_line = 0;
    std::uint32_t name = no_entry;
    std::uint32_t ordinal = 0;     // the scope's number in the file, for scopes without a name
};

// From first_line on, code is assembled with this many bits.
struct code_size_change {
    std::uint64_t first_line = 0;
    int bits = 16;
    bool uncertain = false;  // set in a branch of a conditional the pass cannot decide
};

// The processor GNU As is told to assemble for (.arch) from line on. Under Tasm's jumps, a
// conditional jump out of reach is the inverted short jump over a near jmp on the 8086, 80186 and
// 80286, which have no 0F 8x jumps; GNU As makes that form only for a processor it is told has
// none. A program that selects one of them, or none (Tasm's default is the 8086), and asks for
// jumps gets its .arch; any other processor, or nojumps, lifts it (any).
enum class cpu_level : std::uint8_t { i8086, i186, i286, any };
enum class fpu_level : std::uint8_t { i8087, i287, i387 };
struct arch_change {
    std::uint64_t line = 0;
    cpu_level cpu = cpu_level::any;
    fpu_level fpu = fpu_level::i8087;  // the coprocessor beside it
};

// The lines of a structure's declaration, from its struc line to its ends line.
struct structure_span {
    std::uint64_t first_line = 0;
    std::uint64_t last_line = 0;
    std::uint32_t structure = no_entry;
};

// The lines of a comment block: from the line "comment *" to the line that holds the next "*"
// (the first character after the word closes the block), both included.
struct comment_span {
    std::uint64_t first_line = 0;
    std::uint64_t last_line = 0;
};

// Lines of the main file in a branch of conditional assembly that Tasm does not assemble (nor GNU
// As: it skips them too).
struct skipped_span {
    std::uint64_t first_line = 0;
    std::uint64_t last_line = ~std::uint64_t{0};  // the end of the file while the branch goes on
};

// name equ [bp+4], name equ word ptr [bp+4], name equ cx, name equ <5 + 2>: Tasm puts the text
// in place of each use of the name on the lines after. A later equ may give the name another
// text. Which values are such texts: text_equate_text (text_equates.hpp).
// A line that goes on with the arg or local list of the line before, which ended in a comma.
struct frame_list_line {
    std::uint64_t line = 0;
    bool local = false;  // the list is local's; else arg's or the proc line's
};

struct text_equate {
    std::uint64_t line = 0;            // the equ line (for an included file's, the include line)
    text_span value;                   // the text as written
    std::uint32_t earlier = no_entry;  // the name's text before this one, if any
    bool conditional = false;          // given in a branch of a conditional the pass cannot decide
    bool conflicting = false;          // and another text than the one before: which holds is unknown
};

// What an included file declares, in order, for the include line to declare it to GNU As.
enum class include_item_kind : std::uint8_t {
    equate,  // name equ value, name = value
    field,   // a field of a structure: name, its structure and offset
    global,  // global name, public name
};

struct include_item {
    include_item_kind kind = include_item_kind::equate;
    text_span name;
    text_span value;                     // an equate's value as written
    std::uint32_t structure = no_entry;  // a field's structure
    std::uint32_t offset = 0;            // a field's offset
};

// An include line of the main file and what the files it names declare.
struct include_span {
    std::uint64_t line = 0;
    std::uint32_t first_item = 0;
    std::uint32_t item_count = 0;
    bool found = false;              // the file was found and read
    bool declarations_only = true;   // it holds nothing but declarations (no code, no data)
};

// From first_line on, lines stand in the segment with this number (0 before any segment).
struct segment_change {
    std::uint64_t first_line = 0;
    std::uint32_t segment = 0;
};

// The GNU As section a segment is written as, for the lines that return to it when a segment
// opened inside it ends: a segment line's own name (or .text, .data, .bss for _TEXT, _DATA,
// _BSS; named_bss for a 'BSS' class, which is @nobits), or the section of a simplified segment
// directive; none where it has no section.
enum class segment_section : std::uint8_t { none, named, named_bss, text, data, bss, rodata };

// The segment registers, in the order of assume_state::targets.
inline constexpr std::array<std::string_view, 6> segment_registers{"es", "cs", "ss", "ds", "fs", "gs"};
inline constexpr std::size_t es_register = 0;
inline constexpr std::size_t cs_register = 1;
inline constexpr std::size_t ss_register = 2;
inline constexpr std::size_t ds_register = 3;

// What assume says a segment register reaches: a segment's number, a group's number marked with
// group_target, nothing, or (before any assume names the register, or for a value the
// declarations cannot tell) unknown.
inline constexpr std::uint32_t assumed_unknown = 0;
inline constexpr std::uint32_t assumed_nothing = ~std::uint32_t{0};
inline constexpr std::uint32_t group_target = std::uint32_t{1} << 31;

// From first_line on, each segment register reaches what targets holds for it.
struct assume_state {
    std::uint64_t first_line = 0;
    std::array<std::uint32_t, segment_registers.size()> targets{};
};

// From first_line on, Tasm reads in IDEAL mode (or, when false, in MASM mode).
struct mode_change {
    std::uint64_t first_line = 0;
    bool ideal = false;
};

// The key of local label @@name in the scope numbered ordinal: "ordinal:name", written into key,
// a buffer of local_label_key_room bytes; empty when the name is too long for it.
constexpr std::size_t local_label_key_room = 256;
inline std::string_view local_label_key(std::uint32_t ordinal, std::string_view label, char* key)
{
    char* at = std::to_chars(key, key + 12, ordinal).ptr;
    *at++ = ':';
    const std::string_view name = label.substr(2);
    if (name.size() > local_label_key_room - static_cast<std::size_t>(at - key)) {
        return {};
    }
    std::memcpy(at, name.data(), name.size());
    return {key, static_cast<std::size_t>(at - key) + name.size()};
}

// The names that GNU As reads only in quotes draw a warning that names them for the first this many
// of them; any further one draws one text for all.
inline constexpr std::size_t max_named_quoted_names = 1024;
inline constexpr std::string_view unnamed_quoted_name_warning =
    "a name that holds a '?' or an '@', which GNU As reads only in quotes: rename it, or write it in double "
    "quotes wherever it stands, by hand";

// The item of a list in line order (each with its line) that stands on line, or nullptr.
template <typename T>
const T* item_on_line(const std::vector<T>& items, std::uint64_t line)
{
    const auto at = std::lower_bound(items.begin(), items.end(), line,
                                     [](const T& item, std::uint64_t n) { return item.line < n; });
    return at != items.end() && at->line == line ? &*at : nullptr;
}

struct program_declarations {
    name_table<name_facts> names;
    std::vector<structure_field> fields;
    std::vector<bit_field_row> bit_fields;
    std::vector<procedure_span> procedures;   // in line order
    std::vector<local_scope> scopes;           // in line order
    std::vector<code_size_change> code_sizes;  // in line order
    std::vector<mode_change> modes;            // in line order
    std::vector<arch_change> arches;           // in line order, one a line at most
    std::vector<assume_state> assumes;         // in line order
    name_table<std::uint32_t> group_names;     // each group's number (from 1), by name
    std::vector<std::uint32_t> segment_groups;  // by segment number: its group, marked with group_target, or 0
    std::vector<segment_section> segment_sections;  // by segment number: how it was last opened
    std::vector<segment_change> segments;      // in line order
    std::vector<structure_span> structures;    // in line order
    std::vector<comment_span> comments;        // in line order
    std::vector<skipped_span> skipped;         // in line order
    std::vector<include_span> includes;        // in line order
    std::vector<include_item> include_items;
    name_table<std::uint32_t> segment_names;   // each segment's number, by name
    std::vector<text_equate> text_equates;     // in line order
    name_table<std::uint32_t> text_equate_names;  // each name's latest text, in text_equates
    name_table<bool> local_labels;             // the @@ labels defined, by local_label_key, as first spelled
    // Once the pass is over, each name's texts in line order: text_equate_order[first, first +
    // count) of the name's entry in text_equate_ranges, so that a use finds its text by halving.
    std::vector<std::uint32_t> text_equate_order;
    std::vector<text_span> text_equate_ranges;
    name_table<std::uint8_t> frame_name_table;    // every name that arg or local gives a stack slot
    std::vector<std::uint32_t> frame_names;       // entries of frame_name_table, by procedure
    std::vector<frame_list_line> frame_list_lines;  // in line order
    std::vector<name_test> name_tests;         // in line order
    bool far_by_model = false;                 // procs without a distance are far (model medium, large, huge)
    std::size_t limit = max_declared_names;    // names and line facts kept at most
    std::uint64_t include_budget = max_included_bytes;  // bytes of included files read at most
    std::uint64_t include_file_budget = max_included_files;  // included files looked for at most
    // The names GNU As takes only in quotes (?tmp, @start), by entry in ascending order, and the
    // warning each one's uses draw, which names it.
    std::vector<std::uint32_t> quoted_names;
    std::vector<std::string> quoted_name_warnings;
    bool truncated = false;                    // the limit was reached: later names are unknown
    std::uint64_t limit_line = 0;              // the line it was reached on (an include's: the include line)
    bool declared_in_another_case = false;     // a name declared again in another spelling than at first
    bool conflicting_names = false;            // a name or text equate is conflicting (name_facts)
    std::string text;                          // the texts that fields point into

    // How many names of each kind the program declares, counted once the pass is over: a
    // conversion that looks a name up for one kind need not when the program declares none.
    std::array<std::uint32_t, declared_kinds> kind_counts{};

    bool declares(declared kind) const { return kind_counts[static_cast<std::size_t>(kind)] > 0; }

    // The marks a lookup of names hands out (name_table::index_lookups), for the lines that look
    // names up most: a near label or procedure, which a jump or call reaches as it stands.
    static constexpr std::uint8_t mark_near_target = 1;

    // Indexes the names for the conversion's lookups once the pass has collected them all.
    void index_lookups()
    {
        names.index_lookups([](const name_facts& facts) {
            return facts.kind != declared::variable && !facts.far ? mark_near_target : 0;
        });
    }

    void count_kinds()
    {
        kind_counts = {};
        for (std::uint32_t entry = 0; entry < names.size(); ++entry) {
            ++kind_counts[static_cast<std::size_t>(names.facts(entry).kind)];
        }
    }

    // Finds the names that hold a "?" or an "@" (but for @@ local labels): GNU As reads them only
    // in quotes ("?tmp":, movw "?tmp",%ax), which Dravent does not write.
    static constexpr bool is_question_mark_or_at(char c) { return c == '?' || c == '@'; }

    void index_quoted_names()
    {
        quoted_names.clear();
        quoted_name_warnings.clear();
        for (std::uint32_t entry = 0; entry < names.size(); ++entry) {
            const std::string_view name = names.name(entry);
            // ? and @ alone are no names Tasm lets a program declare; @@ begins a local label.
            if (std::none_of(name.begin(), name.end(), is_question_mark_or_at) ||
                std::all_of(name.begin(), name.end(), is_question_mark_or_at) || name.substr(0, 2) == "@@") {
                continue;
            }
            quoted_names.push_back(entry);
            if (quoted_name_warnings.size() == max_named_quoted_names) {
                continue;  // the others draw the warning without their name, so that the texts stay few
            }
            quoted_name_warnings.push_back("the name " + std::string(name) +
                                           " holds a '?' or an '@', which GNU As reads only in quotes: rename it, or "
                                           "write \"" + std::string(name) + "\" wherever it stands, by hand");
        }
    }

    // The warning a use of name draws when GNU As reads it only in quotes; empty otherwise.
    std::string_view quoted_name_warning(std::string_view name) const
    {
        if (quoted_names.empty()) {
            return {};
        }
        const std::uint32_t entry = names.find(name);
        const auto at = std::lower_bound(quoted_names.begin(), quoted_names.end(), entry);
        if (entry == names.none || at == quoted_names.end() || *at != entry) {
            return {};
        }
        const auto n = static_cast<std::size_t>(at - quoted_names.begin());
        return n < quoted_name_warnings.size() ? std::string_view(quoted_name_warnings[n])
                                               : std::string_view(unnamed_quoted_name_warning);
    }

    // Orders each name's texts by line, from the chains the pass left (the latest first).
    void index_text_equates()
    {
        text_equate_order.clear();
        text_equate_ranges.assign(text_equate_names.size(), text_span{});
        for (std::uint32_t entry = 0; entry < text_equate_names.size(); ++entry) {
            const auto first = static_cast<std::uint32_t>(text_equate_order.size());
            for (std::uint32_t at = text_equate_names.facts(entry); at != no_entry; at = text_equates[at].earlier) {
                text_equate_order.push_back(at);
            }
            std::reverse(text_equate_order.begin() + first, text_equate_order.end());
            text_equate_ranges[entry] = {first, static_cast<std::uint32_t>(text_equate_order.size()) - first};
        }
    }

    std::string_view view(text_span span) const { return std::string_view(text).substr(span.first, span.length); }
    text_span keep(std::string_view part)
    {
        const text_span span{static_cast<std::uint32_t>(text.size()), static_cast<std::uint32_t>(part.size())};
        text.append(part);
        return span;
    }

    // The text that name stands for on line, if a text equate before the line gives it one.
    bool text_of(std::string_view name, std::uint64_t line, std::string_view& text) const
    {
        const text_equate* equate = text_equate_at(name, line);
        if (equate != nullptr) {
            text = view(equate->value);
        }
        return equate != nullptr;
    }

    // The text equate that gives name its text on line, or nullptr.
    const text_equate* text_equate_at(std::string_view name, std::uint64_t line) const
    {
        const std::uint32_t entry = text_equate_names.find(name);
        if (entry == text_equate_names.none || entry >= text_equate_ranges.size()) {
            return nullptr;
        }
        const text_span range = text_equate_ranges[entry];
        const auto first = text_equate_order.begin() + range.first;
        // The last text whose equ line stands before line.
        const auto after = std::partition_point(first, first + range.length,
                                                [&](std::uint32_t at) { return text_equates[at].line < line; });
        return after == first ? nullptr : &text_equates[*(after - 1)];
    }

    // The name is one that arg or local gives a stack slot in procedure (or the size of its frame,
    // named after "=").
    bool names_frame_slot(std::string_view name, const procedure_span& procedure) const
    {
        if (procedure.frame_name_count == 0) {
            return false;
        }
        const std::uint32_t entry = frame_name_table.find(name);
        const auto first = frame_names.begin() + procedure.first_frame_name;
        return entry != frame_name_table.none && std::binary_search(first, first + procedure.frame_name_count, entry);
    }

    // The test of a name GNU As has no symbol for on line, or nullptr.
    const name_test* name_test_at(std::uint64_t line) const { return item_on_line(name_tests, line); }

    // The .arch that line writes, or nullptr.
    const arch_change* arch_change_at(std::uint64_t line) const { return item_on_line(arches, line); }

    // The arg or local list that line goes on with, or nullptr.
    const frame_list_line* frame_list_at(std::uint64_t line) const { return item_on_line(frame_list_lines, line); }

    // The spelling the program first declares name with, or name itself when it declares none.
    // Tasm reads Count and COUNT as the name count declares; GNU As reads three symbols.
    std::string_view declared_spelling(std::string_view name) const
    {
        const std::uint32_t entry = names.find(name);
        return entry == names.none ? name : names.name(entry);
    }

    // What follows the "@@" of label as the scope numbered ordinal defines it (@@Next: for a use
    // @@next), or as label writes it.
    std::string_view local_label_spelling(std::uint32_t ordinal, std::string_view label) const
    {
        char key[local_label_key_room];
        const std::uint32_t entry = local_labels.find(local_label_key(ordinal, label, key));
        if (entry == local_labels.none) {
            return label.substr(2);
        }
        const std::string_view defined = local_labels.name(entry);
        return defined.substr(defined.find(':') + 1);
    }

    // A segment register assumed to target reaches the segment numbered segment: target is that
    // segment, or the group it belongs to.
    bool reaches(std::uint32_t target, std::uint32_t segment) const
    {
        if (target == assumed_unknown || target == assumed_nothing || segment == 0 || segment == no_entry) {
            return false;
        }
        return target == segment || (segment < segment_groups.size() && segment_groups[segment] == target);
    }

    // The facts of a name, or nullptr when the program does not declare it.
    const name_facts* find(std::string_view name) const
    {
        const std::uint32_t entry = names.find(name);
        return entry == names.none ? nullptr : &names.facts(entry);
    }
};

} // namespace dravent
