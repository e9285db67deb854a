#include "names/prefix_table.h"

#include "names/ascii.h"
#include "names/io_error.h"

#include <array>
#include <cassert>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

namespace stambrix::names {

namespace {

// Longer prefixes stand before the shorter ones they begin with ("van der " before "van ").
constexpr std::array<std::string_view, 60> kBuiltInPrefixes = {
    "d'",       "l'",      "o'",        "'s ",       "'t ",      "aan den ", "aen de ",  "auf 'm ",   "bij de ",
    "da ",      "de la ",  "de los ",   "den ",      "der ",     "de ",      "di ",      "du ",       "het ",
    "im ",      "in 't ",  "in der ",   "in de ",    "in die ",  "in het ",  "in ",      "la ",       "le ",
    "mac ",     "mijn ",   "onder 't ", "onder de ", "onder ",   "op 't ",   "op den ",  "op der ",   "op de ",
    "op gen ",  "op het ", "op ",       "st. ",      "ten ",     "ter ",     "te ",      "uijt den ", "uit 't ",
    "uit de ",  "van d'",  "van 's ",   "van 't ",   "van den ", "van der ", "van des ", "van de ",   "van het ",
    "van ter ", "van ",    "ver ",      "von den ",  "von ",     "voor de "};

/// Calls `onLine` with every line of `text`, without its terminator. LF, CR LF, LF CR and a lone
/// CR each end a line; text after the last terminator is a last line.
template <typename OnLine> void ForEachLine(std::string_view text, OnLine onLine)
{
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            onLine(text.substr(begin));
            return;
        }
        onLine(text.substr(begin, end - begin));
        std::size_t next = end + 1;
        if (next < text.size() && (text[next] == '\r' || text[next] == '\n') && text[next] != text[end])
            ++next;
        begin = next;
    }
}

/// True when `line` makes no entry: a comment (";" as its very first character, before any
/// blank) or a line of blanks and control characters only.
bool IsSkipped(std::string_view line)
{
    return (!line.empty() && line.front() == ';') || Trim(line).empty();
}

/// The entry a prefix line gives: trimmed and lower-cased, with one blank added unless its first
/// apostrophe or its first full stop is its last character («d'», «st.», but «'t» gives «'t »).
std::string EntryOf(std::string_view line)
{
    std::string entry = ToLowerAscii(Trim(line));
    assert(!entry.empty());
    const std::size_t last = entry.size() - 1;
    if (entry.find('\'') != last && entry.find('.') != last)
        entry += ' ';
    return entry;
}

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

/// All bytes of the file at `path`, unchanged. Throws IoError when it cannot be opened or read
/// (a directory opens on some systems but fails at the first read).
std::string ReadWholeFile(const std::filesystem::path& path)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.string().c_str(), "rb"));
    if (!file)
        throw IoErrorFromErrno(path.string(), errno);
    std::string bytes;
    std::array<char, 64 * 1024> buffer;
    for (;;) {
        errno = 0;
        const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), file.get());
        bytes.append(buffer.data(), count);
        if (count < buffer.size())
            break;
    }
    if (std::ferror(file.get()))
        throw IoErrorFromErrno(path.string(), errno != 0 ? errno : EIO);
    return bytes;
}

} // namespace

PrefixTable DefaultPrefixes()
{
    PrefixTable table;
    table.entries.assign(kBuiltInPrefixes.begin(), kBuiltInPrefixes.end());
    return table;
}

PrefixTable ParsePrefixFile(std::string_view text)
{
    PrefixTable table;
    ForEachLine(text, [&table](std::string_view line) {
        if (!IsSkipped(line))
            table.entries.push_back(EntryOf(line));
    });
    return table;
}

PrefixTable LoadPrefixTable(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return DefaultPrefixes();
    if (error)
        throw IoErrorFromErrno(path.string(), error.value());
    return ParsePrefixFile(ReadWholeFile(path));
}

} // namespace stambrix::names
