#!/usr/bin/env bash
# End to end: the real program under Xvfb, driven with the mouse and the keyboard by
# xdotool, and checked from outside its process by gui-probe.
# Usage: gui_end_to_end.sh WINEPREFIX PROGRAM PROBE
set -euo pipefail
. "$(dirname "$0")/gui_session.sh"
MONTH_LIST=104 DAY_LIST=106

fail() { echo "FAIL: $*" >&2; exit 1; }
expect() {  # what actual expected
    [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
    echo "ok: $1 = $3"
}
expect_reading_of_lists() {
    probe check >/dev/null || { probe check >&2 || true; fail "$1: the fields do not show the lists' reading"; }
    echo "ok: $1: the fields show the reading of the lists"
}

# The centre of a control, and of an item of the list dropped down from it.
centre_of() { probe rect "$1" | awk '{ print int($1 + $3 / 2), int($2 + $4 / 2) }'; }
open_list() {
    # The first click can reach a window that X has only just mapped: try a few times.
    for _ in 1 2 3; do
        # shellcheck disable=SC2046
        xdotool mousemove $(centre_of "$1") sleep 0.2 click 1
        for _ in $(seq 20); do probe item "$1" 0 >/dev/null 2>&1 && return 0; sleep 0.1; done
    done
    fail "the list $1 did not drop down"
}
pick_with_mouse() {  # list index
    open_list "$1"
    # shellcheck disable=SC2046
    xdotool mousemove $(probe item "$1" "$2") sleep 0.2 click 1
    sleep 0.5
}

wine "$program" &
program_pid=$!
trap 'probe close >/dev/null 2>&1 || true; sleep 1; kill "$program_pid" 2>/dev/null || true' EXIT
probe wait || fail "the program showed no reading"
expect_reading_of_lists "at start"

# January by mouse: 31 days.
pick_with_mouse $MONTH_LIST 0
expect "month after picking January" "$(probe cursel $MONTH_LIST)" 0
expect "days in January" "$(probe count $DAY_LIST)" 31
expect_reading_of_lists "January"

# The 31st by keyboard: End, then Enter, in the dropped-down day list.
open_list $DAY_LIST
xdotool key End sleep 0.2 key Return
sleep 0.5
expect "day after End and Enter" "$(probe cursel $DAY_LIST)" 30
expect_reading_of_lists "31 January"
before=$(probe fields)

# April by mouse: the 31st goes, the 30th is selected and read.
pick_with_mouse $MONTH_LIST 3
expect "month after picking April" "$(probe cursel $MONTH_LIST)" 3
expect "days in April" "$(probe count $DAY_LIST)" 30
expect "day after picking April" "$(probe cursel $DAY_LIST)" 29
expect_reading_of_lists "30 April"
[ "$(probe fields)" != "$before" ] || fail "the fields did not change"

# Hover over another day in the dropped-down day list, then Escape: whatever the list shows
# afterwards (Wine keeps the hovered day, without telling the list), the fields show its
# reading.
open_list $DAY_LIST
hovered=$(( $(probe top) + 2 ))
read -r x y < <(probe item $DAY_LIST $hovered)
xdotool mousemove "$x" "$((y - 3))" sleep 0.2 mousemove "$x" "$y" sleep 0.3 key Escape
sleep 0.5
echo "day after hovering over index $hovered and Escape: index $(probe cursel $DAY_LIST)"
expect_reading_of_lists "after hover and Escape"

probe close
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
wait "$program_pid"
status=$?
trap - EXIT
expect "exit status" "$status" 0
