#include "index/latin_keys.h"

#include "charsets/windows_1252.h"

#include <unicode/ucoleitr.h>
#include <unicode/uset.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace stambrix::index {

namespace {
// The weights the collator gives one character standing alone.
struct CharacterWeights
{
    std::vector<std::uint32_t> primaries;
    std::vector<std::uint16_t> secondaries;
    bool known = false;
};

CharacterWeights WeightsByCollator(const UCollator* collator, UChar unit)
{
    CharacterWeights weights;
    UErrorCode status = U_ZERO_ERROR;
    UCollationElements* elements = ucol_openElements(collator, &unit, 1, &status);
    std::vector<std::uint32_t> halves;
    for (int32_t element = 0; U_SUCCESS(status) && (element = ucol_next(elements, &status)) != UCOL_NULLORDER;)
        halves.push_back(static_cast<std::uint32_t>(element));
    ucol_closeElements(elements);
    if (U_FAILURE(status))
        return weights;
    // A collation element comes in one or two halves: primary weight in the high sixteen bits of
    // each, secondary weight in bits 8-15 of each; a second half has its bits 6 and 7 set.
    for (std::size_t i = 0; i < halves.size(); ++i) {
        const std::uint32_t first = halves[i];
        const std::uint32_t second = i + 1 < halves.size() && (halves[i + 1] & 0xC0) == 0xC0 ? halves[++i] : 0;
        const std::uint32_t primary = (first & 0xFFFF0000) | (second >> 16);
        const auto secondary = static_cast<std::uint16_t>((first & 0xFF00) | ((second >> 8) & 0xFF));
        if (primary != 0)
            weights.primaries.push_back(primary);
        if (secondary != 0)
            weights.secondaries.push_back(secondary);
    }
    weights.known = true;
    return weights;
}

bool InTable(UChar unit, UChar directUnits)
{
    const auto& high = charsets::kWindows1252High;
    return unit < directUnits || std::find(high.begin(), high.end(), unit) != high.end();
}

// The characters of the table that continue a contraction (or follow a context) beginning with a
// character of the table: their weights depend on what stands before them. Nothing when the
// collator does not tell its contractions.
std::optional<std::vector<UChar>> ContinuingCharacters(const UCollator* collator, UChar directUnits)
{
    std::vector<UChar> continuing;
    UErrorCode status = U_ZERO_ERROR;
    USet* contractions = uset_openEmpty();
    ucol_getContractionsAndExpansions(collator, contractions, nullptr, 1, &status);
    std::vector<UChar> text(64);
    for (int32_t i = 0; U_SUCCESS(status) && i < uset_getItemCount(contractions); ++i) {
        UChar32 start = 0;
        UChar32 end = 0;
        int32_t length =
            uset_getItem(contractions, i, &start, &end, text.data(), static_cast<int32_t>(text.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            status = U_ZERO_ERROR;
            text.resize(static_cast<std::size_t>(length));
            length =
                uset_getItem(contractions, i, &start, &end, text.data(), static_cast<int32_t>(text.size()), &status);
        }
        if (length > 1 && InTable(text[0], directUnits))
            continuing.insert(continuing.end(), text.begin() + 1, text.begin() + length);
    }
    uset_close(contractions);
    if (U_FAILURE(status))
        return std::nullopt;
    return continuing;
}

bool OrdersCharacterByCharacter(const UCollator* collator)
{
    UErrorCode status = U_ZERO_ERROR;
    const bool plain = ucol_getAttribute(collator, UCOL_FRENCH_COLLATION, &status) == UCOL_OFF &&
                       ucol_getAttribute(collator, UCOL_CASE_LEVEL, &status) == UCOL_OFF &&
                       ucol_getAttribute(collator, UCOL_NUMERIC_COLLATION, &status) == UCOL_OFF &&
                       ucol_getAttribute(collator, UCOL_NORMALIZATION_MODE, &status) == UCOL_OFF &&
                       ucol_getAttribute(collator, UCOL_ALTERNATE_HANDLING, &status) == UCOL_NON_IGNORABLE &&
                       ucol_getStrength(collator) == UCOL_SECONDARY;
    const int32_t reorderCodes = ucol_getReorderCodes(collator, nullptr, 0, &status);
    return plain && reorderCodes == 0 && U_SUCCESS(status);
}

// Rank 0 ends a key and rank 1 ends its primary weights, so ranks begin at 2.
template <typename Weight>
bool Rank(const std::vector<Weight>& all, const std::vector<Weight>& weights, std::array<std::uint8_t, 4>& ranks,
          std::uint8_t& count)
{
    if (weights.size() > ranks.size())
        return false;
    count = static_cast<std::uint8_t>(weights.size());
    for (std::size_t i = 0; i < weights.size(); ++i)
        ranks[i] = static_cast<std::uint8_t>(2 + (std::lower_bound(all.begin(), all.end(), weights[i]) - all.begin()));
    return true;
}
} // namespace

std::unique_ptr<LatinKeys> LatinKeys::For(const UCollator* collator)
{
    if (!OrdersCharacterByCharacter(collator))
        return nullptr;
    const std::optional<std::vector<UChar>> continuing = ContinuingCharacters(collator, kDirectUnits);
    if (!continuing)
        return nullptr;
    std::vector<UChar> units;
    for (UChar unit = 0; unit < kDirectUnits; ++unit)
        units.push_back(unit);
    units.insert(units.end(), charsets::kWindows1252High.begin(), charsets::kWindows1252High.end());
    std::vector<CharacterWeights> weights;
    std::vector<std::uint32_t> primaries;
    std::vector<std::uint16_t> secondaries;
    for (const UChar unit : units) {
        weights.push_back(std::find(continuing->begin(), continuing->end(), unit) == continuing->end()
                              ? WeightsByCollator(collator, unit)
                              : CharacterWeights{});
        primaries.insert(primaries.end(), weights.back().primaries.begin(), weights.back().primaries.end());
        secondaries.insert(secondaries.end(), weights.back().secondaries.begin(), weights.back().secondaries.end());
    }
    std::sort(primaries.begin(), primaries.end());
    primaries.erase(std::unique(primaries.begin(), primaries.end()), primaries.end());
    std::sort(secondaries.begin(), secondaries.end());
    secondaries.erase(std::unique(secondaries.begin(), secondaries.end()), secondaries.end());
    if (primaries.size() > 254 || secondaries.size() > 254)
        return nullptr;

    auto keys = std::make_unique<LatinKeys>();
    for (std::size_t i = 0; i < units.size(); ++i) {
        Weights& entry = units[i] < kDirectUnits ? keys->direct_[units[i]] : keys->windows1252High_[i - kDirectUnits];
        entry.known = weights[i].known && Rank(primaries, weights[i].primaries, entry.primaries, entry.primaryCount) &&
                      Rank(secondaries, weights[i].secondaries, entry.secondaries, entry.secondaryCount);
    }
    return keys;
}

const LatinKeys::Weights* LatinKeys::WeightsOf(UChar unit) const
{
    if (unit < kDirectUnits)
        return &direct_[unit];
    const auto high = std::find(charsets::kWindows1252High.begin(), charsets::kWindows1252High.end(), unit);
    return high == charsets::kWindows1252High.end()
               ? nullptr
               : &windows1252High_[static_cast<std::size_t>(high - charsets::kWindows1252High.begin())];
}

bool LatinKeys::PrimaryBelowAllOthers(UChar unit) const
{
    const Weights* own = WeightsOf(unit);
    if (own == nullptr || !own->known || own->primaryCount != 1)
        return false;
    const auto above = [&](const Weights& weights) {
        return &weights == own ||
               std::all_of(weights.primaries.begin(), weights.primaries.begin() + weights.primaryCount,
                           [&](std::uint8_t rank) { return rank > own->primaries[0]; });
    };
    return std::all_of(direct_.begin(), direct_.end(), above) &&
           std::all_of(windows1252High_.begin(), windows1252High_.end(), above);
}

template <typename Take> bool LatinKeys::WriteKey(std::span<const UChar> text, Take take) const
{
    std::size_t unit = 0;
    bool wanted = true;
    for (; unit < text.size() && wanted; ++unit) {
        const Weights* weights = WeightsOf(text[unit]);
        if (weights == nullptr || !weights->known)
            return false;
        for (std::size_t i = 0; i < weights->primaryCount && wanted; ++i)
            wanted = take(weights->primaries[i]);
    }
    // Enough of the key is written, but every character must still be known: one further on may
    // change the weights of those before it.
    for (; unit < text.size(); ++unit) {
        const Weights* weights = WeightsOf(text[unit]);
        if (weights == nullptr || !weights->known)
            return false;
    }
    if (wanted)
        wanted = take(1);
    for (unit = 0; unit < text.size() && wanted; ++unit) {
        const Weights* weights = WeightsOf(text[unit]);
        for (std::size_t i = 0; i < weights->secondaryCount && wanted; ++i)
            wanted = take(weights->secondaries[i]);
    }
    if (wanted)
        take(0);
    return true;
}

bool LatinKeys::HeadOf(std::span<const UChar> text, std::span<std::uint8_t> head) const
{
    std::size_t filled = 0;
    return WriteKey(text, [&](std::uint8_t byte) {
        head[filled++] = byte;
        return filled < head.size();
    });
}

bool LatinKeys::AppendKeyOf(std::span<const UChar> text, std::vector<std::uint8_t>& key) const
{
    const std::size_t start = key.size();
    const bool known = WriteKey(text, [&](std::uint8_t byte) {
        key.push_back(byte);
        return true;
    });
    if (!known)
        key.resize(start);
    return known;
}

} // namespace stambrix::index
