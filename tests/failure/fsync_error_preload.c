/* Preloaded into a child process (LD_PRELOAD), makes putting one file on the disk fail like a bad
 * disk: fsync of the temporary file of the index file named STAMBRIX_FSYNC_ERROR_NAME (a file
 * ".stambrix-<name>.<...>.tmp", as /proc/self/fd shows it), or syncfs through the temporary folder
 * of the website ("web"), returns -1 with errno EIO. The file STAMBRIX_FSYNC_ERROR_LOG gets the
 * line "loaded" when the library is loaded and "EIO" for every sync it makes fail. */
#define _GNU_SOURCE
#include "preload_support.h"

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef int (*SyncFunction)(int);

static void Log(const char* line)
{
    AppendToLog("STAMBRIX_FSYNC_ERROR_LOG", line);
}

__attribute__((constructor)) static void Loaded(void)
{
    Log("loaded\n");
}

static int IsFailingFile(int fd)
{
    const char* name = getenv("STAMBRIX_FSYNC_ERROR_NAME");
    if (name == NULL)
        return 0;
    char path[4096];
    if (!PathOfDescriptor(fd, path, sizeof path))
        return 0;
    const char* slash = strrchr(path, '/');
    const char* base = slash == NULL ? path : slash + 1;
    const char* prefix = ".stambrix-";
    if (strncmp(base, prefix, strlen(prefix)) != 0)
        return 0;
    base += strlen(prefix);
    return strncmp(base, name, strlen(name)) == 0 && base[strlen(name)] == '.';
}

/* The call `name` of the C library, or -1 with errno EIO when `fd` is the failing file. */
static int SyncOrFail(const char* name, int fd)
{
    if (IsFailingFile(fd)) {
        Log("EIO\n");
        errno = EIO;
        return -1;
    }
    void* symbol = dlsym(RTLD_NEXT, name);
    SyncFunction real;
    memcpy(&real, &symbol, sizeof real);
    return real(fd);
}

int fsync(int fd)
{
    return SyncOrFail("fsync", fd);
}

int syncfs(int fd)
{
    return SyncOrFail("syncfs", fd);
}
