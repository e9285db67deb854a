#include "output/stale_temporary_files.h"

#include "output/publish_journal.h"
#include "output/site_folder.h"
#include "output/temporary_files.h"
#include "text/system_path.h"

namespace stambrix::output {

void RemoveStaleTemporaryFiles(const std::filesystem::path& folder)
{
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator(folder, error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::error_code ignored;
        const std::string name = text::Utf8Of(entry->path().filename());
        if (entry->is_symlink(ignored) || !IsTemporaryName(name))
            continue;
        if (entry->is_regular_file(ignored))
            std::filesystem::remove(entry->path(), ignored);
        else if (IsTemporarySiteFolderName(name) && entry->is_directory(ignored))
            std::filesystem::remove_all(entry->path(), ignored);
    }
}

void TidyAfterKilledRuns(const std::filesystem::path& folder)
{
    UndoInterruptedPublish(folder);
    RemoveStaleTemporaryFiles(folder);
}

} // namespace stambrix::output
