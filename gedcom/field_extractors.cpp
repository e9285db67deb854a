#include "gedcom/field_extractors.h"

#include "gedcom/date_rendering.h"
#include "text/ascii.h"

namespace stambrix::gedcom {

namespace {
// The line from `offset` characters behind the start of `tag`; when the tag is missing, from
// `offset` - 1 characters behind the start of the line.
std::string_view ValueBehind(std::string_view line, std::string_view tag, std::size_t offset)
{
    const auto found = text::FindNoCase(line, tag);
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
    std::string id(text::Trim(line.substr(first, last - first + 1)));
    text::BlankControls(id);
    return id;
}

std::string NameOf(std::string_view line, names::NameForm form, const names::PrefixTable& prefixes)
{
    const std::string_view rest = text::Trim(line).empty() ? std::string_view() : ValueBehind(line, "1 NAME", 7);
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
    std::string value(text::Trim(ValueBehind(line, "2 DATE", 7)));
    text::BlankControls(value);
    return RenderGedcomDate(value);
}

std::string_view OccupationOf(std::string_view line)
{
    return text::Trim(ValueBehind(line, " OCCU ", 6));
}

std::string_view PlaceOf(std::string_view line)
{
    return text::Trim(ValueBehind(line, " PLAC ", 6));
}

} // namespace stambrix::gedcom
