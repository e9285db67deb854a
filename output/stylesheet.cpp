#include "output/stylesheet.h"

#include "text/run_failure.h"

#include <array>
#include <initializer_list>
#include <string_view>

namespace stambrix::output {

namespace {
struct Rule
{
    std::string_view selector;
    std::initializer_list<std::string_view> declarations;
};

// The declarations most rules share, from the font to the margins.
#define STAMBRIX_TEXT_RULE(weight, size)                                                                               \
    {                                                                                                                  \
        "font-family: Arial;", "font-weight: " weight ";", "font-size: " size ";", "word-spacing: 0;",                 \
            "line-height: 110%;", "margin-top: 0;", "margin-bottom: 0;"                                                \
    }
#define STAMBRIX_LINK_RULE(colour)                                                                                     \
    {                                                                                                                  \
        "color: " colour ";", "font-family: Arial;", "font-weight: normal;", "word-spacing: 0;", "line-height: 110%;", \
            "margin-top: 0;", "margin-bottom: 0;"                                                                      \
    }

// The macros join a property and its value into one literal; no comma is missing between them.
// NOLINTBEGIN(bugprone-suspicious-missing-comma)
const std::array<Rule, 31> kRules{{
    {"BODY", STAMBRIX_TEXT_RULE("normal", "10pt")},
    {"H6.kop", STAMBRIX_TEXT_RULE("normal", "14pt")},
    {"H6.standaard", STAMBRIX_TEXT_RULE("normal", "10pt")},
    {"H6.vader", STAMBRIX_TEXT_RULE("normal", "13pt")},
    {"OL.vtekst", STAMBRIX_TEXT_RULE("normal", "10pt")},
    {"OL.vmhuwelijk", STAMBRIX_TEXT_RULE("normal", "10pt")},
    {"H6.moeder", STAMBRIX_TEXT_RULE("normal", "13pt")},
    {"OL.mtekst", STAMBRIX_TEXT_RULE("normal", "10pt")},
    {"H6.kinderen", {"font-family: Arial;", "font-weight: normal;", "font-size: 10pt;"}},
    {"UL.normaal", STAMBRIX_TEXT_RULE("normal", "10pt")},
    {"OL.kinderen", STAMBRIX_TEXT_RULE("normal", "10pt")},
    {"LI.kinderen", STAMBRIX_TEXT_RULE("normal", "10pt")},
    {"LI.aantekening", STAMBRIX_TEXT_RULE("normal", "8pt")},
    {"LI.inhoudkop", STAMBRIX_TEXT_RULE("bold", "12pt")},
    {"LI.inhoudtekst",
     {"font-family: Arial;", "font-weight: normal;", "font-size: 10pt;", "word-spacing: 0;", "line-height: 110%;",
      "margin-top: 0;", "margin-bottom: 0;", "list-style-type: none;"}},
    {"H6.copyright", STAMBRIX_TEXT_RULE("normal", "8pt")},
    {"H6.foto", {"font-family: Arial;", "font-weight: light;", "font-size: 10pt;"}},
    {"TD.inhoud", {"font-family: Arial;", "font-weight: light;", "font-size: 10pt;"}},
    {"TD.medewerker", {"font-family: Arial;", "font-weight: light;", "font-size: 8pt;"}},
    {"A:link", {"color: #0000FF;", "font-family: Arial;", "font-weight: bold;"}},
    {"A:visited", {"color: #FF3300;", "font-family: Arial;", "font-weight: bold;"}},
    {"A:active", {"color: #FF3300;", "font-family: Arial;", "font-weight: bold;"}},
    {"A:hover", {"color: #FF3300;", "font-family: Arial;", "font-weight: bold;"}},
    {"A:link.1", STAMBRIX_LINK_RULE("#0000FF")},
    {"A:visited.1", STAMBRIX_LINK_RULE("#FF3300")},
    // This rule's last declaration has no semicolon; pages published with it look the same.
    {"A:active.1",
     {"color: #FF3300;", "font-family: Arial;", "font-weight: normal;", "word-spacing: 0;", "line-height: 110%;",
      "margin-top: 0;", "margin-bottom: 0"}},
    {"A:hover.1", STAMBRIX_LINK_RULE("#FF3300")},
    {"A:link.2", STAMBRIX_LINK_RULE("#0000FF")},
    {"A:visited.2", STAMBRIX_LINK_RULE("#FF00FF")},
    {"A:active.2", STAMBRIX_LINK_RULE("#FF00FF")},
    {"A:hover.2", STAMBRIX_LINK_RULE("#FF00FF")},
}};
// NOLINTEND(bugprone-suspicious-missing-comma)

#undef STAMBRIX_TEXT_RULE
#undef STAMBRIX_LINK_RULE

} // namespace

std::string StylesheetText()
{
    std::string text;
    for (const Rule& rule : kRules) {
        if (!text.empty())
            text += "\r\n";
        text.append(rule.selector).append("\r\n   {\r\n");
        for (const std::string_view declaration : rule.declarations)
            text.append("      ").append(declaration).append("\r\n");
        text += "   }\r\n";
    }
    return text;
}

void WriteStylesheet(FileSet& files, progress::UserMessages& messages)
{
    try {
        files.Open(kStylesheetName);
        files.Write(StylesheetText());
        files.Close();
    } catch (const text::RunFailure& error) {
        messages.ShowFileNotCreated(files.PathOf(kStylesheetName), error.reason());
    }
}

} // namespace stambrix::output
