#pragma once

#include "charsets/high_half.h"

namespace stambrix::charsets {

/// ANSEL: the characters of ANSI/NISO Z39.47 with the additions GEDCOM files use (0xBE, 0xBF, 0xCD,
/// 0xCE, 0xCF). Its combining diacritics (0xE0-0xFE) come before the letter they belong to. Rows
/// of sixteen.
inline constexpr HighHalf kAnsel = {
    // 0x80: joiners only
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x200D, 0x200C, 0,
    // 0x90
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xA0: Ł Ø Đ Þ Æ Œ ʹ · ♭ ® ± Ơ Ư alif(ʾ)
    0, 0x0141, 0x00D8, 0x0110, 0x00DE, 0x00C6, 0x0152, 0x02B9, 0x00B7, 0x266D, 0x00AE, 0x00B1, 0x01A0, 0x01AF, 0x02BE,
    0,
    // 0xB0: ayn(ʿ) ł ø đ þ æ œ ʺ ı £ ð ơ ư, empty box, black box
    0x02BF, 0x0142, 0x00F8, 0x0111, 0x00FE, 0x00E6, 0x0153, 0x02BA, 0x0131, 0x00A3, 0x00F0, 0, 0x01A1, 0x01B0, 0x25A1,
    0x25A0,
    // 0xC0: ° ℓ ℗ © ♯ ¿ ¡ ß € ... midline e, midline o, ß
    0x00B0, 0x2113, 0x2117, 0x00A9, 0x266F, 0x00BF, 0x00A1, 0x00DF, 0x20AC, 0, 0, 0, 0, 0x0065, 0x006F, 0x00DF,
    // 0xD0
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xE0: hook above, grave, acute, circumflex, tilde, macron, breve, dot above, diaeresis, caron,
    // ring above, ligature left half, ligature right half, comma above right, double acute, candrabindu
    0x0309, 0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307, 0x0308, 0x030C, 0x030A, 0xFE20, 0xFE21, 0x0315,
    0x030B, 0x0310,
    // 0xF0: cedilla, ogonek, dot below, diaeresis below, ring below, double low line, low line, comma below,
    // left half ring below, breve below, double tilde left half, double tilde right half, -, -, comma above
    0x0327, 0x0328, 0x0323, 0x0324, 0x0325, 0x0333, 0x0332, 0x0326, 0x031C, 0x032E, 0xFE22, 0xFE23, 0, 0, 0x0313, 0};

} // namespace stambrix::charsets
