// The parsed form of one source line, shared by every stage, and the size and line flags.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dravent {

// Size flags: the operand sizes that an operand names, and so the mnemonic's AT&T size letters.
inline constexpr int SIZE_BYTE = 1;
inline constexpr int SIZE_WORD = 2;
inline constexpr int SIZE_DWORD = 4;
inline constexpr int SIZE_QWORD = 8;

// Line flags: what kind of statement a line holds.
inline constexpr int LINE_DATA = 0x01;     // a data definition or assignment: operands in source order, no "$"
inline constexpr int LINE_PORT_IO = 0x04;  // in or out: the port register gives no size letter beside another
inline constexpr int LINE_JUMP = 0x08;     // a jump, call or loop: its target gets no "$"
inline constexpr int LINE_ADDRESS = 0x10;  // lea and the far-pointer loads: the source is an address, no "$"
inline constexpr int LINE_SHIFT = 0x20;    // a shift or rotate: a count in cl gives no size letter

struct operand_slot {
    std::string text;
    int size_flags = 0;
};

// One line taken apart. The record is reused for every line: clear() empties it without giving back
// the memory its texts have grown to, so converting a file allocates only while buffers still grow.
struct line_record {
    std::string label;
    std::string mnemonic;
    int line_flags = 0;
    std::string comment;
    std::vector<operand_slot> operands;  // slots [0, count) are in use; the rest keep their capacity
    int count = 0;

    void clear();
    // Stores text as the next operand and counts it.
    void add_operand(std::string_view text);

    operand_slot& operand(int index) { return operands[static_cast<std::size_t>(index)]; }
    const operand_slot& operand(int index) const { return operands[static_cast<std::size_t>(index)]; }
};

} // namespace dravent
