#include "bench/sample_gedcom.h"
#include "gedcom/byte_source.h"
#include "gedcom/gedcom_reader.h"
#include "gedcom/line_markers.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::bench {

namespace {
constexpr std::size_t kSamplePersons = 20000;

// Every line of a file held in memory, so the figure is the reader's own and not the disk's; the
// argument is the reader's block size (the run's own first).
void ReadLines(benchmark::State& state)
{
    static const std::string file = SampleGedcom(kSamplePersons);
    const auto blockSize = static_cast<std::size_t>(state.range(0));
    std::size_t lines = 0;
    for (auto _ : state) {
        gedcom::MemorySource source(file);
        gedcom::GedcomReader reader(source, blockSize);
        std::string_view line;
        lines = 0;
        while (reader.ReadLine(line)) {
            benchmark::DoNotOptimize(line.data());
            ++lines;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(ReadLines)
    ->Arg(static_cast<std::int64_t>(gedcom::kReadBufferSize))
    ->Arg(256 << 10)
    ->Arg(64 << 10)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond);

// The markers of every line of the same file, the lines read beforehand.
void FindLineMarkers(benchmark::State& state)
{
    static const std::string file = SampleGedcom(kSamplePersons);
    std::vector<std::string_view> lines;
    gedcom::MemorySource source(file);
    gedcom::GedcomReader reader(source, gedcom::kReadBufferSize);
    for (std::string_view line; reader.ReadLine(line);)
        lines.push_back(line);
    for (auto _ : state)
        for (const std::string_view line : lines)
            benchmark::DoNotOptimize(gedcom::MarkersOf(line));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(FindLineMarkers)->Unit(benchmark::kMillisecond);
} // namespace

} // namespace stambrix::bench
