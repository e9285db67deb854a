#include "run/prefix_file_places.h"

#include "test_support/file_bytes.h"
#include "test_support/temp_folder.h"
#include "text/run_failure.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using stambrix::names::DefaultPrefixes;
using stambrix::names::kPrefixFileName;
using stambrix::run::LoadPrefixTable;
using stambrix::run::PrefixFilePlaces;
using stambrix::run::SystemPrefixFolder;
using Places = std::vector<fs::path>;

// Sets an environment variable for the length of a test and puts back what was there.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(PrefixFilePlaces, BesideTheProgramThenTheUsersConfigurationThenTheSystems)
{
    const fs::path system = SystemPrefixFolder() / kPrefixFileName;
    {
        const ScopedVariable config("XDG_CONFIG_HOME", "/srv/instellingen");
        const ScopedVariable home("HOME", "/home/an");
        EXPECT_EQ(PrefixFilePlaces("/opt/stambrix"),
                  (Places{"/opt/stambrix/Voorzetsels.txt", "/srv/instellingen/stambrix/Voorzetsels.txt", system}));
    }
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "instellingen"}) {
        const ScopedVariable config("XDG_CONFIG_HOME", unusable);
        const ScopedVariable home("HOME", "/home/an");
        EXPECT_EQ(PrefixFilePlaces("/opt/stambrix"),
                  (Places{"/opt/stambrix/Voorzetsels.txt", "/home/an/.config/stambrix/Voorzetsels.txt", system}))
            << (unusable == nullptr ? "unset" : unusable);
    }
    const ScopedVariable config("XDG_CONFIG_HOME", nullptr);
    const ScopedVariable home("HOME", nullptr);
    EXPECT_EQ(PrefixFilePlaces("/opt/stambrix"), (Places{"/opt/stambrix/Voorzetsels.txt", system}));
}

class LoadPrefixTableFromPlaces : public testing::Test
{
protected:
    fs::path Place(int number) const { return folder_.path() / std::to_string(number) / kPrefixFileName; }

    void Write(int number, std::string_view text) const
    {
        fs::create_directories(Place(number).parent_path());
        stambrix::test_support::WriteBytes(Place(number), text);
    }

    Places AllThree() const { return {Place(1), Place(2), Place(3)}; }

    stambrix::test_support::TempFolder folder_{"stambrix-prefix-places"};
};

TEST_F(LoadPrefixTableFromPlaces, TakesTheFirstListThereIs)
{
    EXPECT_EQ(LoadPrefixTable(AllThree()).Entries(), DefaultPrefixes().Entries());
    Write(3, "ten\n");
    EXPECT_EQ(LoadPrefixTable(AllThree()).Entries(), std::vector<std::string>{"ten "});
    Write(2, "; leeg, dus geen voorvoegsels\n");
    EXPECT_TRUE(LoadPrefixTable(AllThree()).Entries().empty());
    Write(1, "van der\nvan\n");
    EXPECT_EQ(LoadPrefixTable(AllThree()).Entries(), (std::vector<std::string>{"van der ", "van "}));
}

TEST_F(LoadPrefixTableFromPlaces, ListThatCannotBeReadIsReportedNotPassedOver)
{
    Write(3, "ten\n");
    fs::create_directories(Place(2));
    try {
        (void)LoadPrefixTable(AllThree());
        FAIL() << "a folder in the place of the user's list was passed over";
    } catch (const stambrix::text::RunFailure& error) {
        EXPECT_EQ(error.path(), Place(2).string());
    }
}

} // namespace
