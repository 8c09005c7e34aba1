#!/usr/bin/env python3
"""The shared library's exported surface against its public headers: every dynamic symbol
libchenggu.so defines is a function the headers of include/chenggu declare with
CHENGGU_EXPORT (in chenggu::v1, or the C interface), and every such declaration is exported.
Usage: exported_symbols_test.py LIBRARY INCLUDE_DIR"""
import pathlib
import re
import subprocess
import sys

library, include = sys.argv[1], pathlib.Path(sys.argv[2])

# What the headers declare: Name for a function, Type::Name for a member function.
declared = set()
for header in sorted((include / "chenggu").glob("*.h")):
    enclosing = []
    for line in header.read_text(encoding="utf-8").splitlines():
        opened = re.match(r"^(\s*)(?:struct|class)\s+(?:\[\[\w+\]\]\s+)?(\w+)[^;]*\{", line)
        if opened:
            enclosing.append((len(opened.group(1)), opened.group(2)))
        elif enclosing and re.match(rf"^\s{{{enclosing[-1][0]}}}\}};", line):
            enclosing.pop()
        exported = re.match(r"^\s*CHENGGU_EXPORT\b.*?\b(\w+)\s*\(", line)
        if exported:
            scope = [name for _, name in enclosing]
            declared.add("::".join(scope + [exported.group(1)]))

# What the library exports, demangled.
listing = subprocess.run(["nm", "-D", "--defined-only", library], capture_output=True,
                         text=True, check=True).stdout
names = [line.split()[-1] for line in listing.splitlines() if len(line.split()) == 3]
demangled = subprocess.run(["c++filt"], input="\n".join(names), capture_output=True, text=True,
                           check=True).stdout.splitlines()

exported, strays = set(), []
for symbol in demangled:
    if re.fullmatch(r"chenggu_\w+", symbol):
        exported.add(symbol)
        continue
    function = re.match(r"^chenggu::v1::((?:\w+::)?\w+)(?:\[abi:\w+\])?\(", symbol)
    if function:
        exported.add(function.group(1))
    else:
        strays.append(symbol)

faults = [f"exported but not declared by a public header: {s}" for s in strays]
faults += [f"exported but not declared by a public header: {n}"
           for n in sorted(exported - declared)]
faults += [f"declared CHENGGU_EXPORT but not exported: {n}" for n in sorted(declared - exported)]
for fault in faults:
    print(fault)
print(f"{len(exported)} functions exported, {len(declared)} declared")
sys.exit(1 if faults else 0)
