#include "output/completed_files.h"

#include "output/held_signals.h"
#include "text/io_error.h"

#include <cerrno>

namespace stambrix::output {

void CompletedFiles::Add(std::filesystem::path target, std::unique_ptr<AtomicFile> file)
{
    files_.emplace_back(std::move(target), std::move(file));
}

void CompletedFiles::PublishAll()
{
    for (const auto& [target, file] : files_) {
        std::error_code error;
        const auto status = std::filesystem::symlink_status(target, error);
        if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
            !std::filesystem::is_symlink(status))
            throw IoErrorFromErrno(target.string(), std::filesystem::is_directory(status) ? EISDIR : EEXIST);
    }
    for (const auto& [target, file] : files_)
        file->MakeDurable();
    const TerminationSignalsHeld held;
    for (const auto& [target, file] : files_)
        file->Publish();
    files_.clear();
}

} // namespace stambrix::output
