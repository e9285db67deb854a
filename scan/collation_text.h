#pragma once

#include "scan/index_sort.h"

#include <unicode/utypes.h>

#include <span>
#include <string_view>
#include <vector>

namespace stambrix::scan {

/// Index lines as the collator reads them, as UTF-16: windows-1252 bytes one by one as they
/// stand (0x80-0x9F as windows-1252 has them, its five undefined bytes as the C1 controls of the
/// same value), UTF-8 decoded, an ill-formed sequence read as U+FFFD.
class CollationText
{
public:
    CollationText() = default;
    CollationText(const CollationText&) = delete;
    CollationText& operator=(const CollationText&) = delete;

    /// The UTF-16 text of `line`, valid until the next call.
    std::span<const UChar> Of(std::string_view line, TextEncoding encoding);

private:
    std::vector<UChar> decoded_;
};

} // namespace stambrix::scan
