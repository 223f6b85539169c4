// A realistic mix of Tasm lines, in the proportions of hand-written code, shared by the benchmarks.
#pragma once

#include <array>
#include <string_view>

namespace dravent::bench {

inline constexpr std::array<std::string_view, 20> sample_lines{
    "\tmov ax, [bx+si+4]\t; load the next word",
    "\tmov dword ptr [ebx+ecx*4+10h], eax",
    "next:\tinc cx",
    "table\tdw 1, 2, 4, 8, 0FFFFh",
    "; a comment that explains the code below it",
    "",
    "\tjnz short next",
    "\tcall print_string",
    "\tshl ax, cl",
    "\tmov dx, offset message",
    "\tint 21h",
    "\tout dx, al",
    "\tpush bp",
    "\tmov bp, sp",
    "\tmov ax, word ptr [bp+6]",
    "\tadd ax, 10",
    "\tcmp al, '$'",
    "\tje done",
    "message db 'Hello', 13, 10, '$'",
    "\tpop bp",
};

} // namespace dravent::bench
