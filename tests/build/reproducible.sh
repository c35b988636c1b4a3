#!/usr/bin/env bash
# Builds kestrune.exe twice from copies of the same sources, in different
# folders, at different times and with different SOURCE_DATE_EPOCH values,
# and requires the two files, and the main build's, to be byte-identical.
#   reproducible.sh SOURCE_DIR REFERENCE_EXE
set -euo pipefail
src=$(cd "$1" && pwd)
reference=$2
work=$(mktemp -d /tmp/kestrune-repro.XXXXXX)
trap 'rm -rf "$work"' EXIT

copy_sources() {
    mkdir -p "$2"
    if git -C "$1" rev-parse --git-dir >/dev/null 2>&1; then
        git -C "$1" ls-files -z --cached --others --exclude-standard | (cd "$1" && xargs -0 cp --parents -t "$2")
    else
        (cd "$1" && tar --exclude=./build -cf - .) | tar -xf - -C "$2"
    fi
}

build_in() {
    local dir=$1 epoch=$2
    copy_sources "$src" "$dir/src"
    SOURCE_DATE_EPOCH=$epoch cmake -S "$dir/src" -B "$dir/build" -DKESTRUNE_TESTS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$dir/src/cmake/mingw-i686.cmake" >"$dir/log" 2>&1
    SOURCE_DATE_EPOCH=$epoch cmake --build "$dir/build" --target kestrune >>"$dir/log" 2>&1 || { cat "$dir/log"; exit 1; }
}

build_in "$work/first-folder" 1000000000
sleep 1.1
build_in "$work/second/other-name" 1700000000
a="$work/first-folder/build/kestrune.exe"
b="$work/second/other-name/build/kestrune.exe"
cmp "$a" "$b"
cmp "$a" "$reference"
echo "identical: $(sha256sum <"$a" | cut -d' ' -f1) ($(stat -c %s "$a") bytes)"
