#pragma once

#include <unicode/ucol.h>

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace stambrix::index {

/// Sort key heads for text in Latin letters, made from a table of what the collator gives each
/// character rather than by the collator itself, which takes many times longer. A head made here
/// orders lines as the collator's own key does, though its bytes differ: the rank of every
/// character's primary weights, a byte 1, the rank of their secondary weights, a byte 0. The
/// table holds U+0000 to U+024F and the characters of windows-1252, each as long as it takes part
/// in no contraction but as its first character.
class LatinKeys
{
public:
    /// The table for `collator`, or nothing when the collator orders by more than its weights
    /// character by character allow (French secondary order, a case level, numeric order,
    /// reordered scripts) or the characters have more weights than a byte ranks.
    static std::unique_ptr<LatinKeys> For(const UCollator* collator);

    /// Writes the first head.size() bytes of the key of `text` into `head`, which is zeroed, the
    /// rest of it zero when the key is shorter; false when the text holds a character outside the
    /// table, whose key must then come from the collator.
    bool HeadOf(std::span<const UChar> text, std::span<std::uint8_t> head) const;

    /// Appends the whole key of `text`, its byte 0 included, to `key`; false, and nothing
    /// appended, when the text holds a character outside the table.
    bool AppendKeyOf(std::span<const UChar> text, std::vector<std::uint8_t>& key) const;

    /// True when `unit` has one primary weight, below every primary weight of every other
    /// character of the table: text that ends where another goes on with `unit` sorts first.
    bool PrimaryBelowAllOthers(UChar unit) const;

private:
    struct Weights
    {
        std::array<std::uint8_t, 4> primaries;   // ranks, from 2 on
        std::array<std::uint8_t, 4> secondaries; // ranks, from 2 on
        std::uint8_t primaryCount = 0;
        std::uint8_t secondaryCount = 0;
        bool known = false;
    };

    const Weights* WeightsOf(UChar unit) const;
    // Hands the key's bytes to `take`(byte) for as long as it returns true.
    template <typename Take> bool WriteKey(std::span<const UChar> text, Take take) const;

    static constexpr UChar kDirectUnits = 0x250;
    std::array<Weights, kDirectUnits> direct_{};
    std::array<Weights, 32> windows1252High_{}; // the characters windows-1252 has at 0x80-0x9F
};

} // namespace stambrix::index
