#pragma once

#include "text/ascii.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::names {

/// The surname prefixes in matching order: lower case (A-Z folded), most ending in one blank
/// ("van der "), those ending in an apostrophe or a full stop without one ("d'", "st.").
/// The first entry that matches wins, so "van der " stands before "van ".
class PrefixTable
{
public:
    PrefixTable() = default;
    explicit PrefixTable(std::vector<std::string> entries);

    const std::vector<std::string>& Entries() const { return entries_; }

    /// The positions in Entries() of the entries whose first character, A-Z folded, is that of
    /// `first`, in table order; an empty entry is never among them.
    const std::vector<std::uint32_t>& EntriesStartingLike(char first) const
    {
        return byFirst_[static_cast<unsigned char>(text::ToUpperAscii(first))];
    }

private:
    std::vector<std::string> entries_;
    std::array<std::vector<std::uint32_t>, 256> byFirst_;
};

/// The 60 built-in prefixes, in their fixed order.
PrefixTable DefaultPrefixes();

/// The prefixes of the text of a prefix file, in file order. Lines end at LF, CR LF, LF CR or a
/// lone CR. A line whose very first character is ";" is a comment («  ;x» is not), a line that is
/// empty after trimming is ignored, every other line is trimmed, lower-cased and given a trailing
/// blank unless its first apostrophe or first full stop is its last character («'t» gives «'t »,
/// «st.» gives «st.»). A UTF-8 byte-order mark at the start is skipped. A line keeps at most
/// kMaxLineLength bytes (names/line_limit.h); there is no limit on the number of lines.
PrefixTable ParsePrefixFile(std::string_view text);

/// The table from the file at `path` when it exists (even one without a single prefix gives an
/// empty table), the built-in prefixes when it does not. Throws text::RunFailure when the file exists but
/// cannot be read. The file is read a block at a time: a line without end takes bounded memory.
PrefixTable LoadPrefixTable(const std::filesystem::path& path);

/// File name of the prefix file, looked for in the program directory.
inline constexpr const char* kPrefixFileName = "Voorzetsels.txt";

} // namespace stambrix::names
