#include "gedcom/byte_source.h"

#include <algorithm>
#include <cstring>

namespace stambrix::gedcom {

std::size_t MemorySource::Read(char* buffer, std::size_t size)
{
    const std::size_t count = std::min(size, bytes_.size());
    std::memcpy(buffer, bytes_.data(), count);
    bytes_.remove_prefix(count);
    return count;
}

} // namespace stambrix::gedcom
