#pragma once

#include "output/atomic_file.h"
#include "output/completed_files.h"
#include "output/file_set.h"

#include <filesystem>
#include <memory>

namespace stambrix::output {

/// The files of an index in a folder on disk: each is completed in a temporary file beside its
/// target, and Publish renames them all over their targets at once.
class FolderFiles final : public FileSet
{
public:
    explicit FolderFiles(std::filesystem::path folder) : folder_(std::move(folder)), completed_(folder_) {}

    void Open(std::string_view name) override;
    void Write(std::string_view bytes) override;
    void Close() override;
    void Remove(std::string_view name) override;
    void Publish() override;
    bool Holds(std::string_view name) const override;
    std::string PathOf(std::string_view name) const override;

private:
    std::filesystem::path folder_;
    std::filesystem::path openPath_;
    std::unique_ptr<AtomicFile> open_;
    CompletedFiles completed_;
};

} // namespace stambrix::output
