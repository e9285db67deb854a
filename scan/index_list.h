#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace stambrix::scan {

/// The run's index lines: filled in file order, duplicates kept, put in order once. The text of
/// all lines lives in a few large blocks, and so do the places of the lines in them, so a million
/// lines cost twelve bytes each beside their text and no more than a block of each of slack.
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

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::string_view operator[](std::size_t i) const
    {
        const Place& place = views_[i / kViewsPerBlock][i % kViewsPerBlock];
        return {blocks_[place.block].get() + place.offset, place.length};
    }

    class Iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        Iterator() = default;
        Iterator(const IndexList* list, std::size_t at) : list_(list), at_(at) {}
        std::string_view operator*() const { return (*list_)[at_]; }
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
    Iterator end() const { return {this, size_}; }

    /// Appends the lines of `other`, taking over their text without copying it.
    void Append(IndexList&& other);

    /// Puts the lines in the order given: afterwards line i is the former line order[i].
    /// `order` must hold every position exactly once.
    void Reorder(std::span<const std::uint32_t> order);

private:
    static constexpr std::size_t kViewsPerBlock = std::size_t{1} << 16;

    // Where a line's text lies: twelve bytes against a view's sixteen. No line comes near 4 GB.
    struct Place
    {
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t length;
    };

    void AddPlace(Place place);

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockUsed_ = 0;
    std::size_t blockSize_ = 0;
    std::vector<std::unique_ptr<Place[]>> views_;
    std::size_t size_ = 0;
};

/// Calls `visit`(line) for each of `lines` (an IndexList or a vector of its lines) in turn. Sorted
/// lines lie scattered over the blocks, so the text of a line some places ahead is asked of the
/// memory while the current one is handled.
template <typename Lines, typename Visit> void VisitLines(const Lines& lines, Visit visit)
{
    constexpr std::size_t kAhead = 16;
    const std::size_t count = lines.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (i + kAhead < count) {
            const std::string_view ahead = lines[i + kAhead];
            __builtin_prefetch(ahead.data());
            __builtin_prefetch(ahead.data() + ahead.size());
        }
        visit(lines[i]);
    }
}

} // namespace stambrix::scan
