#include "output/atomic_file.h"

#include "output/replaceable_target.h"
#include "output/temporary_files.h"
#include "text/run_failure.h"
#include "text/system_path.h"

#include <cerrno>
#include <utility>

namespace stambrix::output {

namespace {
constexpr std::size_t kWriteBlockSize = 1 << 20;
} // namespace

AtomicFile::AtomicFile(const std::filesystem::path& target) : target_(target)
{
    CheckReplaceable(target_);
    // Only a regular file hands on its permissions: whoever planted a symbolic link would otherwise
    // choose the owner and bits of the new file.
    const std::optional<Permissions> replaced =
        EntryKindOf(target_) == EntryKind::File ? PermissionsOf(target_) : std::nullopt;
    // Reserved first: once the temporary file exists, nothing in here may throw past it.
    buffer_.reserve(kWriteBlockSize);
    const int failure = MakeTemporaryFile(
        target_, [&](const std::filesystem::path& temporary) { return CreateNewFile(temporary, replaced, file_); },
        temporary_, slot_);
    if (failure != 0)
        throw text::RunFailureFromErrno(text::Utf8Of(target_), failure);
}

AtomicFile::~AtomicFile()
{
    if (file_ != kNoFile)
        CloseFile(file_);
    if (stage_ == Stage::Placed)
        Undo();
    if (stage_ == Stage::Writing) {
        RemoveFile(temporary_);
        UnregisterTemporaryFile(slot_);
    }
}

void AtomicFile::Write(std::string_view bytes)
{
    if (buffer_.size() + bytes.size() > kWriteBlockSize)
        Flush();
    buffer_.append(bytes);
}

void AtomicFile::Flush()
{
    const int failure = WriteAll(file_, buffer_);
    buffer_.clear();
    if (failure != 0)
        throw text::RunFailureFromErrno(text::Utf8Of(target_), failure);
}

void AtomicFile::Complete()
{
    Flush();
    // A completed file waits for the rest of its set: it keeps no write buffer meanwhile.
    std::string().swap(buffer_);
    // The disk takes the bytes while the next file is written; MakeDurable waits for them.
    StartWriteBack(file_);
}

void AtomicFile::MakeDurable()
{
    if (file_ == kNoFile)
        return;
    if (const int failure = SyncFile(file_))
        throw text::RunFailureFromErrno(text::Utf8Of(target_), failure);
    const int closed = CloseFile(std::exchange(file_, kNoFile));
    if (closed != 0)
        throw text::RunFailureFromErrno(text::Utf8Of(target_), closed);
}

void AtomicFile::Publish()
{
    PutInPlace();
    Keep();
}

void AtomicFile::PutInPlace()
{
    MakeDurable();
    // The two names trade places: the target shows the new file at once, and the temporary name
    // holds the earlier one.
    const int failure = ExchangeNames(temporary_, target_);
    if (failure == 0) {
        kept_ = KeptFile::Adopt(temporary_, slot_);
        stage_ = Stage::Placed;
        return;
    }
    if (failure != ENOENT && !CannotExchange(failure))
        throw text::RunFailureFromErrno(text::Utf8Of(target_), failure);
    // No file to keep (ENOENT), or a file system that cannot exchange: the earlier file gets a
    // second name, or else is moved aside, before the new one takes its place.
    if (failure != ENOENT) {
        kept_ = KeptFile::LinkTo(target_);
        if (!kept_.Holds())
            kept_ = KeptFile::MoveAside(target_);
    }
    if (const int renameFailure = RenameOver(temporary_, target_)) {
        // A second name goes; a file moved aside comes back.
        if (EntryKindOf(target_) != EntryKind::None)
            kept_.Drop();
        else
            kept_.PutBack(target_);
        throw text::RunFailureFromErrno(text::Utf8Of(target_), renameFailure);
    }
    UnregisterTemporaryFile(slot_);
    stage_ = Stage::Placed;
}

void AtomicFile::Keep()
{
    kept_.Drop();
    stage_ = Stage::Done;
}

int AtomicFile::Undo() noexcept
{
    if (stage_ != Stage::Placed)
        return 0;
    stage_ = Stage::Done;
    if (kept_.Holds())
        return kept_.PutBack(target_);
    return RemoveFile(target_);
}

} // namespace stambrix::output
