#include "output/temporary_file_removal.h"

#include <cstring>

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace stambrix::output {

unsigned long ProcessNumber() noexcept
{
    return static_cast<unsigned long>(getpid());
}

void RemoveRegisteredFile(const std::filesystem::path::value_type* path) noexcept
{
    unlink(path);
}

// No opendir(), which allocates: the entries are read with getdents64, and read again after each pass
// that removed some, as removing while reading may pass over an entry.
void RemoveRegisteredFolder(const std::filesystem::path::value_type* path) noexcept
{
    const int fd = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    bool removed = true;
    for (int pass = 0; removed && pass < 100; ++pass) {
        removed = false;
        lseek(fd, 0, SEEK_SET);
        alignas(8) char entries[4096];
        long count = 0;
        while ((count = syscall(SYS_getdents64, fd, entries, sizeof entries)) > 0) {
            // struct linux_dirent64: inode (8 bytes), offset (8), record length (2), type (1), name.
            for (long at = 0; at < count;) {
                unsigned short length = 0;
                std::memcpy(&length, entries + at + 16, sizeof length);
                const char* name = entries + at + 19;
                if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0 && unlinkat(fd, name, 0) == 0)
                    removed = true;
                at += length;
            }
        }
    }
    close(fd);
    rmdir(path);
}

} // namespace stambrix::output
