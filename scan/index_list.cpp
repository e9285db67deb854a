#include "scan/index_list.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace stambrix::scan {

namespace {
// Blocks start small, for the many small indexes, and double up to a megabyte.
constexpr std::size_t kFirstBlockSize = 1 << 14;
constexpr std::size_t kLargestBlockSize = 1 << 20;
} // namespace

void IndexList::Add(std::string_view line)
{
    if (blocks_.empty() || blockSize_ - blockUsed_ < line.size()) {
        const std::size_t grown =
            std::min(kLargestBlockSize, kFirstBlockSize << std::min<std::size_t>(blocks_.size(), 6));
        blockSize_ = std::max(grown, line.size());
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(blockSize_));
        blockUsed_ = 0;
    }
    char* text = blocks_.back().get() + blockUsed_;
    if (!line.empty())
        std::memcpy(text, line.data(), line.size());
    blockUsed_ += line.size();
    lines_.emplace_back(text, line.size());
}

void IndexList::Append(IndexList&& other)
{
    lines_.insert(lines_.end(), other.lines_.begin(), other.lines_.end());
    // Further lines go into a fresh block, so those of `other` keep theirs.
    blocks_.insert(blocks_.begin(), std::make_move_iterator(other.blocks_.begin()),
                   std::make_move_iterator(other.blocks_.end()));
    other.blocks_.clear();
    other.lines_.clear();
    other.blockUsed_ = 0;
    other.blockSize_ = 0;
}

void IndexList::Reorder(std::span<const std::size_t> order)
{
    assert(order.size() == lines_.size());
    std::vector<std::string_view> ordered;
    ordered.reserve(order.size());
    for (const std::size_t from : order)
        ordered.push_back(lines_[from]);
    lines_ = std::move(ordered);
}

} // namespace stambrix::scan
