"""Checks what a README example printed: the reading's JSON, after a line with the total
weight and the first verse line where the example shows one, against chenggu --json for the
same request.
Usage: same_answer.py EXPECTED_JSON_FILE PRINTED_FILE LANGUAGE"""
import json
import sys

expected = json.load(open(sys.argv[1], encoding="utf-8"))
printed = open(sys.argv[2], encoding="utf-8").read()
first, _, rest = printed.partition("\n")
if first.startswith(("{", "[")):
    rest = printed
else:
    summary = f"{expected['totalWeight']} 钱 {expected['verseLines'][0]}"
    if first != summary:
        sys.exit(f"{sys.argv[3]}: the first line is {first!r}, expected {summary!r}")
if json.loads(rest) != expected:
    sys.exit(f"{sys.argv[3]}: the JSON differs from chenggu --json:\n{rest}")
print(f"{sys.argv[3]}: the same answer as chenggu --json")
