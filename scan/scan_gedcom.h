#pragma once

#include "charsets/text_encoding.h"
#include "gedcom/byte_source.h"
#include "gedcom/gedcom_reader.h"
#include "gedcom/header_charset.h"
#include "index/index_list.h"
#include "progress/progress_throttle.h"
#include "scan/scan_choices.h"
#include "scan/utf8_evidence.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace stambrix::scan {

/// What one reading of the file gives: the index lines in file order and the encoding of their bytes.
struct ScanResult
{
    index::IndexList indexList;
    charsets::TextEncoding encoding = charsets::TextEncoding::Windows1252;
    std::uint64_t records = 0; ///< records opened in this input
    std::uint64_t leftOut = 0; ///< person records that gave no lines (ScanChoices::zonderLevenden)
    /// The file declares no character set: the index lines' bytes decided the encoding.
    std::optional<gedcom::Utf8Evidence> undeclared;
};

/// What the reading of one part of a file needs to know of the rest; by default the input is the
/// whole file.
struct FilePart
{
    /// Counts the records of every part read at once; the read panel then shows that total.
    std::atomic<std::uint64_t>* recordTotal = nullptr;
    /// The character set of the file, for a part that does not hold its header.
    std::optional<gedcom::DeclaredCharset> declaredElsewhere;
    /// FileGoesOn for a part after which the file goes on: no byte 26 in it ends the file.
    gedcom::InputEnd inputEnd = gedcom::InputEnd::EndOfFile;
};

/// Reads the input once, front to back: every pass hands the current line to the scanner of the
/// event kind, which counts the records it opens on the read panel (or in `part.recordTotal`). The
/// lines come as gedcom::DecodedLines gives them: the character set taken from a byte-order mark,
/// or else from the header at the start of the input (for a part whose header lies elsewhere, from
/// `part.declaredElsewhere`); the lines of a set converted as it is read come as UTF-8.
ScanResult ScanGedcom(gedcom::ByteSource& source, const ScanChoices& choices, progress::ProgressThrottle& progress,
                      const FilePart& part = {});

/// ScanGedcom of the whole input, its lines then sorted for `locale` (SortIndexList). Throws text::RunFailure.
ScanResult ScanSorted(gedcom::ByteSource& source, const ScanChoices& choices, progress::ProgressThrottle& progress,
                      const std::string& locale);

} // namespace stambrix::scan
