#!/bin/bash
# Drives the real program under a real X server, as a user would: xdotool for the
# keyboard and mouse, xclip for the clipboard, import for screenshots.
#
#   e2e.sh PROGRAM_FOLDER OUTPUT_FOLDER [ROAD...]
#
# Every road runs on a fresh copy of the program folder. Every wait waits for an
# event up to DEADLINE seconds; one that runs out fails its road, which prints the
# program's output and leaves a screenshot. A road that cannot run is counted as
# skipped, and a road that stops early without a recorded failure counts as failed.
set -u
PROGRAM=$(cd "$1" && pwd) OUT=$2 || exit 1
shift 2
mkdir -p "$OUT"
WORK=$(mktemp -d) && chmod 755 "$WORK" # the roads run as an unprivileged user must reach their folder
DEADLINE=${QEL_E2E_DEADLINE:-30}
START_RE='^QEL Simulator 1\.0 \(' TEST_RE='^Form1$'
APP_PID="" XVFB_PID="" WM_PID=""

log() { echo "    $*"; }
# Both return 1, so "CHECK || fail WHY || return" ends the road.
fail() { log "FAIL: $*"; VERDICT=failed; return 1; }
skip() { log "SKIPPED: $*"; VERDICT=${VERDICT/passed/skipped}; return 1; } # a failure stays one

stop_all() {
    kill $APP_PID $WM_PID $XVFB_PID 2>/dev/null
    chmod -R u+rwX "$WORK" 2>/dev/null
    rm -rf "$WORK"
}
trap stop_all EXIT

# Polls CONDITION (shell code) until it holds; false once DEADLINE seconds pass.
until_true() {
    local end=$((SECONDS + DEADLINE))
    until eval "$1"; do [ "$SECONDS" -lt "$end" ] && sleep 0.05 || return 1; done
}

# An X server that never resets between clients, on a display it picks itself,
# with a window manager that must be up before any road runs.
give_up() { cat "$1"; echo "$2"; exit 1; } # prints LOG and MESSAGE and fails the whole run
start_x() {
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    until_true '[ -s "$WORK/display" ] || ! kill -0 "$XVFB_PID"' && [ -s "$WORK/display" ] ||
        give_up "$WORK/xvfb.log" "Xvfb did not start"
    DISPLAY=":$(cat "$WORK/display")" && export DISPLAY
    openbox >"$WORK/wm.log" 2>&1 &
    WM_PID=$!
    # openbox names itself on the root window once it manages the screen.
    until_true 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' &&
        kill -0 "$WM_PID" || give_up "$WORK/wm.log" "the window manager did not come up on $DISPLAY"
}

# --- the program ----------------------------------------------------------------

new_folder() { FOLDER="$WORK/$1"; rm -rf "$FOLDER"; cp -r "$PROGRAM" "$FOLDER"; }
# A Windows program folder runs under Wine, as a Windows user would meet it.
if [ -f "$PROGRAM/qelsim.exe" ]; then
    WINE=$(cd "$(dirname "$0")/../../tools/windows" && pwd)/wine.sh PROGRAM_FILE=(qelsim.exe)
else
    WINE="" PROGRAM_FILE=(./qelsim)
fi
launch() { (cd "$FOLDER" && exec "${AS_USER[@]}" ${WINE:+"$WINE"} "${PROGRAM_FILE[@]}" >"$FOLDER/.stdout" 2>&1) & APP_PID=$!; }
running() { [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; }
# Whether a window with a title matching RE (and the id ID, if given) is shown.
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -qx "${2:-.*}"; }

# Waits until the active window's title matches RE; its id goes to WIN.
active() {
    local re=$1
    until_true 'WIN=$(xdotool getactivewindow 2>/dev/null) &&
        xdotool getwindowname "$WIN" 2>/dev/null | grep -Eq "$re"' || fail "no active window '$re'"
}
# shellcheck disable=SC2034 # id is read by the condition
wait_gone() { local re=$1 id=${2:-}; until_true '! visible "$re" "$id"' || fail "'$re' did not go away"; }
# Waits for the program to end with a STATUS for which the arithmetic TEST holds (default: 0).
wait_exit() {
    until_true '! running' || fail "the program did not end" || return
    wait "$APP_PID"; STATUS=$? APP_PID=""
    ((${1:-STATUS == 0})) || fail "the program ended with status $STATUS"
}

click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
key() { xdotool key --clearmodifiers "$@"; }
# A carriage return (\r) in the text presses Return; the text is UTF-8 whatever the locale.
type_text() { LC_ALL=C.UTF-8 xdotool type --delay 5 "$1"; }
clipboard() { xclip -selection clipboard -o 2>/dev/null; }
open_start() { launch && active "$START_RE" && START=$WIN; }

# Chooses a kind and number in the start window (the program started first if need
# be) and presses Start; start_question then waits for the test window and types TEXT
# (the caret starts in the answer box).
choose() {
    { running || open_start; } && active "$START_RE" || return
    if [ "$1" = argument ]; then click_at "$START" 40 64; else click_at "$START" 40 48; fi
    click_at "$START" 100 122 && key ctrl+a && type_text "$2" && key alt+s
}
# Waits for the test window; its id goes to TEST. Wine leaves a frameless tool
# window to itself, unmanaged by the window manager, so there the keyboard is
# handed to it as Windows hands it to the foreground window.
test_window() {
    if [ -z "$WINE" ]; then active "$TEST_RE" && TEST=$WIN; return; fi
    until_true 'TEST=$(xdotool search --onlyvisible --name "$TEST_RE" 2>/dev/null | head -n 1) &&
        [ -n "$TEST" ]' || fail "no test window '$TEST_RE'" || return
    xdotool windowfocus --sync "$TEST"
}
start_question() { choose "$1" "$2" && test_window && type_text "${3:-}"; }

declare -A BUTTON=([testquit]="33 459" [sectionexit]="80 459" [time]="127 459" [help]="512 459"
    [confirm]="559 459" [next]="606 459" [cut]="587 290" [paste]="587 338")
click_button() { click_at "$TEST" ${BUTTON[$1]}; }

# Answers the box titled TITLE with KEYS (Return is OK; Escape closes it, which
# is Cancel where that makes no difference) and waits for that very box to go:
# the next one may carry the same title.
# shellcheck disable=SC2086 # KEYS may be several, as in "Tab space"
answer_box() { active "^$1$" && key $2 && wait_gone "^$1$" "$WIN"; }
# Ends the section with BUTTON and answers the Quit boxes that follow, in turn.
end_section() {
    click_button "$1" && shift
    for answer; do answer_box Quit "$answer" || return; done
}

# RECORDS_ARE FILE HEADING ANSWER...: user/FILE is whole records and nothing else, one
# per ANSWER in that order, each under HEADING (an ANSWER may hold \r\n escapes).
records_are() {
    python3 - "$FOLDER/user/$1" "${@:2}" <<'EOF' || fail "user/$1 does not hold what was typed"
import re, sys
path, heading, *answers = sys.argv[1:]
S = rb"\r\n\*{20}\r\n"
rec = re.compile(rb"\r\n" + S + rb"Date: [0-9][0-9./ -]*[0-9]\r\nTime: [0-9]{1,2}:[0-9]{2}:[0-9]{2}( ?[AP]M)?"
                 rb"\r\n(.+?)" + S + rb"Question:\r\n\r\n\r\n.*?\r\n" + S + rb"\r\nYour Answer:\r\n\r\n"
                 rb"(.*?)\r\n(?=\r\n" + S + rb"Date|\Z)", re.S)
data = open(path, "rb").read()
found = list(rec.finditer(data))
got = [m.group(2, 3) for m in found]
if sum(len(m[0]) for m in found) < len(data):  # whole records back to back leave nothing between
    got.append(b"bytes outside any whole record")
want = [(heading.encode(), a.replace("\\r\\n", "\r\n").encode()) for a in answers]
got == want or sys.exit(f"records {got}, want {want}")
EOF
}

# As root, permissions do not bind, so those roads run the program as nobody.
as_unprivileged() {
    [ "$(id -u)" = 0 ] || return 0
    local group
    group=$(id -gn nobody 2>/dev/null)
    AS_USER=(setpriv --reuid=nobody --regid="$group" --clear-groups env HOME="$WORK/home")
    "${AS_USER[@]}" true 2>/dev/null || skip "the program cannot run as 'nobody'" || return
    mkdir -p "$WORK/home" && chown nobody "$WORK/home" && chown -R nobody "$FOLDER"
}

. "$(dirname "$0")/roads.sh"

# --- the run --------------------------------------------------------------------

declare -A COUNT=([passed]=0 [failed]=0 [skipped]=0)
[ $# -gt 0 ] || set -- $ALL_ROADS
if [ -n "$WINE" ] && ! "$WINE" --prepare; then
    echo "e2e: 0 passed, 0 failed, $# skipped (no Wine to run the Windows program)"
    exit 0
fi
start_x
for road in "$@"; do
    echo "road: $road"
    VERDICT=passed AS_USER=()
    new_folder "${road/:/-}"
    "road_${road%%:*}" "${road#*:}"
    status=$?
    [ "$status" = 0 ] || [ "$VERDICT" != passed ] || fail "the road stopped before its end (status $status)"
    ((COUNT[$VERDICT]++))
    if [ "$VERDICT" = failed ]; then
        import -window root "$OUT/failed-${road/:/-}.png" 2>/dev/null
        log "the program's output:"
        sed 's/^/      /' "$FOLDER/.stdout" 2>/dev/null
    fi
    [ "$VERDICT" != passed ] || log ok
    running && kill -KILL "$APP_PID" && wait "$APP_PID" 2>/dev/null
    APP_PID=""
done
echo "e2e: ${COUNT[passed]} passed, ${COUNT[failed]} failed, ${COUNT[skipped]} skipped"
[ "${COUNT[failed]}" = 0 ]
