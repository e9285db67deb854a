#include "output/temporary_file_removal.h"

#include <cwchar>
#include <string>

#include <windows.h>

namespace stambrix::output {

unsigned long ProcessNumber() noexcept
{
    return GetCurrentProcessId();
}

void RemoveRegisteredFile(const std::filesystem::path::value_type* path) noexcept
{
    DeleteFileW(path);
}

// The console's control handler runs on a thread of its own, not inside a signal: it may allocate.
void RemoveRegisteredFolder(const std::filesystem::path::value_type* path) noexcept
{
    try {
        const std::wstring folder(path);
        WIN32_FIND_DATAW entry = {};
        const HANDLE entries = FindFirstFileW((folder + L"\\*").c_str(), &entry);
        if (entries != INVALID_HANDLE_VALUE) {
            do
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                    DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
            while (FindNextFileW(entries, &entry));
            FindClose(entries);
        }
        RemoveDirectoryW(folder.c_str());
    } catch (...) {
        // Out of memory: the next run removes what is left (RemoveStaleTemporaryFiles).
    }
}

} // namespace stambrix::output
