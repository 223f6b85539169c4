// Names and their facts, for the whole program: one arena of characters, one array of entries,
// one open-addressing index. Memory grows with the number and length of the names declared,
// never with the length of the file, and no name costs an allocation of its own.
#pragma once

#include "text/word_key.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace dravent {

template <typename Facts>
class name_table {
public:
    static constexpr std::uint32_t none = ~std::uint32_t{0};

    // The entry of name (compared without regard to case), or none.
    std::uint32_t find(std::string_view name) const
    {
        if (slots_.empty() || name.empty()) {
            return none;
        }
        const word_key key = make_word_key(name);
        const std::uint8_t tag = tag_of(key.hash);
        for (std::size_t at = key.hash & (slots_.size() - 1); slots_[at] != none; at = (at + 1) & (slots_.size() - 1)) {
            if (tags_[at] != tag) {
                continue;  // another name: its entry is not read
            }
            const entry& e = entries_[slots_[at]];
            if (e.hash == key.hash && same_name(name_of(e), name)) {
                return slots_[at];
            }
        }
        return none;
    }

    // The entry of name, made with default facts when the name is new.
    std::uint32_t add(std::string_view name)
    {
        const std::uint32_t found = find(name);
        if (found != none) {
            return found;
        }
        if ((entries_.size() + 1) * 2 > slots_.size()) {
            grow();
        }
        const word_key key = make_word_key(name);
        const auto index = static_cast<std::uint32_t>(entries_.size());
        entries_.push_back({static_cast<std::uint32_t>(characters_.size()), static_cast<std::uint32_t>(name.size()),
                            key.hash, Facts{}});
        characters_.append(name);
        place(index);
        return index;
    }

    Facts& facts(std::uint32_t index) { return entries_[index].facts; }
    const Facts& facts(std::uint32_t index) const { return entries_[index].facts; }
    std::string_view name(std::uint32_t index) const { return name_of(entries_[index]); }
    std::size_t size() const { return entries_.size(); }

    // Bytes held for the names and their facts.
    std::size_t memory() const
    {
        return characters_.capacity() + entries_.capacity() * sizeof(entry) +
               slots_.capacity() * sizeof(std::uint32_t) + tags_.capacity();
    }

private:
    struct entry {
        std::uint32_t first;   // the name's characters in the arena
        std::uint32_t length;
        std::uint32_t hash;
        Facts facts;
    };

    // Equal without regard to case. A name is mostly written the same way each time: the bytes
    // are compared as they are first.
    static bool same_name(std::string_view a, std::string_view b)
    {
        return a.size() == b.size() && (std::memcmp(a.data(), b.data(), a.size()) == 0 || equal_folded(a, b));
    }

    std::string_view name_of(const entry& e) const { return std::string_view(characters_).substr(e.first, e.length); }

    // Eight bits of a hash that the index does not use for the slot: a search reads an entry only
    // where its slot's tag matches.
    static std::uint8_t tag_of(std::uint32_t hash) { return static_cast<std::uint8_t>(hash >> 24); }

    void place(std::uint32_t index)
    {
        const std::uint32_t hash = entries_[index].hash;
        std::size_t at = hash & (slots_.size() - 1);
        while (slots_[at] != none) {
            at = (at + 1) & (slots_.size() - 1);
        }
        slots_[at] = index;
        tags_[at] = tag_of(hash);
    }

    void grow()
    {
        slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, none);
        tags_.assign(slots_.size(), 0);
        for (std::uint32_t index = 0; index < entries_.size(); ++index) {
            place(index);
        }
    }

    std::string characters_;
    std::vector<entry> entries_;
    std::vector<std::uint32_t> slots_;
    std::vector<std::uint8_t> tags_;  // slot by slot
};

} // namespace dravent
