#include "bench/name_run.h"
#include "bench/sample_gedcom.h"
#include "gedcom/byte_source.h"
#include "progress/progress_throttle.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace stambrix::bench {

namespace {
constexpr std::size_t kSamplePersons = 20000;

// Reading and scanning a file held in memory for the name index, as a run does before sorting.
void ScanPersonNames(benchmark::State& state)
{
    static const std::string file = SampleGedcom(kSamplePersons);
    progress::ProgressThrottle progress;
    std::uint64_t persons = 0;
    for (auto _ : state) {
        gedcom::MemorySource source(file);
        const scan::ScanResult scanned = ScanNameIndex(source, progress);
        persons = scanned.records;
        benchmark::DoNotOptimize(scanned.indexList.size());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * persons));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(ScanPersonNames)->Unit(benchmark::kMillisecond);
} // namespace

} // namespace stambrix::bench
