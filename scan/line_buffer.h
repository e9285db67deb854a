#pragma once

#include <cstddef>
#include <string_view>

namespace stambrix::scan {

/// The bytes of one line gathered from several blocks. It grows with realloc, which moves the pages
/// of a large buffer instead of copying them: a line of a gigabyte takes about a gigabyte, not the
/// two a copy on growth would need for a moment.
class LineBuffer
{
public:
    LineBuffer() = default;
    ~LineBuffer();
    LineBuffer(const LineBuffer&) = delete;
    LineBuffer& operator=(const LineBuffer&) = delete;

    /// Appends `bytes`. Throws std::bad_alloc when memory runs out; the bytes held stay as they were.
    void Append(std::string_view bytes);
    /// Empties the buffer and keeps its memory for the next line.
    void Clear() { size_ = 0; }
    std::string_view View() const { return {data_, size_}; }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace stambrix::scan
