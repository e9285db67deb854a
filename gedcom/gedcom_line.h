#pragma once

#include "gedcom/line_markers.h"

#include <string_view>

// Tests on one GEDCOM line as read. Markers are found anywhere in the line, A-Z and a-z taken as
// equal; the structure of a line («level [@xref@] TAG value») is only looked at where a test
// needs it.
namespace stambrix::gedcom {

/// True for the delimiters between the parts of a line: a blank or a tab.
constexpr bool IsDelimiter(char c)
{
    return c == ' ' || c == '\t';
}

/// True when the trimmed line is a level-0 line: "0" followed by a blank or a tab.
bool IsLevelZero(std::string_view line);

/// The tag of a line: the word after the level number and after the cross-reference if there
/// is one; empty when the line has none.
std::string_view TagOf(std::string_view line);

/// What follows the tag and one delimiter blank, unchanged.
std::string_view TextAfterTagOf(std::string_view line);

/// True when the line, holding `markers`, opens a person record: it holds "@ INDI", or it is a
/// level-0 line whose tag is INDI (a record without a cross-reference).
bool OpensPersonRecord(std::string_view line, LineMarkers markers);

/// True when the line, holding `markers`, opens a family record: it holds "@ FAM", or it is a
/// level-0 line whose tag is FAM.
bool OpensFamilyRecord(std::string_view line, LineMarkers markers);

/// True when the line continues the text of the line before it: its tag is CONC.
bool IsContinuation(std::string_view line);

} // namespace stambrix::gedcom
