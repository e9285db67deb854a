#include "gedcom/line_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace stambrix::gedcom {

LineBuffer::~LineBuffer()
{
    std::free(data_);
}

std::size_t LineBuffer::Reserve(std::size_t count)
{
    count = std::min(count, limit_ - size_);
    if (count > capacity_ - size_) {
        const std::size_t needed = size_ + count;
        const std::size_t capacity = std::min(std::max({needed, capacity_ * 2, std::size_t{256}}), limit_);
        void* grown = std::realloc(data_, capacity);
        if (grown == nullptr)
            throw std::bad_alloc();
        data_ = static_cast<char*>(grown);
        capacity_ = capacity;
    }
    return count;
}

void LineBuffer::Append(std::string_view bytes)
{
    const std::size_t count = Reserve(bytes.size());
    if (count == 0)
        return;
    std::memcpy(data_ + size_, bytes.data(), count);
    size_ += count;
}

void LineBuffer::AppendRepeated(char byte, std::size_t count)
{
    count = Reserve(count);
    if (count == 0)
        return;
    std::memset(data_ + size_, byte, count);
    size_ += count;
}

} // namespace stambrix::gedcom
