#!/usr/bin/env bash
# Runs a Windows program inside a Wine virtual desktop of the test bed and
# returns the program's own exit code, which `explorer /desktop` does not:
# the program writes it to $KT_EXIT_FILE.
#
#   in-desktop.sh STATE NAME WIDTHxHEIGHT PROGRAM [ARGS...]
set -euo pipefail
state=${1:?state} name=${2:?desktop name} size=${3:?size}
shift 3
# shellcheck disable=SC1091
. "$state/env.sh"
exit_file=$(mktemp "$state/exit.XXXXXX")
trap 'rm -f "$exit_file"' EXIT
rm -f "$exit_file"
export KT_EXIT_FILE
KT_EXIT_FILE=$(winepath -w "$exit_file")
wine explorer "/desktop=$name,$size" "$@" || true
if [ ! -s "$exit_file" ]; then
    echo "in-desktop.sh: $1 ended without reporting a result (crashed?)" >&2
    exit 1
fi
exit "$(tr -dc 0-9 <"$exit_file")"
