#include "cli/interrupt_handler.h"
#include "cli/program_environment.h"
#include "cli/run_cli.h"
#include "run/prefix_file_places.h"

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

int main(int argc, char** argv)
{
    stambrix::cli::PrepareProcess();
    stambrix::cli::InstallInterruptHandler();
    const std::vector<std::string> arguments = stambrix::cli::ArgumentsOf(argc, argv);
    const std::vector<std::string_view> args(arguments.begin(), arguments.end());
    stambrix::cli::CliEnvironment environment;
    environment.prefixFilePlaces = stambrix::run::PrefixFilePlaces(stambrix::cli::ProgramDirectory(argv[0]));
    environment.progressToTerminal = stambrix::cli::ErrorOutputIsTerminal();
    return stambrix::cli::RunCli(args, environment, std::cout, std::cerr);
}
