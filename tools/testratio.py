#!/usr/bin/env python3
"""Lines of test code (tests/) beside lines of program code (src/): non-blank lines
that are not whole-line comments, in the files git tracks. The aim is 25-33 %."""
import re
import subprocess

CODE = re.compile(r"\.(c|cc|cpp|cxx|h|hh|hpp|in|sh|bash|py|cmake)$|(^|/)CMakeLists\.txt$")
COMMENT = re.compile(r"^\s*(//|#(?!include|define|if|endif|else|elif|pragma|undef))")


def count(folder):
    files = subprocess.run(["git", "ls-files", "--", folder], capture_output=True, text=True,
                           check=True).stdout.split()
    return sum(1 for f in files if CODE.search(f)
               for line in open(f, encoding="utf-8", errors="replace")
               if line.strip() and not COMMENT.match(line))


tests, program = count("tests"), count("src")
print(f"test code {tests} lines, program code {program} lines: {100 * tests / program:.1f}%"
      " (aim: 25-33%, at most 40%)")
