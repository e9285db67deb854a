#!/usr/bin/env bash
# The core's layers include only themselves and the layers below them; the front ends include only
# the run layer and progress. Prints every include against that direction and fails on any.
#   tests/build/layer_includes.sh SOURCE_DIR
set -euo pipefail
cd "$1"

declare -A allowed=(
    [text]="text"
    [progress]="progress"
    [names]="names text"
    [charsets]="charsets text"
    [gedcom]="gedcom charsets names text"
    [index]="index charsets text"
    [scan]="scan index gedcom charsets names text progress"
    [output]="output index charsets text progress"
    [run]="run output scan index gedcom charsets names text progress"
    [cli]="cli run progress"
    [app]="app run progress"
)

wrong=0
for folder in "${!allowed[@]}"; do
    while IFS=: read -r file _ included; do
        layer=${included%%/*}
        if [[ " ${allowed[$folder]} " != *" $layer "* ]]; then
            echo "$file includes $included: $folder/ may include only ${allowed[$folder]}"
            wrong=1
        fi
    done < <(grep -rno --include='*.h' --include='*.cpp' '^#include "[a-z_]*/[^"]*"' "$folder" | sed 's/#include "//; s/"$//')
done
exit $wrong
