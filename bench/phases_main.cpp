// Times a name run (or with "plaatsen" a place run of both record groups) on a GEDCOM file phase by
// phase, with the calls the run itself makes:
//   stambrix_phases FILE.ged [plaatsen]
// prints one line: persons, index lines, and seconds for the run's own read in two halves at once
// (read, scan, keys and sort in each, then the merge), then for the same in one thread: read+scan,
// keys+sort, putting the lines in order, writing the text index, and total; then writing the
// framed pages of the same lines; then the peak resident memory (MB) by the end of each phase. A place
// index that keeps its places once is keyed and sorted while it is put in order.
// The index is written to a temporary folder that is removed afterwards; the collation locale
// comes from the environment (LC_ALL, LANG) as in a run.

#include "bench/name_run.h"
#include "run/read_sorted_index.h"
#include "run/write_index.h"

#include "gedcom/byte_source.h"
#include "index/index_list.h"
#include "index/index_sort.h"
#include "names/prefix_table.h"
#include "output/folder_files.h"
#include "output/text_writer.h"
#include "progress/progress_throttle.h"
#include "progress/silent_progress.h"
#include "text/run_failure.h"
#include <benchmark/benchmark.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <sys/resource.h>

namespace {
using Clock = std::chrono::steady_clock;

double SecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// Peak resident memory of this process so far, in MB.
double PeakResidentMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The prefix file beside the program when there is one, as the command-line front end decides.
stambrix::names::PrefixTable ProgramPrefixes()
{
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return stambrix::names::DefaultPrefixes();
    return stambrix::names::LoadPrefixTable(self.parent_path() / stambrix::names::kPrefixFileName);
}

// A new empty folder under the system's temporary folder, removed with everything in it at the end.
class TemporaryFolder
{
public:
    TemporaryFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "stambrix-phases-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw stambrix::text::RunFailureFromErrno(pattern, errno);
        path_ = pattern;
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

int TimePhases(const std::string& gedcomPath, bool places)
{
    using namespace stambrix;
    const names::PrefixTable prefixes = ProgramPrefixes();
    const std::string locale = index::CollationLocale();
    const TemporaryFolder folder;
    progress::ProgressThrottle progress;

    run::RunRequest request;
    request.gedcomPath = gedcomPath;
    request.prefixes = prefixes;
    if (places) {
        request.choices.eventKind = run::EventKind::Plaatsen;
        request.choices.recordGroup = run::RecordGroup::Beiden;
    }

    // The way a run reads: as two halves at once when the file is large enough.
    const Clock::time_point halvesStart = Clock::now();
    {
        gedcom::FileSource file(gedcomPath);
        const scan::ScanResult sorted =
            run::ReadSortedIndex(file, gedcomPath, run::ScanChoicesOf(request), progress, locale);
        benchmark::DoNotOptimize(sorted.indexList.size());
    }
    const double halves = SecondsBetween(halvesStart, Clock::now());

    // The same work in one thread, phase by phase.
    const Clock::time_point start = Clock::now();
    gedcom::FileSource source(gedcomPath);
    scan::ScanResult found = scan::ScanGedcom(source, run::ScanChoicesOf(request), progress);
    index::IndexList& indexList = found.indexList;
    const Clock::time_point scanned = Clock::now();
    const double scanPeak = PeakResidentMb();

    std::optional<index::CollatedLines> collated(std::in_place, indexList, found.encoding, locale);
    const Clock::time_point keyed = Clock::now();
    std::move(*collated).ApplyTo(indexList);
    collated.reset();
    const Clock::time_point sorted = Clock::now();
    const double sortPeak = PeakResidentMb();

    std::uint64_t writtenCounter = 0;
    output::WrittenCounter counter(progress, writtenCounter);
    output::FolderFiles files(folder.path());
    output::WriteTextIndex(indexList, files, "Namen.txt", counter);
    files.Publish();
    const Clock::time_point written = Clock::now();
    const double writePeak = PeakResidentMb();

    request.choices.outputKind = run::OutputKind::Html;
    request.choices.inFrame = true;
    output::FolderFiles pages(folder.path());
    progress::SilentMessages messages;
    if (run::WriteIndex(request, found, pages, progress, messages) != run::RunOutcome::Written)
        throw std::runtime_error("no framed pages written");
    pages.Publish();
    const Clock::time_point framed = Clock::now();

    std::printf("stambrix-phases persons=%llu lines=%zu locale=%s two_halves_read_scan_sort_merge=%.3f read_scan=%.3f "
                "keys_sort=%.3f order=%.3f write=%.3f write_framed=%.3f total=%.3f peak_mb_scan=%.0f "
                "peak_mb_sort=%.0f peak_mb_write=%.0f\n",
                static_cast<unsigned long long>(found.records), indexList.size(), locale.c_str(), halves,
                SecondsBetween(start, scanned), SecondsBetween(scanned, keyed), SecondsBetween(keyed, sorted),
                SecondsBetween(sorted, written), SecondsBetween(written, framed), SecondsBetween(start, written),
                scanPeak, sortPeak, writePeak);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    const bool places = argc == 3 && std::string_view(argv[2]) == "plaatsen";
    if (argc != 2 && !places) {
        std::fprintf(stderr, "usage: stambrix_phases FILE.ged [plaatsen]\n");
        return 2;
    }
    try {
        return TimePhases(argv[1], places);
    } catch (const stambrix::text::RunFailure& e) {
        std::fprintf(stderr, "stambrix_phases: %s\n", e.what());
        return 3;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "stambrix_phases: %s\n", e.what());
        return 1;
    }
}
