// Converting lines allocates only while the reused buffers still grow: once every kind of line
// has been seen, converting more lines of no greater length allocates nothing. Global operator
// new is replaced here to count allocations, so this test has an executable of its own.
#include "driver/line_converter.hpp"
#include "sample_lines.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace dravent {
namespace {

// The benchmarks' mix, and lines that grow the buffers further: a long operand list, long names,
// a DOS line ending, directives, data of every shape (a list continued on the next line too) and
// every form of memory operand.
std::vector<std::string> mix()
{
    std::vector<std::string> lines(bench::sample_lines.begin(), bench::sample_lines.end());
    lines.insert(lines.end(), {
        "\tmov dword ptr es:[ebx+ecx*4+10h], eax",
        "\tint 21h\r",
        "x equ 10h",
        "\tmodel small ; dropped",
        "\tmov ax, table[bx][si]+2",
        "\tdb 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35",
        "\tlea di, label_with_a_name_longer_than_the_small_string_buffer",
        "\tmov ax, word ptr [a_displacement_longer_than_sixteen_characters+bx]",
        "rule\tdb 2 dup (10 dup ('-'), 2 dup (' ')), 13, 10, 'a string of some length', '$',",
        "\t\t'continued', 0",
        "\tdd 1.5, 2 dup (3 dup (?), 4), offset rule, 'AB'",
        "\tdf 123456789ABCh",
        "code\tsegment para public 'CODE' use16",
        "\tglobal alpha:word, beta:proc, gamma:byte:10",
        "main\tproc near",
    });
    return lines;
}

// The allocations made while converting 100 passes of the lines into out, after one pass that
// lets every buffer grow.
template <typename Output>
long allocations_converting(const std::vector<std::string>& lines, Output& out)
{
    line_converter converter;
    for (const std::string& line : lines) {
        converter.convert(line, out);
    }
    if constexpr (requires { out.reserve(out.size() * 2); }) {
        out.reserve(out.size() * 2);
    }
    const long before = allocations.load();
    for (int pass = 0; pass < 100; ++pass) {
        out.clear();
        for (const std::string& line : lines) {
            converter.convert(line, out);
        }
    }
    return allocations.load() - before;
}

TEST(allocation, none_per_line_once_buffers_have_grown)
{
    const std::vector<std::string> lines = mix();
    std::string out;
    EXPECT_EQ(allocations_converting(lines, out), 0) << "allocations while converting 100 passes of the mix";
    text_buffer buffer;
    EXPECT_EQ(allocations_converting(lines, buffer), 0)
        << "allocations while converting 100 passes of the mix into a text_buffer, as the command does";
}

TEST(allocation, the_counter_sees_allocations)
{
    const long before = allocations.load();
    auto* grown = new std::string(100, 'x');
    delete grown;
    EXPECT_GT(allocations.load(), before);
}

} // namespace
} // namespace dravent
