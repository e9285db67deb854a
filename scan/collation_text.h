#pragma once

#include "scan/index_sort.h"

#include <unicode/utypes.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace stambrix::scan {

/// windows-1252 0x80-0x9F; its five undefined bytes stand for the C1 controls of the same value.
inline constexpr std::array<std::uint16_t, 32> kWindows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

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
