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
    const RunChoices& choices = request.choices;
    // Every kind is named here: a new one is either written on its own or is one of the HTML pages.
    switch (choices.outputKind) {
    case OutputKind::NaarTekst:
        output::WriteTextIndex(sorted.indexList, files, FactsOf(choices.eventKind).textFileName, counter);
        return;
    case OutputKind::Website:
        output::WriteWebSite(sorted.indexList, sorted.encoding, files, counter);
        return;
    case OutputKind::Html:
    case OutputKind::Familienamen:
    case OutputKind::FamilienamenEenRegel:
        break;
    }
    // The HTML pages come with the stylesheet. One that cannot be written has been reported; the
    // pages are written all the same.
    output::WriteStylesheet(files, messages);
    output::HtmlPages pages(files, request.optionPaths, sorted.encoding);
    if (choices.outputKind == OutputKind::Html)
        output::WriteNameIndexPages(sorted.indexList, choices.inFrame, pages, counter);
    else if (choices.outputKind == OutputKind::Familienamen)
        output::WriteFamilyNameListPages(sorted.indexList, choices.inFrame, pages, counter);
    else
        output::WriteFamilyNameLinePages(sorted.indexList, choices.inFrame, pages, counter);
}

} // namespace stambrix::run
