/* Preloaded into a child process (LD_PRELOAD), disturbs putting an index in place: the renames whose
 * numbers STAMBRIX_RENAME_ERROR_AT lists (counted from 1, over rename and renameat2 alike; several
 * numbers separated by commas) fail with errno EPERM, as for an immutable file; with
 * STAMBRIX_RENAME_ERROR_SIGNAL set, they send SIGTERM to the process, as `kill` does, and then rename; with
 * STAMBRIX_RENAME_ERROR_KILL set, they rename and then kill the process with SIGKILL, as a crash or
 * a power cut between two renames ends it. With STAMBRIX_RENAME_NO_EXCHANGE set, every exchange of two
 * names (renameat2 with RENAME_EXCHANGE) fails with EINVAL, as on a file system that has none, and is
 * not counted. Only those renames are disturbed; those after them, which put back what was renamed
 * before, are not. The file STAMBRIX_RENAME_ERROR_LOG gets the line
 * "loaded" when the library is loaded, "rename <name of the file renamed> <name it gets>" for every
 * rename, and "EPERM", "SIGTERM", "SIGKILL" or "EINVAL" for each one disturbed. */
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

enum Disturbance
{
    None,
    Fail,
    KillAfter,
};

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

/* Whether STAMBRIX_RENAME_ERROR_AT lists the rename number `count`. */
static int IsListed(int count)
{
    const char* at = getenv("STAMBRIX_RENAME_ERROR_AT");
    while (at != NULL && *at != '\0') {
        char* end = NULL;
        const long listed = strtol(at, &end, 10);
        if (end == at)
            return 0;
        if (listed == count)
            return 1;
        at = *end == ',' ? end + 1 : NULL;
    }
    return 0;
}

/* Logs the rename and says how it is disturbed; a signal it raises itself. */
static enum Disturbance Disturbs(const char* from, const char* to)
{
    static int count;
    char line[1024];
    snprintf(line, sizeof line, "rename %s %s\n", BaseName(from), BaseName(to));
    Log(line);
    if (!IsListed(++count))
        return None;
    if (getenv("STAMBRIX_RENAME_ERROR_SIGNAL") != NULL) {
        Log("SIGTERM\n");
        kill(getpid(), SIGTERM);
        return None;
    }
    if (getenv("STAMBRIX_RENAME_ERROR_KILL") != NULL) {
        Log("SIGKILL\n");
        return KillAfter;
    }
    Log("EPERM\n");
    return Fail;
}

/* The result of a rename made, after which a rename disturbed by KillAfter ends the process. */
static int Renamed(enum Disturbance disturbance, int result)
{
    if (disturbance == KillAfter)
        raise(SIGKILL);
    return result;
}

int rename(const char* from, const char* to)
{
    const enum Disturbance disturbance = Disturbs(from, to);
    if (disturbance == Fail) {
        errno = EPERM;
        return -1;
    }
    void* symbol = dlsym(RTLD_NEXT, "rename");
    RenameFunction real;
    memcpy(&real, &symbol, sizeof real);
    return Renamed(disturbance, real(from, to));
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags)
{
    if ((flags & RENAME_EXCHANGE) != 0 && getenv("STAMBRIX_RENAME_NO_EXCHANGE") != NULL) {
        Log("EINVAL\n");
        errno = EINVAL;
        return -1;
    }
    const enum Disturbance disturbance = Disturbs(from, to);
    if (disturbance == Fail) {
        errno = EPERM;
        return -1;
    }
    void* symbol = dlsym(RTLD_NEXT, "renameat2");
    Renameat2Function real;
    memcpy(&real, &symbol, sizeof real);
    return Renamed(disturbance, real(fromFolder, from, toFolder, to, flags));
}
