/* Preloaded into a child process (LD_PRELOAD), makes reading one file fail like a bad disk block:
 * every read of the file named by STAMBRIX_READ_ERROR_PATH (as /proc/self/fd shows it) that reaches
 * byte STAMBRIX_READ_ERROR_OFFSET returns -1 with errno EIO, after handing out the bytes before it.
 * The file STAMBRIX_READ_ERROR_LOG gets the line "loaded" when the library is loaded and a line for
 * every read it makes fail, so a test can tell a read error that was lost from one never made.
 * With STAMBRIX_READ_ERROR_APPEND set, that read does not fail: the text of the variable is first
 * appended to the file, as when a genealogy program writes the file again while it is read, and
 * the log gets "appended at <offset>". */
#define _GNU_SOURCE
#include "preload_support.h"

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef ssize_t (*ReadFunction)(int, void*, size_t);

/* The read this one stands in front of; looked up once, by whichever thread comes first. */
static ReadFunction RealRead(void)
{
    static ReadFunction real;
    ReadFunction found = __atomic_load_n(&real, __ATOMIC_ACQUIRE);
    if (found == NULL) {
        void* symbol = dlsym(RTLD_NEXT, "read");
        memcpy(&found, &symbol, sizeof found);
        __atomic_store_n(&real, found, __ATOMIC_RELEASE);
    }
    return found;
}

static int IsFailingFile(int fd)
{
    const char* wanted = getenv("STAMBRIX_READ_ERROR_PATH");
    if (wanted == NULL)
        return 0;
    char path[4096];
    if (!PathOfDescriptor(fd, path, sizeof path))
        return 0;
    return strcmp(path, wanted) == 0;
}

static void Log(const char* line)
{
    AppendToLog("STAMBRIX_READ_ERROR_LOG", line);
}

__attribute__((constructor)) static void Loaded(void)
{
    Log("loaded\n");
}

ssize_t read(int fd, void* buffer, size_t count)
{
    const char* failAt = getenv("STAMBRIX_READ_ERROR_OFFSET");
    if (failAt == NULL || count == 0 || !IsFailingFile(fd))
        return RealRead()(fd, buffer, count);
    const off_t bad = (off_t)strtoll(failAt, NULL, 10);
    const off_t offset = lseek(fd, 0, SEEK_CUR);
    if (offset < 0 || offset + (off_t)count <= bad)
        return RealRead()(fd, buffer, count);
    if (offset < bad)
        return RealRead()(fd, buffer, (size_t)(bad - offset));
    char line[64];
    const char* appended = getenv("STAMBRIX_READ_ERROR_APPEND");
    if (appended != NULL) {
        static int done;
        if (!__atomic_exchange_n(&done, 1, __ATOMIC_ACQ_REL)) {
            const int file = open(getenv("STAMBRIX_READ_ERROR_PATH"), O_WRONLY | O_APPEND | O_CLOEXEC);
            if (file >= 0 && write(file, appended, strlen(appended)) == (ssize_t)strlen(appended)) {
                snprintf(line, sizeof line, "appended at %lld\n", (long long)offset);
                Log(line);
            }
            if (file >= 0)
                close(file);
        }
        return RealRead()(fd, buffer, count);
    }
    snprintf(line, sizeof line, "EIO at %lld\n", (long long)offset);
    Log(line);
    errno = EIO;
    return -1;
}

ssize_t __read_chk(int fd, void* buffer, size_t count, size_t bufferSize)
{
    (void)bufferSize;
    return read(fd, buffer, count);
}
