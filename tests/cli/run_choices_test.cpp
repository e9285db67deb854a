#include "run/run_choices.h"

#include "test_support/cli_run.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace {

using stambrix::run::ConflictIn;
using stambrix::run::FactsOf;
using stambrix::run::RunChoices;

// stambrix-cli takes every combination of choices the run's table allows and refuses every other.
TEST(CliChoices, RefuseExactlyWhatTheTableRefuses)
{
    const stambrix::test_support::TempFolder work("stambrix-choices");
    const auto gedcom = work.path() / "boom.ged";
    stambrix::test_support::WriteBytes(gedcom, "0 HEAD\n0 @I1@ INDI\n1 NAME Jan /Berg/\n1 OCCU bakker\n1 BIRT\n"
                                               "2 PLAC Delft\n0 @F1@ FAM\n1 MARR\n2 PLAC Gouda\n0 TRLR\n");
    std::size_t allowed = 0;
    stambrix::run::ForEachCombination([&](const RunChoices& choices) {
        std::vector<std::string> args{"-q",
                                      "--event",
                                      std::string(FactsOf(choices.eventKind).word),
                                      "--groep",
                                      std::string(FactsOf(choices.recordGroup).word),
                                      "--uitvoer",
                                      std::string(FactsOf(choices.outputKind).word)};
        if (choices.inFrame)
            args.emplace_back("--in-frame");
        args.push_back(gedcom.string());

        const auto result = stambrix::test_support::RunCommandLine(args, work.path());

        const bool refused = ConflictIn(choices).has_value();
        allowed += refused ? 0 : 1;
        EXPECT_EQ(result.exitCode, refused ? 2 : 0) << testing::PrintToString(args) << '\n' << result.err;
    });
    EXPECT_EQ(allowed, stambrix::run::kAllowedChoices.size());
}

} // namespace
