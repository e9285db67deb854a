# Sourced by the benchmark scripts: sets `shared` to the folder holding tools/ (gedcom-gen, floor):
# STAMBRIX_SHARED when set, else ../shared beside the repository, else /work/shared.
if [ -n "${STAMBRIX_SHARED:-}" ]; then
    shared="$STAMBRIX_SHARED"
elif [ -d "$repo/../shared/tools" ]; then
    shared="$repo/../shared"
else
    shared=/work/shared
fi
