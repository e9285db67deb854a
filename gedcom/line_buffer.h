#pragma once

#include <cstddef>
#include <string_view>

namespace stambrix::gedcom {

/// The bytes of one line gathered from several blocks, up to a limit: what comes after the first
/// `limit` bytes is dropped, so a line without end takes no more than `limit` bytes. It grows with
/// realloc, which moves the pages of a large buffer instead of copying them.
class LineBuffer
{
public:
    explicit LineBuffer(std::size_t limit) : limit_(limit) {}
    ~LineBuffer();
    LineBuffer(const LineBuffer&) = delete;
    LineBuffer& operator=(const LineBuffer&) = delete;

    /// Appends as much of `bytes` as the limit leaves room for. Throws std::bad_alloc when memory
    /// runs out; the bytes held stay as they were.
    void Append(std::string_view bytes);
    /// Appends `count` times `byte`, as far as the limit leaves room.
    void AppendRepeated(char byte, std::size_t count);
    /// Empties the buffer and keeps its memory for the next line.
    void Clear() { size_ = 0; }
    std::string_view View() const { return {data_, size_}; }

private:
    // Room for `count` more bytes, as far as the limit goes; how many fit.
    std::size_t Reserve(std::size_t count);

    std::size_t limit_;
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace stambrix::gedcom
