#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// Paths are UTF-8 text in the core. On Linux a path is its bytes; on Windows the system takes
// UTF-16, and std::filesystem::path converts from and to UTF-8 only when told that the text is
// UTF-8 (from a plain std::string it would take the ANSI code page, which has no «Ł»).
namespace stambrix::text {

/// The path that the UTF-8 text `utf8` names.
inline std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

/// The path `path` as UTF-8 text, for messages and for the core's own use.
inline std::string Utf8Of(const std::filesystem::path& path)
{
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

/// Opens the file `path` for reading its bytes, as std::fopen with "rb" does.
inline std::FILE* OpenForReading(const std::filesystem::path& path)
{
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

} // namespace stambrix::text
