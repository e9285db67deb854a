#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace stambrix::scan {

/// The run's index lines: filled in file order, duplicates kept, put in order once. The text of
/// all lines lives in a few large blocks, so a million lines cost a million views and no more
/// than a block of slack.
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

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    std::string_view operator[](std::size_t i) const { return lines_[i]; }
    auto begin() const { return lines_.begin(); }
    auto end() const { return lines_.end(); }

    /// Appends the lines of `other`, taking over their text without copying it.
    void Append(IndexList&& other);

    /// Puts the lines in the order given: afterwards line i is the former line order[i].
    /// `order` must hold every position exactly once.
    void Reorder(std::span<const std::size_t> order);

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockUsed_ = 0;
    std::size_t blockSize_ = 0;
    std::vector<std::string_view> lines_;
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
