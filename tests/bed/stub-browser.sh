#!/bin/sh
# Stands in for a web browser: logs the address it was given and exits.
# KESTRUNE_BROWSER_LOG names the log; without it the address goes nowhere.
[ -n "${KESTRUNE_BROWSER_LOG:-}" ] && printf '%s\n' "$*" >>"$KESTRUNE_BROWSER_LOG"
exit 0
