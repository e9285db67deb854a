#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

// Files and folders as the tests look at them: whole, byte for byte.
namespace stambrix::test_support {

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << "cannot read " << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out) << "cannot write " << path;
}

/// Names of the entries directly inside `folder`; empty when it does not exist.
inline std::set<std::string> EntriesOf(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        names.insert(entry.path().filename().string());
    return names;
}

/// The regular files directly inside a folder, by name, with their bytes.
using FolderContents = std::map<std::string, std::string>;

/// The files directly inside `folder` and their bytes; empty when it does not exist.
inline FolderContents ContentsOf(const std::filesystem::path& folder)
{
    FolderContents contents;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec))
            contents.emplace(entry.path().filename().string(), ReadBytes(entry.path()));
    return contents;
}

/// Where two folders differ, one line a file: missing, unexpected or its sizes and first differing
/// byte; "" when they hold the same files with the same bytes. Short, where comparing the bytes
/// themselves would print whole pages.
inline std::string DifferencesBetween(const FolderContents& expected, const FolderContents& actual)
{
    std::ostringstream differences;
    for (const auto& [name, bytes] : expected) {
        const auto found = actual.find(name);
        if (found == actual.end()) {
            differences << name << ": missing\n";
        } else if (found->second != bytes) {
            const auto at = std::mismatch(bytes.begin(), bytes.end(), found->second.begin(), found->second.end()).first;
            differences << name << ": " << found->second.size() << " bytes instead of " << bytes.size()
                        << ", first difference at byte " << (at - bytes.begin()) << "\n";
        }
    }
    for (const auto& entry : actual)
        if (!expected.contains(entry.first))
            differences << entry.first << ": unexpected\n";
    return differences.str();
}

} // namespace stambrix::test_support
