#include "output/search_data.h"

#include "charsets/search_folding.h"
#include "output/memory_files.h"
#include "output/search_script.h"

#include <gtest/gtest.h>

#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace stambrix::output {
namespace {

// The search data as the script reads it.
struct Start
{
    std::size_t persons;
    std::string part;
    bool whole;
};

struct WrittenData
{
    std::vector<std::string> pages;
    std::map<std::string, Start> starts;
    std::map<std::string, std::vector<std::string>> lines; // of each part
    std::size_t dataFiles = 0;
};

std::vector<std::string> Split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    for (std::size_t from = 0;;) {
        const std::size_t to = text.find(separator, from);
        parts.emplace_back(text.substr(from, to - from));
        if (to == std::string_view::npos)
            return parts;
        from = to + 1;
    }
}

// The text of a literal of the script: its escapes undone, \u00XX and \u{X} as UTF-8.
std::string Unescaped(std::string_view literal)
{
    std::string text;
    for (std::size_t at = 0; at < literal.size(); ++at) {
        if (literal[at] != '\\' || literal[++at] != 'u') {
            text.push_back(literal[at]);
            continue;
        }
        const bool braced = literal[at + 1] == '{';
        const std::size_t from = at + (braced ? 2 : 1);
        const std::size_t to = braced ? literal.find('}', from) : from + 4;
        std::array<std::uint8_t, U8_MAX_LENGTH> utf8{};
        std::int32_t length = 0;
        U8_APPEND_UNSAFE(utf8.data(), length, std::stoi(std::string(literal.substr(from, to - from)), nullptr, 16));
        text.append(reinterpret_cast<const char*>(utf8.data()), static_cast<std::size_t>(length));
        at = braced ? to : to - 1;
    }
    return text;
}

// The template literals a file hands to its call.
std::vector<std::string> LiteralsOf(const std::string& file)
{
    std::vector<std::string> literals;
    const std::regex literal(R"(`((?:[^`\\]|\\[\s\S])*)`)");
    for (auto it = std::sregex_iterator(file.begin(), file.end(), literal); it != std::sregex_iterator(); ++it)
        literals.push_back(Unescaped((*it)[1].str()));
    return literals;
}

// The parts a data file hands over, by their numbers.
std::map<std::string, std::string> PartsOf(const std::string& file)
{
    std::map<std::string, std::string> parts;
    const std::regex call(R"(stambrixZoek\.deel\((\d+), `((?:[^`\\]|\\[\s\S])*)`\);\n)");
    for (auto it = std::sregex_iterator(file.begin(), file.end(), call); it != std::sregex_iterator(); ++it)
        parts[(*it)[1].str()] = Unescaped((*it)[2].str());
    return parts;
}

WrittenData Read(const MemoryFiles& files)
{
    WrittenData data;
    const std::vector<std::string> manifest = LiteralsOf(files.files.at(std::string(kSearchManifest)));
    data.pages = Split(manifest.at(0), '\n');
    // The script loads the file a start names and takes the part it names from what that file hands over.
    std::map<std::string, std::map<std::string, std::string>> partsOfFiles;
    for (const auto& [name, bytes] : files.files)
        if (name != kSearchManifest)
            partsOfFiles[name] = PartsOf(bytes);
    data.dataFiles = partsOfFiles.size();
    for (const std::string& line : Split(manifest.at(1), '\n')) {
        const std::vector<std::string> fields = Split(line, '\t');
        data.starts[fields.at(0)] = {std::stoul(fields.at(1)), fields.at(3), fields.at(4) == "h"};
        if (fields.at(2) == "0")
            continue;
        const std::string& lines = partsOfFiles.at("zoek-" + fields.at(2) + ".js").at(fields.at(3));
        data.lines[fields.at(3)] = lines.empty() ? std::vector<std::string>{} : Split(lines, '\n');
    }
    return data;
}

// The start that answers `word` as the script looks it up: the file with every person of a start
// of the word, or the file of the first persons of the whole word or its longest start. Null when
// there is none.
const Start* StartOf(const WrittenData& data, std::string_view word)
{
    for (std::size_t length = 0;; ++length) {
        const auto found = data.starts.find(std::string(word.substr(0, length)));
        if (found == data.starts.end())
            return nullptr;
        if (found->second.whole || length == word.size() || length == kLongestStart)
            return &found->second;
    }
}

// The search data of an index with a line per name, the record id its number, on two pages that
// take turns; no file passes `fileLimit`.
WrittenData Written(const std::vector<std::string>& names, std::size_t fileLimit = kSearchFileLimit,
                    charsets::TextEncoding encoding = charsets::TextEncoding::Utf8)
{
    index::IndexList list;
    SitePlan plan{{"a.html", "b-2.html"}, {}, std::vector<std::uint8_t>(names.size(), 0)};
    for (std::size_t at = 0; at < names.size(); ++at) {
        list.Add(names[at] + "\t* 01-01-1900\tman\t[@I" + std::to_string(at + 1) + "@]");
        plan.pageOfLine.push_back(static_cast<std::uint32_t>(at % 2));
    }
    plan.longestId = ("I" + std::to_string(names.size())).size();
    MemoryFiles files;
    SearchData search(list, encoding, fileLimit);
    search.Gather();
    search.Write(plan, files);
    files.Publish();
    for (const auto& [name, bytes] : files.files)
        EXPECT_LE(bytes.size(), fileLimit) << name;
    return Read(files);
}

std::vector<std::string> WordsOf(std::string_view name)
{
    std::string words;
    charsets::AppendSearchWords(name, words);
    return words.empty() ? std::vector<std::string>{} : Split(words, ' ');
}

// A name without any letter is in no file: nothing finds it.
TEST(SearchDataFiles, PersonLineHoldsPageIdAndShownName)
{
    const WrittenData data = Written({"Berg, Jan van der", ", Jan", "O`Brien $1\\, J\xC3\xB8rn", "?, -", "Moens, "});
    const Start& all = data.starts.at("");
    EXPECT_EQ(data.starts.size(), 1u) << "one file holds every person";
    EXPECT_TRUE(all.whole);
    EXPECT_EQ(data.pages, (std::vector<std::string>{"a.html", "b-2.html"}));
    EXPECT_EQ(data.lines.at(all.part), (std::vector<std::string>{"0\tI1\tBerg, Jan van der", "1\tI2\tJan",
                                                                 "0\tI3\tO`Brien $1\\, J\xC3\xB8rn", "0\tI5\tMoens"}));
}

TEST(SearchDataFiles, Windows1252NamesAreShownInUtf8)
{
    const WrittenData data = Written({"\xD8ster, J\xF8rn"}, kSearchFileLimit, charsets::TextEncoding::Windows1252);
    EXPECT_EQ(data.lines.at(data.starts.at("").part).at(0), "0\tI1\t\xC3\x98ster, J\xC3\xB8rn");
}

// Names enough for a small limit to share them out several characters deep, more than kShownHits
// of them with one word start, some without any letter, some with two words of one start, and a
// word longer than the longest start shared by more persons than a file holds.
std::vector<std::string> ManyNames()
{
    const std::vector<std::string> families = {"Berg", "Bergman",      "Berkel", "Bakker", "\xC3\x98ster",
                                               "Oost", "\xC5\x81opez", "Lopes",  "?",      ""};
    const std::vector<std::string> given = {"Jan",    "Jannes",      "Janna",       "Pieter",
                                            "Bertus", "Gro\xC3\x9F", "\xC3\x86gir", "-"};
    constexpr std::array<std::string_view, 4> kEndings = {"", " van der", "", " Oudekerkvandermeulenbroekhuizen"};
    std::vector<std::string> names;
    for (std::size_t round = 0; round < 8; ++round)
        for (const std::string& family : families)
            for (const std::string& name : given) {
                std::string line = family;
                line.append(", ").append(name).append(kEndings[round % kEndings.size()]);
                names.push_back(line);
            }
    return names;
}

TEST(SearchDataFiles, EveryPersonIsFoundByEachStartOfEachWordWithinTheLimit)
{
    const std::vector<std::string> names = ManyNames();
    const WrittenData data = Written(names, 6000);
    ASSERT_FALSE(data.starts.at("").whole);
    for (std::size_t person = 0; person < names.size(); ++person)
        for (const std::string& word : WordsOf(names[person]))
            for (std::size_t length = 1; length <= word.size(); ++length) {
                const std::string start = word.substr(0, length);
                const Start* found = StartOf(data, start);
                ASSERT_NE(found, nullptr) << start;
                if (!found->whole)
                    continue; // the next test checks the first persons of a start shared out
                const std::vector<std::string>& lines = data.lines.at(found->part);
                const std::string id = "\tI" + std::to_string(person + 1) + "\t";
                EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                        [&](const auto& line) { return line.find(id) != std::string::npos; }))
                    << names[person] << " under " << start;
            }
}

// Room for the first kShownHits persons of each start; where there is none, the limit on every
// file (Written) keeps the first persons fewer.
TEST(SearchDataFiles, StartSharedOutHasItsFirstPersonsInIndexOrderAndItsCount)
{
    const std::vector<std::string> names = ManyNames();
    const WrittenData data = Written(names, 12000);
    for (const auto& [text, found] : data.starts) {
        const std::string& start = text;
        if (found.whole || start.empty())
            continue;
        std::vector<std::string> persons;
        for (std::size_t person = 0; person < names.size(); ++person) {
            const std::vector<std::string> words = WordsOf(names[person]);
            if (std::any_of(words.begin(), words.end(), [&](const auto& word) { return word.starts_with(start); }))
                persons.push_back("I" + std::to_string(person + 1));
        }
        EXPECT_EQ(found.persons, persons.size()) << start;
        persons.resize(std::min(persons.size(), kShownHits));
        std::vector<std::string> first;
        for (const std::string& line : data.lines.at(found.part))
            first.push_back(Split(line, '\t').at(1));
        EXPECT_EQ(first, persons) << start;
    }
}

// The script leaves a-z, 0-9 and the space as they are without looking them up.
// More persons of one name than a file takes: each start of it has its first persons only, and
// those small parts share files (Read finds each in the file the manifest names).
TEST(SearchDataFiles, SmallPartsOfFirstPersonsShareFiles)
{
    const WrittenData data = Written(std::vector<std::string>(1000, "Jansen, Jan"), 10000);
    ASSERT_FALSE(data.starts.at("jansen").whole);
    EXPECT_LT(data.dataFiles, data.lines.size());
    EXPECT_EQ(data.lines.at(data.starts.at("jansen").part).size(), kShownHits);
}

TEST(WriteSearchScript, FoldsWithTheTableOfTheSearchData)
{
    MemoryFiles files;
    WriteSearchScript(files);
    files.Publish();
    const std::string& script = files.files.at("stambrix.js");
    EXPECT_NE(script.find("const kShown = " + std::to_string(kShownHits) + ";"), std::string::npos);
    std::map<char32_t, std::string> written;
    const std::regex entry(R"re((\d+): "((?:[^"\\]|\\.)*)")re");
    for (auto it = std::sregex_iterator(script.begin(), script.end(), entry); it != std::sregex_iterator(); ++it)
        written[static_cast<char32_t>(std::stoul((*it)[1].str()))] = Unescaped((*it)[2].str());
    std::map<char32_t, std::string> table;
    for (const charsets::SearchFolding& folding : charsets::SearchFoldingTable()) {
        table[folding.character] = std::string(folding.folded);
        const char32_t character = folding.character;
        EXPECT_FALSE(character == ' ' || (character >= 'a' && character <= 'z') ||
                     (character >= '0' && character <= '9'))
            << static_cast<std::uint32_t>(character);
    }
    EXPECT_EQ(written, table);
}

} // namespace
} // namespace stambrix::output
