#!/usr/bin/env python3
"""Turns the figures that the reliability tests print into docs/reliability.md.

    reliability.py [--log CTEST_LOG] [--fuzz FUZZ_FIGURES] [--out MARKDOWN]

The tests print lines such as

    FIGURE hostile-file <case> <outcome>
    FIGURE hostile-load <case> <outcome>
    FIGURE save-fault <case> essays-lost=N ok|FAILED|skipped(...)
    FIGURE help-big-file <case> <outcome>
    FIGURE soak questions=N records-checked=N ... rss10=KB rss300=KB

and ctest keeps them in its log. The fuzz script leaves lines
"fuzz TARGET: N executions, N findings" in build-fuzz/fuzz-figures.txt.
"""
import argparse
import datetime
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def shown(path):
    """A path as the reader knows it: below the checkout, or as build/... of another one."""
    rel = os.path.relpath(path, ROOT)
    if rel.startswith(".."):
        parts = os.path.normpath(path).split(os.sep)
        for anchor in ("build", "build-fuzz", "build-asan"):
            if anchor in parts:
                return os.path.join(*parts[parts.index(anchor):])
        return os.path.basename(path)
    return rel

FIGURE = re.compile(r"FIGURE (\S+) (.*?)\s*$")
FUZZ = re.compile(r"^fuzz (\S+): (\d+) executions, (\d+) findings")
TEST_START = re.compile(r"^\d+/\d+ Test: (\S+)")
XFAIL = re.compile(r"^XFAIL\s*: (\S+?)\(\) (.*)$")
TEST_RESULT = re.compile(r"^Test (Passed|Failed|Not Run)\b|^\*\*\*(\w+)")

# What each hostile library case is, in the order the table lists them.
LIBRARY_CASES = [
    ("missing", "ai.lib removed"),
    ("empty", "a library of zero bytes"),
    ("short-by-one", "ai.lib with 149 of its 150 topics"),
    ("lf-only", "aa.lib with LF line ends only"),
    ("random-bytes", "256 KB of seeded random bytes"),
    ("nul-bytes", "64 KB of NUL bytes"),
    ("directory", "a folder in the library's place"),
    ("unreadable", "mode 000, run as a user whom permissions bind"),
    ("nul-in-topics", "valid, with NUL bytes inside topic lines"),
    ("50mb-valid", "150 topics of 3500 lines, about 50 MB"),
]

SAVE_CASES = [
    ("no-user-folder", "the user folder removed"),
    ("user-read-only", "the user folder mode 555 (unprivileged user)"),
    ("user-is-a-file", "a file in the user folder's place"),
    ("file-read-only", "the essay file mode 444 (unprivileged user)"),
    ("file-is-a-directory", "a folder in the essay file's place"),
    ("file-to-dev-full", "the essay file a symbolic link to /dev/full"),
]


def read_log(path):
    """Returns (figures, results, known): figures as (kind, case_and_rest, test),
    results as {test: outcome}, known as the expected failures (function, why)."""
    figures, results, known = [], {}, []
    test = None
    with open(path, encoding="utf-8", errors="replace") as log:
        for line in log:
            line = line.rstrip("\n")
            m = TEST_START.match(line)
            if m:
                test = m.group(1)
                continue
            m = TEST_RESULT.match(line)
            if m and test:
                results[test] = m.group(1) or m.group(2)
                continue
            m = XFAIL.match(line)
            if m and ("hostile" in (test or "") or "soak" in (test or "")):
                known.append((m.group(1), m.group(2)))
                continue
            m = FIGURE.search(line)
            if m:
                figures.append((m.group(1), m.group(2), test))
    return figures, results, known


def read_fuzz(path):
    rows = []
    if not os.path.exists(path):
        return None
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = FUZZ.match(line.strip())
            if m:
                rows.append((m.group(1), int(m.group(2)), int(m.group(3))))
    return rows


def split_case(rest):
    case, _, outcome = rest.partition(" ")
    return case, outcome.strip()


def keyvalues(text):
    return dict(pair.split("=", 1) for pair in text.split() if "=" in pair)


def table(header, rows):
    out = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    out += ["| " + " | ".join(str(c) for c in row) + " |" for row in rows]
    return "\n".join(out)


def describe_outcome(outcome):
    if not outcome:
        return "not run"
    if outcome.startswith("fault-box"):
        return "fault box, then exit status " + outcome.split("exit=", 1)[-1]
    if outcome.startswith("fault-named"):
        return "fault box names the file and the cause"
    if outcome.startswith("started") or outcome.startswith("loaded"):
        kv = keyvalues(outcome.replace(",", " "))
        text = "started normally" if outcome.startswith("started") else "loaded whole"
        if "ms" in kv:
            text += f" in {kv['ms']} ms"
        if "normal-ms" in kv:
            text += f" (a normal start: {kv['normal-ms']} ms)"
        return text
    if outcome.startswith("skipped"):
        return outcome.replace("skipped(", "skipped (", 1)
    return "**" + outcome + "**"


def build(figures, results, known, fuzz, log_path, fuzz_path):
    by_kind = {}
    for kind, rest, test in figures:
        case, outcome = split_case(rest) if kind != "soak" else ("", rest)
        # A later run of the same case in the same log wins.
        by_kind.setdefault(kind, {})[case] = outcome

    lines = [
        "# Reliability figures",
        "",
        "What the program was made to survive, and how it fared. Every figure below "
        "comes from a test run, not from hand: the end-to-end harness "
        "`tests/e2e/hostile.sh` drives the real program under Xvfb with broken topic "
        "libraries and saves that cannot reach the disk; `tests/tst_hostile.cpp` checks "
        "in-process that the fault box names the file and the cause; `tests/tst_soak.cpp` "
        "runs 300 practice questions in one session; the fuzz targets (`tools/fuzz.sh`) "
        "feed generated input to the readers of the program's files.",
        "",
        "To bring it up to date: `cd build && ctest -R \"hostile|soak\"`, then "
        "`python3 tools/reliability.py`.",
        "",
        f"Generated {datetime.date.today().isoformat()} from `{shown(log_path)}`"
        + (f" and `{shown(fuzz_path)}`." if fuzz is not None else "."),
        "",
        "## Fuzzing",
        "",
    ]
    if fuzz:
        lines.append(table(["Target", "Executions", "Findings"],
                           [(t, f"{n:,}", k) for t, n, k in fuzz]))
        lines += ["", f"In all: {sum(n for _, n, _ in fuzz):,} executions, "
                  f"{sum(k for _, _, k in fuzz)} findings."]
    else:
        lines.append(f"No fuzz figures: `{shown(fuzz_path)}` is absent "
                     "or empty (run `tools/fuzz.sh`).")

    files = by_kind.get("hostile-file", {})
    loads = by_kind.get("hostile-load", {})
    lines += [
        "",
        "## Hostile topic libraries",
        "",
        "Each broken library must stop the start-up with the \"QEL Simulator\" fault box "
        "and an exit status that is not zero, with no crash and no hang; a valid one, "
        "however odd or large, must start normally (the 50 MB one within 2 seconds). "
        "Through the real program the box's title and the exit status are checked; "
        "in-process (`tests/tst_hostile.cpp`), the box's text must name the file's full "
        "path and the cause.",
        "",
    ]
    rows = []
    listed = {c for c, _ in LIBRARY_CASES}
    extra = [(c, "") for c in list(files) + list(loads) if c not in listed]
    for case, what in LIBRARY_CASES + sorted(set(extra)):
        rows.append((case, what, describe_outcome(files.get(case)),
                     describe_outcome(loads.get(case)) if case in loads else "—"))
    lines.append(table(["Case", "File", "Real program", "In-process"], rows))
    tried = len([c for c in files if not files[c].startswith("skipped")])
    lines += ["", f"Tried through the real program: {tried} cases."]

    saves = by_kind.get("save-fault", {})
    lines += [
        "",
        "## Save faults",
        "",
        "Each save is first made to fail; the \"Not Saved\" box must show, the test window "
        "must stay with the answer in it, and the file must hold only whole records. The "
        "cause is then mended and the section ended again: the same answer must reach the "
        "file (checked byte for byte with `tests/e2e/check_record.py`), and a next question "
        "must save as usual. An essay counts as lost when an answer typed in the road is "
        "missing from its file at the end.",
        "",
    ]
    rows = []
    lost_total = 0
    for case, what in SAVE_CASES + sorted((c, "") for c in saves if c not in dict(SAVE_CASES)):
        outcome = saves.get(case)
        if outcome is None:
            rows.append((case, what, "not run", "—"))
            continue
        kv = keyvalues(outcome)
        status = outcome.split()[-1] if outcome.split() else ""
        if "essays-lost" in kv:
            lost_total += int(kv["essays-lost"])
            rows.append((case, what, kv["essays-lost"],
                         "passed" if status == "ok" else "**" + status + "**"))
        else:
            rows.append((case, what, "—", describe_outcome(outcome)))
    lines.append(table(["Case", "Fault", "Essays lost", "Road"], rows))
    lines += ["", f"Essays lost in all: {lost_total}."]

    helps = by_kind.get("help-big-file", {})
    if helps:
        lines += ["", "Help reading a hostile essay file back (the section then ends without "
                  "saving, and the file must be unchanged):", ""]
        rows = []
        for case, outcome in helps.items():
            kv = keyvalues(outcome.replace(",", " "))
            result = "returned" if outcome.startswith("returned") else "**" + outcome + "**"
            rows.append((case, "20 MB of seeded random bytes" if "random" in case else "",
                         result, kv.get("ms", "—")))
        lines.append(table(["Case", "File", "Help", "Milliseconds until it answered again"],
                           rows))

    soak = by_kind.get("soak", {}).get("")
    lines += ["", "## Soak", ""]
    if soak:
        kv = keyvalues(soak)
        rss10, rss300 = int(kv.get("rss10", 0)), int(kv.get("rss300", 0))
        growth = f"{(rss300 - rss10) * 100.0 / rss10:+.1f} %" if rss10 else "—"
        lines += [
            "One session of practice questions, Issue and Argument in turn, ended with Test "
            "Quit, Section Exit and Answer Confirm in rotation, Help on every tenth "
            "question; every essay file is then compared byte for byte with the records "
            "built for it (the test keeps its expected records on disk, so they do not count "
            "as memory). Memory is the process's resident set (VmRSS) in the normal build, "
            "the live heap under AddressSanitizer; it must stay within 10 % of its size "
            "after the tenth question. The figures here are the normal build's.",
            "",
            table(["Questions", "Records checked", "Essay files", "Help clicks",
                   "Help with earlier essays", "RSS after 10th", "RSS after last", "Growth"],
                  [(kv.get("questions", "—"), kv.get("records-checked", "—"),
                    kv.get("files", "—"), kv.get("helps", "—"),
                    kv.get("helps-with-file", "—"), f"{rss10:,} kB", f"{rss300:,} kB",
                    growth)]),
        ]
    else:
        lines.append("No soak figures in the log (tst_soak did not run, or failed before "
                     "its checks were done).")

    if known:
        lines += ["", "## Known faults", "",
                  "Checks that fail on purpose until the program is mended (marked as "
                  "expected failures, so the suite stays green):", ""]
        lines.append(table(["Check", "What goes wrong"], sorted(set(known))))

    relevant = sorted(t for t in results if "hostile" in t or "soak" in t)
    if relevant:
        lines += ["", "## Test results in the log", ""]
        lines.append(table(["Test", "Result"], [(t, results[t]) for t in relevant]))
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--log", default=os.path.join(ROOT, "build/Testing/Temporary/LastTest.log"))
    parser.add_argument("--fuzz", default=os.path.join(ROOT, "build-fuzz/fuzz-figures.txt"))
    parser.add_argument("--out", default=os.path.join(ROOT, "docs/reliability.md"))
    args = parser.parse_args()
    if not os.path.exists(args.log):
        sys.exit(f"no ctest log at {args.log}")
    figures, results, known = read_log(args.log)
    if not figures:
        sys.exit(f"no FIGURE lines in {args.log}: run ctest -R \"hostile|soak\" first")
    fuzz = read_fuzz(args.fuzz)
    text = build(figures, results, known, fuzz, args.log, args.fuzz)
    os.makedirs(os.path.dirname(args.out), exist_ok=True)
    with open(args.out, "w", encoding="utf-8") as f:
        f.write(text)
    print(f"wrote {args.out}: {len(figures)} figures")


main()
