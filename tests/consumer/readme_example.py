"""Prints a code block of the README's "Use it from your code" section: the first block
fenced with the given language (cmake, cpp, c, python, js), so that the tests run the very
examples a reader copies.  Usage: readme_example.py README LANGUAGE"""
import re
import sys

readme, language = sys.argv[1], sys.argv[2]
text = open(readme, encoding="utf-8").read()
section = re.search(r"^## Use it from your code\n(.*?)(?=^## )", text, re.M | re.S)
if not section:
    sys.exit(f"{readme} has no section 'Use it from your code'")
block = re.search(rf"^```{re.escape(language)}\n(.*?)^```", section.group(1), re.M | re.S)
if not block:
    sys.exit(f"the section has no {language} block")
sys.stdout.write(block.group(1))
