#include "output/search_data.h"

#include "charsets/search_folding.h"
#include "charsets/utf8_text.h"
#include "output/name_index_pages.h"
#include "text/ascii.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace stambrix::output {

namespace {
// The call around the lines of a data file, with room for the largest file number.
constexpr std::size_t kFileFrame = std::string_view("stambrixZoek.deel(4294967295, ``);\n").size();

// The lines of the persons whose words have one start, in index order, and the bytes of their lines.
struct Persons
{
    std::vector<std::uint32_t> lines;
    std::uint64_t bytes = 0;
};

struct Start
{
    std::string start;
    std::size_t persons;
    std::uint32_t file;
    char kind; // 'h': the file holds every person, 'b': the first kShownHits
};

// Appends `text` as the inside of a JavaScript template literal.
void AppendTemplateText(std::string_view text, std::string& to)
{
    for (const char byte : text) {
        if (byte == '\\' || byte == '`' || byte == '$') {
            to.push_back('\\');
            to.push_back(byte);
        } else if (static_cast<unsigned char>(byte) < 0x20) {
            constexpr std::string_view kHex = "0123456789abcdef";
            to.append("\\u00").push_back(kHex[static_cast<unsigned char>(byte) >> 4]);
            to.push_back(kHex[byte & 0xF]);
        } else {
            to.push_back(byte);
        }
    }
}

// The name of a line as the search shows it: up to the first tab, without the comma that stands
// for an empty family name.
std::string_view ShownNameOf(std::string_view line)
{
    std::string_view name = line.substr(0, line.find('\t'));
    if (text::Trim(HeadingOf(name)).empty() && name.find(',') != std::string_view::npos)
        name.remove_prefix(name.find(',') + 1);
    return text::Trim(name);
}

// The byte length of the first character of `text`.
std::size_t CharacterLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text.front());
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, text.size());
}

class SearchDataWriter
{
public:
    SearchDataWriter(const index::IndexList& indexList, charsets::TextEncoding encoding, const SitePlan& plan,
                     FileSet& files, std::size_t fileLimit)
        : indexList_(indexList), encoding_(encoding), plan_(plan), files_(files), fileLimit_(fileLimit)
    {
    }

    void Write()
    {
        Place({}, GatherAll());
        WriteManifest();
    }

private:
    // Every person with a search word, the size of each one's line kept.
    Persons GatherAll()
    {
        Persons all;
        lineBytes_.assign(indexList_.size(), 0);
        std::uint32_t line = 0;
        index::VisitLines(indexList_, [&](std::string_view text) {
            record_.clear();
            AppendRecord(line, text, record_);
            if (record_.front() != '\t') {
                lineBytes_[line] = static_cast<std::uint32_t>(record_.size());
                all.lines.push_back(line);
                all.bytes += record_.size() + 1;
            }
            ++line;
        });
        return all;
    }

    // The line of a person in a data file: "words TAB page TAB id TAB name".
    void AppendRecord(std::uint32_t line, std::string_view text, std::string& to)
    {
        name_.clear();
        charsets::AppendAsUtf8(ShownNameOf(text), encoding_, name_);
        words_.clear();
        charsets::AppendSearchWords(name_, words_);
        to.append(words_).push_back('\t');
        to.append(std::to_string(plan_.pageOfLine[line])).push_back('\t');
        AppendIdOf(plan_, line, text, to);
        to.push_back('\t');
        AppendTemplateText(name_, to);
    }

    // Writes the persons of the word start `start` to a file of their own when it stays within the
    // limit, else the file of their first persons (none for the empty start, which no word asks
    // for), and shares them out by one character more.
    void Place(const std::string& start, Persons persons)
    {
        if (persons.bytes + kFileFrame <= fileLimit_) {
            starts_.push_back({start, persons.lines.size(), WriteFile(persons.lines), 'h'});
            return;
        }
        std::size_t first = 0;
        for (std::uint64_t bytes = kFileFrame; first < std::min(persons.lines.size(), kShownHits); ++first) {
            bytes += lineBytes_[persons.lines[first]] + 1;
            if (bytes > fileLimit_)
                break;
        }
        const std::uint32_t firstFile = start.empty() ? 0 : WriteFile(std::span(persons.lines).first(first));
        starts_.push_back({start, persons.lines.size(), firstFile, 'b'});
        auto longer = ShareOut(start, persons.lines);
        persons = {};
        for (auto& [longerStart, itsPersons] : longer)
            Place(longerStart, std::move(itsPersons));
    }

    // The persons of `lines` by the start of one character more of their words that begin with `start`.
    std::map<std::string, Persons, std::less<>> ShareOut(std::string_view start, std::span<const std::uint32_t> lines)
    {
        std::map<std::string, Persons, std::less<>> longer;
        std::vector<std::string_view> seen;
        index::VisitLines(index::SelectedLines(indexList_, lines),
                          [&, at = std::size_t{0}](std::string_view text) mutable {
                              const std::uint32_t line = lines[at++];
                              name_.clear();
                              charsets::AppendAsUtf8(ShownNameOf(text), encoding_, name_);
                              words_.clear();
                              charsets::AppendSearchWords(name_, words_);
                              seen.clear();
                              std::string_view words = words_;
                              while (!words.empty()) {
                                  const std::string_view word = words.substr(0, words.find(' '));
                                  words.remove_prefix(std::min(words.size(), word.size() + 1));
                                  if (word.size() <= start.size() || !word.starts_with(start))
                                      continue;
                                  const std::string_view next =
                                      word.substr(0, start.size() + CharacterLength(word.substr(start.size())));
                                  if (std::find(seen.begin(), seen.end(), next) != seen.end())
                                      continue;
                                  seen.push_back(next);
                                  auto found = longer.find(next);
                                  if (found == longer.end())
                                      found = longer.emplace(std::string(next), Persons{}).first;
                                  found->second.lines.push_back(line);
                                  found->second.bytes += lineBytes_[line] + 1;
                              }
                          });
        return longer;
    }

    // Writes the lines of the persons `lines` as the next data file; its number.
    std::uint32_t WriteFile(std::span<const std::uint32_t> lines)
    {
        const std::uint32_t file = ++lastFile_;
        content_.assign("stambrixZoek.deel(").append(std::to_string(file)).append(", `");
        index::VisitLines(index::SelectedLines(indexList_, lines),
                          [&, at = std::size_t{0}](std::string_view text) mutable {
                              if (at != 0)
                                  content_.push_back('\n');
                              AppendRecord(lines[at++], text, content_);
                          });
        content_.append("`);\n");
        assert(content_.size() <= fileLimit_);
        files_.Open("zoek-" + std::to_string(file) + ".js");
        files_.Write(content_);
        files_.Close();
        return file;
    }

    void WriteManifest()
    {
        content_.assign("stambrixZoek.inhoud(`");
        for (std::size_t page = 0; page < plan_.pageNames.size(); ++page) {
            if (page != 0)
                content_.push_back('\n');
            AppendTemplateText(plan_.pageNames[page], content_);
        }
        content_.append("`, `");
        for (std::size_t at = 0; at < starts_.size(); ++at) {
            const Start& start = starts_[at];
            if (at != 0)
                content_.push_back('\n');
            AppendTemplateText(start.start, content_);
            content_.append("\t").append(std::to_string(start.persons));
            content_.append("\t").append(std::to_string(start.file));
            content_.append("\t").push_back(start.kind);
        }
        content_.append("`);\n");
        files_.Open(kSearchManifest);
        files_.Write(content_);
        files_.Close();
    }

    const index::IndexList& indexList_;
    charsets::TextEncoding encoding_;
    const SitePlan& plan_;
    FileSet& files_;
    std::size_t fileLimit_;
    std::vector<std::uint32_t> lineBytes_; // of each line, the bytes of its record; 0 without search words
    std::vector<Start> starts_;
    std::uint32_t lastFile_ = 0;
    std::string record_;
    std::string name_;
    std::string words_;
    std::string content_;
};
} // namespace

void WriteSearchData(const index::IndexList& indexList, charsets::TextEncoding encoding, const SitePlan& plan,
                     FileSet& files, std::size_t fileLimit)
{
    assert(plan.pageOfLine.size() == indexList.size());
    SearchDataWriter(indexList, encoding, plan, files, fileLimit).Write();
}

} // namespace stambrix::output
