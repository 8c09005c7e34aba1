#!/usr/bin/env bash
# The house rules, each shown to pass on the project and to fail on a copy that breaks it:
#   layers      scripts/check-layers: an include that goes up a layer is named
#   regenerate  scripts/regenerate --check (OpenCC's tables, offline): a changed table is named
# Usage: house_test.sh layers|regenerate SOURCE_DIR
set -euo pipefail
rule=$1 source=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The project's tracked files (with changes not yet committed) in a repository of their own.
mkdir "$tmp/copy"
(cd "$source" && git ls-files -z --cached --others --exclude-standard |
    tar --null --ignore-failed-read -T - -cf - 2>/dev/null) | tar -x -C "$tmp/copy"
git -C "$tmp/copy" init -q && git -C "$tmp/copy" add -A

expect_failure() {  # expect_failure WHAT COMMAND...: fails, naming WHAT
    if "${@:2}" >"$tmp/out" 2>&1; then echo "passed, but should have failed: $*"; exit 1; fi
    grep -qF "$1" "$tmp/out" || { echo "the failure does not name $1:"; cat "$tmp/out"; exit 1; }
}

case $rule in
layers)
    "$source/scripts/check-layers" "$tmp/copy"
    echo '#include "interface/json_writer.h"' >>"$tmp/copy/time/places.cpp"
    expect_failure 'time/places.cpp (time) uses interface/json_writer.h' \
        "$source/scripts/check-layers" "$tmp/copy"
    ;;
regenerate)
    ROOT=$tmp/copy "$source/scripts/regenerate" --check traditional-texts
    sed -i 's/農曆/农历/' "$tmp/copy/text/generated/traditional_texts.h"
    expect_failure text/generated/traditional_texts.h \
        env ROOT="$tmp/copy" "$source/scripts/regenerate" --check traditional-texts
    ;;
esac
echo "the $rule check passes on the project and fails on a copy that breaks it"
