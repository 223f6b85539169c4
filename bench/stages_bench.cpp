// Micro-benchmarks of each conversion stage and of whole lines, in bytes of source per second.
#include "convert/convert_operand.hpp"
#include "convert/convert_statement.hpp"
#include "declarations/collect_declarations.hpp"
#include "declarations/declarations.hpp"
#include "driver/line_converter.hpp"
#include "emit/emit_line.hpp"
#include "sample_lines.hpp"
#include "source/split_line.hpp"
#include "vocabulary/flags.hpp"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace dravent::bench {
namespace {

std::size_t sample_bytes()
{
    std::size_t bytes = 0;
    for (const std::string_view line : sample_lines) {
        bytes += line.size() + 1;
    }
    return bytes;
}

std::vector<source_line> split_samples()
{
    std::vector<source_line> lines(sample_lines.size());
    for (std::size_t n = 0; n < sample_lines.size(); ++n) {
        split_line(sample_lines[n], lines[n]);
    }
    return lines;
}

void split_line_mix(benchmark::State& state)
{
    source_line line;
    for (auto _ : state) {
        for (const std::string_view text : sample_lines) {
            split_line(text, line);
            benchmark::DoNotOptimize(line);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample_bytes()));
}
BENCHMARK(split_line_mix);

// Statements and their operands, from lines split once.
void convert_statement_mix(benchmark::State& state)
{
    const std::vector<source_line> split = split_samples();
    statement_converter converter;
    converted_line line;
    for (auto _ : state) {
        for (const source_line& source : split) {
            converter.convert(source, conversion_context{}, line);
            benchmark::DoNotOptimize(line);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample_bytes()));
}
BENCHMARK(convert_statement_mix);

void convert_operand_case(benchmark::State& state, std::string_view text, int line_flags)
{
    text_buffer out;
    conversion_workspace work;
    for (auto _ : state) {
        out.clear();
        benchmark::DoNotOptimize(convert_operand(text, line_flags, conversion_context{}, out, work).size_flags);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK_CAPTURE(convert_operand_case, register, std::string_view("ax"), 0);
BENCHMARK_CAPTURE(convert_operand_case, immediate, std::string_view("10"), 0);
BENCHMARK_CAPTURE(convert_operand_case, memory, std::string_view("dword ptr es:[ebx+ecx*4+10h]"), 0);
BENCHMARK_CAPTURE(convert_operand_case, radix, std::string_view("0FFh+0101b"), 0);
BENCHMARK_CAPTURE(convert_operand_case, data, std::string_view("'Hello'"), LINE_DATA);

void emit_line_mix(benchmark::State& state)
{
    const std::vector<source_line> split = split_samples();
    std::vector<converted_line> lines(split.size());
    statement_converter converter;
    for (std::size_t n = 0; n < split.size(); ++n) {
        converter.convert(split[n], conversion_context{}, lines[n]);
    }
    std::string out;
    for (auto _ : state) {
        out.clear();
        for (const converted_line& line : lines) {
            emit_line(line, out);
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample_bytes()));
}
BENCHMARK(emit_line_mix);

void whole_line_mix(benchmark::State& state)
{
    line_converter converter;
    std::string out;
    for (auto _ : state) {
        out.clear();
        for (const std::string_view line : sample_lines) {
            converter.convert(line, out);
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample_bytes()));
}
BENCHMARK(whole_line_mix);

// The declarations pass over a text of repeated_lines repeated 4,000 times: the sample lines, or
// one-line comment blocks, which each close on the line after the one that opens them.
void declarations_pass(benchmark::State& state, std::string_view repeated_lines)
{
    std::string text;
    for (int n = 0; n < 4000; ++n) {
        text += repeated_lines;
    }
    for (auto _ : state) {
        program_declarations declarations;
        collect_declarations_from_text(text, ".", declarations);
        benchmark::DoNotOptimize(declarations);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

std::string sample_text()
{
    std::string text;
    for (const std::string_view line : sample_lines) {
        text.append(line).append("\n");
    }
    return text;
}
BENCHMARK_CAPTURE(declarations_pass, sample_lines, sample_text());
BENCHMARK_CAPTURE(declarations_pass, comment_blocks, std::string("comment ^ opened\n closed ^\n\tmov ax, bx\n"));

} // namespace
} // namespace dravent::bench

BENCHMARK_MAIN();
