#include "output/letter_pages.h"

#include "names/ascii.h"
#include "output/html_pages.h"

namespace stambrix::output {

bool SameHeading(std::string_view previous, std::string_view heading)
{
    return names::EqualsNoCase(names::Trim(previous), names::Trim(heading));
}

bool SameInitial(std::string_view previous, std::string_view heading, bool utf8)
{
    return names::EqualsNoCase(FirstCharacterOf(previous, utf8), FirstCharacterOf(heading, utf8));
}

char LetterOf(std::string_view heading)
{
    if (names::Trim(heading).empty())
        return 0;
    const char letter = names::ToLowerAscii(heading.front());
    return letter >= 'a' && letter <= 'z' ? letter : 0;
}

} // namespace stambrix::output
