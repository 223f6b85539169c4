// Names and their facts, for the whole program: one arena of characters, one array of entries,
// one open-addressing index. Memory grows with the number and length of the names declared,
// never with the length of the file, and no name costs an allocation of its own.
#pragma once

#include "text/word_key.hpp"

#include <bit>
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

    // The most names a table takes a lookup index for: its slots then hold 2 MB at most.
    static constexpr std::size_t most_indexed = std::size_t{1} << 16;

    // Builds the lookup index, for the searches made once every name is added (any name added
    // after drops it): each slot holds what a search compares, the name's first eight bytes as
    // written, 20 bits of its hash, its length and mark_of(facts) of its entry, so that a search
    // for a name of eight bytes or fewer reads one slot, and no entry or characters. The file
    // that streams through the caches while names are looked up takes the table out of them, and
    // each place a search reads is a wait for memory. Built for tables of up to most_indexed
    // names; a larger one is searched as it is.
    template <typename MarkOf>
    void index_lookups(MarkOf mark_of)
    {
        lookups_.clear();
        if (entries_.empty() || entries_.size() > most_indexed) {
            return;
        }
        lookups_.resize(std::bit_ceil(2 * entries_.size()));
        const std::size_t mask = lookups_.size() - 1;
        for (std::uint32_t index = 0; index < entries_.size(); ++index) {
            const entry& e = entries_[index];
            std::size_t at = e.hash & mask;
            while (lookups_[at].check != 0) {
                at = (at + 1) & mask;
            }
            const auto marks = static_cast<std::uint32_t>(mark_of(e.facts) & 0x7F);
            lookups_[at] = {pack_head(name_of(e)), lookup_check(e.hash, e.length) | (marks << lookup_marks_shift),
                            index};
        }
    }

    // The entry of the key's word, whether with its very bytes, and the marks of its facts with
    // marks_known set; or, without a lookup index, as find finds it, with no marks known. bytes:
    // the word's first eight bytes as written, zero-padded.
    static constexpr std::uint8_t marks_known = 0x80;
    std::uint32_t find_marked(const word_key& key, std::uint64_t bytes, bool& written_alike, std::uint8_t& marks) const
    {
        marks = 0;
        const std::string_view name = key.text;
        if (lookups_.empty() || name.empty()) {
            return find(key, written_alike);
        }
        const std::uint32_t check = lookup_check(key.hash, name.size());
        const std::size_t mask = lookups_.size() - 1;
        for (std::size_t at = key.hash & mask; lookups_[at].check != 0; at = (at + 1) & mask) {
            const lookup& l = lookups_[at];
            if ((l.check & ~lookup_marks_bits) != check) {
                continue;
            }
            const bool alike = name.size() <= word_key_head_length
                                   ? short_name_alike(l.head, key, bytes, written_alike)
                                   : long_name_alike(entries_[l.index], key, written_alike);
            if (alike) {
                marks = static_cast<std::uint8_t>((l.check >> lookup_marks_shift) | marks_known);
                return l.index;
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
        lookups_.clear();
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
               slots_.capacity() * sizeof(std::uint32_t) + tags_.capacity() + lookups_.capacity() * sizeof(lookup);
    }

private:
    struct entry {
        std::uint32_t first;   // the name's characters in the arena
        std::uint32_t length;
        std::uint32_t hash;
        Facts facts;
    };

    // A slot of the lookup index: the check holds 20 bits of the hash, the length (9 for any
    // longer name), a bit that the slot is taken, and the marks in its top seven bits.
    struct lookup {
        std::uint64_t head = 0;
        std::uint32_t check = 0;  // 0: an empty slot
        std::uint32_t index = 0;
    };
    static constexpr int lookup_hash_bits = 20;
    static constexpr std::uint32_t lookup_taken_bit = std::uint32_t{1} << 24;
    static constexpr int lookup_marks_shift = 25;
    static constexpr std::uint32_t lookup_marks_bits = ~std::uint32_t{0} << lookup_marks_shift;

    static std::uint32_t lookup_check(std::uint32_t hash, std::size_t length)
    {
        const auto kept = static_cast<std::uint32_t>(length <= word_key_head_length ? length : word_key_head_length + 1);
        return (hash & ((std::uint32_t{1} << lookup_hash_bits) - 1)) | (kept << lookup_hash_bits) | lookup_taken_bit;
    }

    // Whether a name of eight bytes or fewer whose head is head, of the length of the key's word,
    // is the word (bytes: the word's bytes as written, zero-padded), and whether written alike.
    static bool short_name_alike(std::uint64_t head, const word_key& key, std::uint64_t bytes, bool& written_alike)
    {
        written_alike = head == bytes;
        return written_alike || fold_case_bytes(head) == key.head;
    }

    // The same for a longer name, compared in the arena.
    bool long_name_alike(const entry& e, const word_key& key, bool& written_alike) const
    {
        if (e.length != key.text.size()) {
            return false;
        }
        const char* stored = characters_.data() + e.first;
        written_alike = same_bytes(stored, key.text.data(), e.length);
        return written_alike || equal_folded(std::string_view(stored, e.length), key.text);
    }

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
    std::vector<lookup> lookups_;     // the lookup index, or empty
};

} // namespace dravent
