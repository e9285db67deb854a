#include "output/replaceable_target.h"

#include "text/run_failure.h"
#include "text/system_path.h"
#include "text/windows_error.h"

#include <cerrno>

#include <windows.h>

namespace stambrix::output {

// Windows refuses to replace a file marked read-only, and a rename never replaces a folder.
void CheckReplaceable(const std::filesystem::path& target)
{
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const DWORD folderAttributes = GetFileAttributesW(folder.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES)
        throw text::RunFailureFromErrno(text::Utf8Of(target), text::LastWindowsError());
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        throw text::RunFailureFromErrno(text::Utf8Of(target), EISDIR);
    // A file marked read-only is the user's wish that it stays.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        throw text::RunFailureFromErrno(text::Utf8Of(target), EACCES);
}

} // namespace stambrix::output
