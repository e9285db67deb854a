#include "gedcom/field_extractors.h"

#include "gedcom/date_rendering.h"
#include "text/ascii.h"

namespace stambrix::gedcom {

namespace {
// Where a field's value begins: `offset` characters behind the start of the marker `tag`.
struct FieldMarker
{
    std::string_view tag;
    std::size_t offset;
};
// Level and tag, and the blank behind them.
constexpr FieldMarker kNameMarker{"1 NAME", 7};
constexpr FieldMarker kDateMarker{"2 DATE", 7};
// The tag between blanks, at any level.
constexpr FieldMarker kOccupationMarker{" OCCU ", 6};
constexpr FieldMarker kPlaceMarker{" PLAC ", 6};

// The line from behind `marker`; when the marker is missing, from `marker.offset` - 1 characters
// behind the start of the line.
std::string_view ValueBehind(std::string_view line, FieldMarker marker)
{
    const auto found = text::FindNoCase(line, marker.tag);
    const std::size_t start = found == std::string_view::npos ? marker.offset - 1 : found + marker.offset;
    return start < line.size() ? line.substr(start) : std::string_view();
}
} // namespace

std::string RecordIdOf(std::string_view line)
{
    const auto first = line.find('@');
    if (first == std::string_view::npos)
        return {};
    const auto last = line.rfind('@');
    std::string id(text::Trim(line.substr(first, last - first + 1)));
    text::BlankControls(id);
    return id;
}

std::string NameOf(std::string_view line, names::NameForm form, const names::PrefixTable& prefixes)
{
    const std::string_view rest = text::Trim(line).empty() ? std::string_view() : ValueBehind(line, kNameMarker);
    const auto firstSlash = rest.find('/');
    // Without a slash the whole value is the given names: «Bastiaan ten Kok» has no surname.
    std::string_view givenNames = rest;
    std::string_view surnameText;
    if (firstSlash != std::string_view::npos) {
        givenNames = rest.substr(0, firstSlash);
        const std::string_view afterSlash = rest.substr(firstSlash + 1);
        const auto secondSlash = afterSlash.find('/');
        if (secondSlash != std::string_view::npos)
            surnameText = afterSlash.substr(0, secondSlash);
    }
    std::string nameText = names::ComposeNameText(givenNames, names::SplitSurname(surnameText, prefixes), form);
    text::BlankControls(nameText);
    return nameText;
}

std::string_view SexOf(std::string_view line)
{
    if (text::Trim(line).empty())
        return {};
    switch (text::ToUpperAscii(line.back())) {
    case 'M':
        return "man";
    case 'F':
        return "vrouw";
    default:
        return "onbekend";
    }
}

std::string DateOf(std::string_view line)
{
    if (text::Trim(line).empty())
        return RenderGedcomDate({});
    std::string value(text::Trim(ValueBehind(line, kDateMarker)));
    text::BlankControls(value);
    return RenderGedcomDate(value);
}

std::string_view OccupationOf(std::string_view line)
{
    return text::Trim(ValueBehind(line, kOccupationMarker));
}

std::string_view PlaceOf(std::string_view line)
{
    return text::Trim(ValueBehind(line, kPlaceMarker));
}

} // namespace stambrix::gedcom
