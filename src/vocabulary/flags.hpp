// Size flags and line flags: the bit sets that the vocabulary's rows carry and conversion reads.
#pragma once

namespace dravent {

// Size flags: the operand sizes that an operand names, and so the mnemonic's AT&T size letters.
inline constexpr int SIZE_BYTE = 1;
inline constexpr int SIZE_WORD = 2;
inline constexpr int SIZE_DWORD = 4;
inline constexpr int SIZE_QWORD = 8;
inline constexpr int SIZE_TBYTE = 0x10;     // ten bytes: an x87 extended real or BCD number
inline constexpr int SIZE_FWORD = 0x20;     // six bytes: a 32-bit far pointer
inline constexpr int DISTANCE_NEAR = 0x40;  // near ptr
inline constexpr int DISTANCE_FAR = 0x80;   // far ptr
inline constexpr int SIZE_LETTER_FLAGS = SIZE_BYTE | SIZE_WORD | SIZE_DWORD | SIZE_QWORD;

// Line flags: what kind of statement a line holds.
inline constexpr int LINE_DATA = 0x01;     // a data definition or assignment: operands in source order, no "$"
inline constexpr int LINE_EQUATE = 0x02;   // equ or =: a data line whose strings are numbers, as in an instruction
inline constexpr int LINE_PORT_IO = 0x04;  // in, out, ins, outs: the port register gives no size letter beside another
inline constexpr int LINE_JUMP = 0x08;     // a jump, call or loop: its target gets no "$"
inline constexpr int LINE_ADDRESS = 0x10;  // lea and the far-pointer loads: the source is an address, no "$"
inline constexpr int LINE_SHIFT = 0x20;    // a shift or rotate: a count in cl gives no size letter
inline constexpr int LINE_SOURCE_ORDER = 0x40;  // enter and bound: GNU As keeps their operands in Intel order
inline constexpr int LINE_NO_ACCESS = 0x80;  // lea: the address alone is taken; assume puts no segment before it

} // namespace dravent
