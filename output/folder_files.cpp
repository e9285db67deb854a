#include "output/folder_files.h"
#include "text/system_path.h"

namespace stambrix::output {

void FolderFiles::Open(std::string_view name)
{
    open_.reset();
    openPath_ = folder_ / name;
    open_ = std::make_unique<AtomicFile>(openPath_);
}

void FolderFiles::Write(std::string_view bytes)
{
    open_->Write(bytes);
}

void FolderFiles::Close()
{
    open_->Complete();
    completed_.Add(openPath_, std::move(open_));
}

void FolderFiles::Remove(std::string_view name)
{
    completed_.Remove(folder_ / name);
}

void FolderFiles::Publish()
{
    completed_.PublishAll();
}

bool FolderFiles::Holds(std::string_view name) const
{
    std::error_code error;
    return std::filesystem::exists(folder_ / name, error);
}

std::string FolderFiles::PathOf(std::string_view name) const
{
    return text::Utf8Of(folder_ / name);
}

} // namespace stambrix::output
