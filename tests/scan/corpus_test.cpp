#include "names/prefix_table.h"
#include "scan/run_index.h"
#include "test_support/recording_panels.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

// Real GEDCOM files written by other programs: every file is indexed for every event kind, and a
// name index has one line per person record.
namespace stambrix::scan {
namespace {

namespace fs = std::filesystem;

struct CorpusFile
{
    fs::path path; ///< empty: there is no corpus on this machine
    std::string testName;
};

void PrintTo(const CorpusFile& file, std::ostream* out)
{
    *out << file.path;
}

bool IsGedcomName(const fs::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return extension == ".ged";
}

// The test name of a file: its name with every character but letters and digits as "_".
std::string TestNameOf(const fs::path& path)
{
    std::string name = path.filename().string();
    for (char& c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            c = '_';
    return name;
}

std::vector<CorpusFile> CorpusFiles()
{
    const fs::path folder = STAMBRIX_CORPUS_DIR;
    std::vector<CorpusFile> files;
    std::error_code error;
    if (!folder.empty() && fs::is_directory(folder, error)) {
        for (const auto& entry : fs::directory_iterator(folder, error))
            if (entry.is_regular_file() && IsGedcomName(entry.path()))
                files.push_back({entry.path(), TestNameOf(entry.path())});
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
    std::set<std::string> taken;
    for (CorpusFile& file : files)
        while (!taken.insert(file.testName).second)
            file.testName += "_";
    if (files.empty())
        files.push_back({{}, "NoCorpus"});
    return files;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The text in which person records are counted: a UTF-16 file, with or without a byte-order mark,
// decoded (characters outside ASCII become "?", which is all counting needs), cut at the first
// byte 26. Nothing for an HTML page saved under a GEDCOM name, whose reading comes later.
std::optional<std::string> CountableText(const std::string& bytes)
{
    const bool markless = !bytes.starts_with("\xFF\xFE") && !bytes.starts_with("\xFE\xFF") && bytes.size() >= 2;
    const bool littleEndian = bytes.starts_with("\xFF\xFE") || (markless && bytes[0] != '\0' && bytes[1] == '\0');
    const bool bigEndian = bytes.starts_with("\xFE\xFF") || (markless && bytes[0] == '\0' && bytes[1] != '\0');
    std::string text;
    if (littleEndian || bigEndian) {
        for (std::size_t i = markless ? 0 : 2; i + 1 < bytes.size(); i += 2) {
            const unsigned first = static_cast<unsigned char>(bytes[i]);
            const unsigned second = static_cast<unsigned char>(bytes[i + 1]);
            const unsigned unit = bigEndian ? first << 8 | second : second << 8 | first;
            text.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
        }
    } else {
        const auto firstVisible = bytes.find_first_not_of(" \t\r\n");
        if (firstVisible != std::string::npos && bytes[firstVisible] == '<')
            return std::nullopt;
        text = bytes;
    }
    return text.substr(0, text.find('\x1A'));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// A person record begins at a line «0 @X@ INDI» or «0 INDI» (any case, blanks and control
// characters around the line ignored); every line end (CR or LF) separates lines.
std::size_t PersonRecordsIn(std::string_view text)
{
    std::size_t count = 0;
    while (!text.empty()) {
        const auto end = std::min(text.find_first_of("\r\n"), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));

        while (!line.empty() && static_cast<unsigned char>(line.front()) <= 32)
            line.remove_prefix(1);
        while (!line.empty() && static_cast<unsigned char>(line.back()) <= 32)
            line.remove_suffix(1);
        if (!line.starts_with("0 "))
            continue;
        line.remove_prefix(2);
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        if (line.starts_with('@')) {
            const auto closing = line.find('@', 1);
            if (closing == std::string_view::npos)
                continue;
            line.remove_prefix(closing + 1);
            line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        }
        if (EqualsIgnoringCase(line.substr(0, line.find_first_of(" \t")), "INDI"))
            ++count;
    }
    return count;
}

std::size_t CountOf(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

class Corpus : public ::testing::TestWithParam<CorpusFile>
{
protected:
    void SetUp() override
    {
        if (GetParam().path.empty())
            GTEST_SKIP() << "no GEDCOM corpus here: STAMBRIX_CORPUS_DIR (\"" STAMBRIX_CORPUS_DIR
                            "\") is empty, missing or holds no .ged file";
        folder_.emplace("stambrix-corpus");
        gedcom_ = folder_->path() / GetParam().path.filename();
        fs::copy_file(GetParam().path, gedcom_);
    }

    // Runs the index of `eventKind`; the index file's bytes, or nothing when none was written.
    std::optional<std::string> Run(EventKind eventKind, const char* kindName)
    {
        RunRequest request;
        request.gedcomPath = gedcom_.string();
        request.eventKind = eventKind;
        request.recordGroup = eventKind == EventKind::Plaatsen ? RecordGroup::Beiden : RecordGroup::Personen;
        request.prefixes = names::DefaultPrefixes();
        test_support::RecordingPanels panels;
        test_support::RecordingMessages messages;
        const fs::path index = folder_->path() / "Stambrix" / IndexFileNameOf(eventKind);
        RunOutcome outcome{};
        try {
            outcome = RunIndex(request, panels, messages);
        } catch (const std::exception& e) {
            ADD_FAILURE() << kindName << ": " << e.what();
            return std::nullopt;
        }
        if (outcome != RunOutcome::Written) {
            EXPECT_EQ(outcome, RunOutcome::NothingFound) << kindName;
            EXPECT_EQ(messages.messages, std::vector<std::string>{"Er zijn geen items gevonden."}) << kindName;
            EXPECT_FALSE(fs::exists(index)) << kindName;
            return std::nullopt;
        }
        EXPECT_TRUE(messages.messages.empty()) << kindName;
        std::string bytes = ReadFile(index);
        const std::size_t lines = CountOf(bytes, "\r\n");
        EXPECT_TRUE(bytes.ends_with("\r\n")) << kindName;
        EXPECT_EQ(CountOf(bytes, "\n"), lines) << kindName << ": a line end inside an index line";
        EXPECT_EQ(CountOf(bytes, "\r"), lines) << kindName << ": a line end inside an index line";
        EXPECT_EQ(test_support::LastOf(panels.written), "geschreven : " + std::to_string(lines)) << kindName;
        if (eventKind == EventKind::Naam) {
            EXPECT_EQ(test_support::LastOf(panels.read), "gelezen : " + std::to_string(lines)) << kindName;
        }
        return bytes;
    }

    std::optional<test_support::TempFolder> folder_; ///< none when the test is skipped
    fs::path gedcom_;
};

TEST_P(Corpus, IndexesEveryEventKindWithOneNameLinePerPersonRecord)
{
    const std::optional<std::string> nameIndex = Run(EventKind::Naam, "naam");
    Run(EventKind::Beroepen, "beroepen");
    Run(EventKind::Plaatsen, "plaatsen (beiden)");

    if (const auto text = CountableText(ReadFile(gedcom_))) {
        const std::size_t persons = PersonRecordsIn(*text);
        EXPECT_EQ(nameIndex ? CountOf(*nameIndex, "\r\n") : 0u, persons) << "lines in Namen.txt against person records";
    }

    const std::optional<std::string> again = Run(EventKind::Naam, "naam, second run");
    ASSERT_EQ(nameIndex.has_value(), again.has_value());
    if (nameIndex) {
        EXPECT_TRUE(*nameIndex == *again) << "two name runs give different files";
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Corpus, ::testing::ValuesIn(CorpusFiles()),
                         [](const ::testing::TestParamInfo<CorpusFile>& param) { return param.param.testName; });

} // namespace
} // namespace stambrix::scan
