#include "output/site_folder.h"
#include "text/run_failure.h"

#include <clocale>
#include <csignal>
#include <iostream>
#include <string_view>

// Publishes a website in the output folder of its first argument, one file for each further
// argument «name=bytes», as a run does; a failure prints "<path>: <reason>" and ends with 3.
int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " <output folder> [name=bytes ...]\n";
        return 2;
    }
    // The reasons in the environment's language, and a file past the size limit failing with EFBIG,
    // as stambrix-cli has them.
    std::setlocale(LC_ALL, "");
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        stambrix::output::SiteFolder site(argv[1]);
        for (int index = 2; index < argc; ++index) {
            const std::string_view file = argv[index];
            const auto equals = file.find('=');
            site.Open(file.substr(0, equals));
            site.Write(file.substr(equals + 1));
            site.Close();
        }
        site.Publish();
    } catch (const stambrix::text::RunFailure& failure) {
        std::cerr << failure.what() << '\n';
        return 3;
    }
    return 0;
}
