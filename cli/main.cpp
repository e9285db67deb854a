#include "cli/interrupt_handler.h"
#include "cli/run_cli.h"
#include "run/prefix_file_places.h"

#include <clocale>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace {
// The folder of the running program, where "Voorzetsels.txt" is looked for first.
std::filesystem::path ProgramDirectory(const char* argv0)
{
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return self.parent_path();
    return std::filesystem::absolute(argv0, error).parent_path();
}
} // namespace

int main(int argc, char** argv)
{
#ifdef SIGXFSZ
    // A file that would grow past the file size limit then fails to write (EFBIG) and is reported like
    // a full disk, its temporary file removed, instead of the signal ending the program halfway.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // The system's reasons for a failure ("Bestand of map bestaat niet") in the user's language.
    std::setlocale(LC_ALL, "");
    stambrix::cli::InstallInterruptHandler();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    stambrix::cli::CliEnvironment environment;
    environment.prefixFilePlaces = stambrix::run::PrefixFilePlaces(ProgramDirectory(argv[0]));
    environment.progressToTerminal = isatty(STDERR_FILENO) != 0;
    return stambrix::cli::RunCli(args, environment, std::cout, std::cerr);
}
