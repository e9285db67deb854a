#!/usr/bin/env bash
# Cross-builds ICU for 64-bit Windows (static libraries, mingw-w64) from Debian's source package
# into a folder, once: a folder holding the stamp of a finished build is left as it is.
#   scripts/build-windows-icu.sh CACHE
# CACHE/icu is the installed ICU (include, lib), built in CACHE/icu-build from the source in
# CACHE/icu-source. ICU's data is made by tools that run here, so ICU is first built for this
# machine as well.
set -euo pipefail

cache="$(mkdir -p "$1" && cd "$1" && pwd)"
prefix="$cache/icu"
stamp="$prefix/.built"
if [ -f "$stamp" ]; then
    exit 0
fi
jobs="$(nproc)"

rm -rf "$cache/icu-source" "$cache/icu-build" "$prefix"
mkdir -p "$cache/icu-source"
# The compilers' output goes to a log, shown when a step fails.
log="$cache/icu-build.log"
: >"$log"
step() {
    if ! "$@" >>"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "build-windows-icu: failed: $*; the whole log is in $log" >&2
        exit 1
    fi
}
(cd "$cache/icu-source" && step apt-get source -q icu)
source_dir="$(echo "$cache"/icu-source/icu-*/source)"

echo "ICU for this machine (its tools make the data)"
mkdir -p "$cache/icu-build/host"
cd "$cache/icu-build/host"
step "$source_dir/configure" --disable-tests --disable-samples --disable-extras
step make -j"$jobs"

echo "ICU for Windows"
mkdir -p "$cache/icu-build/windows"
cd "$cache/icu-build/windows"
step "$source_dir/configure" --host=x86_64-w64-mingw32 --with-cross-build="$cache/icu-build/host" \
    --enable-static --disable-shared --disable-tests --disable-samples --disable-extras \
    --disable-tools --disable-dyload --prefix="$prefix" \
    CC=x86_64-w64-mingw32-gcc-posix CXX=x86_64-w64-mingw32-g++-posix \
    CFLAGS="-O2" CXXFLAGS="-O2 -std=c++17" CPPFLAGS="-DU_STATIC_IMPLEMENTATION"
step make -j"$jobs"
# The install puts the data library where DLLs go, in bin/, and does not make that folder; it
# belongs beside the other libraries, under the name the linker looks for.
mkdir -p "$prefix/bin"
step make install
mv "$prefix/bin/sicudt.a" "$prefix/lib/libsicudt.a"
touch "$stamp"
