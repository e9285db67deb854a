#pragma once

#include <array>
#include <string_view>

namespace stambrix::gedcom {

/// The texts the scanners look for in a line. Each counts wherever it stands in the line, A-Z and
/// a-z taken as equal, as a plain search for its text would find it.
enum class Marker : unsigned
{
    Name,         // "1 NAME"
    Sex,          // "1 SEX"
    Birth,        // "1 BIRT"
    Christening,  // "1 CHR"
    Death,        // "1 DEAT"
    Burial,       // "1 BURI"
    Occupation,   // "1 OCCU "
    Date,         // "2 DATE"
    Place,        // " PLAC "
    PersonRecord, // "@ INDI"
    FamilyRecord  // "@ FAM"
};

/// The text of each marker, in the order of Marker.
inline constexpr std::array<std::string_view, 11> kMarkerTexts{
    "1 NAME", "1 SEX", "1 BIRT", "1 CHR", "1 DEAT", "1 BURI", "1 OCCU ", "2 DATE", " PLAC ", "@ INDI", "@ FAM"};

/// Which markers one line holds.
class LineMarkers
{
public:
    LineMarkers() = default;
    explicit LineMarkers(unsigned bits) : bits_(bits) {}

    bool Has(Marker marker) const { return (bits_ >> static_cast<unsigned>(marker) & 1u) != 0; }

private:
    unsigned bits_ = 0;
};

/// The markers `line` holds, found in one pass over it: only a digit 1 or 2 or an "@" followed by
/// a blank, or a blank followed by a P, can begin one.
LineMarkers MarkersOf(std::string_view line);

} // namespace stambrix::gedcom
