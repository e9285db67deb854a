#include "output/completed_files.h"

#include "output/kept_file.h"
#include "output/replaceable_target.h"
#include "output/temporary_files.h"
#include "output/termination_signals_held.h"

#include <cerrno>

#include <sys/stat.h>

namespace stambrix::output {

namespace {
bool Exists(const std::filesystem::path& path)
{
    struct stat status = {};
    return lstat(path.c_str(), &status) == 0;
}
} // namespace

void CompletedFiles::Add(std::filesystem::path target, std::unique_ptr<AtomicFile> file)
{
    files_.emplace_back(std::move(target), std::move(file));
}

void CompletedFiles::Remove(std::filesystem::path target)
{
    removed_.push_back(std::move(target));
}

void CompletedFiles::PublishAll()
{
    for (const auto& [target, file] : files_)
        CheckReplaceable(target);
    for (const auto& target : removed_)
        CheckReplaceable(target);
    for (const auto& [target, file] : files_)
        file->MakeDurable();

    const TerminationSignalsHeld held;
    std::vector<std::pair<std::filesystem::path, KeptFile>> setAside;
    try {
        for (const auto& [target, file] : files_)
            file->PutInPlace();
        for (const auto& target : removed_)
            if (Exists(target))
                setAside.emplace_back(target, KeptFile::MoveAside(target));
    } catch (...) {
        // Each target has its own earlier file, so the order of putting them back does not matter;
        // a file not yet in place has nothing to undo.
        for (auto& [target, kept] : setAside)
            kept.PutBack(target);
        for (const auto& [target, file] : files_)
            file->Undo();
        throw;
    }
    for (auto& [target, file] : files_)
        file->Keep();
    for (auto& [target, kept] : setAside)
        kept.Drop();
    files_.clear();
    removed_.clear();
    MarkIndexPublished();
}

} // namespace stambrix::output
