#pragma once

#include "gedcom/byte_source.h"
#include "output/temporary_files.h"
#include "output/termination_signals_held.h"
#include "progress/cancellation.h"
#include "progress/run_progress.h"
#include "progress/user_messages.h"
#include "run/run_request.h"
#include "text/run_failure.h"

#include <optional>
#include <string>
#include <string_view>

namespace stambrix::run {

/// One run: reads the GEDCOM file once, collects the index lines of the chosen event kind, sorts
/// them and writes the index into the folder "Stambrix" beside the file. Writing is one run's turn
/// at a time (FolderLock): a run that has to wait says "wacht op een andere run in <folder>" as a
/// note; in its turn it first undoes a publish that a killed run left half done and removes the
/// temporary files that killed runs left (TidyAfterKilledRuns). The records read, the entries
/// written and the elapsed time go to `progress` through one ProgressThrottle, the counts reached
/// also when the run fails; with
/// `zonderLevenden` the persons left out once the file is read; "Er is
/// geen bestand opgegeven om te openen." and the messages of a run that found nothing (WriteIndex,
/// PublishIndex) go to `messages`.
/// Throws text::RunFailure when the file cannot be read or changed while it was read (kChangedWhileRead),
/// the index cannot be sorted (ICU), does not fit in memory (ENOMEM, with the GEDCOM path) or
/// cannot be written; an index written earlier then stays as it was. Once `cancellation` is
/// cancelled, the run throws progress::RunCancelled at its next count or while it waits for its turn,
/// with the same effect; an index being put in place is put in place whole.
[[nodiscard]] RunOutcome RunIndex(const RunRequest& request, progress::RunProgress& progress,
                                  progress::UserMessages& messages,
                                  const progress::Cancellation& cancellation = progress::kNeverCancelled);

/// What a run says when its GEDCOM path names no file (NamesNoFile).
inline constexpr std::string_view kNoFileGiven = "Er is geen bestand opgegeven om te openen.";

/// True when `gedcomPath` names no file: nothing is left of it once trimmed. RunIndex then says
/// kNoFileGiven and does nothing else.
bool NamesNoFile(std::string_view gedcomPath);

/// Removes the temporary files of the runs under way; safe to call from a signal handler.
using output::RemoveTemporaryFiles;
/// The index of this process's run is wholly in place; safe to call from a signal handler.
using gedcom::kChangedWhileRead;
using output::IndexPublished;
/// Holds SIGINT, SIGTERM and SIGHUP back from the calling thread while it lives.
using output::TerminationSignalsHeld;
#ifdef _WIN32
/// Returns once no thread holds the termination back; for the console's control handler.
using output::WaitWhileTerminationHeld;
#endif

/// "SOURCE_DATE_EPOCH is geen geldig tijdstip: <value>" when SOURCE_DATE_EPOCH is set to anything
/// but a whole number of seconds from 0 to 253402300799; nothing otherwise. The front ends refuse to
/// run then, before anything is read.
std::optional<std::string> SourceDateEpochProblem();

/// The folder the index goes into: the GEDCOM path up to and including its last separator
/// ("/"; on Windows also "\" and ":"), followed by "Stambrix".
std::string OutputDirectoryOf(std::string_view gedcomPath);

} // namespace stambrix::run
