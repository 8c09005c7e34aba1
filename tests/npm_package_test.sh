#!/usr/bin/env bash
# The npm package as a developer meets it: the tarball installed with npm into a project made
# by npm init (offline), the README's example run as the README says (a .mjs file) and from
# CommonJS through import(), and the package's tests under node's test runner, each against
# the native chenggu.
# Usage: npm_package_test.sh TARBALL CHENGGU SOURCE_DIR
set -euo pipefail
tarball=$1 chenggu=$2 source=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
python=/usr/bin/python3

cd "$tmp"
npm init -y >/dev/null
npm install --offline --no-audit --no-fund --silent "$tarball"
"$python" "$source/tests/consumer/readme_example.py" "$source/README.md" js >reading.mjs
"$chenggu" --json 1990-01-30 子 >expected.json
node reading.mjs >printed
"$python" "$source/tests/consumer/same_answer.py" expected.json printed JavaScript
# CommonJS: the README's way, import() inside an async function.
"$python" "$source/tests/consumer/readme_example.py" "$source/README.md" cjs >reading.cjs
node reading.cjs >printed
"$python" "$source/tests/consumer/same_answer.py" expected.json printed "JavaScript (CommonJS)"
cp "$source/js/test/chenggu.test.mjs" .
CHENGGU=$chenggu node --test chenggu.test.mjs
