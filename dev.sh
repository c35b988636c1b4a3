#!/usr/bin/env bash
# Kestrune's one entry point.
#
#   ./dev.sh build   cross-compile build/kestrune.exe (and the tests)
#   ./dev.sh run     build, then start the program under Wine; with no display
#                    it runs in a virtual X display, saves build/kestrune.png
#                    and closes the program
#   ./dev.sh test    build, then run every test (ctest)
#   ./dev.sh bench   measure kestrune.exe against the least window program
#   ./dev.sh dist    build/kestrune-1.0.0-win32.zip with the program and SHA256SUMS
#
# On Debian, run and test first install whatever is missing (needs root).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build="$root/build"
bed="$build/testbed"

packages=(cmake make g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 wine64 xvfb
          fonts-wqy-microhei fonts-wine locales googletest imagemagick zip procps)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok installed'; }

ensure_packages() {
    command -v dpkg-query >/dev/null || return 0  # not Debian: bring the tools yourself
    local missing=() p
    for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "dev.sh: missing packages (install them as root): ${missing[*]}" >&2
        exit 1
    fi
    echo "dev.sh: installing ${missing[*]} (once; log in /tmp/kestrune-apt.log)"
    export DEBIAN_FRONTEND=noninteractive
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    {
        apt-get update -q
        apt-get install -y -q --no-install-recommends "${missing[@]}"
    } >/tmp/kestrune-apt.log 2>&1 || { tail -n 30 /tmp/kestrune-apt.log >&2; exit 1; }
}

configure() {
    mkdir -p "$build"
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >"$build/configure.log" 2>&1 ||
        { cat "$build/configure.log" >&2; return 1; }
}

build() {
    configure
    cmake --build "$build" -j"$(nproc)" "$@" >"$build/build.log" 2>&1 || { cat "$build/build.log" >&2; return 1; }
}

run() {
    build --target kestrune snapshot
    if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
        "$root/tests/bed/winebed.sh" prefix "$bed"
        "$root/tests/bed/winebed.sh" exec-on-display "$bed" wine "$build/kestrune.exe"
        return
    fi
    "$root/tests/bed/winebed.sh" start "$bed"
    trap '"$root/tests/bed/winebed.sh" stop "$bed"' EXIT
    rm -f "$build/kestrune.bmp" "$build/kestrune.png"
    "$root/tests/bed/in-desktop.sh" "$bed" kestrune 1024x300 "$build/tests/snapshot.exe" \
        "$(bed_path "$bed" "$build/kestrune.exe")" "$(bed_path "$bed" "$build/kestrune.bmp")"
    convert "$build/kestrune.bmp" "$build/kestrune.png"
    rm -f "$build/kestrune.bmp"
    echo "$build/kestrune.png"
}

# kestrune.exe against the floor, bare.exe, in a bed of its own whose shell
# hands http addresses to a stub that exits at once.
bench() {
    build --target bench_driver
    local state="$build/benchbed" bed="$root/tests/bed/winebed.sh"
    "$bed" start "$state"
    trap '"$root/tests/bed/winebed.sh" stop "$build/benchbed"' EXIT
    local stub
    stub=$("$bed" exec "$state" winepath -w "$build/bench/bench_stub.exe" 2>/dev/null)
    "$bed" exec "$state" wine reg add 'HKCR\http\shell\open\command' /ve /d "\"$stub\" \"%1\"" /f >/dev/null 2>&1
    echo "kestrune benchmark, $(date -u +%Y-%m-%d), $(nproc) cores, $(uname -m), $("$bed" exec "$state" wine --version 2>/dev/null)"
    "$root/tests/bed/in-desktop.sh" "$state" bench 1920x1080 "$build/bench/bench_driver.exe" \
        "$(bed_path "$state" "$build/kestrune.exe")" "$(bed_path "$state" "$build/bare.exe")" \
        "${BENCH_PAIRS:-15}" "${BENCH_CLICKS:-30}" "$(bed_path "$state" "$state/stub.log")"
}

bed_path() { "$root/tests/bed/winebed.sh" exec "$1" winepath -w "$2" 2>/dev/null; }

# The zip is reproducible too: fixed times (SOURCE_DATE_EPOCH, else the last
# commit's), fixed order, no extra attributes.
dist() {
    build --target kestrune
    local epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)}
    local stage="$build/dist" zip="$build/kestrune-1.0.0-win32.zip"
    rm -rf "$stage" "$zip"
    mkdir -p "$stage"
    cp "$build/kestrune.exe" "$stage/"
    (cd "$stage" && sha256sum kestrune.exe | sed 's/\r*$//' >SHA256SUMS)
    touch -d "@$epoch" "$stage/kestrune.exe" "$stage/SHA256SUMS"
    (cd "$stage" && TZ=UTC zip -q -X -D "$zip" kestrune.exe SHA256SUMS)
    echo "$zip"
    cat "$stage/SHA256SUMS"
}

case "${1:-}" in
build) build ;;
dist) dist ;;
bench) ensure_packages; bench ;;
run) ensure_packages; run ;;
test)
    ensure_packages
    build
    ctest --test-dir "$build" --output-on-failure
    ;;
*)
    sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
