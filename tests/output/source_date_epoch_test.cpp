#include "output/html_pages.h"
#include "output/source_date_epoch.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace stambrix::output {
namespace {

// Only a whole number of seconds up to the last second of the year 9999 is a moment; anything else
// would give a footer date of more than four digits or none at all.
TEST(SourceDateEpoch, IsAMomentFromZeroToTheYear9999Only)
{
    EXPECT_EQ(SourceDateEpochMoment("0"), std::time_t{0});
    EXPECT_EQ(SourceDateEpochMoment("253402300799"), std::time_t{253402300799});
    for (const char* refused :
         {"253402300800", "99999999999999", "-1", "+5", "1e9", "17 ", "", "12a", "999999999999999999999999"})
        EXPECT_EQ(SourceDateEpochMoment(refused), std::nullopt) << refused;

    setenv("SOURCE_DATE_EPOCH", "253402300799", 1);
    EXPECT_EQ(FooterDate(), "31-12-9999");
    unsetenv("SOURCE_DATE_EPOCH");
}

} // namespace
} // namespace stambrix::output
