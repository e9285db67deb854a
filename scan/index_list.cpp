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
    if (!line.empty())
        std::memcpy(blocks_.back().get() + blockUsed_, line.data(), line.size());
    AddPlace({static_cast<std::uint32_t>(blocks_.size() - 1), static_cast<std::uint32_t>(blockUsed_),
              static_cast<std::uint32_t>(line.size())});
    blockUsed_ += line.size();
}

void IndexList::AddPlace(Place place)
{
    if (size_ % kViewsPerBlock == 0)
        views_.push_back(std::make_unique_for_overwrite<Place[]>(kViewsPerBlock));
    views_.back()[size_ % kViewsPerBlock] = place;
    ++size_;
}

void IndexList::Append(IndexList&& other)
{
    // The blocks of `other` follow these, so the places of its lines move by as many blocks; they
    // are copied a block of places at a time, each block of `other` given back once copied.
    const auto blocksBefore = static_cast<std::uint32_t>(blocks_.size());
    for (std::size_t block = 0; block < other.views_.size(); ++block) {
        const std::size_t count = std::min(kViewsPerBlock, other.size_ - block * kViewsPerBlock);
        for (std::size_t i = 0; i < count; ++i) {
            Place place = other.views_[block][i];
            place.block += blocksBefore;
            AddPlace(place);
        }
        other.views_[block].reset();
    }
    std::move(other.blocks_.begin(), other.blocks_.end(), std::back_inserter(blocks_));
    // Further lines go into a fresh block, so those of `other` keep theirs.
    blockUsed_ = blockSize_ = 0;
    other = IndexList();
}

void IndexList::Reorder(std::span<const std::uint32_t> order)
{
    assert(order.size() == size_);
    std::vector<std::unique_ptr<Place[]>> ordered;
    ordered.reserve(views_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i % kViewsPerBlock == 0)
            ordered.push_back(std::make_unique_for_overwrite<Place[]>(kViewsPerBlock));
        const std::size_t from = order[i];
        ordered.back()[i % kViewsPerBlock] = views_[from / kViewsPerBlock][from % kViewsPerBlock];
    }
    views_ = std::move(ordered);
}

} // namespace stambrix::scan
