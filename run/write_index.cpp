#include "run/write_index.h"

#include "output/family_name_pages.h"
#include "output/name_index_pages.h"
#include "output/stylesheet.h"
#include "output/text_writer.h"
#include "output/web_site.h"
#include "output/written_counter.h"
#include "run/run_choices.h"

#include <cstdint>

namespace stambrix::run {

namespace {
// A run that leaves out living persons writes its index also when nothing is left, empty.
bool WritesEmptyIndex(const RunRequest& request)
{
    return request.zonderLevenden;
}
} // namespace

RunOutcome WriteIndex(const RunRequest& request, const scan::ScanResult& sorted, output::FileSet& files,
                      progress::ProgressThrottle& progress, progress::UserMessages& messages)
{
    if (sorted.indexList.empty() && !WritesEmptyIndex(request)) {
        messages.ShowMessage("Er zijn geen items gevonden.");
        return RunOutcome::NothingFound;
    }
    WriteIndexFiles(request, sorted, files, progress, messages);
    progress.Flush();
    return sorted.indexList.empty() ? RunOutcome::NothingFound : RunOutcome::Written;
}

void PublishIndex(const RunRequest& request, RunOutcome outcome, output::FileSet& files,
                  progress::UserMessages& messages)
{
    if (outcome == RunOutcome::Written) {
        files.Publish();
    } else if (outcome == RunOutcome::NothingFound && WritesEmptyIndex(request)) {
        files.Publish();
        messages.ShowMessage("Er zijn geen items gevonden; de vorige index is vervangen door een lege.");
    }
}

void WriteIndexFiles(const RunRequest& request, const scan::ScanResult& sorted, output::FileSet& files,
                     progress::ProgressThrottle& progress, progress::UserMessages& messages)
{
    std::uint64_t writtenCounter = 0;
    output::WrittenCounter counter(progress, writtenCounter);
    if (request.outputKind == OutputKind::NaarTekst) {
        output::WriteTextIndex(sorted.indexList, files, FactsOf(request.eventKind).textFileName, counter);
        return;
    }
    if (request.outputKind == OutputKind::Website) {
        output::WriteWebSite(sorted.indexList, sorted.encoding, files, counter);
        return;
    }
    // A stylesheet that cannot be written has been reported; the pages are written all the same.
    output::WriteStylesheet(files, messages);
    output::HtmlPages pages(files, request.optionPaths, sorted.encoding);
    switch (request.outputKind) {
    case OutputKind::Html:
        output::WriteNameIndexPages(sorted.indexList, request.inFrame, pages, counter);
        break;
    case OutputKind::Familienamen:
        output::WriteFamilyNameListPages(sorted.indexList, request.inFrame, pages, counter);
        break;
    case OutputKind::FamilienamenEenRegel:
        output::WriteFamilyNameLinePages(sorted.indexList, request.inFrame, pages, counter);
        break;
    case OutputKind::NaarTekst:
    case OutputKind::Website:
        break;
    }
}

} // namespace stambrix::run
