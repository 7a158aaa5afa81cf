#!/bin/sh
# Builds the fuzz targets with clang into build-fuzz/ and runs each one for
# SECONDS (default 60) on a copy of its seed corpus. New inputs stay under
# build-fuzz/corpus/; the committed seeds in tests/fuzz/corpus/ are only read.
# Exits non-zero when any target crashed, broke an invariant or ran out of time
# or memory.
set -eu

DURATION="${1:-60}"
case "$DURATION" in
'' | *[!0-9]* | 0)
    echo "usage: $0 [SECONDS]" >&2
    exit 2
    ;;
esac

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$ROOT/build-fuzz"
TARGETS="topiclibrary numberentry essayfile essayrecords topickey essaynotes"

cmake -S "$ROOT/tests/fuzz" -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD"

# Scratch files of the targets, also those a crashed run leaves, stay in the build tree.
TMPDIR="$BUILD/tmp"
export TMPDIR
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"

FIGURES="$BUILD/fuzz-figures.txt"
# ASan keeps freed memory aside to catch its late use, 256 MB of it by default:
# half the memory limit below, which a target that allocates much per input
# (the key guess) reached within a minute. A quarter of that still catches it.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=64"
export ASAN_OPTIONS

# One target's run; its figure line goes to logs/NAME.figure, and a finding
# leaves logs/NAME.failed.
run_target() {
    t=$1
    corpus="$BUILD/corpus/$t"
    artifacts="$BUILD/artifacts/$t"
    log="$BUILD/logs/$t.log"
    rm -rf "$artifacts" "$BUILD/logs/$t.failed" # only this run's findings count
    mkdir -p "$corpus" "$artifacts" "$BUILD/logs"
    cp "$ROOT/tests/fuzz/corpus/$t/"* "$corpus/"
    status=0
    (cd "$BUILD" && "./fuzz_$t" -max_total_time="$DURATION" -rss_limit_mb=512 \
        -malloc_limit_mb=512 -timeout=10 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus") >"$log" 2>&1 || status=$?
    runs="$(sed -n 's/^stat::number_of_executed_units: *\([0-9][0-9]*\).*/\1/p' "$log" | tail -n 1)"
    # A run cut short by a finding has no final figure: take its last status line.
    [ -n "$runs" ] || runs="$(sed -n 's/^#\([0-9][0-9]*\).*/\1/p' "$log" | tail -n 1)"
    [ -n "$runs" ] || runs=0
    findings="$(find "$artifacts" -type f | wc -l)"
    [ "$status" -eq 0 ] || [ "$findings" -ne 0 ] || findings=1
    echo "fuzz $t: $runs executions, $findings findings" >"$BUILD/logs/$t.figure"
    if [ "$findings" -ne 0 ] || [ "$runs" -eq 0 ]; then
        {
            echo "  log: $log"
            find "$artifacts" -type f -exec echo "  input: {}" \;
            grep -E '^(==[0-9]+==ERROR|SUMMARY|invariant broken)' "$log" | head -n 5 | sed 's/^/  /'
        } >"$BUILD/logs/$t.failed"
    fi
}

# All at once, each for its full time: the test pass waits a minute, not four.
for t in $TARGETS; do run_target "$t" & done
wait

failed=0
: >"$FIGURES"
for t in $TARGETS; do
    cat "$BUILD/logs/$t.figure" | tee -a "$FIGURES"
    if [ -e "$BUILD/logs/$t.failed" ]; then
        failed=1
        cat "$BUILD/logs/$t.failed" >&2
    fi
done
exit "$failed"
