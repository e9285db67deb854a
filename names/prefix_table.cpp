#include "names/prefix_table.h"

#include "text/ascii.h"
#include "text/line_limit.h"
#include "text/run_failure.h"
#include "text/system_path.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>
#include <utility>

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

/// True when `line` makes no entry: a comment (";" as its very first character, before any
/// blank) or a line of blanks and control characters only.
bool IsSkipped(std::string_view line)
{
    return (!line.empty() && line.front() == ';') || text::Trim(line).empty();
}

/// The entry a prefix line gives: trimmed and lower-cased, with one blank added unless its first
/// apostrophe or its first full stop is its last character («d'», «st.», but «'t» gives «'t »).
std::string EntryOf(std::string_view line)
{
    std::string entry = text::ToLowerAscii(text::Trim(line));
    assert(!entry.empty());
    const std::size_t last = entry.size() - 1;
    if (entry.find('\'') != last && entry.find('.') != last)
        entry += ' ';
    return entry;
}

/// The entries of a prefix file, from its bytes handed over in pieces of any size. LF, CR LF, LF CR
/// and a lone CR each end a line; text after the last line end is a last line. A UTF-8 byte-order
/// mark at the start of the file is not part of its first line. A line keeps at most
/// kMaxLineLength bytes, so an endless line takes no more memory than that.
class PrefixFileParser
{
public:
    void Feed(std::string_view bytes)
    {
        while (!bytes.empty()) {
            // The partner of the line end just passed belongs to it (CR LF, LF CR).
            const char partner = std::exchange(partner_, '\0');
            if (partner != '\0' && bytes.front() == partner) {
                bytes.remove_prefix(1);
                continue;
            }
            const std::size_t end = bytes.find_first_of("\r\n");
            line_.append(bytes.substr(0, std::min(end, text::kMaxLineLength - line_.size())));
            if (end == std::string_view::npos)
                return;
            partner_ = bytes[end] == '\r' ? '\n' : '\r';
            EndLine();
            bytes.remove_prefix(end + 1);
        }
    }

    PrefixTable Finish()
    {
        EndLine();
        return PrefixTable(std::move(entries_));
    }

private:
    void EndLine()
    {
        std::string_view line = line_;
        if (std::exchange(firstLine_, false) && line.starts_with(kUtf8Mark))
            line.remove_prefix(kUtf8Mark.size());
        if (!IsSkipped(line))
            entries_.push_back(EntryOf(line));
        line_.clear();
    }

    static constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

    std::vector<std::string> entries_;
    std::string line_;
    char partner_ = '\0';
    bool firstLine_ = true;
};

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

/// The entries of the prefix file at `path`, read a block at a time. Throws text::RunFailure when it cannot
/// be opened or read (a directory opens on some systems but fails at the first read).
PrefixTable ReadPrefixFile(const std::filesystem::path& path)
{
    const std::unique_ptr<std::FILE, FileCloser> file(text::OpenForReading(path));
    if (!file)
        throw text::RunFailureFromErrno(text::Utf8Of(path), errno);
    PrefixFileParser parser;
    std::array<char, std::size_t{64} * 1024> buffer;
    for (;;) {
        errno = 0;
        const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), file.get());
        parser.Feed(std::string_view(buffer.data(), count));
        if (count < buffer.size())
            break;
    }
    if (std::ferror(file.get()))
        throw text::RunFailureFromErrno(text::Utf8Of(path), errno != 0 ? errno : EIO);
    return parser.Finish();
}

} // namespace

PrefixTable::PrefixTable(std::vector<std::string> entries) : entries_(std::move(entries))
{
    for (std::uint32_t i = 0; i < entries_.size(); ++i)
        if (!entries_[i].empty())
            byFirst_[static_cast<unsigned char>(text::ToUpperAscii(entries_[i].front()))].push_back(i);
}

PrefixTable DefaultPrefixes()
{
    return PrefixTable(std::vector<std::string>(kBuiltInPrefixes.begin(), kBuiltInPrefixes.end()));
}

PrefixTable ParsePrefixFile(std::string_view text)
{
    PrefixFileParser parser;
    parser.Feed(text);
    return parser.Finish();
}

PrefixTable LoadPrefixTable(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return DefaultPrefixes();
    if (error)
        throw text::RunFailureFromErrno(text::Utf8Of(path), error.value());
    return ReadPrefixFile(path);
}

} // namespace stambrix::names
