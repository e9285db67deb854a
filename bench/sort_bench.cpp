#include "bench/name_run.h"
#include "bench/sample_gedcom.h"
#include "gedcom/byte_source.h"
#include "progress/silent_panels.h"
#include "scan/index_list.h"
#include "scan/index_sort.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace stambrix::bench {

namespace {
// The index lines of `persons` generated person records, in file order, as the scanner makes them.
std::vector<std::string> NameIndexLines(std::size_t persons)
{
    const std::string file = SampleGedcom(persons);
    gedcom::MemorySource source(file);
    progress::SilentPanels panels;
    const scan::ScanResult scanned = ScanNameIndex(source, panels);
    return {scanned.indexList.begin(), scanned.indexList.end()};
}

// Sort keys and sort together, one SortIndexList call, on lines read as windows-1252 like the
// generated file declares.
void SortNameLines(benchmark::State& state)
{
    const std::vector<std::string> lines = NameIndexLines(static_cast<std::size_t>(state.range(0)));
    scan::IndexList indexList;
    for (auto _ : state) {
        state.PauseTiming();
        indexList = scan::IndexList();
        for (const std::string& line : lines)
            indexList.Add(line);
        state.ResumeTiming();
        scan::SortIndexList(indexList, scan::TextEncoding::Windows1252, "nl");
        benchmark::DoNotOptimize(indexList[0].data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(SortNameLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The sort of a read in two halves: each half collated on its own, then merged as they are applied.
void SortNameLinesInHalves(benchmark::State& state)
{
    const std::vector<std::string> lines = NameIndexLines(static_cast<std::size_t>(state.range(0)));
    scan::IndexList indexList;
    scan::IndexList later;
    for (auto _ : state) {
        state.PauseTiming();
        indexList = scan::IndexList();
        later = scan::IndexList();
        for (std::size_t i = 0; i < lines.size(); ++i)
            (i < lines.size() / 2 ? indexList : later).Add(lines[i]);
        state.ResumeTiming();
        scan::CollatedLines collated(indexList, scan::TextEncoding::Windows1252, "nl");
        collated.Merge(scan::CollatedLines(later, scan::TextEncoding::Windows1252, "nl"));
        indexList.Append(std::move(later));
        std::move(collated).ApplyTo(indexList);
        benchmark::DoNotOptimize(indexList[0].data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(SortNameLinesInHalves)->Arg(100000)->Unit(benchmark::kMillisecond);
} // namespace

} // namespace stambrix::bench
