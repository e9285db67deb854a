#pragma once

#include "output/file_set.h"
#include "progress/progress_throttle.h"
#include "progress/user_messages.h"
#include "run/run_request.h"
#include "scan/scan_gedcom.h"

namespace stambrix::run {

/// The index of the sorted lines of `sorted` into `files`, as WriteIndexFiles writes it; the caller
/// puts it in place with PublishIndex. Without lines the outcome is NothingFound: with
/// `zonderLevenden` the index is written all the same, empty, so that an earlier index of persons
/// now left out does not stay; without it "Er zijn geen items gevonden." goes to `messages` and
/// nothing is written. The count of entries written is flushed at the end. Throws text::RunFailure.
[[nodiscard]] RunOutcome WriteIndex(const RunRequest& request, const scan::ScanResult& sorted, output::FileSet& files,
                                    progress::ProgressThrottle& progress, progress::UserMessages& messages);

/// Puts in place what WriteIndex wrote into `files` for `request` with `outcome`: a Written index,
/// or the empty one of NothingFound with `zonderLevenden`, after which "Er zijn geen items gevonden;
/// de vorige index is vervangen door een lege." goes to `messages`. Throws text::RunFailure, having
/// said nothing.
void PublishIndex(const RunRequest& request, RunOutcome outcome, output::FileSet& files,
                  progress::UserMessages& messages);

/// Writes the index of the sorted lines of `sorted` in the request's output kind into `files`
/// (the text file, or the stylesheet and the pages), counting each entry to `progress`; the caller
/// publishes the set. Throws text::RunFailure.
void WriteIndexFiles(const RunRequest& request, const scan::ScanResult& sorted, output::FileSet& files,
                     progress::ProgressThrottle& progress, progress::UserMessages& messages);

} // namespace stambrix::run
