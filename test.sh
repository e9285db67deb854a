#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest: the Release build, then the
# unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer. Last, the fuzz targets
# replay their seeds and fuzz for FUZZ_SECONDS in all (150 by default).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh --tests

# Formatting is part of the build's checks.
git ls-files -- '*.cpp' '*.h' | xargs -r clang-format --dry-run -Werror

cmake --workflow --preset dev
cmake --workflow --preset asan
bash fuzz/run-fuzz.sh
