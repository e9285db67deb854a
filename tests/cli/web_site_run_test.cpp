#include "test_support/cli_run.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// stambrix-cli --uitvoer web: the site goes into Stambrix/web, and a run that cannot write it
// says why and leaves what was there.
namespace stambrix {
namespace {

namespace fs = std::filesystem;
using test_support::RunCommandLine;

constexpr std::string_view kTree = "0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME Jan /Berg/\n1 SEX M\n0 TRLR\n";

TEST(WebSiteRun, WritesTheSiteIntoItsOwnFolderAndNothingBesideIt)
{
    const test_support::TempFolder work("stambrix-web");
    test_support::WriteBytes(work.path() / "boom.ged", kTree);
    const auto result = RunCommandLine({"-q", "--uitvoer", "web", (work.path() / "boom.ged").string()}, work.path());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(test_support::EntriesOf(work.path() / "Stambrix"), (std::set<std::string>{"web"}));
    const auto site = test_support::ContentsOf(work.path() / "Stambrix" / "web");
    EXPECT_TRUE(site.contains("index.html") && site.contains("b.html") && site.contains("stambrix.css"));
}

// The site takes the run's choices as the other kinds do: the prefix list splits the family name,
// a person left out leaves nothing in any file, and SOURCE_DATE_EPOCH makes two runs the same.
TEST(WebSiteRun, TakesThePrefixListTheLivingOptionAndTheDateOfTheRun)
{
    const test_support::TempFolder work("stambrix-web");
    const fs::path gedcom = work.path() / "boom.ged";
    test_support::WriteBytes(gedcom, "0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME Jan /zum Berge/\n1 BIRT\n2 DATE 1850\n"
                                     "0 @I2@ INDI\n1 NAME Levende /Jansen/\n1 BIRT\n2 DATE 2015\n0 TRLR\n");
    test_support::WriteBytes(work.path() / "eigen.txt", "zum\r\n");
    setenv("SOURCE_DATE_EPOCH", "1750000000", 1);
    const std::vector<std::string> args{
        "-q",           "--uitvoer", "web", "--zonder-levenden", "--voorzetsels", (work.path() / "eigen.txt").string(),
        gedcom.string()};
    const auto first = RunCommandLine(args, work.path());
    const auto site = test_support::ContentsOf(work.path() / "Stambrix" / "web");
    const auto second = RunCommandLine(args, work.path());
    unsetenv("SOURCE_DATE_EPOCH");

    ASSERT_EQ(first.exitCode, 0) << first.err;
    ASSERT_EQ(second.exitCode, 0) << second.err;
    ASSERT_TRUE(site.contains("b.html"));
    EXPECT_NE(site.at("b.html").find(">Berge</h2>"), std::string::npos) << site.at("b.html");
    EXPECT_NE(site.at("b.html").find("Jan zum,"), std::string::npos) << site.at("b.html");
    for (const auto& [name, bytes] : site)
        EXPECT_TRUE(bytes.find("Jansen") == std::string::npos && bytes.find("Levende") == std::string::npos &&
                    bytes.find("I2") == std::string::npos)
            << name << " holds something of the person left out";
    EXPECT_NE(site.at("index.html").find("laatst bijgewerkt : 15-06-2025"), std::string::npos);
    EXPECT_EQ(test_support::ContentsOf(work.path() / "Stambrix" / "web"), site) << "a second run gives other bytes";
}

TEST(WebSiteRun, InFramesIsRefusedAndTheEarlierSiteStays)
{
    const test_support::TempFolder work("stambrix-web");
    test_support::WriteBytes(work.path() / "boom.ged", kTree);
    fs::create_directories(work.path() / "Stambrix" / "web");
    test_support::WriteBytes(work.path() / "Stambrix" / "web" / "index.html", "vorige site");
    const auto result =
        RunCommandLine({"--uitvoer", "web", "--in-frame", (work.path() / "boom.ged").string()}, work.path());
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("--in-frame kan alleen bij"), std::string::npos) << result.err;
    EXPECT_EQ(test_support::ContentsOf(work.path() / "Stambrix" / "web"),
              (test_support::FolderContents{{"index.html", "vorige site"}}));
}

TEST(WebSiteRun, FileInPlaceOfTheSiteFolderIsNamedAndKept)
{
    const test_support::TempFolder work("stambrix-web");
    test_support::WriteBytes(work.path() / "boom.ged", kTree);
    fs::create_directories(work.path() / "Stambrix");
    const fs::path inTheWay = work.path() / "Stambrix" / "web";
    test_support::WriteBytes(inTheWay, "geen map");
    const auto result = RunCommandLine({"-q", "--uitvoer", "web", (work.path() / "boom.ged").string()}, work.path());
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("stambrix-cli: " + inTheWay.string() + ": "), std::string::npos) << result.err;
    EXPECT_EQ(test_support::ReadBytes(inTheWay), "geen map");
    EXPECT_EQ(test_support::EntriesOf(work.path() / "Stambrix"), (std::set<std::string>{"web"}));
}

} // namespace
} // namespace stambrix
