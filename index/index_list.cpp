#include "index/index_list.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <functional>
#include <string>

namespace stambrix::index {

namespace {
// Blocks start small, for the many small indexes, and double up to a megabyte.
constexpr std::size_t kFirstBlockSize = 1 << 14;
constexpr std::size_t kLargestBlockSize = 1 << 20;
constexpr std::uint32_t kNoValue = UINT32_MAX;
// After this many lines of values and rests the list judges whether keeping the values once pays.
constexpr std::size_t kValuesJudgedAt = 65536;
} // namespace

IndexList::Place IndexList::Store(std::string_view text, std::string_view more)
{
    const std::size_t size = text.size() + more.size();
    if (blocks_.empty() || blockSize_ - blockUsed_ < size) {
        const std::size_t grown =
            std::min(kLargestBlockSize, kFirstBlockSize << std::min<std::size_t>(blocks_.size(), 6));
        blockSize_ = std::max(grown, size);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(blockSize_));
        blockUsed_ = 0;
    }
    char* const start = blocks_.back().get() + blockUsed_;
    if (!text.empty())
        std::memcpy(start, text.data(), text.size());
    if (!more.empty())
        std::memcpy(start + text.size(), more.data(), more.size());
    const Place place{static_cast<std::uint32_t>(blocks_.size() - 1), static_cast<std::uint32_t>(blockUsed_),
                      static_cast<std::uint32_t>(size)};
    blockUsed_ += size;
    return place;
}

void IndexList::Add(std::string_view line)
{
    assert(!HasValues());
    places_.push_back(Store(line));
}

void IndexList::AddValueLine(std::string_view value, std::string_view rest)
{
    if (valueLinesWhole_) {
        places_.push_back(Store(value, rest));
        return;
    }
    assert(lineValues_.size() == places_.size());
    if (!order_.empty())
        order_.push_back(static_cast<std::uint32_t>(places_.size()));
    lineValues_.push_back(NumberOfValue(value));
    // The lines of one record follow each other and end alike.
    if (places_.size() != 0 && TextAt(places_[places_.size() - 1]) == rest)
        places_.push_back(places_[places_.size() - 1]);
    else
        places_.push_back(Store(rest));
    if (places_.size() == kValuesJudgedAt && !ValuesWorthKeeping())
        KeepValueLinesWhole();
}

void IndexList::KeepValueLinesWhole()
{
    IndexList whole;
    std::string scratch;
    for (std::size_t i = 0; i < size(); ++i)
        whole.Add(LineAt(i, scratch));
    whole.valueLinesWhole_ = true;
    *this = std::move(whole);
}

std::uint32_t IndexList::NumberOfValue(std::string_view value)
{
    if (valueSlots_.size() < 2 * (values_.size() + 1))
        GrowValueSlots();
    const std::size_t mask = valueSlots_.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>()(value) & mask;; slot = (slot + 1) & mask) {
        if (valueSlots_[slot] == kNoValue) {
            valueSlots_[slot] = static_cast<std::uint32_t>(values_.size());
            values_.push_back(Store(value));
            return valueSlots_[slot];
        }
        if (ValueText(valueSlots_[slot]) == value)
            return valueSlots_[slot];
    }
}

// Makes the slots twice as many (at least 64), and puts every value in its slot again.
void IndexList::GrowValueSlots()
{
    valueSlots_.assign(std::max<std::size_t>(64, 2 * valueSlots_.size()), kNoValue);
    const std::size_t mask = valueSlots_.size() - 1;
    for (std::uint32_t value = 0; value < values_.size(); ++value) {
        std::size_t slot = std::hash<std::string_view>()(ValueText(value)) & mask;
        while (valueSlots_[slot] != kNoValue)
            slot = (slot + 1) & mask;
        valueSlots_[slot] = value;
    }
}

void IndexList::Append(IndexList&& other)
{
    if (empty() && !valueLinesWhole_) {
        *this = std::move(other);
        return;
    }
    // Lines of values and rests that one list keeps whole are kept whole in both.
    if (other.valueLinesWhole_ && HasValues())
        KeepValueLinesWhole();
    if (valueLinesWhole_ && other.HasValues())
        other.KeepValueLinesWhole();
    assert(HasValues() == other.HasValues() || other.empty());
    assert(order_.empty() && other.order_.empty());
    // A value of `other` that these lines have too takes the number it has here; the others are
    // added here.
    std::vector<std::uint32_t> numbers(other.values_.size());
    for (std::uint32_t value = 0; value < other.values_.size(); ++value)
        numbers[value] = NumberOfValue(other.ValueText(value));
    // The blocks of `other` follow these, so its texts move by as many blocks.
    const auto blocksBefore = static_cast<std::uint32_t>(blocks_.size());
    const auto moved = [blocksBefore](Place place) {
        place.block += blocksBefore;
        return place;
    };
    places_.TakeOver(std::move(other.places_), moved);
    lineValues_.TakeOver(std::move(other.lineValues_), [&](std::uint32_t value) { return numbers[value]; });
    std::move(other.blocks_.begin(), other.blocks_.end(), std::back_inserter(blocks_));
    // Further texts go into a fresh block, so those of `other` keep theirs.
    blockUsed_ = blockSize_ = 0;
    valueLinesWhole_ = valueLinesWhole_ || other.valueLinesWhole_;
    other = IndexList();
}

void IndexList::Reorder(std::vector<std::uint32_t> order)
{
    assert(order.size() == size());
    if (!HasValues()) {
        ChunkedArray<Place> ordered;
        for (const std::uint32_t from : order)
            ordered.push_back(places_[from]);
        places_ = std::move(ordered);
        return;
    }
    if (!order_.empty())
        for (std::uint32_t& line : order)
            line = order_[line];
    order_ = std::move(order);
}

} // namespace stambrix::index
