// Conditional assembly as the declarations pass follows it: which branch of each if ... endif
// block the lines stand in, as far as the pass can decide the conditions.
#pragma once

#include "text/characters.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace dravent {

// What a word does to conditional blocks: opens one, goes on with another branch, or ends one.
enum class conditional_step : std::uint8_t { none, open, next_if, next, end };

// What a condition asks: the value of an expression (not 0, or 0 for ife), whether a name is
// defined (or not), or something the declarations cannot tell (a macro argument, the pass).
enum class condition_test : std::uint8_t { none, nonzero, zero, defined, undefined, undecidable };

struct conditional_row {
    std::string_view word;
    conditional_step step;
    condition_test test;
};

inline constexpr std::array<conditional_row, 26> conditional_words{{
    {"if", conditional_step::open, condition_test::nonzero},
    {"ife", conditional_step::open, condition_test::zero},
    {"ifdef", conditional_step::open, condition_test::defined},
    {"ifndef", conditional_step::open, condition_test::undefined},
    {"if1", conditional_step::open, condition_test::undecidable},
    {"if2", conditional_step::open, condition_test::undecidable},
    {"ifb", conditional_step::open, condition_test::undecidable},
    {"ifnb", conditional_step::open, condition_test::undecidable},
    {"ifidn", conditional_step::open, condition_test::undecidable},
    {"ifidni", conditional_step::open, condition_test::undecidable},
    {"ifdif", conditional_step::open, condition_test::undecidable},
    {"ifdifi", conditional_step::open, condition_test::undecidable},
    {"elseif", conditional_step::next_if, condition_test::nonzero},
    {"elseife", conditional_step::next_if, condition_test::zero},
    {"elseifdef", conditional_step::next_if, condition_test::defined},
    {"elseifndef", conditional_step::next_if, condition_test::undefined},
    {"elseif1", conditional_step::next_if, condition_test::undecidable},
    {"elseif2", conditional_step::next_if, condition_test::undecidable},
    {"elseifb", conditional_step::next_if, condition_test::undecidable},
    {"elseifnb", conditional_step::next_if, condition_test::undecidable},
    {"elseifidn", conditional_step::next_if, condition_test::undecidable},
    {"elseifidni", conditional_step::next_if, condition_test::undecidable},
    {"elseifdif", conditional_step::next_if, condition_test::undecidable},
    {"elseifdifi", conditional_step::next_if, condition_test::undecidable},
    {"else", conditional_step::next, condition_test::none},
    {"endif", conditional_step::end, condition_test::none},
}};

// The row of word (in any case), or a row whose step is none.
constexpr conditional_row conditional_word(std::string_view word)
{
    // Every conditional word begins with e or i: most words are passed over at once.
    if (word.size() < 2 || (fold_case(word[0]) != 'i' && fold_case(word[0]) != 'e')) {
        return {};
    }
    for (const conditional_row& row : conditional_words) {
        if (equal_folded(row.word, word)) {
            return row;
        }
    }
    return {};
}

static_assert(conditional_word("ELSEIFDEF").test == condition_test::defined);
static_assert(conditional_word("endif").step == conditional_step::end);
static_assert(conditional_word("inc").step == conditional_step::none);

// What the pass decides of a condition.
enum class decision : std::uint8_t { yes, no, unknown };

// The blocks the lines stand in, innermost last. A branch is taken, skipped (its lines are not
// assembled: they declare nothing) or undecided (they may be: what they declare is kept, and a
// name declared otherwise in another branch is uncertain).
class conditional_blocks {
public:
    // Blocks are followed this deep; those inside deeper ones are undecided.
    static constexpr std::size_t deepest = 64;

    // by_default: for a condition the pass cannot decide, what it gives where nothing is defined
    // outside the file (ifdef of a name the file does not declare before: no), or unknown.
    void open(decision condition, decision by_default = decision::unknown)
    {
        if (blocks_.size() == deepest || deeper_ > 0) {
            ++deeper_;
        } else if (skipping_) {
            blocks_.push_back({branch::skipped, true});  // no branch of a block in a skipped one is taken
        } else if (condition == decision::unknown && by_default != decision::unknown) {
            const bool first = by_default == decision::yes;
            blocks_.push_back({branch::undecided, first, true, first});
        } else {
            blocks_.push_back({branch_of(condition), condition == decision::yes});
        }
        settle();
    }

    // elseif ...: condition is asked only where the block has taken no branch yet.
    template <typename Condition>
    void next_if(Condition condition)
    {
        next_branch(condition);
    }

    // else
    void next()
    {
        next_branch([] { return decision::yes; });
    }

    // The lines stand in a branch that Tasm does not assemble where nothing is defined outside the
    // file (its ifdef names nothing the file declares before), in a block the pass cannot decide.
    bool outside_default() const { return outside_default_; }

    // The innermost block, undecided in its first branch, takes that branch after all.
    void take_first_branch()
    {
        if (deeper_ == 0 && !blocks_.empty() && blocks_.back().state == branch::undecided) {
            blocks_.back() = {branch::taken, true};
            settle();
        }
    }

    // endif (one without a block ends nothing).
    void end()
    {
        if (deeper_ > 0) {
            --deeper_;
        } else if (!blocks_.empty()) {
            blocks_.pop_back();
        }
        settle();
    }

    // The blocks open (those too deep to follow too).
    std::size_t depth() const { return blocks_.size() + deeper_; }

    // A block opened inside the first depth ones stands in a branch the pass cannot decide.
    bool undecided_within(std::size_t depth) const
    {
        if (depth >= blocks_.size()) {
            return deeper_ > depth - blocks_.size();
        }
        for (std::size_t n = depth; n < blocks_.size(); ++n) {
            if (blocks_[n].state == branch::undecided) {
                return true;
            }
        }
        return deeper_ > 0;
    }

    // The innermost block is one the pass follows, in a branch it cannot decide.
    bool innermost_undecided() const
    {
        return deeper_ == 0 && !blocks_.empty() && blocks_.back().state == branch::undecided;
    }

    // The lines stand in a branch Tasm does not assemble.
    bool skipping() const { return skipping_; }
    // The lines stand in a branch the pass cannot tell Tasm assembles or not (and in none it
    // knows Tasm does not).
    bool undecided() const { return undecided_; }

private:
    enum class branch : std::uint8_t { taken, skipped, undecided };
    struct block {
        branch state;
        bool taken;                // a branch of the block has been taken (undecided: by default)
        bool has_default = false;  // undecided, but with a branch taken by default
        bool by_default = false;   // and the lines stand in it
    };

    template <typename Condition>
    void next_branch(Condition condition)
    {
        if (deeper_ > 0 || blocks_.empty()) {
            return;
        }
        block& b = blocks_.back();
        if (b.state == branch::undecided) {
            // An earlier branch may have been taken or not: so may this one. Where nothing is
            // defined outside the file, an else follows a branch not taken by default, and so
            // does an elseif whose condition holds; one the pass cannot decide gives the default up.
            const decision d = b.has_default && !b.taken ? condition() : decision::no;
            b.by_default = d == decision::yes;
            b.has_default = b.has_default && d != decision::unknown;
            b.taken = b.taken || b.by_default;
            settle();
            return;
        }
        if (b.taken) {
            b.state = branch::skipped;
        } else {
            const decision d = condition();
            b.state = branch_of(d);
            b.taken = d == decision::yes;
        }
        settle();
    }

    static branch branch_of(decision d)
    {
        return d == decision::yes ? branch::taken : d == decision::no ? branch::skipped : branch::undecided;
    }

    void settle()
    {
        skipping_ = false;
        undecided_ = deeper_ > 0;
        outside_default_ = false;
        for (const block& b : blocks_) {
            skipping_ = skipping_ || b.state == branch::skipped;
            undecided_ = undecided_ || b.state == branch::undecided;
            outside_default_ = outside_default_ || (b.has_default && !b.by_default);
        }
        undecided_ = undecided_ && !skipping_;
        outside_default_ = outside_default_ && undecided_;
    }

    std::vector<block> blocks_;
    std::uint64_t deeper_ = 0;
    bool skipping_ = false;
    bool undecided_ = false;
    bool outside_default_ = false;
};

} // namespace dravent
