#include "run/prefix_file_places.h"

#include "test_support/file_bytes.h"
#include "test_support/temp_folder.h"
#include "text/run_failure.h"

#include <gtest/gtest.h>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
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

// Whether `check` holds for a user whom permission bits stop: this process when it does not run as
// root, else a child that has become "nobody" (65534).
bool HoldsForAnUnprivilegedUser(const std::function<bool()>& check)
{
    if (geteuid() != 0)
        return check();
    constexpr uid_t kNobody = 65534;
    const pid_t child = fork();
    if (child == 0)
        _exit(setgid(kNobody) == 0 && setuid(kNobody) == 0 && check() ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A user whose HOME lies under a folder he may not search (a run with "sudo -u" under /root) has
// no list of his own there; the next place is taken.
TEST_F(LoadPrefixTableFromPlaces, PlaceBehindAFolderThatMayNotBeSearchedIsPassedOver)
{
    Write(1, "van\n");
    Write(2, "ten\n");
    fs::permissions(folder_.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(Place(1).parent_path(), fs::perms::none);

    EXPECT_TRUE(HoldsForAnUnprivilegedUser([this] {
        try {
            return LoadPrefixTable(Places{Place(1), Place(2)}).Entries() == std::vector<std::string>{"ten "};
        } catch (const stambrix::text::RunFailure&) {
            return false;
        }
    }));
}

} // namespace
