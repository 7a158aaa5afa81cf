#!/bin/bash
# Drives the real program under a real X server, as a user would: xdotool for
# the keyboard and mouse, xclip for the clipboard, import for screenshots.
#
#   run.sh PROGRAM_FOLDER OUTPUT_FOLDER [ROAD...]
#
# Each road runs a fresh copy of the program folder; screenshots go to
# OUTPUT_FOLDER. Prints "N passed, N failed" and fails when any road failed.
set -u

PROGRAM=$(cd "$1" && pwd)
OUT=$2
shift 2
mkdir -p "$OUT"
HERE=$(cd "$(dirname "$0")" && pwd)
CONVERT=/usr/bin/convert
WORK=$(mktemp -d)
PASSED=0
FAILED=0
APP_PID=""
XVFB_PID=""
WM_PID=""

START_TITLE="QEL Simulator 1.0 ("
START_RE="^QEL Simulator 1\\.0 \\("
TEST_TITLE="Form1"

cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

log() { echo "    $*"; }

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
            for i in $(seq 50); do
                xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && return 0
                sleep 0.1
            done
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

# --- roads --------------------------------------------------------------------

ROAD_OK=1
fail() {
    log "FAIL: $*"
    ROAD_OK=0
    return 1
}

road_start_and_quit() {
    new_folder start
    open_start || return
    local title
    title=$(xdotool getwindowname "$START")
    [ "$title" = "QEL Simulator 1.0 (www.qelsim.example)" ] || fail "caption: $title"
    shot start-window
    key alt+q
    wait_exit || fail "Quit did not end the program"
    [ "$STATUS" = 0 ] || fail "Quit ended with status $STATUS"
}

road_missing_library() {
    new_folder fault
    rm "$FOLDER/aa.lib"
    launch
    find_window "^QEL Simulator$" >/dev/null || fail "no fault box" || return
    visible "$START_RE" && fail "the start window showed despite the fault"
    shot fault-box
    wait_active "QEL Simulator"
    key Return
    wait_exit || fail "the program did not end after the fault box"
    [ "$STATUS" != 0 ] || fail "a start-up fault ended with status 0"
}

road_practice_start() {
    new_folder practice
    open_start || return
    start_question argument 7 || fail "the test window did not appear" || return
    shot test-window-argument
    # The caret starts in the answer box: what is typed now is the answer.
    type_text "caret check"
    end_section testquit Return Return || fail "ending the section" || return
    find_window "$START_RE" >/dev/null || fail "start window not back"
    grep -q "caret check" "$FOLDER/user/aa7.txt" || fail "typing did not reach the answer"
    # A bad number: the Error! box, then the start window as it was.
    click_at "$START" 100 122
    key ctrl+a
    type_text "999"
    key alt+s
    answer_box "Error!" Return || fail "no Error! box"
    visible "$START_RE" || fail "start window gone after Wrong Number"
    visible "^$TEST_TITLE$" && fail "the test window opened on a wrong number"
    key alt+q
    wait_exit
}

road_time_button() {
    new_folder clock
    open_start || return
    start_question issue 3 || fail "no test window" || return
    clock_shown || fail "the clock does not show"
    click_button time
    sleep 0.3
    clock_shown && fail "the Time button did not hide the clock"
    click_button time
    sleep 0.3
    clock_shown || fail "the Time button did not show the clock again"
    end_section testquit none Escape
    wait_exit
}

road_saving() {
    new_folder saving
    open_start || return
    start_question issue 12 || fail "no test window" || return
    type_text "First line."
    key Return
    type_text "Second line."
    end_section testquit Return Return || fail "ending the section" || return
    find_window "$START_RE" >/dev/null || fail "start window not back"
    python3 "$HERE/check_record.py" "$FOLDER/user/ai12.txt" 1 "Issue No.12" \
        "First line.\r\nSecond line." || fail "record 1 of ai12.txt"
    # The start window kept kind and number: Alt+S starts Issue 12 again.
    wait_active "$START_TITLE"
    key alt+s
    TEST=$(find_window "^$TEST_TITLE$") || fail "no second question" || return
    wait_active "$TEST_TITLE"
    type_text "Again."
    end_section testquit Return Return || fail "ending the second section"
    python3 "$HERE/check_record.py" "$FOLDER/user/ai12.txt" 2 "Issue No.12" "Again." ||
        fail "record 2 of ai12.txt"

    # An empty answer goes straight to the question about another one.
    start_question issue 4 || fail "no test window" || return
    end_section testquit none Return || fail "empty answer"
    find_window "$START_RE" >/dev/null || fail "start window not back after empty answer"
    [ -e "$FOLDER/user/ai4.txt" ] && fail "an empty answer was saved"

    # No user folder: the failure box, and the answer is still there.
    rm -rf "$FOLDER/user"
    start_question issue 5 || fail "no test window" || return
    type_text "Keep me."
    click_button testquit
    answer_box Quit Return || fail "no save question"
    answer_box "Not Saved" Return || fail "no failure box"
    visible "^$TEST_TITLE$" || fail "the test window went away after a failed save"
    mkdir "$FOLDER/user"
    end_section testquit Return Return || fail "saving again"
    grep -q "Keep me." "$FOLDER/user/ai5.txt" || fail "the answer was lost after a failed save"

    # Argument 7 with Section Exit, then Cancel: saved, and the program ends.
    start_question argument 7 || fail "no test window" || return
    type_text "Argument essay."
    end_section sectionexit Return Escape || fail "ending with Cancel"
    wait_exit || fail "Cancel did not end the program"
    [ "$STATUS" = 0 ] || fail "Cancel ended with status $STATUS"
    python3 "$HERE/check_record.py" "$FOLDER/user/aa7.txt" 1 "Argument No.7" \
        "Argument essay." || fail "record of aa7.txt"
}

road_answer_tools() {
    new_folder tools
    open_start || return
    start_question issue 9 || fail "no test window" || return
    type_text "alpha beta gamma"
    key shift+ctrl+Left
    click_button cut
    [ "$(clipboard)" = "gamma" ] || fail "Cut put '$(clipboard)' on the clipboard"
    key Home
    click_button paste
    end_section testquit Return Return || fail "saving the cut answer"
    python3 "$HERE/check_record.py" "$FOLDER/user/ai9.txt" 1 "Issue No.9" "gammaalpha beta " ||
        fail "the pasted word is not in its new place"

    # Text from another program pastes in.
    printf 'from another program' | xclip -selection clipboard -i
    start_question issue 9 || fail "no test window" || return
    click_button paste
    end_section testquit Return Return || fail "saving the pasted answer"
    python3 "$HERE/check_record.py" "$FOLDER/user/ai9.txt" 2 "Issue No.9" \
        "from another program" || fail "the clipboard text did not paste"

    # Help: the answer goes to the clipboard, the saved records below it.
    start_question issue 9 || fail "no test window" || return
    type_text "third"
    click_button help
    sleep 0.3
    [ "$(clipboard)" = "third" ] || fail "Help put '$(clipboard)' on the clipboard"
    # Next arms Answer Confirm, which then ends the section.
    click_button next
    click_button confirm
    answer_box Quit Return || fail "Answer Confirm did not end the section"
    answer_box Quit Return
    python3 "$HERE/check_help.py" "$FOLDER/user/ai9.txt" || fail "Help did not bring back the records"
    key alt+q
    wait_exit
}

road_about() {
    new_folder about
    open_start || return
    key alt+a
    local about
    about=$(find_window "^About QEL Simulator") || fail "no About window" || return
    wait_active "About QEL Simulator"
    # The client area's place on the screen (xdotool's own figure adds the frame).
    local place
    place=$(xwininfo -id "$about" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x "," y "," w "," h}')
    [ "$place" = "407,204,387,253" ] || fail "About window at $place"
    shot about-window
    # The start window takes no input while About is open: Quit does nothing.
    click_at "$START" 264 140
    sleep 0.3
    running || fail "the start window took a click while About was open"
    wait_active "About QEL Simulator"
    key Escape
    wait_gone "^About QEL Simulator" || fail "Escape did not close About"
    key alt+a
    about=$(find_window "^About QEL Simulator") || fail "no About window again" || return
    wait_active "About QEL Simulator"
    click_at "$about" 325 227
    answer_box "QEL Simulator" Return || fail "no unavailable box"
    visible "^About QEL Simulator" || fail "About closed after SysInfo"
    key Escape
    wait_gone "^About QEL Simulator"
    key alt+q
    wait_exit
}

ROADS=("$@")
[ ${#ROADS[@]} -eq 0 ] && ROADS=(start_and_quit missing_library practice_start time_button saving
    answer_tools about)

start_x
for road in "${ROADS[@]}"; do
    echo "road: $road"
    ROAD_OK=1
    "road_$road"
    if running; then
        kill "$APP_PID" 2>/dev/null
        wait "$APP_PID" 2>/dev/null
        APP_PID=""
    fi
    if [ "$ROAD_OK" = 1 ]; then
        PASSED=$((PASSED + 1))
        log "ok"
    else
        FAILED=$((FAILED + 1))
        shot "failed-$road"
    fi
done
echo "e2e: $PASSED passed, $FAILED failed"
[ "$FAILED" = 0 ]
