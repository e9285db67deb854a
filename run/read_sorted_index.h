#pragma once

#include "gedcom/byte_source.h"
#include "progress/progress_throttle.h"
#include "scan/scan_choices.h"
#include "scan/scan_gedcom.h"

#include <cstdint>
#include <string>

namespace stambrix::run {

/// Below this size a single pass takes well under a second and a second thread would not pay.
inline constexpr std::uint64_t kSplitFrom = 16 << 20;

/// The index lines of the GEDCOM file `file` (opened from `path`), sorted for `locale`, with their encoding. A large
/// file is read as two halves at once, each on a core of its own, cut at the start of a level-0
/// line: there every scanner starts afresh, so the halves give exactly the lines the whole would.
/// The counts of records read and persons left out are those of both halves. Files smaller than
/// `splitFrom` bytes are read in one pass. Throws text::RunFailure.
scan::ScanResult ReadSortedIndex(gedcom::FileSource& file, const std::string& path, const scan::ScanChoices& choices,
                                 progress::ProgressThrottle& progress, const std::string& locale,
                                 std::uint64_t splitFrom = kSplitFrom);

} // namespace stambrix::run
