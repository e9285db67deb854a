#pragma once

#include "output/file_set.h"
#include "progress/progress_throttle.h"
#include "progress/user_messages.h"
#include "run/run_request.h"
#include "scan/scan_gedcom.h"

namespace stambrix::run {

/// The index of the sorted lines of `sorted` into `files`, as WriteIndexFiles writes it; the caller
/// publishes the set when it was Written. Without lines, "Er zijn geen items gevonden." goes to
/// `messages`, nothing is written and the outcome is NothingFound. The count of entries written is
/// flushed at the end. Throws text::RunFailure.
[[nodiscard]] RunOutcome WriteIndex(const RunRequest& request, const scan::ScanResult& sorted, output::FileSet& files,
                                    progress::ProgressThrottle& progress, progress::UserMessages& messages);

/// Writes the index of the sorted lines of `sorted` in the request's output kind into `files`
/// (the text file, or the stylesheet and the pages), counting each entry to `progress`; the caller
/// publishes the set. Throws text::RunFailure.
void WriteIndexFiles(const RunRequest& request, const scan::ScanResult& sorted, output::FileSet& files,
                     progress::ProgressThrottle& progress, progress::UserMessages& messages);

} // namespace stambrix::run
