#pragma once

#include "charsets/text_encoding.h"

#include <unicode/utypes.h>

#include <span>
#include <string_view>
#include <vector>

namespace stambrix::index {

/// Index lines as the collator reads them, as UTF-16: windows-1252 bytes one by one
/// (charsets::Windows1252CharacterOf), UTF-8 decoded, an ill-formed sequence read as U+FFFD.
class CollationText
{
public:
    CollationText() = default;
    CollationText(const CollationText&) = delete;
    CollationText& operator=(const CollationText&) = delete;

    /// The UTF-16 text of `line`, valid until the next call.
    std::span<const UChar> Of(std::string_view line, charsets::TextEncoding encoding);

private:
    std::vector<UChar> decoded_;
};

} // namespace stambrix::index
