/* Preloaded into a child process (LD_PRELOAD), stops it with SIGSTOP right after it has created its
 * first file whose name ends in ".tmp", before a byte is written to it: a test that waits for the
 * stop can then act while that temporary file exists, and SIGCONT lets the process go on. The thread
 * that made the file then waits 200 ms before it writes to it, so that what the process's other
 * threads do upon a signal sent before SIGCONT (a window that cancels its run) comes first. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <string.h>
#include <sys/types.h>
#include <time.h>

typedef int (*OpenFunction)(const char*, int, ...);

static int IsTemporary(const char* path)
{
    const size_t length = strlen(path);
    return length >= 4 && strcmp(path + length - 4, ".tmp") == 0;
}

static int OpenThenStop(const char* name, const char* path, int flags, mode_t mode)
{
    static int stopped;
    void* symbol = dlsym(RTLD_NEXT, name);
    OpenFunction real;
    memcpy(&real, &symbol, sizeof real);
    const int fd = real(path, flags, mode);
    if (fd >= 0 && (flags & O_CREAT) != 0 && IsTemporary(path) && !__atomic_exchange_n(&stopped, 1, __ATOMIC_ACQ_REL)) {
        const struct timespec moment = {0, 200000000};
        raise(SIGSTOP);
        nanosleep(&moment, NULL);
    }
    return fd;
}

static mode_t ModeOf(int flags, va_list arguments)
{
    return (flags & O_CREAT) != 0 ? (mode_t)va_arg(arguments, int) : 0;
}

int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    return OpenThenStop("open", path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    return OpenThenStop("open64", path, flags, mode);
}
