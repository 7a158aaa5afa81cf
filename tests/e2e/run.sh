#!/bin/bash
# Drives the real program under a real X server, as a user would: xdotool for
# the keyboard and mouse, xclip for the clipboard, import for screenshots.
#
#   run.sh PROGRAM_FOLDER OUTPUT_FOLDER [ROAD...]
#
# Each road runs a fresh copy of the program folder; screenshots go to
# OUTPUT_FOLDER. Prints "N passed, N failed" and fails when any road failed.
set -u

HERE=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=lib.sh
. "$HERE/lib.sh" # takes the program and output folders from the arguments
shift 2
trap stop_all EXIT

# --- roads --------------------------------------------------------------------

road_start_and_quit() {
    new_folder start
    open_start || return
    local title
    title=$(xdotool getwindowname "$START")
    [ "$title" = "QEL Simulator 1.0 (www.qelsim.example)" ] || fail "caption: $title"
    shot_window start-window "$START"
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
    shot_window fault-box "$(find_window "^QEL Simulator$")"
    wait_active "QEL Simulator"
    key Return
    wait_exit || fail "the program did not end after the fault box"
    [ "$STATUS" != 0 ] || fail "a start-up fault ended with status 0"
}

road_practice_start() {
    new_folder practice
    open_start || return
    start_question argument 7 || fail "the test window did not appear" || return
    shot_window test-window "$TEST"
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
    shot_window about-window "$about"
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

run_roads e2e "${ROADS[@]}"
