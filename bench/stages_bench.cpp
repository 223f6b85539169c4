// Micro-benchmarks of each conversion stage and of whole lines, in bytes of source per second.
#include "driver/line_converter.hpp"
#include "line/assemble_line.hpp"
#include "line/split_line.hpp"
#include "operand/convert_operand.hpp"
#include "sample_lines.hpp"
#include "statement/convert_statement.hpp"

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

std::vector<line_record> split_samples()
{
    std::vector<line_record> records(sample_lines.size());
    for (std::size_t n = 0; n < sample_lines.size(); ++n) {
        split_line(sample_lines[n], records[n]);
    }
    return records;
}

void split_line_mix(benchmark::State& state)
{
    line_record record;
    for (auto _ : state) {
        for (const std::string_view line : sample_lines) {
            record.clear();
            split_line(line, record);
            benchmark::DoNotOptimize(record);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample_bytes()));
}
BENCHMARK(split_line_mix);

// Each pass restores the split record (reusing its buffers) and converts it again.
void convert_statement_mix(benchmark::State& state)
{
    const std::vector<line_record> split = split_samples();
    line_record record;
    for (auto _ : state) {
        for (const line_record& original : split) {
            record = original;
            convert_statement(record);
            benchmark::DoNotOptimize(record);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample_bytes()));
}
BENCHMARK(convert_statement_mix);

void convert_operand_case(benchmark::State& state, std::string_view text, int line_flags)
{
    operand_slot slot;
    for (auto _ : state) {
        slot.text.assign(text);
        slot.size_flags = 0;
        convert_operand(slot, line_flags);
        benchmark::DoNotOptimize(slot);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK_CAPTURE(convert_operand_case, register, std::string_view("ax"), 0);
BENCHMARK_CAPTURE(convert_operand_case, immediate, std::string_view("10"), 0);
BENCHMARK_CAPTURE(convert_operand_case, memory, std::string_view("dword ptr es:[ebx+ecx*4+10h]"), 0);
BENCHMARK_CAPTURE(convert_operand_case, radix, std::string_view("0FFh+0101b"), 0);
BENCHMARK_CAPTURE(convert_operand_case, data, std::string_view("'Hello'"), LINE_DATA);

void assemble_line_mix(benchmark::State& state)
{
    std::vector<line_record> records = split_samples();
    for (line_record& record : records) {
        convert_statement(record);
    }
    std::string out;
    for (auto _ : state) {
        for (const line_record& record : records) {
            out.clear();
            assemble_line(record, out);
            benchmark::DoNotOptimize(out);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample_bytes()));
}
BENCHMARK(assemble_line_mix);

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

} // namespace
} // namespace dravent::bench

BENCHMARK_MAIN();
