#include "output/search_data.h"

#include "charsets/search_folding.h"
#include "charsets/utf8_text.h"
#include "output/name_index_pages.h"
#include "text/ascii.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace stambrix::output {

namespace {
// The call around the lines of a data file, with room for the largest file number.
constexpr std::size_t kFileFrame = std::string_view("stambrixZoek.deel(4294967295, ``);\n").size();

// How a start of words is written: with a file of all its persons, or shared out by one character
// more with a file of its first persons; or not at all, under a shorter start written whole.
enum class Use : std::uint8_t
{
    Beyond,
    Whole,
    SharedOut
};

// A start of the search words of the names: the persons with a word that starts so.
struct Start
{
    Start(std::string_view startText, std::uint32_t shorterStart) : text(startText), shorter(shorterStart) {}

    std::string text;
    std::uint32_t shorter; // the start one character shorter
    std::uint32_t persons = 0;
    std::uint64_t bytes = 0; // of the lines of its persons in a data file, each with its line end
    Use use = Use::Beyond;
    std::vector<std::uint32_t> lines; // the index lines of the persons its file holds
    std::uint64_t linesBytes = 0;
    bool full = false; // no more first persons fit
};

// Hashes words for looking them up by a view.
struct WordHash
{
    using is_transparent = void;
    std::size_t operator()(std::string_view word) const { return std::hash<std::string_view>{}(word); }
};
using WordNumbers = std::unordered_map<std::string, std::uint32_t, WordHash, std::equal_to<>>;

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
// before empty given names or for an empty family name.
std::string_view ShownNameOf(std::string_view line)
{
    std::string_view name = line.substr(0, line.find('\t'));
    if (text::Trim(HeadingOf(name)).empty() && name.find(',') != std::string_view::npos)
        name.remove_prefix(name.find(',') + 1);
    name = text::Trim(name);
    if (name.ends_with(','))
        name = text::Trim(name.substr(0, name.size() - 1));
    return name;
}

// The byte length of the first character of `text`.
std::size_t CharacterLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text.front());
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, text.size());
}

// Writes the search data in three passes over the lines: the names' words are folded once and
// numbered, every start of every word counted with its persons' bytes, then the persons gathered
// into the files of the starts. Lines are handled by their numbers; texts are kept once per
// distinct word and start.
class SearchDataWriter
{
public:
    SearchDataWriter(const index::IndexList& indexList, charsets::TextEncoding encoding, const SitePlan& plan,
                     FileSet& files, std::size_t fileLimit)
        : indexList_(indexList), encoding_(encoding), plan_(plan), files_(files), fileLimit_(fileLimit)
    {
        starts_.emplace_back(std::string_view(), 0);
    }

    void Write()
    {
        GatherWords();
        CountStarts();
        ChooseUses();
        GatherPersons();
        WriteFiles();
        WriteManifest();
    }

private:
    // The words of each line by number, and the size of its line in a data file.
    void GatherWords()
    {
        lineBytes_.assign(indexList_.size(), 0);
        wordsEnd_.reserve(indexList_.size() + 1);
        wordsEnd_.push_back(0);
        std::uint32_t line = 0;
        index::VisitLines(indexList_, [&](std::string_view text) {
            name_.clear();
            charsets::AppendAsUtf8(ShownNameOf(text), encoding_, name_);
            words_.clear();
            charsets::AppendSearchWords(name_, words_);
            for (std::string_view rest = words_; !rest.empty();) {
                const std::string_view word = rest.substr(0, rest.find(' '));
                rest.remove_prefix(std::min(rest.size(), word.size() + 1));
                lineWords_.push_back(NumberOf(word));
            }
            assert(lineWords_.size() <= UINT32_MAX);
            wordsEnd_.push_back(static_cast<std::uint32_t>(lineWords_.size()));
            if (!words_.empty()) {
                record_.clear();
                AppendRecord(line, text, name_, record_);
                lineBytes_[line] = static_cast<std::uint32_t>(record_.size() + 1);
            }
            ++line;
        });
    }

    // The number of `word`; a new word gets the next, and its starts are entered.
    std::uint32_t NumberOf(std::string_view word)
    {
        if (const auto found = wordNumbers_.find(word); found != wordNumbers_.end())
            return found->second;
        const auto number = static_cast<std::uint32_t>(wordTexts_.size());
        wordTexts_.push_back(wordNumbers_.emplace(std::string(word), number).first->first);
        std::uint32_t shorter = 0;
        std::size_t characters = 0;
        for (std::size_t length = 0; length < word.size() && characters++ < kLongestStart;) {
            length += CharacterLength(word.substr(length));
            shorter = StartOf(word.substr(0, length), shorter);
            paths_.push_back(shorter);
        }
        pathsEnd_.push_back(static_cast<std::uint32_t>(paths_.size()));
        return number;
    }

    std::uint32_t StartOf(std::string_view text, std::uint32_t shorter)
    {
        if (const auto found = startNumbers_.find(text); found != startNumbers_.end())
            return found->second;
        const auto number = static_cast<std::uint32_t>(starts_.size());
        startNumbers_.emplace(std::string(text), number);
        starts_.emplace_back(text, shorter);
        return number;
    }

    std::span<const std::uint32_t> WordsOf(std::uint32_t line) const
    {
        return std::span(lineWords_).subspan(wordsEnd_[line], wordsEnd_[line + 1] - wordsEnd_[line]);
    }
    // The starts of a word, from its first character to the whole word or its first kLongestStart.
    std::span<const std::uint32_t> PathOf(std::uint32_t word) const
    {
        const std::uint32_t begin = word == 0 ? 0 : pathsEnd_[word - 1];
        return std::span(paths_).subspan(begin, pathsEnd_[word] - begin);
    }

    // Each start's persons, a person once however many of its words have the start.
    void CountStarts()
    {
        for (std::uint32_t line = 0; line < lineBytes_.size(); ++line) {
            if (lineBytes_[line] == 0)
                continue;
            found_.assign(1, 0);
            for (const std::uint32_t word : WordsOf(line))
                found_.insert(found_.end(), PathOf(word).begin(), PathOf(word).end());
            std::sort(found_.begin(), found_.end());
            found_.erase(std::unique(found_.begin(), found_.end()), found_.end());
            for (const std::uint32_t start : found_) {
                ++starts_[start].persons;
                starts_[start].bytes += lineBytes_[line];
            }
        }
    }

    // A start whose persons fit in a file is written whole, one that does not is shared out; the
    // longer starts of one written whole are not written. A start comes after its shorter one.
    void ChooseUses()
    {
        for (std::uint32_t start = 0; start < starts_.size(); ++start) {
            Start& it = starts_[start];
            if (start == 0 || starts_[it.shorter].use == Use::SharedOut)
                it.use = it.bytes + kFileFrame <= fileLimit_ ? Use::Whole : Use::SharedOut;
        }
    }

    // Each person in the file of the start written whole on the way of each of its words, and
    // among the first persons of the starts shared out on that way, as long as there is room.
    void GatherPersons()
    {
        for (std::uint32_t line = 0; line < lineBytes_.size(); ++line) {
            if (lineBytes_[line] == 0)
                continue;
            found_.clear();
            for (const std::uint32_t word : WordsOf(line)) {
                if (starts_[0].use == Use::Whole) {
                    found_.push_back(0);
                    break;
                }
                for (const std::uint32_t start : PathOf(word)) {
                    found_.push_back(start);
                    if (starts_[start].use != Use::SharedOut)
                        break;
                }
            }
            std::sort(found_.begin(), found_.end());
            found_.erase(std::unique(found_.begin(), found_.end()), found_.end());
            for (const std::uint32_t start : found_)
                Take(starts_[start], start, line);
        }
    }

    void Take(Start& start, std::uint32_t number, std::uint32_t line)
    {
        if (start.use == Use::Whole) {
            start.lines.push_back(line);
            return;
        }
        // The empty start, which no word asks for, has no first persons.
        if (start.use != Use::SharedOut || number == 0 || start.full)
            return;
        if (start.lines.size() == kShownHits || start.linesBytes + lineBytes_[line] + kFileFrame > fileLimit_) {
            start.full = true;
            return;
        }
        start.lines.push_back(line);
        start.linesBytes += lineBytes_[line];
    }

    // The files of the starts in the order of their texts, a start before its longer ones.
    void WriteFiles()
    {
        std::vector<std::uint32_t> order;
        for (std::uint32_t start = 0; start < starts_.size(); ++start)
            if (starts_[start].use != Use::Beyond)
                order.push_back(start);
        std::sort(order.begin(), order.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return starts_[a].text < starts_[b].text; });
        for (const std::uint32_t number : order) {
            Start& start = starts_[number];
            const bool hasFile = start.use == Use::Whole || number != 0;
            manifest_.push_back({number, hasFile ? WriteFile(start.lines) : 0});
            start.lines = {};
        }
    }

    // The line of a person in a data file: "page TAB id TAB name", of the index line `line` whose
    // text is `text` and whose shown name is `name` in UTF-8. The script folds the name into its
    // search words itself.
    void AppendRecord(std::uint32_t line, std::string_view text, std::string_view name, std::string& to)
    {
        to.append(std::to_string(plan_.pageOfLine[line])).push_back('\t');
        AppendIdOf(plan_, line, text, to);
        to.push_back('\t');
        AppendTemplateText(name, to);
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
                              name_.clear();
                              charsets::AppendAsUtf8(ShownNameOf(text), encoding_, name_);
                              AppendRecord(lines[at++], text, name_, content_);
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
        for (std::size_t at = 0; at < manifest_.size(); ++at) {
            const auto [number, file] = manifest_[at];
            const Start& start = starts_[number];
            if (at != 0)
                content_.push_back('\n');
            AppendTemplateText(start.text, content_);
            content_.append("\t").append(std::to_string(start.persons));
            content_.append("\t").append(std::to_string(file));
            content_.append("\t").push_back(start.use == Use::Whole ? 'h' : 'b');
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
    WordNumbers wordNumbers_;
    std::vector<std::string_view> wordTexts_; // by number, the keys of wordNumbers_
    std::vector<std::uint32_t> paths_;        // the starts of every word, word after word
    std::vector<std::uint32_t> pathsEnd_;     // where the starts of each word end in paths_
    WordNumbers startNumbers_;
    std::vector<Start> starts_;            // the empty start first
    std::vector<std::uint32_t> lineWords_; // the numbers of the words of every line, line after line
    std::vector<std::uint32_t> wordsEnd_;  // where the words of each line end in lineWords_, after a 0
    std::vector<std::uint32_t> lineBytes_; // of each line, its bytes in a data file; 0 without words
    std::vector<std::pair<std::uint32_t, std::uint32_t>> manifest_; // the starts written, with their files
    std::vector<std::uint32_t> found_;
    std::uint32_t lastFile_ = 0;
    std::string name_;
    std::string words_;
    std::string record_;
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
