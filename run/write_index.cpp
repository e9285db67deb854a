#include "run/write_index.h"

#include "output/family_name_pages.h"
#include "output/name_index_pages.h"
#include "output/stylesheet.h"
#include "output/text_writer.h"
#include "output/written_counter.h"
#include "run/run_choices.h"

#include <cstdint>

namespace stambrix::run {

RunOutcome WriteIndex(const RunRequest& request, const scan::ScanResult& sorted, output::FileSet& files,
                      progress::ProgressThrottle& progress, progress::UserMessages& messages)
{
    if (sorted.indexList.empty()) {
        messages.ShowMessage("Er zijn geen items gevonden.");
        return RunOutcome::NothingFound;
    }
    WriteIndexFiles(request, sorted, files, progress, messages);
    progress.Flush();
    return RunOutcome::Written;
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
        break;
    }
}

} // namespace stambrix::run
