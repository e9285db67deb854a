/* The log a preloaded library keeps, so a test can tell a failure the library made but the program
 * lost from one never made: the file named by the environment variable `variable` (nothing when it
 * is not set), one line appended at a time. */
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

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
