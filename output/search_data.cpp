#include "output/search_data.h"

#include "charsets/search_folding.h"
#include "charsets/utf8_text.h"
#include "index/chunked_array.h"
#include "output/name_index_pages.h"
#include "text/ascii.h"
#include "text/two_threads.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdint>
#include <functional>
#include <mutex>
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
    std::uint64_t nameBytes = 0; // of the names of its persons in a data file
    Use use = Use::Beyond;
    std::vector<std::uint32_t> lines; // the index lines of the persons its file holds
    std::uint64_t linesBytes = 0;
    bool full = false;                   // no more first persons fit
    std::uint32_t part = 0;              // the number its persons are handed over by; 0 for none
    std::uint32_t lastLine = UINT32_MAX; // the line that came to it last in a pass over the lines
};

// Hashes words for looking them up by a view.
struct WordHash
{
    using is_transparent = void;
    std::size_t operator()(std::string_view word) const { return std::hash<std::string_view>{}(word); }
};
using WordNumbers = std::unordered_map<std::string, std::uint32_t, WordHash, std::equal_to<>>;

// How a byte is written inside a JavaScript template literal: as itself, after a backslash, or as
// its code (a control character).
enum class TemplateByte : std::uint8_t
{
    Itself,
    Escaped,
    Coded
};

TemplateByte TemplateByteOf(char byte)
{
    if (byte == '\\' || byte == '`' || byte == '$')
        return TemplateByte::Escaped;
    return static_cast<unsigned char>(byte) < 0x20 ? TemplateByte::Coded : TemplateByte::Itself;
}

// Appends `text` as the inside of a JavaScript template literal.
void AppendTemplateText(std::string_view text, std::string& to)
{
    std::size_t plain = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const TemplateByte kind = TemplateByteOf(text[at]);
        if (kind == TemplateByte::Itself)
            continue;
        to.append(text.substr(plain, at - plain));
        plain = at + 1;
        if (kind == TemplateByte::Escaped) {
            to.push_back('\\');
            to.push_back(text[at]);
        } else {
            constexpr std::string_view kHex = "0123456789abcdef";
            to.append("\\u00").push_back(kHex[static_cast<unsigned char>(text[at]) >> 4]);
            to.push_back(kHex[text[at] & 0xF]);
        }
    }
    to.append(text.substr(plain));
}

// The bytes AppendTemplateText appends for `text`.
std::size_t TemplateTextBytes(std::string_view text)
{
    std::size_t bytes = text.size();
    for (const char byte : text) {
        const TemplateByte kind = TemplateByteOf(byte);
        bytes += kind == TemplateByte::Escaped ? 1 : kind == TemplateByte::Coded ? 5 : 0;
    }
    return bytes;
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

// The number of decimal digits of `number`.
std::size_t DigitsOf(std::size_t number)
{
    std::size_t digits = 1;
    for (; number >= 10; number /= 10)
        ++digits;
    return digits;
}
} // namespace

// Makes the search data in passes over the lines: the names' words are folded once and numbered,
// every start of every word counted with its persons and the bytes of their names; once the pages
// are planned, the bytes of each person's line are known, and the persons are gathered into the
// files of the starts. Lines are handled by their numbers; texts are kept once per distinct word
// and start.
class SearchData::Writer
{
public:
    Writer(const index::IndexList& indexList, charsets::TextEncoding encoding, std::size_t fileLimit)
        : indexList_(indexList), encoding_(encoding), fileLimit_(fileLimit)
    {
        starts_.emplace_back(std::string_view(), 0);
    }

    void Gather()
    {
        GatherWords();
        CountStarts();
    }

    void Write(const SitePlan& plan, FileSet& files)
    {
        assert(plan.pageOfLine.size() == indexList_.size());
        plan_ = &plan;
        files_ = &files;
        mostPlaceBytes_ = PlaceBytes(plan.pageNames.empty() ? 0 : plan.pageNames.size() - 1, plan.longestId);
        ChooseUses();
        GatherPersons();
        WriteFiles();
        WriteManifest();
    }

private:
    // The words of each line by number, and the bytes of its name in a data file. Persons of the
    // same name stand together in the index, so a name like the line's before it is not folded again.
    void GatherWords()
    {
        nameBytes_.assign(indexList_.size(), 0);
        wordsEnd_.reserve(indexList_.size() + 1);
        wordsEnd_.push_back(0);
        std::uint32_t line = 0;
        std::string previousName;
        std::vector<std::uint32_t> words;
        std::uint32_t bytes = 0;
        index::VisitLines(indexList_, [&](std::string_view text) {
            const std::string_view shown = ShownNameOf(text);
            if (line == 0 || shown != previousName) {
                previousName.assign(shown);
                FoldName(shown, words, bytes);
            }
            for (const std::uint32_t word : words)
                lineWords_.push_back(word);
            assert(lineWords_.size() <= UINT32_MAX);
            wordsEnd_.push_back(static_cast<std::uint32_t>(lineWords_.size()));
            nameBytes_[line++] = bytes;
        });
    }

    // The numbers of the search words of the shown name `shown`, and the bytes of the name in a data
    // file; 0 for a name without words.
    void FoldName(std::string_view shown, std::vector<std::uint32_t>& words, std::uint32_t& bytes)
    {
        name_.clear();
        charsets::AppendAsUtf8(shown, encoding_, name_);
        words_.clear();
        charsets::AppendSearchWords(name_, words_);
        words.clear();
        for (std::string_view rest = words_; !rest.empty();) {
            const std::string_view word = rest.substr(0, rest.find(' '));
            rest.remove_prefix(std::min(rest.size(), word.size() + 1));
            words.push_back(NumberOf(word));
        }
        bytes = words.empty() ? 0 : static_cast<std::uint32_t>(TemplateTextBytes(name_));
    }

    // The bytes of a person's line in a data file besides its name: the page's number, the id, the
    // tabs and the line end.
    static std::uint64_t PlaceBytes(std::size_t page, std::size_t idBytes) { return DigitsOf(page) + idBytes + 3; }

    // The bytes of the line of `line` in a data file.
    std::uint64_t LineBytes(std::uint32_t line)
    {
        record_.clear();
        AppendIdOf(*plan_, line, indexList_.LineAt(line, lineScratch_), record_);
        return nameBytes_[line] + PlaceBytes(plan_->pageOfLine[line], record_.size());
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

    // Calls `visit`(word) for the number of each word of `line`.
    template <typename Visit> void ForWordsOf(std::uint32_t line, Visit visit) const
    {
        for (std::uint32_t at = wordsEnd_[line]; at < wordsEnd_[line + 1]; ++at)
            visit(lineWords_[at]);
    }
    // The starts of a word, from its first character to the whole word or its first kLongestStart.
    std::span<const std::uint32_t> PathOf(std::uint32_t word) const
    {
        const std::uint32_t begin = word == 0 ? 0 : pathsEnd_[word - 1];
        return std::span(paths_).subspan(begin, pathsEnd_[word] - begin);
    }

    // Each start's persons and the bytes of their names, a person once however many of its words
    // have the start.
    void CountStarts()
    {
        for (std::uint32_t line = 0; line < nameBytes_.size(); ++line) {
            if (nameBytes_[line] == 0)
                continue;
            const auto count = [&](std::uint32_t number) {
                Start& start = starts_[number];
                if (start.lastLine == line)
                    return;
                start.lastLine = line;
                ++start.persons;
                start.nameBytes += nameBytes_[line];
            };
            count(0);
            ForWordsOf(line, [&](std::uint32_t word) {
                for (const std::uint32_t start : PathOf(word))
                    count(start);
            });
        }
    }

    // A start whose persons fit in a file is written whole, one that does not is shared out; the
    // longer starts of one written whole are not written. A start comes after its shorter one. The
    // bytes of its persons' lines are counted with the most any line takes besides its name.
    void ChooseUses()
    {
        for (std::uint32_t start = 0; start < starts_.size(); ++start) {
            Start& it = starts_[start];
            const std::uint64_t bytes = it.nameBytes + it.persons * mostPlaceBytes_;
            if (start == 0 || starts_[it.shorter].use == Use::SharedOut)
                it.use = bytes + kFileFrame <= fileLimit_ ? Use::Whole : Use::SharedOut;
        }
    }

    // Each person in the file of the start written whole on the way of each of its words, and
    // among the first persons of the starts shared out on that way, as long as there is room.
    void GatherPersons()
    {
        for (Start& start : starts_)
            start.lastLine = UINT32_MAX;
        for (std::uint32_t line = 0; line < nameBytes_.size(); ++line) {
            if (nameBytes_[line] == 0)
                continue;
            if (starts_[0].use == Use::Whole) {
                Take(0, line);
                continue;
            }
            ForWordsOf(line, [&](std::uint32_t word) {
                for (const std::uint32_t start : PathOf(word)) {
                    Take(start, line);
                    if (starts_[start].use != Use::SharedOut)
                        break;
                }
            });
        }
    }

    void Take(std::uint32_t number, std::uint32_t line)
    {
        Start& start = starts_[number];
        if (start.lastLine == line)
            return;
        start.lastLine = line;
        if (start.use == Use::Whole) {
            start.lines.push_back(line);
            return;
        }
        // The empty start, which no word asks for, has no first persons.
        if (start.use != Use::SharedOut || number == 0 || start.full)
            return;
        const std::uint64_t bytes = LineBytes(line);
        if (start.lines.size() == kShownHits || start.linesBytes + bytes + kFileFrame > fileLimit_) {
            start.full = true;
            return;
        }
        start.lines.push_back(line);
        start.linesBytes += bytes;
    }

    // The parts of the starts in the order of their texts, a start before its longer ones, numbered
    // in that order; a part of all persons of a start has a file of its own, and parts of first
    // persons, which are small, share one up to kPackedFileLimit. The files' contents are made on
    // two threads, each file on one, and written one at a time.
    void WriteFiles()
    {
        std::vector<std::uint32_t> order;
        for (std::uint32_t start = 0; start < starts_.size(); ++start)
            if (starts_[start].use != Use::Beyond)
                order.push_back(start);
        std::sort(order.begin(), order.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return starts_[a].text < starts_[b].text; });
        std::vector<std::vector<std::uint32_t>> files; // the starts of each file
        const std::uint64_t packedLimit = std::min<std::uint64_t>(kPackedFileLimit, fileLimit_);
        std::size_t packedFile = 0; // the file the next part of first persons may join, from 1
        std::uint64_t packedBytes = 0;
        std::uint32_t parts = 0;
        for (const std::uint32_t number : order) {
            Start& start = starts_[number];
            if (start.use == Use::SharedOut && number == 0) {
                manifest_.push_back({number, 0});
                continue;
            }
            start.part = ++parts;
            if (start.use == Use::Whole) {
                files.push_back({number});
                manifest_.push_back({number, static_cast<std::uint32_t>(files.size())});
                continue;
            }
            const std::uint64_t bytes = start.linesBytes + kFileFrame;
            if (packedFile == 0 || packedBytes + bytes > packedLimit) {
                files.emplace_back();
                packedFile = files.size();
                packedBytes = 0;
            }
            files[packedFile - 1].push_back(number);
            packedBytes += bytes;
            manifest_.push_back({number, static_cast<std::uint32_t>(packedFile)});
        }
        std::mutex writing;
        const auto writeEverySecond = [&](std::size_t first) {
            std::string content;
            WrittenName name;
            for (std::size_t at = first; at < files.size(); at += 2) {
                const auto file = static_cast<std::uint32_t>(at + 1);
                content.clear();
                for (const std::uint32_t number : files[at]) {
                    AppendPart(starts_[number], content, name);
                    starts_[number].lines = {};
                }
                assert(content.size() <= fileLimit_);
                const std::lock_guard<std::mutex> one(writing);
                files_->Open("zoek-" + std::to_string(file) + ".js");
                files_->Write(content);
                files_->Close();
            }
        };
        if (!text::RunOnTwoThreads([&] { writeEverySecond(0); }, [&] { writeEverySecond(1); })) {
            writeEverySecond(0);
            writeEverySecond(1);
        }
    }

    // The last name written in a data file: as the index line has it, and as it is written.
    struct WrittenName
    {
        std::string shown;
        std::string utf8;
        std::string written;
    };

    // Appends the call that hands over the persons of `start` to `content`, each as the line
    // "page TAB id TAB name"; the script folds the name into its search words itself. Persons of
    // the same name stand together, so a name like the one before is not converted again.
    void AppendPart(const Start& start, std::string& content, WrittenName& name) const
    {
        const std::span<const std::uint32_t> lines = start.lines;
        content.append("stambrixZoek.deel(").append(std::to_string(start.part)).append(", `");
        index::VisitLines(index::SelectedLines(indexList_, lines),
                          [&, at = std::size_t{0}](std::string_view text) mutable {
                              const std::uint32_t line = lines[at];
                              if (at++ != 0)
                                  content.push_back('\n');
                              const std::string_view shown = ShownNameOf(text);
                              if (at == 1 || shown != name.shown) {
                                  name.shown.assign(shown);
                                  name.utf8.clear();
                                  charsets::AppendAsUtf8(shown, encoding_, name.utf8);
                                  name.written.clear();
                                  AppendTemplateText(name.utf8, name.written);
                              }
                              content.append(std::to_string(plan_->pageOfLine[line])).push_back('\t');
                              AppendIdOf(*plan_, line, text, content);
                              content.append("\t").append(name.written);
                          });
        content.append("`);\n");
    }

    void WriteManifest()
    {
        content_.assign("stambrixZoek.inhoud(`");
        for (std::size_t page = 0; page < plan_->pageNames.size(); ++page) {
            if (page != 0)
                content_.push_back('\n');
            AppendTemplateText(plan_->pageNames[page], content_);
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
            content_.append("\t").append(std::to_string(start.part));
            content_.append("\t").push_back(start.use == Use::Whole ? 'h' : 'b');
        }
        content_.append("`);\n");
        files_->Open(kSearchManifest);
        files_->Write(content_);
        files_->Close();
    }

    const index::IndexList& indexList_;
    charsets::TextEncoding encoding_;
    std::size_t fileLimit_;
    const SitePlan* plan_ = nullptr;
    FileSet* files_ = nullptr;
    WordNumbers wordNumbers_;
    std::vector<std::string_view> wordTexts_; // by number, the keys of wordNumbers_
    std::vector<std::uint32_t> paths_;        // the starts of every word, word after word
    std::vector<std::uint32_t> pathsEnd_;     // where the starts of each word end in paths_
    WordNumbers startNumbers_;
    std::vector<Start> starts_;                    // the empty start first
    index::ChunkedArray<std::uint32_t> lineWords_; // the numbers of the words of every line, line after line
    std::vector<std::uint32_t> wordsEnd_;          // where the words of each line end in lineWords_, after a 0
    std::vector<std::uint32_t> nameBytes_;         // of each line, its name's bytes in a data file; 0 without words
    std::uint64_t mostPlaceBytes_ = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> manifest_; // the starts written, with their files
    std::string name_;
    std::string words_;
    std::string record_;
    std::string lineScratch_;
    std::string content_;
};

SearchData::SearchData(const index::IndexList& indexList, charsets::TextEncoding encoding, std::size_t fileLimit)
    : writer_(std::make_unique<Writer>(indexList, encoding, fileLimit))
{
}

SearchData::~SearchData() = default;

void SearchData::Gather()
{
    writer_->Gather();
}

void SearchData::Write(const SitePlan& plan, FileSet& files)
{
    writer_->Write(plan, files);
}

} // namespace stambrix::output
