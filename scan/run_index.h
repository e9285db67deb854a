#pragma once

#include "output/file_set.h"
#include "output/index_list.h"
#include "progress/status_panels.h"
#include "scan/byte_source.h"
#include "scan/gedcom_reader.h"
#include "scan/header_charset.h"
#include "scan/index_sort.h"
#include "scan/run_request.h"
#include "scan/utf8_text.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace stambrix::scan {

/// One run: reads the GEDCOM file once, collects the index lines of the chosen event kind, sorts
/// them and writes the index into the folder "Stambrix" beside the file, where it first removes the
/// temporary files that killed runs left (RemoveStaleTemporaryFiles). Progress goes to the
/// three panels; "Er is geen bestand opgegeven om te openen." and "Er zijn geen items gevonden."
/// go to `messages`. Throws IoError when the file cannot be read, the index cannot be sorted (ICU)
/// or cannot be written; an index written earlier then stays as it was.
[[nodiscard]] RunOutcome RunIndex(const RunRequest& request, progress::StatusPanels& panels,
                                  progress::UserMessages& messages);

/// What one reading of the file gives: the index lines in file order and the encoding of their bytes.
struct ScanResult
{
    output::IndexList indexList;
    TextEncoding encoding = TextEncoding::Windows1252;
    std::uint64_t records = 0; ///< records opened in this input
    /// The file declares no character set: the index lines' bytes decided the encoding.
    std::optional<Utf8Evidence> undeclared;
};

/// What the reading of one part of a file needs to know of the rest; by default the input is the
/// whole file.
struct FilePart
{
    /// Counts the records of every part read at once; the read panel then shows that total.
    std::atomic<std::uint64_t>* recordTotal = nullptr;
    /// The character set of the file, for a part that does not hold its header.
    std::optional<DeclaredCharset> declaredElsewhere;
    /// FileGoesOn for a part after which the file goes on: no byte 26 in it ends the file.
    InputEnd inputEnd = InputEnd::EndOfFile;
};

/// Writes the index of the sorted lines of `sorted` in the request's output kind into `files`
/// (the text file, or the stylesheet and the pages), counting each entry on the written panel;
/// the caller publishes the set. Throws IoError.
void WriteIndexFiles(const RunRequest& request, const ScanResult& sorted, output::FileSet& files,
                     progress::StatusPanels& panels, progress::UserMessages& messages);

/// Reads the input once, front to back: every pass hands the current line to the scanner of the
/// event kind, which counts the records it opens on the read panel (or in `part.recordTotal`). The
/// character set is taken from a byte-order mark, or else from the header at the start of the
/// input (for a part whose header lies elsewhere, from `part.declaredElsewhere`). ANSEL is read as
/// UTF-8.
ScanResult ScanGedcom(ByteSource& source, const RunRequest& request, progress::StatusPanels& panels,
                      const FilePart& part = {});

/// The folder the index goes into: the GEDCOM path up to and including its last separator
/// ("/"; on Windows also "\" and ":"), followed by "Stambrix".
std::string OutputDirectoryOf(std::string_view gedcomPath);

/// "Namen.txt", "Beroepen.txt" or "Plaatsen.txt".
std::string_view IndexFileNameOf(EventKind eventKind);

} // namespace stambrix::scan
