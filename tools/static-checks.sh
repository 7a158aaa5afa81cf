#!/bin/sh
# Static checks that CI runs and that must come out without findings:
#  (a) clang-format --dry-run -Werror over the project's C++ sources (tracked and
#      untracked-not-ignored *.cpp and *.h under src/, tests/, bench/, tools/picgen/);
#  (b) clang-tidy with the repository's .clang-tidy over each translation unit of the
#      build's compile_commands.json that lies in src/, tests/ or bench/ (moc and rcc
#      output in the build tree is not ours and is skipped).
# Usage: tools/static-checks.sh [build-directory]   (default: build/; must be configured)
#
# clang-tidy spends about ten seconds a file walking Qt's headers, so a file that came out
# clean is remembered in <build>/static-checks/ under a hash of everything its result
# depends on: the tool's version, .clang-tidy, the compile command and the file as clang
# preprocesses it (every header it reads, with clang's own macros). A later run checks
# again only what changed. STATIC_CHECKS_NO_CACHE=1 checks every file.
set -eu

# One clang-tidy job, run by xargs in a fresh shell: checks translation unit $2 and
# leaves done.$2 (clean, with cached.$2 when the cache said so) or log.$2 (findings).
if [ "${1:-}" = "--check-one" ]; then
    n=$2
    file=$(cat "$work/file.$n")
    key=""
    if [ -n "$cpp" ] && [ "${STATIC_CHECKS_NO_CACHE:-0}" != 1 ] &&
        sh "$work/pp.$n" >"$work/pp-out.$n" 2>/dev/null; then
        key=$(cat "$work/config" "$work/key.$n" "$work/pp-out.$n" | sha256sum | cut -d' ' -f1)
        rm -f "$work/pp-out.$n"
        if [ -f "$cache/$key" ]; then
            : >"$work/cached.$n"
            : >"$work/done.$n"
            exit 0
        fi
    fi
    rm -f "$work/pp-out.$n"
    if "$tidy" -p "$work/db" --quiet --warnings-as-errors='*' --header-filter="$header_filter" \
        "$file" >"$work/out.$n" 2>&1 && ! grep -q -e 'warning:' -e 'error:' "$work/out.$n"; then
        if [ -n "$key" ]; then : >"$cache/$key"; fi
        : >"$work/done.$n"
    else
        mv "$work/out.$n" "$work/log.$n"
    fi
    exit 0
fi

root=$(cd "$(dirname "$0")/.." && pwd)
# A given folder is taken from the current directory; the default is the checkout's build/.
build=${1:-$root/build}
[ -d "$build" ] || { echo "static checks: no build directory $build (configure it first)" >&2; exit 2; }
build=$(cd "$build" && pwd)
database=$build/compile_commands.json
[ -f "$database" ] || {
    echo "static checks: $database is missing (configure with CMAKE_EXPORT_COMPILE_COMMANDS)" >&2
    exit 2
}
jobs=${STATIC_CHECKS_JOBS:-2}

pick() {
    for tool in "$@"; do
        if command -v "$tool" >/dev/null 2>&1; then
            command -v "$tool"
            return 0
        fi
    done
    echo "static checks: none of $* is installed (run tools/deps.sh)" >&2
    exit 2
}
format=$(pick clang-format-14 clang-format)
tidy=$(pick clang-tidy-14 clang-tidy)
# The preprocessor for the cache key; without it every file is checked.
cpp=$(command -v clang++-14 || command -v clang++ || true)

work=$(mktemp -d "${TMPDIR:-/tmp}/static-checks.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$root"

# (a) Formatting.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -co --exclude-standard -- \
        'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
        'tools/picgen/*.cpp' 'tools/picgen/*.h'
else
    find src tests bench tools/picgen -type f \( -name '*.cpp' -o -name '*.h' \)
fi | sort -u | while IFS= read -r f; do
    # A tracked file deleted in the work tree is not there to format.
    if [ -f "$f" ]; then echo "$f"; fi
done >"$work/format-files"
formatted=$(wc -l <"$work/format-files")
format_failed=0
if ! xargs -r -P "$jobs" -n 16 "$format" --dry-run -Werror <"$work/format-files" \
    >"$work/format.log" 2>&1; then
    cat "$work/format.log" >&2
    format_failed=$(grep -oE '^[^ :]+:[0-9]+:[0-9]+: (warning|error):' "$work/format.log" |
        cut -d: -f1 | sort -u | wc -l)
    # A failure without a located finding (a file that cannot be read) still fails.
    [ "$format_failed" -gt 0 ] || format_failed=1
    echo "static checks: clang-format finds code to reformat (clang-format -i fixes it)" >&2
fi

# (b) clang-tidy. The build compiles some files (tests/support/) into several targets;
# clang-tidy would check such a file once per entry, so it gets a database with one
# entry per file. Each numbered job has its file, its command and the command that
# preprocesses it as clang-tidy's clang sees it.
mkdir -p "$work/db"
python3 - "$database" "$root" "$work" "$cpp" <<'EOF'
import json, os, shlex, sys

database, root, work, cpp = sys.argv[1:5]
folders = tuple(os.path.join(root, d) + os.sep for d in ("src", "tests", "bench"))
seen, kept = set(), []
for entry in json.load(open(database)):
    path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    name = os.path.basename(path)
    if (not path.startswith(folders) or path in seen or "_autogen" + os.sep in path
            or name.startswith(("moc_", "qrc_")) or not os.path.isfile(path)):
        continue
    seen.add(path)
    kept.append(entry)
    n = len(kept)
    args = entry.get("arguments") or shlex.split(entry["command"])
    # The same flags, for the preprocessor only, to standard output.
    pp, skip = [cpp], False
    for a in args[1:]:
        if skip:
            skip = False
        elif a == "-o":
            skip = True
        elif a != "-c" and not a.startswith("-o"):
            pp.append(a)
    pp += ["-E", "-o", "-"]
    with open(os.path.join(work, "file.%d" % n), "w") as f:
        f.write(path)
    with open(os.path.join(work, "key.%d" % n), "w") as f:
        f.write(shlex.join(args) + "\n")
    with open(os.path.join(work, "pp.%d" % n), "w") as f:
        f.write("cd %s && exec %s\n" % (shlex.quote(entry["directory"]), shlex.join(pp)))
json.dump(kept, open(os.path.join(work, "db", "compile_commands.json"), "w"), indent=1)
print(len(kept), file=open(os.path.join(work, "count"), "w"))
EOF
count=$(cat "$work/count")

cache=$build/static-checks
mkdir -p "$cache"
{
    "$tidy" --version
    # The root file and any a folder adds.
    find .clang-tidy src tests bench -name .clang-tidy | sort | xargs cat
} >"$work/config"
# Only the project's headers, anchored at this checkout.
header_filter="^$root/(src|tests/support|bench)/"

export work cache cpp tidy header_filter
seq 1 "$count" | xargs -r -P "$jobs" -n 1 sh "$root/tools/static-checks.sh" --check-one

tidy_failed=0
for n in $(seq 1 "$count"); do
    if [ -f "$work/log.$n" ]; then
        tidy_failed=$((tidy_failed + 1))
        grep -v -E '^[0-9]+ (warnings?|errors?)( and [0-9]+ errors?)? generated\.$' \
            "$work/log.$n" >&2 || true
    fi
done
tidied=$(find "$work" -name 'done.*' | wc -l)
cached=$(find "$work" -name 'cached.*' | wc -l)

if [ "$format_failed" -ne 0 ] || [ "$tidy_failed" -ne 0 ]; then
    echo "static checks: FAILED: $format_failed of $formatted files not formatted," \
        "$tidy_failed of $count files with clang-tidy findings" >&2
    exit 1
fi
echo "static checks: $formatted files formatted, $tidied files tidy" \
    "($cached of them unchanged since their last clean check)"
