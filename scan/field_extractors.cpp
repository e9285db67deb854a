#include "scan/field_extractors.h"

#include "names/ascii.h"
#include "scan/date_rendering.h"

namespace stambrix::scan {

namespace {
// The line from `offset` characters behind the start of `tag`; when the tag is missing, from
// `offset` - 1 characters behind the start of the line.
std::string_view ValueBehind(std::string_view line, std::string_view tag, std::size_t offset)
{
    const auto found = names::FindNoCase(line, tag);
    const std::size_t start = found == std::string_view::npos ? offset - 1 : found + offset;
    return start < line.size() ? line.substr(start) : std::string_view();
}
} // namespace

std::string RecordIdOf(std::string_view line)
{
    const auto first = line.find('@');
    if (first == std::string_view::npos)
        return {};
    const auto last = line.rfind('@');
    std::string id(names::Trim(line.substr(first, last - first + 1)));
    names::BlankControls(id);
    return id;
}

std::string NameOf(std::string_view line, names::NameForm form, const names::PrefixTable& prefixes)
{
    const std::string_view rest = names::Trim(line).empty() ? std::string_view() : ValueBehind(line, "1 NAME", 7);
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
    names::BlankControls(nameText);
    return nameText;
}

std::string_view SexOf(std::string_view line)
{
    if (names::Trim(line).empty())
        return {};
    switch (names::ToUpperAscii(line.back())) {
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
    if (names::Trim(line).empty())
        return RenderGedcomDate({});
    std::string value(names::Trim(ValueBehind(line, "2 DATE", 7)));
    names::BlankControls(value);
    return RenderGedcomDate(value);
}

std::string_view OccupationOf(std::string_view line)
{
    return names::Trim(ValueBehind(line, " OCCU ", 6));
}

std::string_view PlaceOf(std::string_view line)
{
    return names::Trim(ValueBehind(line, " PLAC ", 6));
}

} // namespace stambrix::scan
