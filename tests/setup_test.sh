#!/usr/bin/env bash
# scripts/setup with every package missing, on stand-ins for id, sudo, apt-get and the
# rest: as root it installs directly, as a user through sudo, and as a user without sudo it
# says what is missing and exits 1 (not 127 from a missing sudo).
# Usage: setup_test.sh SCRIPTS_DIR
set -euo pipefail
setup=$(realpath "$1")/setup
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# A PATH of stand-ins: each records its arguments in calls; dpkg-query finds no package.
make_bin() {  # uid with_sudo
    rm -rf "$work/bin" "$work/calls"
    mkdir "$work/bin"
    for tool in bash env grep dirname cat; do ln -s "$(command -v $tool)" "$work/bin/$tool"; done
    stub() { printf '#!/bin/bash\necho "%s $*" >>"%s/calls"\n%s\n' "$1" "$work" "$2" >"$work/bin/$1"; chmod +x "$work/bin/$1"; }
    stub id "echo $1"
    stub dpkg-query ":"
    stub apt-get ":"
    stub locale "echo zh_CN.utf8; echo zh_CN.gbk"
    stub npm ":"
    stub node ":"
    [ "$2" = no ] || stub sudo '"$@"'
}

run_setup() {  # uid with_sudo
    make_bin "$1" "$2"
    status=0
    PATH="$work/bin" "$setup" >"$work/out" 2>&1 || status=$?
}

run_setup 0 no
[ $status -eq 0 ] || fail "as root: status $status: $(cat "$work/out")"
grep -q "^apt-get install .* wine " "$work/calls" || fail "as root: apt-get install not run"
! grep -q "^sudo" "$work/calls" || fail "as root: sudo used"

run_setup 1000 yes
[ $status -eq 0 ] || fail "with sudo: status $status: $(cat "$work/out")"
grep -q "^sudo .*apt-get install" "$work/calls" ||
    fail "with sudo: apt-get install not run through sudo"

run_setup 1000 no
[ $status -eq 1 ] || fail "without sudo: status $status, expected 1"
grep -q "missing: the Debian packages .*wine" "$work/out" && grep -q "root" "$work/out" ||
    fail "without sudo: the message does not say what is missing and why: $(cat "$work/out")"
! grep -q "^apt-get" "$work/calls" 2>/dev/null || fail "without sudo: apt-get was run"
echo "ok: as root, through sudo, and a clear refusal without sudo"
