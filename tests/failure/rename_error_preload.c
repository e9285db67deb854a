/* Preloaded into a child process (LD_PRELOAD), disturbs putting an index in place: the rename
 * number STAMBRIX_RENAME_ERROR_AT (counted from 1, over rename and renameat2 alike) fails with errno
 * EPERM, as for an immutable file, or, with STAMBRIX_RENAME_ERROR_SIGNAL set, sends SIGTERM to the
 * process, as `kill` does, and then renames. Only that one rename is disturbed; those after it,
 * which put back what was renamed before, are not. The file STAMBRIX_RENAME_ERROR_LOG gets the line "loaded" when the
 * library is loaded, "rename <name of the file renamed> <name it gets>" for every rename, and "EPERM" or "SIGTERM" for
 * the one disturbed. */
#define _GNU_SOURCE
#include "preload_support.h"

#include <dlfcn.h>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef int (*RenameFunction)(const char*, const char*);
typedef int (*Renameat2Function)(int, const char*, int, const char*, unsigned int);

static void Log(const char* line)
{
    AppendToLog("STAMBRIX_RENAME_ERROR_LOG", line);
}

__attribute__((constructor)) static void Loaded(void)
{
    Log("loaded\n");
}

static const char* BaseName(const char* path)
{
    const char* slash = strrchr(path, '/');
    return slash == NULL ? path : slash + 1;
}

/* Logs the rename and disturbs it when its turn has come; nonzero when it is to fail. */
static int Disturbs(const char* from, const char* to)
{
    static int count;
    char line[1024];
    snprintf(line, sizeof line, "rename %s %s\n", BaseName(from), BaseName(to));
    Log(line);
    const char* at = getenv("STAMBRIX_RENAME_ERROR_AT");
    if (at == NULL || ++count != atoi(at))
        return 0;
    if (getenv("STAMBRIX_RENAME_ERROR_SIGNAL") != NULL) {
        Log("SIGTERM\n");
        kill(getpid(), SIGTERM);
        return 0;
    }
    Log("EPERM\n");
    return 1;
}

int rename(const char* from, const char* to)
{
    if (Disturbs(from, to)) {
        errno = EPERM;
        return -1;
    }
    void* symbol = dlsym(RTLD_NEXT, "rename");
    RenameFunction real;
    memcpy(&real, &symbol, sizeof real);
    return real(from, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags)
{
    if (Disturbs(from, to)) {
        errno = EPERM;
        return -1;
    }
    void* symbol = dlsym(RTLD_NEXT, "renameat2");
    Renameat2Function real;
    memcpy(&real, &symbol, sizeof real);
    return real(fromFolder, from, toFolder, to, flags);
}
