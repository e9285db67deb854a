#pragma once

#include <filesystem>
#include <string>
#include <vector>

// What stambrix-cli takes from the system it runs on, one file for Linux and one for Windows.
namespace stambrix::cli {

/// Readies the process: the system's reasons for a failure in the user's language; on Windows a
/// console that shows UTF-8, the text the program writes.
void PrepareProcess();

/// The program's arguments after its name, as UTF-8 text (on Windows taken from the system's
/// UTF-16 command line, as `argv` holds them in the ANSI code page).
std::vector<std::string> ArgumentsOf(int argc, char** argv);

/// The folder of the running program, where "Voorzetsels.txt" is looked for first.
std::filesystem::path ProgramDirectory(const char* argv0);

/// The error output goes to a terminal (a console on Windows), where progress is shown live.
bool ErrorOutputIsTerminal();

} // namespace stambrix::cli
