#pragma once

#include "names/name_splitting.h"

#include <string>
#include <string_view>

// One field out of one GEDCOM line, exactly as it was read. The scanners choose the lines; these
// never fail and never read further. Tags are found without regard to case; when a tag is
// missing, the value is taken from where it would stand behind a one-digit level and a
// four-letter tag.
namespace stambrix::gedcom {

/// The record id of a header line, from its first "@" to its last: «0 @I12@ INDI» gives «@I12@»;
/// a line without "@" gives "".
std::string RecordIdOf(std::string_view line);

/// The name text of a NAME line in the wanted form («Berg, Jan van der» or «Berg van der»).
/// Without a slash the whole value is the given names («, Bastiaan ten Kok», "" in the family-name
/// form); with one slash the given names are the text before it and the surname is empty.
/// Control characters in the result are blanks, as in the record id and the date.
std::string NameOf(std::string_view line, names::NameForm form, const names::PrefixTable& prefixes);

/// "man", "vrouw" or "onbekend" after the last character of the line as read (so a trailing
/// blank gives "onbekend"); "" for a blank line.
std::string_view SexOf(std::string_view line);

/// The value of a DATE line in the index's Dutch form.
std::string DateOf(std::string_view line);

/// The trimmed text behind " OCCU ".
std::string_view OccupationOf(std::string_view line);

/// The trimmed text behind " PLAC ".
std::string_view PlaceOf(std::string_view line);

} // namespace stambrix::gedcom
