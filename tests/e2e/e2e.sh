#!/bin/bash
# Drives the real program under a real X server, as a user would: xdotool for the
# keyboard and mouse, xclip for the clipboard, import for screenshots.
#
#   e2e.sh PROGRAM_FOLDER OUTPUT_FOLDER [ROAD...]
#
# Every road runs on a fresh copy of the program folder. Every wait waits for an
# event up to DEADLINE seconds; one that runs out fails its road and prints the
# program's output. A road that cannot run is counted as skipped, and a road that
# stops early without a recorded failure counts as failed.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
PROGRAM=$(cd "$1" && pwd)
OUT=$2
shift 2
mkdir -p "$OUT"
WORK=$(mktemp -d)
chmod 755 "$WORK" # the roads run as an unprivileged user must reach their folder
DEADLINE=${QEL_E2E_DEADLINE:-30}
START_RE='^QEL Simulator 1\.0 \('
TEST_RE='^Form1$'
APP_PID="" XVFB_PID="" WM_PID=""

log() { echo "    $*"; }
fail() { log "FAIL: $*"; ROAD_OK=0; return 1; }
skip() { log "SKIPPED: $*"; ROAD_SKIPPED=1; return 1; }

stop_all() {
    for p in $APP_PID $WM_PID $XVFB_PID; do kill "$p" 2>/dev/null; done
    chmod -R u+rwX "$WORK" 2>/dev/null
    rm -rf "$WORK"
}
trap stop_all EXIT

# Polls CONDITION (shell code) until it holds; false once DEADLINE seconds pass.
until_true() {
    local end=$((SECONDS + DEADLINE))
    until eval "$1"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.05
    done
}

# An X server that never resets between clients, on a display it picks itself,
# with a window manager that must be up before any road runs.
start_x() {
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 3>"$WORK/display" \
        >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    until_true '[ -s "$WORK/display" ] || ! kill -0 "$XVFB_PID"' && [ -s "$WORK/display" ] ||
        { cat "$WORK/xvfb.log"; echo "Xvfb did not start"; exit 1; }
    export DISPLAY=":$(cat "$WORK/display")"
    openbox >"$WORK/wm.log" 2>&1 &
    WM_PID=$!
    # openbox names itself on the root window once it manages the screen.
    if ! until_true 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' ||
        ! kill -0 "$WM_PID" 2>/dev/null; then
        cat "$WORK/wm.log"
        echo "the window manager did not come up on $DISPLAY"
        exit 1
    fi
}

# --- the program ----------------------------------------------------------------

new_folder() { FOLDER="$WORK/$1"; rm -rf "$FOLDER"; cp -r "$PROGRAM" "$FOLDER"; }
launch() { (cd "$FOLDER" && exec "${AS_USER[@]}" ./qelsim >"$FOLDER/.stdout" 2>&1) & APP_PID=$!; }
running() { [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; }
window_id() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
visible() { [ -n "$(window_id "$1")" ]; }
active_is() { case "$(xdotool getactivewindow getwindowname 2>/dev/null)" in $1*) return 0 ;; esac; return 1; }

# Waits for a visible window whose title matches the pattern; its id goes to WIN.
find_window() {
    local re=$1
    until_true 'WIN=$(window_id "$re"); [ -n "$WIN" ]' || fail "no window '$re'"
}
wait_active() { local t=$1; until_true 'active_is "$t"' || fail "'$t' never became active"; }
wait_gone() { local re=$1; until_true '! visible "$re"' || fail "'$re' did not go away"; }
wait_for_file() { local f=$1; until_true '[ -e "$f" ]' || fail "no file $f"; }
wait_exit() {
    until_true '! running' || { fail "the program did not end"; STATUS=timeout; return 1; }
    wait "$APP_PID"; STATUS=$?; APP_PID=""
}

click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
key() { xdotool key --clearmodifiers "$@"; }
type_text() { xdotool type --delay 5 "$1"; }
clipboard() { xclip -selection clipboard -o 2>/dev/null; }

open_start() {
    launch
    find_window "$START_RE" && START=$WIN && wait_active "QEL Simulator 1.0 ("
}

# Chooses a kind and number in the start window and starts the question.
start_question() {
    wait_active "QEL Simulator 1.0 (" || return 1
    if [ "$1" = argument ]; then click_at "$START" 40 64; else click_at "$START" 40 48; fi
    click_at "$START" 100 122
    key ctrl+a
    type_text "$2"
    key alt+s
    find_window "$TEST_RE" && TEST=$WIN && wait_active Form1
}

click_button() {
    case $1 in
    testquit) click_at "$TEST" 33 459 ;; sectionexit) click_at "$TEST" 80 459 ;;
    time) click_at "$TEST" 127 459 ;; help) click_at "$TEST" 512 459 ;;
    confirm) click_at "$TEST" 559 459 ;; next) click_at "$TEST" 606 459 ;;
    cut) click_at "$TEST" 587 290 ;; paste) click_at "$TEST" 587 338 ;;
    esac
}

# Answers the box with the given title (Return is OK, Escape is Cancel) and waits
# for that very box to go: the next one may carry the same title.
answer_box() {
    local title=$1 id
    find_window "^$title$" && id=$WIN && wait_active "$title" || return 1
    key "$2"
    until_true '! xdotool search --onlyvisible --name "^$title$" 2>/dev/null | grep -qx "$id"' ||
        fail "the box '$title' stayed open"
}

# Ends the section: the save question (unless "none") and the one about another question.
end_section() {
    click_button "$1"
    if [ "$2" != none ]; then answer_box Quit "$2" || return 1; fi
    answer_box Quit "$3"
}

# RECORD_IS FILE COUNT HEADING ANSWER: the file holds COUNT whole records, the
# last with that number row and answer (ANSWER may hold \r\n escapes).
record_is() {
    python3 - "$@" <<'EOF' || fail "$1: record $2 is not what was typed"
import re, sys
path, count, heading, answer = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
S = rb"\*{20}\r\n"
rec = re.compile(rb"\r\n\r\n" + S + rb"Date: [0-9][0-9./ -]*[0-9]\r\nTime: [0-9]{1,2}:[0-9]{2}:[0-9]{2}( ?[AP]M)?\r\n"
                 rb"(.+?)\r\n" + S + rb"Question:\r\n\r\n\r\n.*?\r\n\r\n" + S + rb"\r\nYour Answer:\r\n\r\n(.*?)\r\n"
                 rb"(?=\r\n\r\n\*{20}\r\nDate|\Z)", re.S)
data, pos, found = open(path, "rb").read(), 0, []
while pos < len(data):
    m = rec.match(data, pos) or sys.exit(f"no whole record at byte {pos}: {data[pos:pos + 60]!r}")
    found.append(m); pos = m.end()
want = (heading.encode(), answer.replace("\\r\\n", "\r\n").encode())
if len(found) != count or found[-1].group(2, 3) != want:
    sys.exit(f"{len(found)} records, last {found[-1].group(2, 3) if found else None}, want {want}")
EOF
}

# As root, permissions do not bind, so those roads run the program as nobody.
AS_USER=()
as_unprivileged() {
    [ "$(id -u)" != 0 ] && return 0
    id nobody >/dev/null 2>&1 || { skip "there is no user 'nobody'"; return 1; }
    setpriv --reuid=nobody --regid="$(id -gn nobody)" --clear-groups true 2>/dev/null ||
        { skip "setpriv cannot switch to 'nobody'"; return 1; }
    mkdir -p "$WORK/home" && chown nobody "$WORK/home" && chown -R nobody "$FOLDER"
    AS_USER=(setpriv --reuid=nobody --regid="$(id -gn nobody)" --clear-groups env HOME="$WORK/home")
}

. "$HERE/roads.sh"

# --- the run --------------------------------------------------------------------

start_x
passed=0 failed=0 skipped=0
[ $# -gt 0 ] || set -- $ALL_ROADS
for road in "$@"; do
    echo "road: $road"
    ROAD_OK=1 ROAD_SKIPPED=0 AS_USER=()
    new_folder "${road/:/-}"
    "road_${road%%:*}" "${road#*:}"
    status=$?
    if [ "$ROAD_OK" = 1 ] && [ "$status" != 0 ] && [ "$ROAD_SKIPPED" = 0 ]; then
        fail "the road stopped before its end (status $status)"
    fi
    if running; then kill "$APP_PID" 2>/dev/null; wait "$APP_PID" 2>/dev/null; fi
    APP_PID=""
    if [ "$ROAD_OK" = 0 ]; then
        failed=$((failed + 1))
        import -window root "$OUT/failed-${road%%:*}.png" 2>/dev/null
        log "the program's output:"
        sed 's/^/      /' "$FOLDER/.stdout" 2>/dev/null
    elif [ "$ROAD_SKIPPED" = 1 ]; then
        skipped=$((skipped + 1))
    else
        passed=$((passed + 1))
        log ok
    fi
done
echo "e2e: $passed passed, $failed failed, $skipped skipped"
[ "$failed" = 0 ]
