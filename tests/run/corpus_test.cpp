#include "names/prefix_table.h"
#include "run/run_choices.h"
#include "run/run_index.h"
#include "run/run_request.h"
#include "run/write_index.h"
#include "test_support/file_bytes.h"
#include "test_support/recording_progress.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

// Real GEDCOM files written by other programs: every file is indexed for every event kind, and a
// name index has one line per person record.
namespace stambrix::run {
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

// The text in which person records are counted: a UTF-16 file, with or without a byte-order mark,
// decoded (characters outside ASCII become "?", which is all counting needs), cut at the first
// byte 26.
std::string CountableText(const std::string& bytes)
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
        run::RunRequest request;
        request.gedcomPath = gedcom_.string();
        request.choices.eventKind = eventKind;
        request.choices.recordGroup = eventKind == EventKind::Plaatsen ? RecordGroup::Beiden : RecordGroup::Personen;
        request.prefixes = names::DefaultPrefixes();
        test_support::RecordingProgress progress;
        test_support::RecordingMessages messages;
        const fs::path index = folder_->path() / "Stambrix" / run::FactsOf(eventKind).textFileName;
        run::RunOutcome outcome{};
        try {
            outcome = run::RunIndex(request, progress, messages);
        } catch (const std::exception& e) {
            ADD_FAILURE() << kindName << ": " << e.what();
            return std::nullopt;
        }
        if (outcome != run::RunOutcome::Written) {
            EXPECT_EQ(outcome, run::RunOutcome::NothingFound) << kindName;
            EXPECT_EQ(messages.messages, std::vector<std::string>{"Er zijn geen items gevonden."}) << kindName;
            EXPECT_FALSE(fs::exists(index)) << kindName;
            return std::nullopt;
        }
        EXPECT_TRUE(messages.messages.empty()) << kindName;
        std::string bytes = test_support::ReadBytes(index);
        const std::size_t lines = CountOf(bytes, "\r\n");
        EXPECT_TRUE(bytes.ends_with("\r\n")) << kindName;
        EXPECT_EQ(CountOf(bytes, "\n"), lines) << kindName << ": a line end inside an index line";
        EXPECT_EQ(CountOf(bytes, "\r"), lines) << kindName << ": a line end inside an index line";
        EXPECT_EQ(test_support::LastOf(progress.written), lines) << kindName;
        if (eventKind == EventKind::Naam) {
            EXPECT_EQ(test_support::LastOf(progress.read), lines) << kindName;
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

    // An HTML page saved under a GEDCOM name has no person record and gives no index.
    const std::size_t persons = PersonRecordsIn(CountableText(test_support::ReadBytes(gedcom_)));
    EXPECT_EQ(nameIndex ? CountOf(*nameIndex, "\r\n") : 0u, persons) << "lines in Namen.txt against person records";

    const std::optional<std::string> again = Run(EventKind::Naam, "naam, second run");
    ASSERT_EQ(nameIndex.has_value(), again.has_value());
    if (nameIndex) {
        EXPECT_TRUE(*nameIndex == *again) << "two name runs give different files";
    }
}

// One run on a copy of a corpus file; the bytes of the file it writes (`written`, inside "Stambrix").
class KnownNames : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!fs::exists(fs::path(STAMBRIX_CORPUS_DIR) / "ANSEL.GED"))
            GTEST_SKIP() << "no GEDCOM corpus here: STAMBRIX_CORPUS_DIR is \"" STAMBRIX_CORPUS_DIR "\"";
    }

    std::string Index(const std::string& file, EventKind eventKind, run::OutputKind outputKind, const char* written,
                      std::string_view charsetLine = {})
    {
        const fs::path gedcom = folder_.path() / file;
        if (!fs::exists(gedcom)) {
            const std::string bytes = test_support::ReadBytes(fs::path(STAMBRIX_CORPUS_DIR) / file);
            std::ofstream(gedcom, std::ios::binary) << ReplacedCharset(bytes, charsetLine);
        }
        run::RunRequest request;
        request.gedcomPath = gedcom.string();
        request.choices.eventKind = eventKind;
        request.choices.recordGroup = RecordGroup::Beiden;
        request.choices.outputKind = outputKind;
        request.prefixes = names::DefaultPrefixes();
        test_support::RecordingProgress progress;
        test_support::RecordingMessages messages;
        EXPECT_EQ(run::RunIndex(request, progress, messages), run::RunOutcome::Written) << file;
        return test_support::ReadBytes(folder_.path() / "Stambrix" / written);
    }

    static std::string ReplacedCharset(std::string bytes, std::string_view charsetLine)
    {
        if (!charsetLine.empty()) {
            const auto at = bytes.find("1 CHAR ");
            bytes.replace(at, bytes.find_first_of("\r\n", at) - at, charsetLine);
        }
        return bytes;
    }

    static bool HasLine(const std::string& index, const std::string& line)
    {
        return index.starts_with(line + "\r\n") || index.find("\r\n" + line + "\r\n") != std::string::npos;
    }

    test_support::TempFolder folder_{"stambrix-known"};
};

TEST_F(KnownNames, AnselFilesGiveUtf8)
{
    const std::string places = Index("ANSEL.GED", EventKind::Plaatsen, run::OutputKind::NaarTekst, "Plaatsen.txt");
    EXPECT_TRUE(HasLine(places, "slash l - uppercase (\u0141), slash o - uppercase (\u00D8), slash d - uppercase "
                                "(\u0110), thorn - uppercase (\u00DE)\t[@CHILD0@]"))
        << places;
    EXPECT_TRUE(HasLine(places, "\u00C4B\u0308C\u0308D\u0308\u00CBF\u0308G\u0308\u1E26\u00CFJ\u0308K\u0308L"
                                "\u0308M\u0308N\u0308\u00D6P\u0308Q\u0308R\u0308S\u0308T\u0308\u00DCV\u0308"
                                "\u1E84\u1E8C\u0178Z\u0308\t[@CHILD12@]"));
    const std::string page = Index("ANSEL.GED", EventKind::Naam, run::OutputKind::Html, "index.htm");
    EXPECT_NE(page.find("charset=utf-8"), std::string::npos);

    const std::string willis = Index("willis-ansel.ged", EventKind::Naam, run::OutputKind::NaarTekst, "Namen.txt");
    EXPECT_TRUE(HasLine(willis, "Willis, Abagail M.\t* 10-05-1889\tvrouw\t[@I1203@]")) << willis.substr(0, 2000);
}

// royal92.ged declares ANSEL but holds nothing beyond ASCII: every output is what it was when
// such a file was read as windows-1252.
TEST_F(KnownNames, AsciiAnselFileGivesWhatWindows1252Gives)
{
    for (const run::OutputKind kind : {run::OutputKind::NaarTekst, run::OutputKind::Html}) {
        const char* written = kind == run::OutputKind::Html ? "index.htm" : "Namen.txt";
        const std::string ansel = Index("royal92.ged", EventKind::Naam, kind, written);
        fs::remove(folder_.path() / "royal92.ged");
        const std::string windows = Index("royal92.ged", EventKind::Naam, kind, written, "1 CHAR ANSI");
        fs::remove(folder_.path() / "royal92.ged");
        EXPECT_TRUE(ansel == windows) << written;
        EXPECT_GT(ansel.size(), 100000u);
    }
}

// presidents.ged declares IBMPC: code page 437 is converted, and its one byte beyond ASCII (in a
// note) makes the index UTF-8. Hawaiian+Kings.ged declares it too but holds nothing beyond ASCII.
TEST_F(KnownNames, IbmpcFilesGiveUtf8)
{
    EXPECT_NE(Index("presidents.ged", EventKind::Naam, run::OutputKind::Html, "index.htm").find("charset=utf-8"),
              std::string::npos);
    EXPECT_NE(
        Index("Hawaiian+Kings.ged", EventKind::Naam, run::OutputKind::Html, "index.htm").find("charset=windows-1252"),
        std::string::npos);
}

TEST_F(KnownNames, Utf16FilesGiveUtf8)
{
    const std::string places =
        Index("unicode-littleendian-crlf.ged", EventKind::Plaatsen, run::OutputKind::NaarTekst, "Plaatsen.txt");
    EXPECT_TRUE(HasLine(places, "\u0410\u0411\u0412\u0413\u0414\u0415\u0416\u0417\u0418\u0419\u041A\u041B"
                                "\u041C\u041D\u041E\u041F\u0420\u0421\u0422\u0423\u0424\u0425\u0426\u0427"
                                "\u0428\u0429\u042A\u042B\u042C\u042D\u042E\u042F\t[@FATHER@]"));
    // The same tree as UTF-16 in both byte orders, as ANSEL and as UTF-8 gives the same name index.
    const std::string utf8 = Index("willis.ged", EventKind::Naam, run::OutputKind::NaarTekst, "Namen.txt");
    EXPECT_TRUE(utf8 ==
                Index("willis-unicode-bigendian.ged", EventKind::Naam, run::OutputKind::NaarTekst, "Namen.txt"));
    EXPECT_TRUE(utf8 ==
                Index("willis-unicode-littleendian.ged", EventKind::Naam, run::OutputKind::NaarTekst, "Namen.txt"));
    EXPECT_TRUE(utf8 == Index("willis-ansel.ged", EventKind::Naam, run::OutputKind::NaarTekst, "Namen.txt"));
    const std::string page = Index("555SAMPLE16BE.GED", EventKind::Naam, run::OutputKind::Html, "index.htm");
    EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
    EXPECT_NE(page.find(">Williams<"), std::string::npos);
    EXPECT_NE(page.find(">Robert Eugene, "), std::string::npos);
}

TEST_F(KnownNames, Utf8FilesKeepTheirCharacters)
{
    EXPECT_TRUE(HasLine(Index("paf-tbinder-german.ged", EventKind::Naam, run::OutputKind::NaarTekst, "Namen.txt"),
                        "B\u00F6cklin, Juliana\t* 21-11-1820\tvrouw\t[@I34@]"));
    EXPECT_TRUE(HasLine(Index("bourbon.ged", EventKind::Naam, run::OutputKind::NaarTekst, "Namen.txt"),
                        "AUBIGN\u00C9, Fran\u00E7oise d'\t* 27-11-1635\tvrouw\t[@I7@]"));
    EXPECT_TRUE(HasLine(Index("utf8_cr_nobom.ged", EventKind::Naam, run::OutputKind::NaarTekst, "Namen.txt"),
                        "Gro\u00DFmann, Betsy\t\t\t[@I4@]"));
    // No character set declared, and the bytes read as UTF-8: the pages say so.
    const std::string page = Index("input.ged", EventKind::Naam, run::OutputKind::Html, "index.htm");
    EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
    EXPECT_NE(page.find("C\u00E9line, vrouw"), std::string::npos);
    // A windows-1252 file stays windows-1252, in the index and in what the pages declare.
    EXPECT_TRUE(HasLine(Index("Norse+Gods.ged", EventKind::Naam, run::OutputKind::NaarTekst, "Namen.txt"),
                        "Au\xF0umbla, \t\tvrouw\t[@I00053@]"));
    EXPECT_NE(Index("Norse+Gods.ged", EventKind::Naam, run::OutputKind::Html, "index.htm").find("charset=windows-1252"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Files, Corpus, ::testing::ValuesIn(CorpusFiles()),
                         [](const ::testing::TestParamInfo<CorpusFile>& param) { return param.param.testName; });

} // namespace
} // namespace stambrix::run
