#include "fuzz/index_choices.h"
#include "gedcom/byte_source.h"
#include "gedcom/gedcom_reader.h"
#include "gedcom/utf16_source.h"
#include "names/prefix_table.h"
#include "progress/progress_throttle.h"
#include "progress/silent_progress.h"
#include "run/read_sorted_index.h"
#include "run/run_index.h"
#include "run/run_request.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

// libFuzzer target over the whole core: the input is a GEDCOM file, indexed for every event kind
// and every output form the program offers, as the front ends run it. Besides the sanitizers'
// reports, an input fails when a run throws (an text::RunFailure too: a regular file in a writable folder
// gives no cause for one, whatever its bytes), when a run leaves a temporary file behind, when
// the reader splits it into other lines with a tiny buffer than with the usual one, or when it
// reads differently in two halves at once than in one pass.
namespace {

namespace fs = std::filesystem;
[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "run_index_fuzzer: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

/// The folder this process writes each input and its index into, made at the first input and
/// removed at exit. It lies on /dev/shm when there is one: every written page is synced to disk,
/// which costs nothing there.
class WorkFolder
{
public:
    WorkFolder()
    {
        std::error_code error;
        const fs::path parent = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (parent / "stambrix-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            Fail("cannot make a folder " + pattern + ": " + std::strerror(errno));
        path_ = pattern;
    }
    ~WorkFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void WriteInput(const fs::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        Fail("cannot write " + path.string());
}

void RunEveryIndex(const std::string& gedcomPath)
{
    static const stambrix::names::PrefixTable prefixes = stambrix::names::DefaultPrefixes();
    stambrix::progress::SilentProgress progress;
    stambrix::progress::SilentMessages messages;
    for (const stambrix::fuzz::IndexChoice& choice : stambrix::fuzz::kIndexChoices) {
        stambrix::run::RunRequest request;
        request.gedcomPath = gedcomPath;
        request.choices = choice;
        request.prefixes = prefixes;
        // A regular file in a writable folder: nothing the bytes say may make the run throw.
        if (stambrix::run::RunIndex(request, progress, messages) == stambrix::run::RunOutcome::NoFileGiven)
            Fail("a run found no file at " + gedcomPath);
    }
}

// Every output file is written under a temporary name starting with "." and renamed once whole.
void CheckNoTemporaryFileLeft(const fs::path& outputDirectory)
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(outputDirectory, error))
        if (entry.path().filename().string().front() == '.')
            Fail("a temporary file was left behind: " + entry.path().string());
    if (error)
        Fail("cannot list " + outputDirectory.string() + ": " + error.message());
}

struct ReadLines
{
    std::vector<std::string> lines;
    bool stoppedAtEndMarker = false;
    bool utf16 = false;
};

ReadLines ReadAllLines(std::string_view bytes, std::size_t bufferSize)
{
    stambrix::gedcom::MemorySource source(bytes);
    stambrix::gedcom::Utf16Source utf16(source);
    stambrix::gedcom::GedcomReader reader(utf16, bufferSize);
    ReadLines read;
    for (std::string_view line; reader.ReadLine(line);)
        read.lines.emplace_back(line);
    read.stoppedAtEndMarker = reader.StoppedAtEndMarker();
    read.utf16 = utf16.IsUtf16();
    return read;
}

std::string Printable(std::string_view text)
{
    std::string printable;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            printable += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            printable += escaped;
        }
    }
    return printable;
}

// Lines straddle the blocks of a buffer of 1 to 7 bytes all the time; they must come out as they
// do from the usual buffer, where almost every line lies inside one block.
void CheckTinyBufferReadsTheSame(std::string_view bytes)
{
    const std::size_t bufferSize = bytes.empty() ? 1 : 1 + static_cast<unsigned char>(bytes.front()) % 7;
    const ReadLines tiny = ReadAllLines(bytes, bufferSize);
    const ReadLines usual = ReadAllLines(bytes, stambrix::gedcom::kReadBufferSize);
    const std::string buffer = " with a buffer of " + std::to_string(bufferSize) + " bytes";
    for (std::size_t i = 0; i < tiny.lines.size() && i < usual.lines.size(); ++i)
        if (tiny.lines[i] != usual.lines[i])
            Fail("line " + std::to_string(i + 1) + buffer + " reads \"" + Printable(tiny.lines[i]) + "\", not \"" +
                 Printable(usual.lines[i]) + "\"");
    if (tiny.lines.size() != usual.lines.size())
        Fail(std::to_string(tiny.lines.size()) + " lines" + buffer + ", not " + std::to_string(usual.lines.size()));
    if (tiny.stoppedAtEndMarker != usual.stoppedAtEndMarker)
        Fail("byte 26 is seen differently" + buffer);
    if (tiny.utf16 != usual.utf16)
        Fail("the encoding is taken differently" + buffer);
}

// Large files are read in two halves at once, cut at a level-0 line past the middle; here every
// input is, and the sorted lines and their encoding must be those of one pass.
void CheckHalvesReadTheSame(const std::string& gedcomPath)
{
    using stambrix::run::ReadSortedIndex;
    using stambrix::scan::ScanResult;
    static const stambrix::names::PrefixTable prefixes = stambrix::names::DefaultPrefixes();
    stambrix::progress::ProgressThrottle progress;
    for (const stambrix::fuzz::IndexChoice& choice : stambrix::fuzz::kTextIndexChoices) {
        stambrix::run::RunRequest request;
        request.gedcomPath = gedcomPath;
        request.choices.eventKind = choice.eventKind;
        request.choices.recordGroup = choice.recordGroup;
        request.prefixes = prefixes;
        stambrix::gedcom::FileSource onePass(gedcomPath);
        const ScanResult whole =
            ReadSortedIndex(onePass, gedcomPath, stambrix::run::ScanChoicesOf(request), progress, "nl", UINT64_MAX);
        stambrix::gedcom::FileSource cut(gedcomPath);
        const ScanResult halves =
            ReadSortedIndex(cut, gedcomPath, stambrix::run::ScanChoicesOf(request), progress, "nl", 2);
        const std::string kind = " of event kind " + std::to_string(static_cast<int>(choice.eventKind));
        if (halves.encoding != whole.encoding)
            Fail("the halves take another encoding than one pass" + kind);
        if (halves.indexList.size() != whole.indexList.size())
            Fail(std::to_string(halves.indexList.size()) + " lines in halves, " +
                 std::to_string(whole.indexList.size()) + " in one pass" + kind);
        std::string halvesScratch;
        std::string wholeScratch;
        for (std::size_t i = 0; i < whole.indexList.size(); ++i) {
            const std::string_view halvesLine = halves.indexList.LineAt(i, halvesScratch);
            const std::string_view wholeLine = whole.indexList.LineAt(i, wholeScratch);
            if (halvesLine != wholeLine)
                Fail("line " + std::to_string(i + 1) + kind + " reads \"" + Printable(halvesLine) + "\" in halves, \"" +
                     Printable(wholeLine) + "\" in one pass");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const WorkFolder folder;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const fs::path gedcomPath = folder.path() / "stamboom.ged";
    const fs::path outputDirectory = folder.path() / "Stambrix";

    // Each input starts without an index, so it runs the same whenever it is replayed.
    std::error_code error;
    fs::remove_all(outputDirectory, error);
    if (error)
        Fail("cannot remove " + outputDirectory.string() + ": " + error.message());
    WriteInput(gedcomPath, bytes);
    RunEveryIndex(gedcomPath.string());
    CheckNoTemporaryFileLeft(outputDirectory);
    CheckTinyBufferReadsTheSame(bytes);
    CheckHalvesReadTheSame(gedcomPath.string());
    return 0;
}
