#pragma once

#include "index/chunked_array.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::index {

/// The run's index lines: filled in file order, duplicates kept, put in order once. The text of
/// all lines lives in a few large blocks, each line twelve bytes beside its text. A line of a value
/// and a rest (a place and the record it belongs to) keeps its value once for every line that has
/// it, and its rest once for the lines in a row that have the same: a place index of a million
/// persons holds a few hundred places, not millions. Where values mostly differ, keeping them
/// once costs more than it saves: the list judges that from its first lines of values and rests
/// and keeps them whole from then on where more than a fourth of them bring a new value.
class IndexList
{
public:
    IndexList() = default;
    IndexList(const IndexList&) = delete;
    IndexList& operator=(const IndexList&) = delete;
    IndexList(IndexList&&) = default;
    IndexList& operator=(IndexList&&) = default;

    /// Appends a copy of `line`.
    void Add(std::string_view line);
    /// Appends the line `value` followed by `rest`. A list holds lines of one kind: added whole or
    /// as a value and a rest.
    void AddValueLine(std::string_view value, std::string_view rest);

    std::size_t size() const { return places_.size(); }
    bool empty() const { return places_.size() == 0; }

    /// The text of line `i`: in the list itself for a line added whole, else made in `scratch`.
    std::string_view LineAt(std::size_t i, std::string& scratch) const
    {
        const std::size_t stored = Stored(i);
        if (lineValues_.size() == 0)
            return TextAt(places_[stored]);
        const std::string_view value = ValueText(lineValues_[stored]);
        const std::string_view rest = TextAt(places_[stored]);
        scratch.assign(value).append(rest);
        return scratch;
    }
    /// Ask the memory for where line `i` lies, and for its text: for lines read soon, out of order.
    /// The text's address is known once its place is there, so the place is asked for first. (Always
    /// inlined: GCC takes a function that only prefetches for one without effect and drops the call.)
    [[gnu::always_inline]] void PrefetchPlace(std::size_t i) const
    {
        const std::size_t stored = Stored(i);
        __builtin_prefetch(&places_[stored]);
        if (lineValues_.size() != 0)
            __builtin_prefetch(&lineValues_[stored]);
    }
    [[gnu::always_inline]] void Prefetch(std::size_t i) const
    {
        const std::string_view text = TextAt(places_[Stored(i)]);
        __builtin_prefetch(text.data());
        __builtin_prefetch(text.data() + text.size());
    }

    /// True when the lines were added as a value and a rest, and are kept so.
    bool HasValues() const { return lineValues_.size() != 0; }
    /// The values of a list of values and rests, each once, numbered from 0 in the order first added.
    std::size_t ValueCount() const { return values_.size(); }
    std::string_view ValueText(std::uint32_t value) const { return TextAt(values_[value]); }
    /// The number of the value of line `i`, and what follows it.
    std::uint32_t ValueOf(std::size_t i) const { return lineValues_[Stored(i)]; }
    std::string_view RestOf(std::size_t i) const { return TextAt(places_[Stored(i)]); }

    /// The lines one by one, each a string of its own: for reading a list once, not for large ones.
    class Iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string;

        Iterator() = default;
        Iterator(const IndexList* list, std::size_t at) : list_(list), at_(at) {}
        std::string operator*() const
        {
            std::string scratch;
            return std::string(list_->LineAt(at_, scratch));
        }
        Iterator& operator++()
        {
            ++at_;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator before = *this;
            ++at_;
            return before;
        }
        bool operator==(const Iterator& other) const { return at_ == other.at_; }

    private:
        const IndexList* list_ = nullptr;
        std::size_t at_ = 0;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

    /// Appends the lines of `other`, of the same kind, taking over their text without copying it.
    /// Where one list keeps its lines of values and rests whole, both are kept whole. Neither list
    /// has been put in order.
    void Append(IndexList&& other);

    /// Puts the lines in the order given: afterwards line i is the former line order[i].
    /// `order` must hold every position exactly once. Lines added whole have their places put in
    /// that order, so they are read one after another; lines of values and rests stay where they
    /// are and the list reads through the order it keeps, which takes a third of the memory.
    void Reorder(std::vector<std::uint32_t> order);

private:
    // Where a text lies: twelve bytes against a view's sixteen. No line comes near 4 GB.
    struct Place
    {
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t length;
    };

    std::size_t Stored(std::size_t i) const { return order_.empty() ? i : order_[i]; }
    std::string_view TextAt(const Place& place) const
    {
        return {blocks_[place.block].get() + place.offset, place.length};
    }
    // Stores `text` and `more` after it, the two as one text.
    Place Store(std::string_view text, std::string_view more = {});
    std::uint32_t NumberOfValue(std::string_view value);
    // True when the values are few enough for keeping them once to pay: a fourth of the lines.
    bool ValuesWorthKeeping() const { return values_.size() <= size() / 4; }
    // Keeps the lines of values and rests whole from now on, those added already too.
    void KeepValueLinesWhole();
    void GrowValueSlots();

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockUsed_ = 0;
    std::size_t blockSize_ = 0;
    ChunkedArray<Place> places_;             // of each line: its text, or its rest
    ChunkedArray<std::uint32_t> lineValues_; // of each line of values and rests: its value's number
    ChunkedArray<Place> values_;
    std::vector<std::uint32_t> valueSlots_; // the numbers of the values by their hash, kNoValue where free
    std::vector<std::uint32_t> order_;      // of lines of values and rests put in order: where line i is
    bool valueLinesWhole_ = false;          // lines of values and rests are added whole
};

/// Some lines of an index list, by their numbers in it.
class SelectedLines
{
public:
    SelectedLines(const IndexList& list, std::span<const std::uint32_t> numbers) : list_(&list), numbers_(numbers) {}

    std::size_t size() const { return numbers_.size(); }
    bool empty() const { return numbers_.empty(); }
    std::string_view LineAt(std::size_t i, std::string& scratch) const { return list_->LineAt(numbers_[i], scratch); }
    [[gnu::always_inline]] void PrefetchPlace(std::size_t i) const { list_->PrefetchPlace(numbers_[i]); }
    [[gnu::always_inline]] void Prefetch(std::size_t i) const { list_->Prefetch(numbers_[i]); }

private:
    const IndexList* list_;
    std::span<const std::uint32_t> numbers_;
};

/// Calls `visit`(line) for each of `lines` (an IndexList or SelectedLines) in turn; the line is
/// valid during the call only. Sorted lines lie scattered over the blocks, so the text of a line
/// some places ahead is asked of the memory while the current one is handled.
template <typename Lines, typename Visit> void VisitLines(const Lines& lines, Visit visit)
{
    constexpr std::size_t kAhead = 16;
    std::string scratch;
    const std::size_t count = lines.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (i + 2 * kAhead < count)
            lines.PrefetchPlace(i + 2 * kAhead);
        if (i + kAhead < count)
            lines.Prefetch(i + kAhead);
        visit(lines.LineAt(i, scratch));
    }
}

} // namespace stambrix::index
