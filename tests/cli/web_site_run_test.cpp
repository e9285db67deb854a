#include "test_support/cli_run.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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
