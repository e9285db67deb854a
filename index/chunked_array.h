#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace stambrix::index {

/// A growing array kept in chunks of 65,536 elements: growing moves nothing and leaves no more
/// slack than one chunk, where a vector may hold twice what it needs while it doubles.
template <typename T> class ChunkedArray
{
public:
    std::size_t size() const { return size_; }

    T& operator[](std::size_t i) { return chunks_[i / kChunkSize][i % kChunkSize]; }
    const T& operator[](std::size_t i) const { return chunks_[i / kChunkSize][i % kChunkSize]; }

    void push_back(const T& element)
    {
        if (size_ % kChunkSize == 0)
            chunks_.push_back(std::make_unique_for_overwrite<T[]>(kChunkSize));
        chunks_.back()[size_ % kChunkSize] = element;
        ++size_;
    }

    /// Appends every element of `other`, each changed by `change`(element) first, and empties
    /// `other` as it goes: each of its chunks is given back once copied.
    template <typename Change> void TakeOver(ChunkedArray&& other, Change change)
    {
        for (std::size_t chunk = 0; chunk < other.chunks_.size(); ++chunk) {
            const std::size_t count = std::min(kChunkSize, other.size_ - chunk * kChunkSize);
            for (std::size_t i = 0; i < count; ++i)
                push_back(change(other.chunks_[chunk][i]));
            other.chunks_[chunk].reset();
        }
        other = ChunkedArray();
    }

private:
    static constexpr std::size_t kChunkSize = std::size_t{1} << 16;

    std::vector<std::unique_ptr<T[]>> chunks_;
    std::size_t size_ = 0;
};

} // namespace stambrix::index
