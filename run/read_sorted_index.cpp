#include "run/read_sorted_index.h"

#include "gedcom/decoded_lines.h"
#include "gedcom/header_charset.h"
#include "index/index_sort.h"
#include "run/run_index.h"
#include "text/two_threads.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace stambrix::run {

namespace {
// How far past the middle a level-0 line is looked for before the file is read in one pass.
constexpr std::uint64_t kSplitSearch = 64 << 20;

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// The first position at or after `from` where a level-0 line begins right after a line end:
// "0" followed by a blank or a tab. Only for files of single bytes, not for UTF-16.
std::optional<std::uint64_t> SplitPointOf(const std::string& path, std::uint64_t size, std::uint64_t from)
{
    gedcom::FileSource file(path);
    const std::uint64_t end = std::min(size, from + kSplitSearch);
    file.Restrict(from - 1, end);
    std::vector<char> block(gedcom::kReadBufferSize);
    char beforePrevious = 0;
    char previous = 0;
    std::uint64_t position = from - 1;
    for (std::size_t count; (count = file.Read(block.data(), block.size())) != 0;) {
        for (std::size_t i = 0; i < count; ++i, ++position) {
            const char c = block[i];
            // `position` - 1 holds "0" after a line end, `position` its blank or tab.
            if ((c == ' ' || c == '\t') && previous == '0' && IsLineEnd(beforePrevious) && position - 1 >= from)
                return position - 1;
            beforePrevious = previous;
            previous = c;
        }
    }
    return std::nullopt;
}

// How the file is written, as the header at its start says, read from its first `end` bytes (as
// far as any cut may lie): the later half, read at the same time as the first, reads its lines
// accordingly.
struct FileHeader
{
    gedcom::DeclaredCharset declared = gedcom::DeclaredCharset::None;
    bool utf16 = false;
};

FileHeader FileHeaderOf(const std::string& path, std::uint64_t end, std::uint64_t size)
{
    gedcom::FileSource file(path);
    file.Restrict(0, end);
    gedcom::DecodedLines lines(file, gedcom::kReadBufferSize,
                               end < size ? gedcom::InputEnd::FileGoesOn : gedcom::InputEnd::EndOfFile);
    std::string_view line;
    while (!lines.Decided() && lines.ReadLine(line)) {
    }
    return {lines.Declared(), lines.IsUtf16()};
}

// The encoding of the whole file from those of its halves. Where the file declares nothing, every
// line of both halves must read as UTF-8; otherwise one half with text beyond ASCII decides (the
// other then holds nothing but ASCII, which reads the same either way).
charsets::TextEncoding EncodingOfBoth(const scan::ScanResult& first, const scan::ScanResult& later)
{
    if (first.undeclared && later.undeclared)
        return gedcom::EncodingOf(gedcom::DeclaredCharset::None, false, first.undeclared->With(*later.undeclared));
    return first.encoding == charsets::TextEncoding::Utf8 || later.encoding == charsets::TextEncoding::Utf8
               ? charsets::TextEncoding::Utf8
               : charsets::TextEncoding::Windows1252;
}

// The second half, read, scanned and collated on a thread of its own.
struct LaterHalf
{
    scan::ScanResult scanned;
    std::optional<index::CollatedLines> collated;
};
} // namespace

scan::ScanResult ReadSortedIndex(gedcom::FileSource& file, const std::string& path, const scan::ScanChoices& choices,
                                 progress::ProgressThrottle& progress, const std::string& locale,
                                 std::uint64_t splitFrom)
{
    const std::uint64_t size = file.Size();
    const bool large = size >= splitFrom && size >= 2 && std::thread::hardware_concurrency() > 1;
    const FileHeader header = large ? FileHeaderOf(path, std::min(size, size / 2 + kSplitSearch), size) : FileHeader{};
    const std::optional<std::uint64_t> split =
        large && !header.utf16 ? SplitPointOf(path, size, size / 2) : std::nullopt;
    if (!split)
        return scan::ScanSorted(file, choices, progress, locale);

    gedcom::FileSource laterFile(path);
    laterFile.Restrict(*split, size);
    std::atomic<std::uint64_t> recordTotal{0};
    LaterHalf later;
    scan::ScanResult first;
    std::optional<index::CollatedLines> collated;
    progress::ProgressThrottle beside = progress.Beside();
    const bool bothHalves = text::RunOnTwoThreads(
        [&] {
            file.Restrict(0, *split);
            first =
                scan::ScanGedcom(file, choices, progress, {&recordTotal, std::nullopt, gedcom::InputEnd::FileGoesOn});
            collated.emplace(first.indexList, first.encoding, locale);
        },
        [&later, &laterFile, &choices, &recordTotal, &locale, &beside, declared = header.declared] {
            later.scanned =
                scan::ScanGedcom(laterFile, choices, beside, {&recordTotal, declared, gedcom::InputEnd::EndOfFile});
            later.collated.emplace(later.scanned.indexList, later.scanned.encoding, locale);
        });
    if (!bothHalves) {
        // No second thread to be had (out of memory or threads): one pass does the same work.
        return scan::ScanSorted(file, choices, progress, locale);
    }

    // A half that was collated as the other encoding is collated again (that is rare: a file that
    // declares nothing and reads as UTF-8 in one half only).
    const charsets::TextEncoding encoding = EncodingOfBoth(first, later.scanned);
    if (first.encoding != encoding)
        collated.emplace(first.indexList, encoding, locale);
    if (later.scanned.encoding != encoding)
        later.collated.emplace(later.scanned.indexList, encoding, locale);
    first.encoding = encoding;
    first.indexList.Append(std::move(later.scanned.indexList));
    collated->Merge(std::move(*later.collated));
    const std::uint64_t records = first.records + later.scanned.records;
    std::move(*collated).ApplyTo(first.indexList);
    progress.RecordsRead(records);
    progress.Flush();
    first.records = records;
    first.leftOut += later.scanned.leftOut;
    return first;
}

} // namespace stambrix::run
