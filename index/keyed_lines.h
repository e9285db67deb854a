#pragma once

#include "charsets/text_encoding.h"
#include "index/collation_text.h"
#include "index/index_list.h"
#include "index/latin_keys.h"

#include <unicode/ucol.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The lines of an index with the heads of their sort keys, and their sort: by the heads first, then
// by what the heads leave to decide.
namespace stambrix::index {

// The first bytes of a line's sort key decide most comparisons on their own; they are kept in the
// entry itself, so a comparison reads no other memory, and no line keeps a whole key.
constexpr std::size_t kHeadSize = 32;
static_assert(kHeadSize % 8 == 0);

struct KeyedLine
{
    std::array<std::uint8_t, kHeadSize> head; // zero after the end of a shorter key
    std::uint32_t line;
};

// Eight bytes of a head from `at` as one number, the first byte highest: numbers compare as the bytes do.
inline std::uint64_t WordAt(const std::array<std::uint8_t, kHeadSize>& head, std::size_t at)
{
    std::uint64_t word = 0;
    std::memcpy(&word, head.data() + at, sizeof word);
    return std::endian::native == std::endian::little ? __builtin_bswap64(word) : word;
}

inline bool HeadLess(const KeyedLine& a, const KeyedLine& b)
{
    for (std::size_t i = 0; i < kHeadSize; i += 8) {
        const std::uint64_t wordA = WordAt(a.head, i);
        const std::uint64_t wordB = WordAt(b.head, i);
        if (wordA != wordB)
            return wordA < wordB;
    }
    return false;
}

// A sort key holds no zero byte, so a head that ends in zero holds the whole key.
inline bool HoldsWholeKey(const KeyedLine& entry)
{
    return entry.head.back() == 0;
}

/// The text the sort orders an index list by: its lines, or for a list of values and rests the
/// rests of lines that share a value, or its values.
class SortTexts
{
public:
    enum class Part
    {
        Lines,
        Rests,
        Values
    };

    SortTexts(const IndexList& indexList, Part part) : indexList_(&indexList), part_(part) {}

    /// The text of line (or value) `number`, made in `scratch` where the list does not hold it whole.
    std::string_view Of(std::uint32_t number, std::string& scratch) const
    {
        switch (part_) {
        case Part::Rests:
            return indexList_->RestOf(number);
        case Part::Values:
            return indexList_->ValueText(number);
        case Part::Lines:
            break;
        }
        return indexList_->LineAt(number, scratch);
    }

private:
    const IndexList* indexList_;
    Part part_;
};

/// Collation order, then the order of the bytes, of two keyed lines of an index list. Equal heads
/// that hold whole keys leave the bytes to decide; other equal heads leave the rest of the keys to
/// decide, which the collator compares on the text of the two lines.
class CollationLess
{
public:
    CollationLess(const UCollator* collator, charsets::TextEncoding encoding, SortTexts texts)
        : collator_(collator), encoding_(encoding), texts_(texts), buffers_(std::make_shared<Buffers>())
    {
    }

    bool operator()(const KeyedLine& a, const KeyedLine& b) const;

private:
    struct Buffers
    {
        std::array<CollationText, 2> units;
        std::array<std::string, 2> bytes;
    };

    const UCollator* collator_;
    charsets::TextEncoding encoding_;
    SortTexts texts_;
    // The sort copies its comparison; the copies share one pair of buffers for the lines' text.
    std::shared_ptr<Buffers> buffers_;
};

/// Sorts `lines` of `texts` in collation order, then by bytes: by their heads first, which decide
/// most comparisons without reading a line, then each run of equal heads by what is left to
/// decide. `latinKeys` made the heads, or nothing when the collator made them.
void SortKeyedLines(std::vector<KeyedLine>& lines, const UCollator* collator, const LatinKeys* latinKeys,
                    charsets::TextEncoding encoding, SortTexts texts);

} // namespace stambrix::index
