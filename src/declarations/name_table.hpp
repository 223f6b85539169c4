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
    std::uint32_t find(std::string_view name) const { return find(make_word_key(name)); }

    // The entry of the key's word, or none.
    std::uint32_t find(const word_key& key) const
    {
        bool written_alike = false;
        return find(key, written_alike);
    }

    // The same, and whether the entry's name has the very bytes of the word (not only its letters
    // in another case).
    std::uint32_t find(const word_key& key, bool& written_alike) const
    {
        const std::string_view name = key.text;
        if (slots_.empty() || name.empty()) {
            return none;
        }
        const std::uint8_t tag = tag_of(key.hash);
        for (std::size_t at = key.hash & (slots_.size() - 1); slots_[at] != none; at = (at + 1) & (slots_.size() - 1)) {
            if (tags_[at] != tag) {
                continue;  // another name: its entry is not read
            }
            const entry& e = entries_[slots_[at]];
            if (e.hash != key.hash || e.length != name.size()) {
                continue;
            }
            const char* stored = characters_.data() + e.first;
            written_alike = same_bytes(stored, name.data(), name.size());
            if (written_alike || equal_folded(std::string_view(stored, name.size()), name)) {
                return slots_[at];
            }
        }
        return none;
    }

    // The entry of name, made with default facts when the name is new.
    std::uint32_t add(std::string_view name) { return add(make_word_key(name)); }

    std::uint32_t add(const word_key& key)
    {
        const std::uint32_t found = find(key);
        return found != none ? found : add_new(key);
    }

    // The entry made for the key's name, which the table does not hold (find has said so).
    std::uint32_t add_new(const word_key& key)
    {
        if ((entries_.size() + 1) * 2 > slots_.size()) {
            grow();
        }
        const std::string_view name = key.text;
        const auto index = static_cast<std::uint32_t>(entries_.size());
        entries_.push_back({static_cast<std::uint32_t>(characters_.size()), static_cast<std::uint32_t>(name.size()),
                            key.hash, Facts{}});
        characters_.append(name);
        place(index);
        return index;
    }

    // Gives the entry the spelling of name, the same name in another case (the hash, taken of the
    // folded letters, stays).
    void respell(std::uint32_t index, std::string_view name)
    {
        const entry& e = entries_[index];
        if (name.size() == e.length && equal_folded(name_of(e), name)) {
            characters_.replace(e.first, e.length, name);
        }
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

    // A name is mostly written the same way each time: its bytes are compared as they are first.
    // Names are short: one of four to eight bytes is compared as two words of four (which overlap
    // when it is shorter than eight), cheaper than a call to memcmp.
    static bool same_bytes(const char* a, const char* b, std::size_t length)
    {
        if (length < 4 || length > 8) {
            return std::memcmp(a, b, length) == 0;
        }
        return (load_four(a) ^ load_four(b)) == 0 && (load_four(a + length - 4) ^ load_four(b + length - 4)) == 0;
    }

    static std::uint32_t load_four(const char* at)
    {
        std::uint32_t bytes = 0;
        std::memcpy(&bytes, at, 4);
        return bytes;
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
