# Sourced by the benchmark scripts: sets `shared` to the folder holding tools/ (gedcom-gen, floor):
# STAMBRIX_SHARED when set, else ../shared beside the repository.
shared="${STAMBRIX_SHARED:-$repo/../shared}"
