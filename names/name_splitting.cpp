#include "names/name_splitting.h"

#include "text/ascii.h"

namespace stambrix::names {

SplitName SplitSurname(std::string_view surnameText, const PrefixTable& prefixes)
{
    SplitName split;
    if (text::Trim(surnameText).empty())
        return split;

    const std::size_t comma = surnameText.find(',');
    if (comma != std::string_view::npos) {
        split.surname = text::Trim(surnameText.substr(0, comma));
        split.prefix = text::ToLowerAscii(text::Trim(surnameText.substr(comma + 1)));
        return split;
    }

    // The search starts at the first character as written, so «/ van Berg/» has no prefix; the
    // prefix itself is taken from the name, in its own spelling, not from the table.
    for (const std::uint32_t position : prefixes.EntriesStartingLike(surnameText.front())) {
        const std::string& entry = prefixes.Entries()[position];
        if (text::StartsWithNoCase(surnameText, entry)) {
            split.prefix = text::ToLowerAscii(text::Trim(surnameText.substr(0, entry.size())));
            split.surname = text::Trim(surnameText.substr(entry.size()));
            return split;
        }
    }
    split.surname = text::Trim(surnameText);
    return split;
}

std::string ComposeNameText(std::string_view givenNames, const SplitName& split, NameForm form)
{
    std::string text(text::Trim(split.surname));
    if (form == NameForm::Full) {
        text += ", ";
        text += text::Trim(givenNames);
    }
    const std::string_view prefix = text::Trim(split.prefix);
    if (!prefix.empty()) {
        text += ' ';
        text += prefix;
    }
    return text;
}

} // namespace stambrix::names
