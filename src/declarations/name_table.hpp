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
        std::uint8_t marks = 0;
        return find(key, written_alike, marks);
    }

    // The same, and the marks the entry's slot holds (see mark).
    std::uint32_t find(const word_key& key, bool& written_alike, std::uint8_t& marks) const
    {
        const std::string_view name = key.text;
        if (slots_.empty() || name.empty()) {
            return none;
        }
        const bool long_word = name.size() > word_key_head_length;
        const std::uint32_t check = check_of(key.hash, name.size());
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = key.hash & mask; slots_[at].index != none; at = (at + 1) & mask) {
            const slot& s = slots_[at];
            if ((s.check & ~marks_bits) != check) {
                continue;  // another name: its entry is not read
            }
            if (long_word ? long_name_alike(entries_[s.index], key, written_alike)
                          : short_name_alike(s.head, key, written_alike)) {
                marks = static_cast<std::uint8_t>(s.check >> marks_shift);
                return s.index;
            }
        }
        return none;
    }

    // Gives each slot the marks mark_of(facts) of its entry, seven bits that a search hands out
    // without reading the entry: for facts a search is made for often. A name added after has
    // none.
    template <typename MarkOf>
    void mark(MarkOf mark_of)
    {
        for (slot& s : slots_) {
            if (s.index != none) {
                const auto marks = static_cast<std::uint32_t>(mark_of(entries_[s.index].facts) & 0x7F);
                s.check = (s.check & ~marks_bits) | (marks << marks_shift);
            }
        }
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
        place({key.bytes, check_of(key.hash, name.size()), index}, key.hash);
        return index;
    }

    // Gives the entry the spelling of name, the same name in another case (the hash, taken of the
    // folded letters, stays).
    void respell(std::uint32_t index, std::string_view name)
    {
        const entry& e = entries_[index];
        if (name.size() == e.length && equal_folded(name_of(e), name)) {
            characters_.replace(e.first, e.length, name);
            slot_of(index).head = pack_head(name);
        }
    }

    Facts& facts(std::uint32_t index) { return entries_[index].facts; }
    const Facts& facts(std::uint32_t index) const { return entries_[index].facts; }
    std::string_view name(std::uint32_t index) const { return name_of(entries_[index]); }
    std::size_t size() const { return entries_.size(); }

    // Bytes held for the names and their facts.
    std::size_t memory() const
    {
        return characters_.capacity() + entries_.capacity() * sizeof(entry) + slots_.capacity() * sizeof(slot);
    }

private:
    struct entry {
        std::uint32_t first;   // the name's characters in the arena
        std::uint32_t length;
        std::uint32_t hash;
        Facts facts;
    };
    // A slot holds what a search compares, so that a search for a name of eight bytes or fewer
    // reads its slot alone, where the table is searched for the words of most lines while the
    // file streams through the caches and takes the table out of them: the name's first eight
    // bytes as written, 20 bits of its hash, its length (9 for any longer), and the marks of its
    // facts.
    struct slot {
        std::uint64_t head = 0;       // zero-padded
        std::uint32_t check = 0;      // check_of the hash and length, and the marks in the top seven bits
        std::uint32_t index = none;   // the entry; none marks an empty slot
    };
    static constexpr int hash_bits = 20;
    static constexpr int marks_shift = 25;
    static constexpr std::uint32_t marks_bits = ~std::uint32_t{0} << marks_shift;

    static std::uint32_t check_of(std::uint32_t hash, std::size_t length)
    {
        const auto kept = static_cast<std::uint32_t>(length <= word_key_head_length ? length : word_key_head_length + 1);
        return (hash & ((std::uint32_t{1} << hash_bits) - 1)) | (kept << hash_bits);
    }

    // Whether a name of eight bytes or fewer, whose head is head and whose length is the key's
    // word's, is the word, and whether with the very bytes of the word.
    static bool short_name_alike(std::uint64_t head, const word_key& key, bool& written_alike)
    {
        written_alike = head == key.bytes;
        return written_alike || fold_case_bytes(head) == key.head;
    }

    // The same for a name longer than eight bytes, compared in the arena.
    bool long_name_alike(const entry& e, const word_key& key, bool& written_alike) const
    {
        if (e.length != key.text.size()) {
            return false;
        }
        const char* stored = characters_.data() + e.first;
        written_alike = std::memcmp(stored, key.text.data(), e.length) == 0;
        return written_alike || equal_folded(std::string_view(stored, e.length), key.text);
    }

    std::string_view name_of(const entry& e) const { return std::string_view(characters_).substr(e.first, e.length); }

    // Puts s in the first free slot from the one its hash picks.
    void place(const slot& s, std::uint32_t hash)
    {
        std::size_t at = hash & (slots_.size() - 1);
        while (slots_[at].index != none) {
            at = (at + 1) & (slots_.size() - 1);
        }
        slots_[at] = s;
    }

    slot& slot_of(std::uint32_t index)
    {
        std::size_t at = entries_[index].hash & (slots_.size() - 1);
        while (slots_[at].index != index) {
            at = (at + 1) & (slots_.size() - 1);
        }
        return slots_[at];
    }

    // Twice the slots, each slot moved with its head and marks. Up to 2^20 slots the bits of the
    // hash the slot keeps pick its place; beyond, its entry's hash does.
    void grow()
    {
        std::vector<slot> old(slots_.empty() ? 64 : slots_.size() * 2);
        old.swap(slots_);
        const bool checks_place = slots_.size() <= (std::size_t{1} << hash_bits);
        for (const slot& s : old) {
            if (s.index != none) {
                place(s, checks_place ? s.check : entries_[s.index].hash);
            }
        }
    }

    std::string characters_;
    std::vector<entry> entries_;
    std::vector<slot> slots_;
};

} // namespace dravent
