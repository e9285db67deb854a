#include "bench/name_run.h"
#include "bench/sample_gedcom.h"
#include "gedcom/byte_source.h"
#include "index/index_list.h"
#include "index/index_sort.h"
#include "index/latin_keys.h"
#include "progress/progress_throttle.h"

#include <benchmark/benchmark.h>

#include <unicode/ucol.h>
#include <unicode/uiter.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stambrix::bench {

namespace {
// The index lines of `persons` generated person records, in file order, as the scanner makes them.
std::vector<std::string> NameIndexLines(std::size_t persons)
{
    const std::string file = SampleGedcom(persons);
    gedcom::MemorySource source(file);
    progress::ProgressThrottle progress;
    const scan::ScanResult scanned = ScanNameIndex(source, progress);
    return {scanned.indexList.begin(), scanned.indexList.end()};
}

// Sort keys and sort together, one SortIndexList call, on lines read as windows-1252 like the
// generated file declares.
void SortNameLines(benchmark::State& state)
{
    const std::vector<std::string> lines = NameIndexLines(static_cast<std::size_t>(state.range(0)));
    index::IndexList indexList;
    for (auto _ : state) {
        state.PauseTiming();
        indexList = index::IndexList();
        for (const std::string& line : lines)
            indexList.Add(line);
        state.ResumeTiming();
        index::SortIndexList(indexList, charsets::TextEncoding::Windows1252, "nl");
        benchmark::DoNotOptimize(indexList.RestOf(0).data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(SortNameLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The sort of a read in two halves: each half collated on its own, then merged as they are applied.
void SortNameLinesInHalves(benchmark::State& state)
{
    const std::vector<std::string> lines = NameIndexLines(static_cast<std::size_t>(state.range(0)));
    index::IndexList indexList;
    index::IndexList later;
    for (auto _ : state) {
        state.PauseTiming();
        indexList = index::IndexList();
        later = index::IndexList();
        for (std::size_t i = 0; i < lines.size(); ++i)
            (i < lines.size() / 2 ? indexList : later).Add(lines[i]);
        state.ResumeTiming();
        index::CollatedLines collated(indexList, charsets::TextEncoding::Windows1252, "nl");
        collated.Merge(index::CollatedLines(later, charsets::TextEncoding::Windows1252, "nl"));
        indexList.Append(std::move(later));
        std::move(collated).ApplyTo(indexList);
        benchmark::DoNotOptimize(indexList.RestOf(0).data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(SortNameLinesInHalves)->Arg(100000)->Unit(benchmark::kMillisecond);

// The place index of both record groups of `persons` generated person records: its lines as value
// and rest, in file order.
std::vector<std::pair<std::string, std::string>> PlaceIndexLines(std::size_t persons)
{
    const std::string file = SampleGedcom(persons);
    gedcom::MemorySource source(file);
    progress::ProgressThrottle progress;
    run::RunRequest request;
    request.choices.eventKind = run::EventKind::Plaatsen;
    request.choices.recordGroup = run::RecordGroup::Beiden;
    const scan::ScanResult scanned = scan::ScanGedcom(source, run::ScanChoicesOf(request), progress);
    std::vector<std::pair<std::string, std::string>> lines;
    std::string scratch;
    for (std::size_t i = 0; i < scanned.indexList.size(); ++i) {
        const std::string_view line = scanned.indexList.LineAt(i, scratch);
        const std::size_t rest = line.rfind("\t[");
        lines.emplace_back(line.substr(0, rest), line.substr(rest));
    }
    return lines;
}

// A place index sorted as a run sorts it: its places kept once and its lines ordered by them.
void SortPlaceLines(benchmark::State& state)
{
    const auto lines = PlaceIndexLines(static_cast<std::size_t>(state.range(0)));
    index::IndexList indexList;
    for (auto _ : state) {
        state.PauseTiming();
        indexList = index::IndexList();
        for (const auto& [value, rest] : lines)
            indexList.AddValueLine(value, rest);
        state.ResumeTiming();
        index::SortIndexList(indexList, charsets::TextEncoding::Windows1252, "nl");
        benchmark::DoNotOptimize(indexList.RestOf(0).data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(SortPlaceLines)->Arg(100000)->Unit(benchmark::kMillisecond);

// The index's collator: ICU at secondary strength, blanks and punctuation counted.
std::unique_ptr<UCollator, void (*)(UCollator*)> IndexCollator()
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCollator, void (*)(UCollator*)> collator(ucol_open("nl", &status), ucol_close);
    ucol_setStrength(collator.get(), UCOL_SECONDARY);
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    return collator;
}

std::vector<std::u16string> NameIndexTexts(std::size_t persons)
{
    std::vector<std::u16string> texts;
    // The generated lines are windows-1252 without its bytes 0x80-0x9F: each byte is its code point.
    for (const std::string& line : NameIndexLines(persons)) {
        std::u16string& text = texts.emplace_back();
        for (const char c : line)
            text.push_back(static_cast<unsigned char>(c));
    }
    return texts;
}

// The 32-byte key heads of the sort, from the table of weights per character.
void KeyHeadsFromTable(benchmark::State& state)
{
    const std::vector<std::u16string> texts = NameIndexTexts(static_cast<std::size_t>(state.range(0)));
    const auto collator = IndexCollator();
    const std::unique_ptr<index::LatinKeys> keys = index::LatinKeys::For(collator.get());
    std::array<std::uint8_t, 32> head{};
    for (auto _ : state)
        for (const std::u16string& text : texts) {
            head = {};
            benchmark::DoNotOptimize(keys->HeadOf(text, head));
        }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * texts.size()));
}
BENCHMARK(KeyHeadsFromTable)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same heads made by the collator, as for text the table does not hold.
void KeyHeadsFromCollator(benchmark::State& state)
{
    const std::vector<std::u16string> texts = NameIndexTexts(static_cast<std::size_t>(state.range(0)));
    const auto collator = IndexCollator();
    std::array<std::uint8_t, 32> head{};
    for (auto _ : state)
        for (const std::u16string& text : texts) {
            UCharIterator iterator;
            uiter_setString(&iterator, text.data(), static_cast<int32_t>(text.size()));
            std::uint32_t keyState[2] = {0, 0};
            UErrorCode status = U_ZERO_ERROR;
            ucol_nextSortKeyPart(collator.get(), &iterator, keyState, head.data(), static_cast<int32_t>(head.size()),
                                 &status);
            benchmark::DoNotOptimize(head.data());
        }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * texts.size()));
}
BENCHMARK(KeyHeadsFromCollator)->Arg(100000)->Unit(benchmark::kMillisecond);
} // namespace

} // namespace stambrix::bench
