#include "output/kept_file.h"

#include "output/system_files.h"
#include "output/temporary_files.h"
#include "text/run_failure.h"
#include "text/system_path.h"

#include <cerrno>
#include <utility>

namespace stambrix::output {

namespace {
// Gives `place` a second, registered temporary name by `name`(from, to) (a rename or a second name);
// the error number when it failed.
template <typename Name>
int NameAside(const std::filesystem::path& place, Name name, std::filesystem::path& temporary, std::size_t& slot)
{
    return MakeTemporaryFile(
        place,
        [&](const std::filesystem::path& aside) {
            // A rename would replace a file of that name, a second name refuses it: only a free name is
            // taken.
            if (EntryKindOf(aside) != EntryKind::None)
                return EEXIST;
            return name(place, aside);
        },
        temporary, slot);
}
} // namespace

KeptFile::KeptFile(KeptFile&& other) noexcept : temporary_(std::exchange(other.temporary_, {})), slot_(other.slot_) {}

KeptFile& KeptFile::operator=(KeptFile&& other) noexcept
{
    temporary_ = std::exchange(other.temporary_, {});
    slot_ = other.slot_;
    return *this;
}

KeptFile KeptFile::MoveAside(const std::filesystem::path& place)
{
    KeptFile kept;
    if (const int failure = NameAside(place, RenameOver, kept.temporary_, kept.slot_)) {
        kept.temporary_.clear();
        throw text::RunFailureFromErrno(text::Utf8Of(place), failure);
    }
    return kept;
}

KeptFile KeptFile::LinkTo(const std::filesystem::path& place)
{
    KeptFile kept;
    if (NameAside(place, AddName, kept.temporary_, kept.slot_) != 0)
        kept.temporary_.clear();
    return kept;
}

KeptFile KeptFile::Adopt(std::filesystem::path temporary, std::size_t slot)
{
    KeptFile kept;
    kept.temporary_ = std::move(temporary);
    kept.slot_ = slot;
    return kept;
}

int KeptFile::PutBack(const std::filesystem::path& place) noexcept
{
    if (!Holds())
        return 0;
    const int failure = RenameOver(temporary_, place);
    Release();
    return failure;
}

void KeptFile::Drop() noexcept
{
    if (!Holds())
        return;
    RemoveFile(temporary_);
    Release();
}

void KeptFile::Release() noexcept
{
    UnregisterTemporaryFile(slot_);
    temporary_.clear();
}

} // namespace stambrix::output
