#!/usr/bin/env bash
# Builds Stambrix and indexes a GEDCOM file: the example tree, or the file given with its options.
#   ./run.sh                         index examples/voorbeeld.ged
#   ./run.sh FILE.ged [options]      index FILE.ged; options as for stambrix-cli (see --help), e.g.
#   ./run.sh examples/voorbeeld.ged --uitvoer html --in-frame       the HTML index in frames
#   ./run.sh --gui [FILE.ged]        open the desktop program, with FILE.ged in its path field
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake --preset release >/dev/null
if [ "${1:-}" = "--gui" ]; then
    shift
    cmake --build --preset release --target stambrix
    exec build/release/bin/stambrix "$@"
fi
cmake --build --preset release --target stambrix-cli

if [ $# -eq 0 ]; then
    set -- examples/voorbeeld.ged
fi
status=0
build/release/bin/stambrix-cli "$@" || status=$?

# The index goes into the folder "Stambrix" beside the GEDCOM file, the one argument that is not an option.
# After "--" every argument is a file name, also one that begins with "-".
gedcom=""
skip_value=0
only_files=0
for argument in "$@"; do
    if [ $skip_value -eq 1 ]; then skip_value=0; continue; fi
    if [ $only_files -eq 1 ]; then gedcom="$argument"; continue; fi
    case "$argument" in
        --) only_files=1 ;;
        --event|--groep|--uitvoer|--voorzetsels|--javascript-path|--stylesheet-path|--achtergrond-path) skip_value=1 ;;
        -*) ;;
        *) gedcom="$argument" ;;
    esac
done
if [ $status -eq 0 ] && [ -n "$gedcom" ]; then
    echo "De index staat in: $(cd "$(dirname "$gedcom")" && pwd)/Stambrix/"
fi
exit $status
