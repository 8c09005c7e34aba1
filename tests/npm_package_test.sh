#!/usr/bin/env bash
# The npm package as a developer meets it: the tarball installed with npm into a project of
# its own (offline), the README's example run with node, and the package's tests under node's
# test runner, each against the native chenggu.
# Usage: npm_package_test.sh TARBALL CHENGGU SOURCE_DIR
set -euo pipefail
tarball=$1 chenggu=$2 source=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
python=/usr/bin/python3

cd "$tmp"
echo '{"name": "reading", "private": true, "type": "module"}' >package.json
npm install --offline --no-audit --no-fund --silent "$tarball"
"$python" "$source/tests/consumer/readme_example.py" "$source/README.md" js >reading.mjs
"$chenggu" --json 1990-01-30 子 >expected.json
node reading.mjs >printed
"$python" "$source/tests/consumer/same_answer.py" expected.json printed JavaScript
cp "$source/js/test/chenggu.test.mjs" .
CHENGGU=$chenggu node --test chenggu.test.mjs
