#!/usr/bin/env bash
# Legibility as the user sees it: the real program under Xvfb showing a reading whose fields
# hold all ten digits (1991-05-04, 丑), measured on the screen by gui-probe. Every digit of
# the result fields is drawn solid (its darkest pixel at most #404040 on white) and full
# height (a field's digits span 8 pixels or more, none under 7), and the menu font draws
# every Chinese character of the menus with all its strokes.
# Usage: gui_legibility.sh WINEPREFIX PROGRAM PROBE
set -euo pipefail
. "$(dirname "$0")/gui_session.sh"

wine "$program" &
program_pid=$!
trap 'probe close >/dev/null 2>&1 || true; sleep 1; kill "$program_pid" 2>/dev/null || true' EXIT
probe wait
probe show 1991 5 4 1
sleep 0.5
probe check

# One line per field: span of its digits, shortest digit, darkest grey, text.
probe digits | awk '
    { print; digits = digits $4 }
    $1 < 8 || $2 < 7 || $3 > 64 { bad = bad "\n  " $4 ": span " $1 " px, shortest " $2 " px, darkest " $3 }
    END {
        for (d = 0; d <= 9; d++) if (index(digits, d) == 0) bad = bad "\n  digit " d " not shown"
        if (bad != "") { print "FAIL: digits hard to read:" bad; exit 1 }
        print "ok: every digit solid and full height"
    }'
probe strokes
