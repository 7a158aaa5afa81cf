# Shared by the end-to-end harnesses: the X server, the program, and waiting
# for what a user would wait for. Source it with the harness's arguments
# PROGRAM_FOLDER OUTPUT_FOLDER first.

PROGRAM=$(cd "$1" && pwd)
OUT=$2
mkdir -p "$OUT"
WORK=$(mktemp -d)

CONVERT=/usr/bin/convert
APP_PID=""
XVFB_PID=""
WM_PID=""
START_TITLE="QEL Simulator 1.0 ("
START_RE="^QEL Simulator 1\\.0 \\("
TEST_TITLE="Form1"

log() { echo "    $*"; }

ROAD_OK=1
fail() {
    log "FAIL: $*"
    ROAD_OK=0
    return 1
}

stop_all() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}

# --- the X server -----------------------------------------------------------

start_x() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.1
        done
        if xdpyinfo >/dev/null 2>&1; then
            # A plain window manager, so windows get frames and focus as on a desktop.
            openbox >"$WORK/wm.log" 2>&1 &
            WM_PID=$!
            # openbox announces itself before it has taken over the screen, and a
            # window mapped in between can stay unmapped: wait for its desktop too.
            for i in $(seq 50); do
                xprop -root _NET_WORKAREA 2>/dev/null | grep -q = && return 0
                sleep 0.1
            done
            echo "openbox did not publish its desktop; going on" >&2
            return 0
        fi
        kill "$XVFB_PID" 2>/dev/null
    done
    echo "no free X display" >&2
    exit 1
}

# --- the program --------------------------------------------------------------

# A fresh copy of the program folder for one road.
new_folder() {
    FOLDER="$WORK/$1"
    rm -rf "$FOLDER"
    cp -r "$PROGRAM" "$FOLDER"
}

launch() {
    (cd "$FOLDER" && exec ./qelsim >"$FOLDER/.stdout" 2>&1) &
    APP_PID=$!
}

# Waits for the program to end and sets STATUS; fails after 10 seconds.
wait_exit() {
    local i
    for i in $(seq 100); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            wait "$APP_PID"
            STATUS=$?
            APP_PID=""
            return 0
        fi
        sleep 0.1
    done
    STATUS=timeout
    return 1
}

running() { [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; }

# The id of the visible window whose title matches the pattern, waiting up to 10 s.
find_window() {
    local i id
    for i in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

visible() { [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }

wait_gone() {
    local i
    for i in $(seq 100); do
        visible "$1" || return 0
        sleep 0.1
    done
    return 1
}

# Waits until the window with the given title has the keyboard focus.
wait_active() {
    local i
    for i in $(seq 100); do
        [ "$(xdotool getactivewindow getwindowname 2>/dev/null)" = "$1" ] && return 0
        case "$(xdotool getactivewindow getwindowname 2>/dev/null)" in "$1"*) return 0 ;; esac
        sleep 0.1
    done
    return 1
}

click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
key() { xdotool key --clearmodifiers "$@"; }
type_text() { xdotool type --delay 5 "$1"; }
shot() { import -window root "$OUT/$1.png"; }

# A screenshot of one window with its frame, as a user sees it.
shot_window() {
    local name=$1 id=$2 geometry
    geometry=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {ax=$NF} /Absolute upper-left Y/ {ay=$NF}
        /Relative upper-left X/ {rx=$NF} /Relative upper-left Y/ {ry=$NF} /Width:/ {w=$NF}
        /Height:/ {h=$NF} END {printf "%dx%d+%d+%d", w + 2 * rx, h + ry + rx, ax - rx, ay - ry}')
    import -window root -crop "$geometry" +repage "$OUT/$name.png"
}

START=""
TEST=""
open_start() {
    launch
    START=$(find_window "$START_RE") || fail "the start window did not appear"
    wait_active "$START_TITLE"
}

# Chooses a kind and number in the start window and starts the question.
start_question() {
    local kind=$1 number=$2
    wait_active "$START_TITLE"
    if [ "$kind" = argument ]; then click_at "$START" 40 64; else click_at "$START" 40 48; fi
    click_at "$START" 100 122
    key ctrl+a
    type_text "$number"
    key alt+s
    TEST=$(find_window "^$TEST_TITLE$") || return 1
    wait_active "$TEST_TITLE"
}

# The picture buttons' middles in the test window.
click_button() {
    case $1 in
    testquit) click_at "$TEST" 33 459 ;;
    sectionexit) click_at "$TEST" 80 459 ;;
    time) click_at "$TEST" 127 459 ;;
    help) click_at "$TEST" 512 459 ;;
    confirm) click_at "$TEST" 559 459 ;;
    next) click_at "$TEST" 606 459 ;;
    cut) click_at "$TEST" 587 290 ;;
    paste) click_at "$TEST" 587 338 ;;
    esac
}

# Answers the box with the given title (Return is OK, Escape is Cancel) and
# waits for that very box to go: the next one may carry the same title.
answer_box() {
    local title=$1 keyname=$2 id i
    id=$(find_window "^$title$") || return 1
    wait_active "$title" || return 1
    key "$keyname"
    for i in $(seq 100); do
        xdotool search --onlyvisible --name "^$title$" 2>/dev/null | grep -qx "$id" || return 0
        sleep 0.1
    done
    return 1
}

# Ends the section: the save question (when the answer is not empty) and then
# the question about another one.
end_section() {
    local button=$1 save=$2 another=$3
    click_button "$button"
    if [ "$save" != none ]; then answer_box Quit "$save" || return 1; fi
    # The second box carries the same title: wait for it to show anew.
    answer_box Quit "$another"
}

clipboard() { xclip -selection clipboard -o 2>/dev/null; }

# True when the clock label's place in the title band shows white text.
clock_shown() {
    import -window "$TEST" -crop 49x17+8+2 +repage "$WORK/clock.png"
    local white
    white=$("$CONVERT" "$WORK/clock.png" -fill black +opaque white -fill white -opaque white \
        -format "%[fx:mean]" info:)
    [ "$white" != "0" ]
}


# Runs the named roads (functions road_NAME) on one X server, a screenshot of
# the screen for each that fails, and prints "LABEL: N passed, N failed".
run_roads() {
    local label=$1 road passed=0 failed=0
    shift
    start_x
    for road in "$@"; do
        echo "road: $road"
        ROAD_OK=1
        "road_$road"
        if running; then
            kill "$APP_PID" 2>/dev/null
            wait "$APP_PID" 2>/dev/null
            APP_PID=""
        fi
        if [ "$ROAD_OK" = 1 ]; then
            passed=$((passed + 1))
            log "ok"
        else
            failed=$((failed + 1))
            shot "failed-$road"
        fi
    done
    echo "$label: $passed passed, $failed failed"
    [ "$failed" = 0 ]
}
