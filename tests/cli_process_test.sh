#!/usr/bin/env bash
# chenggu as a process: exit statuses, what goes to which stream, a reader that goes away
# early, and a full disk. Usage: cli_process_test.sh [RUNNER...] CHENGGU
set -uo pipefail
run=("$@")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

chenggu() { "${run[@]}" "$@" >"$tmp/out" 2>"$tmp/err"; }

chenggu 1990-01-30 子 && grep -q '总骨重：46 钱，四两六钱' "$tmp/out" && [ ! -s "$tmp/err" ] ||
    fail "a reading: status 0, the reading on standard output and nothing else"

for bad in 2001-02-29 2101-01-01 "1990-01-30 24:00" --nonsense "" "--calendar 2000-01-02 2000-01-01"; do
    # shellcheck disable=SC2086
    chenggu $bad
    status=$?
    [ "$status" -eq 2 ] || fail "'$bad': status $status, expected 2"
    [ ! -s "$tmp/out" ] || fail "'$bad': something on standard output"
    [ "$(tr -d '\r' <"$tmp/err" | wc -l)" -eq 1 ] && grep -q '^chenggu: ' "$tmp/err" ||
        fail "'$bad': standard error is not one 'chenggu: ' line: $(cat "$tmp/err")"
done

# --batch from a pipe: one JSON line per request, bad lines reported in place, status 2.
printf '1990-01-30 子\r\n# a comment\nnonsense\n2020-05-23\n' | "${run[@]}" --batch >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" -eq 2 ] || fail "--batch with a bad line: status $status, expected 2"
[ "$(tr -d '\r' <"$tmp/out" | cut -c1-9 | tr '\n' ' ')" = '{"date":" {"line":3 [{"date": ' ] ||
    fail "--batch: unexpected lines: $(cut -c1-40 "$tmp/out")"
[ ! -s "$tmp/err" ] || fail "--batch: a message: $(cat "$tmp/err")"

# The reader stops after one line: the tool ends quietly.
first=$("${run[@]}" --calendar 1901-01-01 2050-12-31 2>"$tmp/err" | head -1 | tr -d '\r')
[ "$first" = "$(printf 'date\tlunarYear\tlunarMonth\tleapMonth\tlunarDay\tyearStemBranch\tmonthStemBranch\tdayStemBranch')" ] ||
    fail "closed pipe: the first line was '$first'"
[ ! -s "$tmp/err" ] || fail "closed pipe: a message: $(cat "$tmp/err")"

# A full disk is a failure with a message, in Chinese unless the locale is English.
if [ -w /dev/full ]; then
    LC_ALL=zh_CN.UTF-8 "${run[@]}" 1990-01-30 子 >/dev/full 2>"$tmp/err"
    status=$?
    [ "$status" -eq 1 ] || fail "full disk: status $status, expected 1"
    grep -q '^chenggu: 无法写出结果' "$tmp/err" || fail "full disk: no message: $(cat "$tmp/err")"
    # (Only the messages' category is English: Wine reads the arguments in the character
    # locale, which must be one this machine has.)
    env -u LC_ALL LANG=C.UTF-8 LC_MESSAGES=en_US.UTF-8 "${run[@]}" 1990-01-30 子 >/dev/full \
        2>"$tmp/err"
    grep -q '^chenggu: cannot write the output' "$tmp/err" ||
        fail "full disk, English locale: no message: $(cat "$tmp/err")"
fi

[ "$failures" -eq 0 ] && echo "all passed"
exit $((failures > 0))
