#include "cli/program_environment.h"

#include <clocale>
#include <csignal>

#include <unistd.h>

namespace stambrix::cli {

void PrepareProcess()
{
#ifdef SIGXFSZ
    // A file that would grow past the file size limit then fails to write (EFBIG) and is reported like
    // a full disk, its temporary file removed, instead of the signal ending the program halfway.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // The system's reasons for a failure ("Bestand of map bestaat niet") in the user's language.
    std::setlocale(LC_ALL, "");
}

std::vector<std::string> ArgumentsOf(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::filesystem::path ProgramDirectory(const char* argv0)
{
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return self.parent_path();
    return std::filesystem::absolute(argv0, error).parent_path();
}

bool ErrorOutputIsTerminal()
{
    return isatty(STDERR_FILENO) != 0;
}

} // namespace stambrix::cli
