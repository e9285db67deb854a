#include "scan/line_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace stambrix::scan {

LineBuffer::~LineBuffer()
{
    std::free(data_);
}

void LineBuffer::Append(std::string_view bytes)
{
    if (bytes.empty())
        return;
    if (bytes.size() > capacity_ - size_) {
        const std::size_t needed = size_ + bytes.size();
        if (needed < size_)
            throw std::bad_alloc();
        const std::size_t capacity = std::max({needed, capacity_ * 2, std::size_t{256}});
        void* grown = std::realloc(data_, capacity);
        if (grown == nullptr)
            throw std::bad_alloc();
        data_ = static_cast<char*>(grown);
        capacity_ = capacity;
    }
    std::memcpy(data_ + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
}

} // namespace stambrix::scan
