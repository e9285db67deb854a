#pragma once

namespace stambrix::gedcom {

/// The Unicode character of an ANSEL byte above 127: the characters of ANSI/NISO Z39.47 with the
/// additions GEDCOM files use (0xBE, 0xBF, 0xCD, 0xCE, 0xCF). 0 for a byte that has none.
char32_t AnselCharacterOf(unsigned char byte);

/// True for the ANSEL bytes that stand for a combining diacritic (0xE0-0xFE that have a
/// character): in ANSEL such a byte comes before the letter it belongs to.
bool IsAnselDiacritic(unsigned char byte);

} // namespace stambrix::gedcom
