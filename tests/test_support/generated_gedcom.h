#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace stambrix::test_support {

/// A GEDCOM tree of `persons` persons, the same bytes for the same number: names with and without
/// prefixes, a third of the surnames beginning with "B" and the others running through A to Z, each
/// person with a sex, a dated and placed birth or baptism and an occupation. ANSI, lines end in CR LF;
/// about 110 bytes a person.
inline std::string GeneratedGedcom(std::size_t persons)
{
    constexpr std::array<std::string_view, 8> kGivenNames{"Jan",      "Anna",    "Pieter",  "Maria",
                                                          "Cornelis", "Johanna", "Hendrik", "Neeltje"};
    constexpr std::array<std::string_view, 5> kPrefixes{"", "van ", "de ", "van der ", "ter "};
    constexpr std::array<std::string_view, 6> kStems{"aarts", "inck", "ols", "ema", "ussen", "ijk"};
    constexpr std::array<std::string_view, 4> kMonths{"JAN", "MAR", "JUL", "NOV"};
    constexpr std::array<std::string_view, 5> kPlaces{"Goes", "Zierikzee", "Middelburg", "Veere", "Tholen"};
    constexpr std::array<std::string_view, 4> kOccupations{"boer", "smid", "molenaar", "arbeider"};
    std::string tree = "0 HEAD\r\n1 CHAR ANSI\r\n";
    tree.reserve(persons * 120);
    for (std::size_t i = 1; i <= persons; ++i) {
        const char initial = i % 3 == 0 ? 'B' : static_cast<char>('A' + i / 3 % 26);
        tree += "0 @I" + std::to_string(i) + "@ INDI\r\n1 NAME ";
        tree.append(kGivenNames[i % kGivenNames.size()]).append(" /").append(kPrefixes[i / 7 % kPrefixes.size()]);
        tree.append(1, initial).append(kStems[i / 11 % kStems.size()]).append(std::to_string(i % 97)).append("/\r\n");
        tree.append("1 SEX ").append(i % 2 == 0 ? "F" : "M").append("\r\n1 ").append(i % 4 == 0 ? "CHR" : "BIRT");
        tree.append("\r\n2 DATE ").append(std::to_string(i % 28 + 1)).append(" ");
        tree.append(kMonths[i / 5 % kMonths.size()]).append(" ").append(std::to_string(1700 + i % 250));
        tree.append("\r\n2 PLAC ").append(kPlaces[i / 13 % kPlaces.size()]).append("\r\n1 OCCU ");
        tree.append(kOccupations[i / 17 % kOccupations.size()]).append("\r\n");
    }
    return tree + "0 TRLR\r\n";
}

} // namespace stambrix::test_support
