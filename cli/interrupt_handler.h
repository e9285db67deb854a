#pragma once

namespace stambrix::cli {

/// Makes SIGINT, SIGTERM and SIGHUP end the program cleanly: the handler removes the temporary files
/// of the output files being written (RemoveTemporaryFiles), so every earlier file stays as it was,
/// prints "stambrix-cli: onderbroken door <signal>; onvoltooide bestanden zijn verwijderd" on stderr
/// (on a line of its own when stderr is a terminal), or, when the index was already wholly in place,
/// "stambrix-cli: onderbroken door <signal>; de index was al volledig geschreven", and ends with exit code 128 + the
/// signal's number: 130, 143 and 129. A signal the program was started with ignored (as nohup does for SIGHUP) stays
/// ignored. On Windows the same holds for Ctrl+C (130), Ctrl+Break (149) and closing the console window
/// (129), named «Ctrl+C», «Ctrl+Break» and «het sluiten van het venster».
void InstallInterruptHandler();

} // namespace stambrix::cli
