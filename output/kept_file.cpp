#include "output/kept_file.h"

#include "output/temporary_files.h"
#include "text/run_failure.h"
#include "text/system_path.h"

#include <cerrno>
#include <cstdio>
#include <utility>

#include <unistd.h>

namespace stambrix::output {

namespace {
// Gives `place` a second, registered temporary name by `name`(from, to) (rename or link); the error
// number when it failed.
template <typename Name>
int NameAside(const std::filesystem::path& place, Name name, std::filesystem::path& temporary, std::size_t& slot)
{
    return MakeTemporaryFile(
        place,
        [&](const std::filesystem::path& aside) {
            // rename() would replace a file of that name, link() refuses it: only a free name is taken.
            if (access(aside.c_str(), F_OK) == 0)
                return EEXIST;
            return name(place.c_str(), aside.c_str()) == 0 ? 0 : errno;
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
    if (const int failure = NameAside(
            place, [](const char* from, const char* to) { return std::rename(from, to); }, kept.temporary_,
            kept.slot_)) {
        kept.temporary_.clear();
        throw text::RunFailureFromErrno(text::Utf8Of(place), failure);
    }
    return kept;
}

KeptFile KeptFile::LinkTo(const std::filesystem::path& place)
{
    KeptFile kept;
    if (NameAside(
            place, [](const char* from, const char* to) { return link(from, to); }, kept.temporary_, kept.slot_) != 0)
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
    const int failure = std::rename(temporary_.c_str(), place.c_str()) == 0 ? 0 : errno;
    Release();
    return failure;
}

void KeptFile::Drop() noexcept
{
    if (!Holds())
        return;
    unlink(temporary_.c_str());
    Release();
}

void KeptFile::Release() noexcept
{
    UnregisterTemporaryFile(slot_);
    temporary_.clear();
}

} // namespace stambrix::output
