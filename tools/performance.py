#!/usr/bin/env python3
"""Turns what `make bench` printed into docs/performance.md.

    performance.py [--log BENCH_OUTPUT] [--out MARKDOWN]

`make bench` runs every bench/bench_* with repetitions and keeps Google
Benchmark's aggregate rows (NAME_median ...), then bench/startup.py's lines
(STARTUP, MEMORY, TESTWINDOW, IDLECPU); all of it lands in
build/bench-output.txt, which this script reads.
"""
import argparse
import datetime
import os
import platform
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

ROW = re.compile(r"^(BM_\S+?)_median\s+([\d.]+) (ns|us|ms|s)\s+([\d.]+) (ns|us|ms|s)\s+\d+(.*)$")
COUNTER = re.compile(r"(\w+)=([\d.]+)([kMGmun]?)(?:/s)?\b")
LINE = re.compile(r"^(STARTUP|MEMORY|STARTCPU|TESTWINDOW|IDLECPU) (.*)$")
TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}
SCALE = {"": 1.0, "k": 1e3, "M": 1e6, "G": 1e9, "m": 1e-3, "u": 1e-6, "n": 1e-9}


def parse(path):
    rows, lines = {}, {}
    with open(path, encoding="utf-8", errors="replace") as log:
        for text in log:
            text = text.rstrip("\n")
            match = ROW.match(text)
            if match:
                name = match.group(1).replace("/manual_time", "")
                name = re.sub(r"/iterations:\d+", "", name)
                counters = {key: float(value) * SCALE[unit]
                            for key, value, unit in COUNTER.findall(match.group(6))}
                rows[name] = {"ms": float(match.group(2)) * TO_MS[match.group(3)], **counters}
                continue
            match = LINE.match(text)
            if match:
                fields = dict(re.findall(r"(\w+)=(\S+)", match.group(2)))
                fields["verdict"] = match.group(2).split()[-1]
                lines[match.group(1)] = fields
    return rows, lines


def machine():
    cpu = "unknown processor"
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as info:
            for text in info:
                if text.startswith("model name"):
                    cpu = text.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    memory = ""
    try:
        with open("/proc/meminfo", encoding="utf-8") as info:
            kb = int(info.readline().split()[1])
            memory = f", {kb / 1024 / 1024:.0f} GiB of memory"
    except (OSError, ValueError, IndexError):
        pass
    system = platform.system()
    try:
        with open("/etc/debian_version", encoding="utf-8") as version:
            system = f"Debian {version.read().strip()}"
    except OSError:
        pass
    qt = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "qt6-base-dev"],
                        capture_output=True, text=True).stdout.strip() or "unknown"
    load = os.getloadavg()[0]
    return (f"{cpu}, {os.cpu_count()} cores{memory}; {system}, Qt {qt.split('+')[0]}, "
            f"Xvfb for the windows. Load average when written: {load:.1f}.")


def or_na(value, form, scale=1):
    """The figure in the given form, or n/a when the run did not give it."""
    return "n/a" if value is None else form.format(value * scale)


def ms(value, digits=2):
    return or_na(value, f"{{:.{digits}f}} ms")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--log", default=os.path.join(ROOT, "build", "bench-output.txt"))
    parser.add_argument("--out", default=os.path.join(ROOT, "docs", "performance.md"))
    args = parser.parse_args()
    rows, lines = parse(args.log)

    def row(name, key="ms"):
        return rows.get(name, {}).get(key)

    def number(fields, key):
        try:
            return float(fields.get(key))
        except (TypeError, ValueError):
            return None

    startup = lines.get("STARTUP", {})
    memory = lines.get("MEMORY", {})
    cpu_start = lines.get("STARTCPU", {})
    shown = lines.get("TESTWINDOW", {})
    idle = lines.get("IDLECPU", {})
    out = []
    out.append("# Performance figures\n")
    out.append("How fast the program starts, loads its libraries and answers, against what the "
               "same work costs at the least. Every figure is a median, written by "
               "`tools/performance.py` from the output of `make bench` (the Google Benchmark "
               "programs in `bench/`, run with repetitions, and `bench/startup.py`, which "
               "times the real program from outside on an Xvfb of its own).\n")
    out.append(f"Machine: {machine()}\n")
    out.append(f"Written {datetime.date.today().isoformat()}. To bring it up to date: "
               "`make bench` (it runs this script at the end).\n")

    out.append("## Start-up against a bare Qt window\n")
    out.append("From exec to the first top-level window mapped on the X server, and the "
               "resident memory once the window has been drawn and the process is idle. The "
               "floor is `bench/startfloor`: a bare Qt Widgets window of the start window's "
               "size with the same kinds of controls. The program and the floor run in "
               f"alternating pairs ({startup.get('pairs', '?')} of them); a ratio is the median "
               "of the pairs' own ratios.\n")
    out.append("| Figure | Program | Floor | Ratio | Target |")
    out.append("|---|---|---|---|---|")
    out.append(f"| First window mapped | {ms(number(startup, 'program_ms'))} | "
               f"{ms(number(startup, 'floor_ms'))} | {startup.get('ratio', 'n/a')} | "
               f"at most 1.15 ({startup.get('verdict', 'n/a')}) |")
    out.append(f"| Processor time until then | {ms(number(cpu_start, 'program_ms'))} | "
               f"{ms(number(cpu_start, 'floor_ms'))} | {cpu_start.get('ratio', 'n/a')} | "
               "(what the program itself costs, whatever else the machine runs) |")
    kb_program, kb_floor = number(memory, "program_kb"), number(memory, "floor_kb")
    out.append(f"| Resident memory | {or_na(kb_program, '{:.1f} MiB', 1 / 1024)} | "
               f"{or_na(kb_floor, '{:.1f} MiB', 1 / 1024)} | "
               f"{memory.get('ratio', 'n/a')} | at most 1.20 ({memory.get('verdict', 'n/a')}) |")
    out.append(f"| Test window mapped after a click on Start | "
               f"{ms(number(shown, 'after_start_ms'))} | | | under one frame, 16 ms "
               f"({shown.get('verdict', 'n/a')}) |")
    out.append("")

    out.append("## Topic libraries against a plain read\n")
    out.append("A generated library of whole topic blocks (`BM_LoadTopicLibrary`), every "
               "block read, no topic made into text yet, against `QFile::readAll` of the same bytes timed in the same "
               "iteration. The real libraries are about 100 KB together.\n")
    out.append("| Library | Load | Plain read | Load / plain read |")
    out.append("|---|---|---|---|")
    for label, size in (("100 KB", 100 * 1024), ("10 MB", 10 * 1024 * 1024),
                        ("50 MB", 50 * 1024 * 1024)):
        name = f"BM_LoadTopicLibrary/{size}"
        ratio = row(name, "x_plain")
        plain = row(name, "plain_ms")
        out.append(f"| {label} | {ms(row(name), 3)} | {ms(plain, 3)} | "
                   f"{or_na(ratio, '{:.2f}x')} |")
    out.append("\nThe target is 3x at 10 MB.\n")

    out.append("## The test window\n")
    out.append("| Figure | Median | Against |")
    out.append("|---|---|---|")
    x_floor = row("BM_Help", "x_floor")
    out.append(f"| Help with a 5 MB essay file (`BM_Help`) | {ms(row('BM_Help'), 1)} | "
               f"{or_na(x_floor, '{:.2f}x')} one read and one "
               f"setPlainText of the same file ({ms(row('BM_ReadAndSetPlainText'), 1)}) |")
    new_ms = row("BM_SaveToNewFile")
    unsynced_us = row("BM_SaveToNewFile", "unsynced_us")
    record_kb = row("BM_SaveToNewFile", "record_bytes")
    out.append(f"| Saving an essay of 5 KB (a record of "
               f"{or_na(record_kb, '{:.1f} KB', 1 / 1024)}) as a topic's first save: written, "
               f"synced to the disk, the new file's folder synced (`BM_SaveToNewFile`) | "
               f"{ms(new_ms)} | the same bytes written without a sync "
               f"{or_na(unsynced_us, '{:.0f} us')}; the goal is under 50 ms "
               f"({or_na(new_ms, 'met' if (new_ms or 0) < 50 else 'not met')}) |")
    large_ms = row("BM_SaveTo50MBFile")
    x_empty = row("BM_SaveTo50MBFile", "x_empty")
    empty_us = row("BM_SaveTo50MBFile", "empty_us")
    out.append(f"| The same save to a 50 MB essay file (`BM_SaveTo50MBFile`) | {ms(large_ms)} | "
               f"{or_na(x_empty, '{:.2f}x')} the same save to an empty file "
               f"({or_na(empty_us, '{:.2f} ms', 1e-3)}); the goal is under 50 ms "
               f"({or_na(large_ms, 'met' if (large_ms or 0) < 50 else 'not met')}) |")
    tick = row("BM_TimerTick")
    step = row("BM_CountdownTick")
    paint = row("BM_TimerTickAndPaint")
    out.append(f"| A countdown tick: the timer handler with its label (`BM_TimerTick`) | "
               f"{or_na(tick, '{:.2f} us', 1000)} | the step alone "
               f"{or_na(step, '{:.0f} ns', 1e6)}; with the repaint "
               f"{or_na(paint, '{:.1f} us', 1000)} |")
    cpu = number(idle, "countdown_pct")
    out.append(f"| Idle CPU of a running countdown (real program, {idle.get('seconds', '?')} s "
               f"after Start, all threads) | {or_na(cpu, '{:.3f} %')} of "
               f"one core | a tick every 500 ms |")
    out.append("\nA save is timed from the start of the append until the disk has confirmed the "
               "record, in a folder below the current one (the build folder for `make bench`), "
               "so on the machine's own disk: a sync on a file system in memory costs nothing.\n")

    out.append("## The Review window\n")
    records = row("BM_OpenReviewWindow", "records")
    files_mb = row("BM_OpenReviewWindow", "files_MB")
    out.append(f"Years of practice in `user/`: {or_na(records, '{:,.0f}')} records, "
               f"{or_na(files_mb, '{:.1f} MB')} in essay files spread over the Issue and Argument topics "
               "(`BM_OpenReviewWindow`). Opening the window reads every file, places and dates "
               "every record, lists them newest first and draws the window. Memory is the "
               "peak resident size while it opens, beyond what the process held before.\n")
    out.append("| Figure | Median | Target |")
    out.append("|---|---|---|")
    open_ms = row("BM_OpenReviewWindow")
    peak = row("BM_OpenReviewWindow", "x_files_peak")

    def verdict(value, limit):
        return "n/a" if value is None else ("met" if value < limit else "not met")

    out.append(f"| The window open and drawn | {ms(open_ms, 0)} | under 1 s "
               f"({verdict(open_ms, 1000)}) |")
    out.append(f"| Peak memory while it opens | {or_na(peak, '{:.2f}x')} the files' size | "
               f"under 3x ({verdict(peak, 3)}) |")
    out.append(f"| A search that finds nothing (every topic and answer read) | "
               f"{ms(row('BM_OpenReviewWindow', 'search_ms'), 0)} | |")
    out.append(f"| The first opening in a run, which also opens the dictionaries | "
               f"{ms(row('BM_OpenReviewWindow', 'first_open_ms'), 0)} | |")
    out.append("")

    out.append("## The essay report\n")
    out.append("Every figure of the report from the answer and topic text (`BM_Report`), the "
               "spelling check against both dictionaries included; the answers are real words "
               "from the American dictionary's list, about half of them different, one in a "
               "hundred misspelled. Hunspell's suggestions are searched apart, one word at a "
               "time once the report shows (`BM_SuggestOneWord`).\n")
    out.append("| Figure | Median | Target |")
    out.append("|---|---|---|")
    for words, limit in ((600, 20), (5000, 100)):
        took = row(f"BM_Report/{words}")
        out.append(f"| The report of a {words:,}-word answer | {ms(took, 1)} | under {limit} ms "
                   f"({verdict(took, limit)}) |")
    out.append(f"| Suggestions for one misspelled word | {ms(row('BM_SuggestOneWord'), 0)} | |")
    out.append(f"| Opening the two dictionaries | {ms(row('BM_OpenDictionaries'), 0)} | |")
    out.append("")

    out.append("## qelreport\n")
    out.append("The built `qelreport` started afresh for each run (`bench_qelreport`), timed from "
               "outside, with the processor time it used in brackets (the machine is shared, "
               "and its load stretches the time but not the processor time): the whole CSV of "
               "5,000 records in about 50 MB of essay files, every answer spelled against both "
               "dictionaries, and `--essay` on one 5,000-word essay, its suggestions included "
               "(real words, one in a hundred misspelled: about 40 suggestions at tens of "
               "milliseconds each).\n")
    out.append("| Figure | Median | Target |")
    out.append("|---|---|---|")
    for name, what, limit in (("BM_QelReportWholeCsv", "The whole CSV, 5,000 records", 20000),
                              ("BM_QelReportOneEssay", "`--essay` on a 5,000-word essay", 1000)):
        took, cpu = row(name), row(name, "cpu_s")
        out.append(f"| {what} | {ms(took, 0)} ({or_na(cpu, '{:.0f} ms', 1000)}) | "
                   f"under {limit / 1000:g} s ({verdict(took, limit)}) |")
    out.append("")

    with open(args.out, "w", encoding="utf-8") as doc:
        doc.write("\n".join(out))
    print(f"wrote {os.path.relpath(args.out, ROOT)}")


if __name__ == "__main__":
    sys.exit(main())
