#!/usr/bin/env python3
"""Traditional output against OpenCC: chenggu's readings with --script traditional (text and
JSON), its help and its messages under a zh_TW locale, must be exactly OpenCC's s2tw
conversion of the Simplified ones, with the corrections the generator of the tables applies
(scripts/traditional-texts, OVERRIDES), for readings that reach every verse, every month and
day name, every convention and its alternatives. (scripts/regenerate --check tells whether the
tables are what OpenCC makes of the sources now.)  Usage: traditional_test.py CHENGGU SOURCE_DIR"""
import importlib.machinery
import importlib.util
import json
import os
import random
import subprocess
import sys

chenggu, source = sys.argv[1], sys.argv[2]
loader = importlib.machinery.SourceFileLoader(
    "traditional_texts", os.path.join(source, "scripts/traditional-texts"))
generator = importlib.util.module_from_spec(importlib.util.spec_from_loader(loader.name, loader))
loader.exec_module(generator)


def run(*arguments, locale="zh_CN.UTF-8", stdin=None):
    done = subprocess.run([chenggu, *arguments], input=stdin, capture_output=True, text=True,
                          env=dict(os.environ, LC_ALL=locale))
    return done.stdout + done.stderr


def opencc(texts):
    """OpenCC's s2tw conversion of each text, in one run, corrected as the tables are."""
    separator = "\n@@@@\n"
    done = subprocess.run(["opencc", "-c", "s2tw.json"], input=separator.join(texts),
                          capture_output=True, text=True, check=True)
    converted = done.stdout.split(separator)
    for wrong, right in generator.OVERRIDES.items():
        converted = [text.replace(wrong, right) for text in converted]
    return converted


# Requests that reach every total (so every verse and explanation), leap months, the last
# months of the year and every convention with alternatives.
random.seed(7)
days = [line.split("\t") for line in run("--calendar", "1901-01-01", "2050-12-31").splitlines()[1:]]
sample = [(fields[0], period) for fields in random.sample(days, 6000) for period in "子巳丑亥"]
answers = run("--batch", stdin="".join(f"{date} {period}\n" for date, period in sample))
requests, totals = [], set()
for (date, period), answer in zip(sample, answers.splitlines()):
    total = json.loads(answer)["totalWeight"]
    if total not in totals:
        totals.add(total)
        requests.append([date, period])
assert len(totals) == 51, f"only {len(totals)} totals reached"
for fields in days[::997]:
    requests.append([fields[0], "23:30", "--late-zi", "next-day", "--year-start", "spring"])
requests += [["--lunar", "2020-闰4-16", "午", "--leap-month", "split"], ["2020-12-15"],
             ["1990-01-30"], ["--lunar", "2020-4-1", "子"], ["2023-01-21", "晚子"],
             ["1990-01-30", "子", "--late-zi", "next-day"],
             # Births at birthplaces: the steps, summer time, a repeated hour, a boundary. (Place
             # names are converted one by one when the table is made; OpenCC can read a name in
             # a sentence otherwise, as 臺灣台北市 against 臺北市 alone.)
             ["1990-07-15", "01:00", "乌鲁木齐"], ["1988-09-11", "01:30", "上海"],
             ["1995-03-15", "08:00", "-74.0", "America/New_York"], ["1990-07-15", "12:58", "上海"],
             ["1990-07-15", "14:30", "香港"], ["1990-07-15", "14:30", "甘孜", "--solar-time", "mean"],
             # Places found, with their provinces and countries.
             ["--places", "乌鲁木齐"], ["--places", "纽约"], ["--places", "成都"], ["--places", "阳"]]

simplified, traditional, kinds = [], [], []
for request in requests:
    for json_output in (False, True):
        arguments = (["--json"] if json_output else []) + request
        simplified.append(run(*arguments))
        traditional.append(run("--script", "traditional", *arguments))
        kinds.append(("json" if json_output else "text", request))
for arguments in (["--help"], ["2001-02-29"], ["--lunar", "2021-闰4-1"], ["1990-01-30", "甲"],
                  ["--late-zi", "midnight", "1990-01-30"], ["1988-04-17", "02:30", "成都"]):
    simplified.append(run(*arguments))
    traditional.append(run(*arguments, locale="zh_TW.UTF-8"))
    kinds.append(("message", arguments))

failures = 0
for kind, ours, theirs in zip(kinds, traditional, opencc(simplified)):
    if ours != theirs:
        failures += 1
        if failures <= 5:
            print(f"FAIL {kind}:\n  ours:   {ours[:300]!r}\n  OpenCC: {theirs[:300]!r}")
print(f"{len(kinds) - failures} of {len(kinds)} outputs are OpenCC's conversion")
sys.exit(1 if failures else 0)
