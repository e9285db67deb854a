#pragma once

#include "names/prefix_table.h"

#include <string>
#include <string_view>

namespace stambrix::names {

/// A surname text split into its prefix (lower case, trimmed; empty when there is none) and the
/// surname proper (trimmed, case kept).
struct SplitName
{
    std::string prefix;
    std::string surname;
};

/// Splits the text between the slashes of a NAME value. A comma form («Berg, van der») splits at
/// its first comma without consulting the table; otherwise the first table entry the untrimmed
/// text begins with (A-Z and a-z taken as equal) is the prefix. Empty or blank text gives two
/// empty parts.
SplitName SplitSurname(std::string_view surnameText, const PrefixTable& prefixes);

/// Which name text the index wants: «Berg, Jan van der» or «Berg van der».
enum class NameForm
{
    Full,
    FamilyName
};

/// The name text: Full is surname, ", ", trimmed given names; FamilyName is the surname alone;
/// both followed by a blank and the prefix when there is one.
std::string ComposeNameText(std::string_view givenNames, const SplitName& split, NameForm form);

} // namespace stambrix::names
