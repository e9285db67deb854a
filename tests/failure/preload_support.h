/* What the preloaded libraries of the failure tests share. */
#pragma once

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

/* The log a preloaded library keeps, so a test can tell a failure the library made but the program
 * lost from one never made: the file named by the environment variable `variable` (nothing when it
 * is not set), one line appended at a time. */
static void AppendToLog(const char* variable, const char* line)
{
    const char* log = getenv(variable);
    if (log == NULL)
        return;
    const int file = open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0)
        return;
    (void)!write(file, line, strlen(line));
    close(file);
}

/* The path of the file open as `fd`, as /proc/self/fd shows it, into `path`; 0 when there is none. */
__attribute__((unused)) static int PathOfDescriptor(int fd, char* path, size_t size)
{
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, size - 1);
    if (length < 0)
        return 0;
    path[length] = '\0';
    return 1;
}
