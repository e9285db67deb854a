#include "fuzz/index_choices.h"
#include "fuzz/pipeline_input.h"
#include "gedcom/byte_source.h"
#include "index/collation_text.h"
#include "names/prefix_table.h"
#include "output/memory_files.h"
#include "progress/progress_throttle.h"
#include "progress/silent_progress.h"
#include "run/run_choices.h"
#include "run/run_request.h"
#include "run/write_index.h"
#include "scan/scan_gedcom.h"

#include <unicode/ucol.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

// libFuzzer target over the whole pipeline in memory: the input is a GEDCOM file and the way of
// indexing it (fuzz/pipeline_input.h), read, scanned, sorted and written into files held in memory;
// a few inputs repeat a piece of the file to entries over a megabyte. Besides the sanitizers'
// reports, an input fails when the pipeline throws, when two lines stand out of the collator's
// order, when a text index line has other fields than its kind's, or when an index does not hold
// every one of its lines: the text file one line each,
// the pages one entry each (every form of the name index, framed or not).
namespace {

using namespace stambrix;

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "pipeline_fuzzer: %s\n", what.c_str());
    std::abort();
}

std::size_t CountOf(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// Every line of the text file ends in CR LF and has the tabs of its kind; one line per index line. The
// bytes are looked at by memchr, as entries may be megabytes long.
void CheckTextIndex(std::string_view text, const fuzz::IndexChoice& choice, std::size_t lines)
{
    const std::size_t tabs = choice.eventKind == scan::EventKind::Naam ? 3 : 1;
    std::size_t count = 0;
    for (const char* at = text.data(); at != text.data() + text.size(); ++count) {
        const auto left = static_cast<std::size_t>(text.data() + text.size() - at);
        const auto* const cr = static_cast<const char*>(std::memchr(at, '\r', left));
        if (cr == nullptr || cr + 1 == at + left || cr[1] != '\n')
            Fail("a text line without CR LF, or with a CR inside");
        const auto length = static_cast<std::size_t>(cr - at);
        if (std::memchr(at, '\n', length) != nullptr || CountOf({at, length}, "\t") != tabs)
            Fail("a text line with other fields than its kind's");
        at = cr + 2;
    }
    if (count != lines)
        Fail("the text index does not hold every line");
}

// Each line collates after the one before it, or equal to it and not before it in its bytes: the
// order of the index, checked pair by pair with the collator comparing the lines' text.
void CheckOrder(const scan::ScanResult& result)
{
    static const auto collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* opened = ucol_open("nl", &status);
        ucol_setStrength(opened, UCOL_SECONDARY);
        ucol_setAttribute(opened, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
        if (U_FAILURE(status))
            Fail(std::string("no collator: ") + u_errorName(status));
        return opened;
    }();
    index::CollationText before;
    index::CollationText after;
    std::string firstBytes;
    std::string secondBytes;
    for (std::size_t i = 1; i < result.indexList.size(); ++i) {
        const std::string_view first = result.indexList.LineAt(i - 1, firstBytes);
        const std::string_view second = result.indexList.LineAt(i, secondBytes);
        const std::span<const UChar> a = before.Of(first, result.encoding);
        const std::span<const UChar> b = after.Of(second, result.encoding);
        const UCollationResult order =
            ucol_strcoll(collator, a.data(), static_cast<int32_t>(a.size()), b.data(), static_cast<int32_t>(b.size()));
        if (order == UCOL_GREATER || (order == UCOL_EQUAL && first > second))
            Fail("the index is not in collation order at line " + std::to_string(i));
    }
}

// The name index pages hold one entry line per index line, over all pages together.
void CheckNamePages(const output::MemoryFiles& files, std::size_t lines)
{
    std::size_t entries = 0;
    for (const auto& [name, page] : files.files)
        if (name.ends_with(".htm"))
            entries += CountOf(page, "<LI CLASS=\"inhoudtekst\">");
    if (entries != lines)
        Fail("the pages do not hold every person");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const names::PrefixTable prefixes = names::DefaultPrefixes();
    const fuzz::PipelineInput input = fuzz::ReadPipelineInput({reinterpret_cast<const char*>(data), size});
    const fuzz::IndexChoice& choice = input.choice;
    run::RunRequest request;
    request.choices = choice;
    request.prefixes = prefixes;
    progress::ProgressThrottle progress;
    progress::SilentMessages messages;
    gedcom::MemorySource source(input.gedcom);
    const scan::ScanResult result = scan::ScanSorted(source, run::ScanChoicesOf(request), progress, "nl");
    output::MemoryFiles files;
    const run::RunOutcome outcome = run::WriteIndex(request, result, files, progress, messages);
    files.Publish();
    CheckOrder(result);
    if (outcome == run::RunOutcome::NothingFound) {
        if (!files.files.empty())
            Fail("an index without lines wrote files");
        return 0;
    }
    if (choice.outputKind == run::OutputKind::NaarTekst)
        CheckTextIndex(files.files.at(std::string(run::FactsOf(choice.eventKind).textFileName)), choice,
                       result.indexList.size());
    else if (choice.outputKind == run::OutputKind::Html)
        CheckNamePages(files, result.indexList.size());
    return 0;
}
