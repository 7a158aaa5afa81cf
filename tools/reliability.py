#!/usr/bin/env python3
"""Writes docs/reliability.md from what the last test pass printed.

    reliability.py [--log CTEST_LOG] [--fuzz FUZZ_FIGURES] [--draft DRAFT_FIGURES] [--out MD]

Sources: the end-to-end roads ("road: NAME" followed by "ok", "FAIL: ..." or
"SKIPPED: ...") and the soak's "FIGURE soak ..." line in ctest's log; the lines
"fuzz TARGET: N executions, N findings" that tools/fuzz.sh leaves; and the draft
figures of docs/draft-figures.txt (measured by hand, as that file says).
"""
import argparse
import datetime
import os
import re

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# What each road with an argument does to the program, by its table row.
CASES = {
    "library:missing": "ai.lib removed",
    "library:empty": "aa.lib of zero bytes",
    "library:short-by-one": "ai.lib with 149 of its 150 topics",
    "library:lf-only": "aa.lib with LF line ends only",
    "library:random-bytes": "ai.lib of 256 KB of seeded random bytes",
    "library:nul-bytes": "aa.lib of 64 KB of NUL bytes",
    "library:directory": "a folder in aa.lib's place",
    "library:unreadable": "ai.lib of mode 000, the program run as a user whom permissions bind",
    "save:no-user-folder": "the user folder removed",
    "save:user-is-a-file": "a file in the user folder's place",
    "save:user-read-only": "the user folder of mode 555 (unprivileged user)",
    "save:file-read-only": "the essay file of mode 444 (unprivileged user)",
    "save:file-is-a-folder": "a folder in the essay file's place",
    "save:disk-full": "the essay file a link to /dev/full",
    "durable:save": "a draft written, then the section ended with OK, the file calls noted",
    "durable:recovery": "a draft written, killed with SIGKILL, OK at the next start, the file "
                        "calls noted",
    "durable:sync-fails": "the essay file's sync failed with EIO by a preloaded shim",
    "draft:recovered": "killed with SIGKILL after the first draft; OK at the next start",
    "draft:refused": "killed with SIGKILL after the first draft; Cancel at the next start",
    "draft:killed-in-write": "killed inside the second draft's write, before its rename",
}


def roads(log):
    found, road = {}, None
    for line in log:
        m = re.match(r"road: (\S+)", line)
        if m:
            road = m.group(1)
            found[road] = "passed"
        elif road and re.match(r"\s+FAIL: ", line):
            found[road] = "FAILED: " + line.split("FAIL: ", 1)[1].strip()
        elif road and re.match(r"\s+SKIPPED: ", line):
            found[road] = "skipped: " + line.split("SKIPPED: ", 1)[1].strip()
    return found


def table(header, rows):
    lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    return "\n".join(lines + ["| " + " | ".join(str(c) for c in row) + " |" for row in rows])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--log", default=os.path.join(ROOT, "build/Testing/Temporary/LastTest.log"))
    parser.add_argument("--fuzz", default=os.path.join(ROOT, "build-fuzz/fuzz-figures.txt"))
    parser.add_argument("--draft", default=os.path.join(ROOT, "docs/draft-figures.txt"))
    parser.add_argument("--out", default=os.path.join(ROOT, "docs/reliability.md"))
    args = parser.parse_args()
    log = open(args.log, encoding="utf-8", errors="replace").read().splitlines()
    found = roads(log)
    soak = next((dict(kv.split("=") for kv in line.split("FIGURE soak ")[1].split())
                 for line in log if "FIGURE soak " in line), None)
    fuzz = [re.match(r"fuzz (\S+): (\d+) executions, (\d+) findings", line).groups()
            for line in open(args.fuzz) if line.startswith("fuzz ")] if os.path.exists(args.fuzz) else []
    draft = open(args.draft).read().strip() if os.path.exists(args.draft) else "(not measured)"

    out = ["# Reliability figures", "",
           "What the program was made to survive, and how it fared in the last test pass. "
           "Written by `tools/reliability.py` on " + datetime.date.today().isoformat() +
           " from ctest's log, the fuzz figures and the draft figures; run `make test`, "
           "then `python3 tools/reliability.py` to bring it up to date.", ""]
    for title, prefix, text in [
            ("Hostile topic libraries", "library:",
             "Each must stop the start-up with the \"QEL Simulator\" fault box, before any window, "
             "and an exit status that is neither 0 nor a signal's."),
            ("Saves that cannot reach the disk", "save:",
             "Each must show \"Not Saved\" and keep the test window with the answer; the earlier "
             "record must stay whole, and once the cause is mended, ending the section again must "
             "save the same answer, byte for byte."),
            ("Saves on the disk", "durable:",
             "A preloaded shim notes the program's file calls. The draft's rename must be followed "
             "by a sync of its folder; the record's write by a sync of the essay file, then of its "
             "new file's folder, and only then may the draft be removed. A sync that fails must "
             "show \"Not Saved\", keep the draft and take the record back."),
            ("Drafts", "draft:",
             "The answer must come back whole at the next start (OK), or leave no draft and an "
             "unchanged essay file (Cancel); a kill inside a draft write must leave the previous "
             "draft to recover.")]:
        out += ["## " + title, "", text, "",
                table(["Case", "What was done", "Through the real program"],
                      [(road.split(":")[1], CASES[road], found.get(road, "not run"))
                       for road in CASES if road.startswith(prefix)]), ""]
    out += ["How much typing a kill can lose, and what one draft write costs:", "", draft, ""]
    if soak:
        growth = 100.0 * (int(soak["kb100"]) - int(soak["kb10"])) / int(soak["kb10"])
        out += ["## Soak", "",
                "One session of 100 questions of both kinds, ended every way there is, with Help "
                "now and then; every essay file is compared byte for byte with the records built "
                "for it. Memory is VmRSS in the plain build (under AddressSanitizer, LeakSanitizer "
                "checks for leaks instead) and may grow by "
                "10 % at most after the tenth question.", "",
                table(["Questions", "Essay files", "After the 10th", "After the last", "Growth"],
                      [(soak["questions"], soak["files"], soak["kb10"] + " kB",
                        soak["kb100"] + " kB", f"{growth:+.1f} %")]), ""]
    if fuzz:
        out += ["## Fuzzing", "", table(["Target", "Executions", "Findings"],
                                       [(t, f"{int(n):,}", f) for t, n, f in fuzz]), ""]
    open(args.out, "w").write("\n".join(out))


main()
