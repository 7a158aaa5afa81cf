#!/bin/bash
# Drives the real program with hostile files: topic libraries that are missing,
# broken or huge, and saves that cannot reach the disk. Each road checks that the
# program fails the way it promises (a box, then a clean exit, or a box and the
# answer kept) and never crashes or hangs.
#
#   hostile.sh PROGRAM_FOLDER OUTPUT_FOLDER [ROAD...]
#
# Prints one "FIGURE ..." line per case for tools/reliability.py, then
# "hostile: N passed, N failed".
set -u

HERE=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=lib.sh
. "$HERE/lib.sh" # takes the program and output folders from the arguments
shift 2
# The roads that run the program as an unprivileged user need to reach it.
chmod 755 "$WORK"

# Folders and files made unwritable or unreadable must not stop the clean-up.
mend_and_stop() {
    chmod -R u+rwX "$WORK" 2>/dev/null
    stop_all
}
trap mend_and_stop EXIT

FAULT_TITLE="QEL Simulator"
START_LIMIT_MS=2000
HELP_LIMIT_MS=5000

now_ms() { date +%s%3N; }

figure() { echo "FIGURE $*"; }

# --- running as a user whom permissions bind ---------------------------------

# As root, read and write permissions do not hold, so the permission roads run
# the program as "nobody". DROP is the command prefix that does it; NO_DROP
# says why those roads cannot run.
DROP=()
NO_DROP=""
pick_user() {
    if [ "$(id -u)" != 0 ]; then
        return
    fi
    if ! id nobody >/dev/null 2>&1; then
        NO_DROP="there is no user 'nobody' to run as"
        return
    fi
    local group
    group=$(id -gn nobody)
    mkdir -p "$WORK/home"
    chown nobody "$WORK/home"
    if setpriv --reuid=nobody --regid="$group" --clear-groups true 2>/dev/null; then
        DROP=(setpriv --reuid=nobody --regid="$group" --clear-groups env HOME="$WORK/home")
    elif runuser -u nobody -- true 2>/dev/null; then
        DROP=(runuser -u nobody -- env HOME="$WORK/home")
    else
        NO_DROP="neither setpriv nor runuser can switch to 'nobody'"
        return
    fi
    if ! "${DROP[@]}" xdpyinfo >/dev/null 2>&1; then
        NO_DROP="'nobody' cannot open the X display $DISPLAY"
        DROP=()
    fi
}

# Gives the road's program folder to the unprivileged user and starts the
# program as that user (whether that works is tried once, on the X display). Returns 1 (after printing why) when that is impossible.
PICKED=0
launch_unprivileged() {
    if [ "$PICKED" = 0 ]; then
        pick_user
        PICKED=1
    fi
    if [ -n "$NO_DROP" ]; then
        log "skipped: $NO_DROP"
        return 1
    fi
    if [ ${#DROP[@]} -gt 0 ]; then
        chown -R nobody "$FOLDER"
    fi
    (cd "$FOLDER" && exec "${DROP[@]}" ./qelsim >"$FOLDER/.stdout" 2>&1) &
    APP_PID=$!
}

# --- hostile topic libraries --------------------------------------------------

# Writes FILE from python3 code that gets the real library's bytes as `lib`.
make_library() {
    local file=$1 code=$2
    python3 - "$PROGRAM/$(basename "$file")" "$file" "$code" <<'EOF'
import random, sys
source, target, code = sys.argv[1], sys.argv[2], sys.argv[3]
lib = open(source, "rb").read()
SEP = b"-----------------------\r\n"
out = eval(code)
open(target, "wb").write(out)
EOF
}

# Starts the program on a broken library and checks the fault box and a
# non-zero exit without a signal. The program must already be launched.
expect_fault_box() {
    local case=$1
    if ! find_window "^$FAULT_TITLE$" >/dev/null; then
        if running; then
            fail "no fault box"
            figure hostile-file "$case" no-box-hang
        else
            wait "$APP_PID"
            STATUS=$?
            APP_PID=""
            fail "the program ended with status $STATUS and no fault box"
            figure hostile-file "$case" no-box-exit=$STATUS
        fi
        return 1
    fi
    visible "$START_RE" && fail "the start window showed despite the fault"
    wait_active "$FAULT_TITLE"
    key Return
    if ! wait_exit; then
        fail "the program did not end after the fault box"
        figure hostile-file "$case" hang-after-box
        return 1
    fi
    if [ "$STATUS" = 0 ]; then
        fail "a start-up fault ended with status 0"
    elif [ "$STATUS" -ge 128 ]; then
        fail "the program died by signal $((STATUS - 128))"
    fi
    if [ "$ROAD_OK" = 1 ]; then
        figure hostile-file "$case" "fault-box,exit=$STATUS"
    else
        figure hostile-file "$case" "FAILED,exit=$STATUS"
    fi
}

library_fault() {
    local case=$1 file=$2 code=$3
    new_folder "lib-$case"
    make_library "$FOLDER/$file" "$code"
    launch
    expect_fault_box "$case"
}

road_lib_missing() {
    new_folder lib-missing
    rm "$FOLDER/ai.lib"
    launch
    expect_fault_box missing
}

road_lib_empty() { library_fault empty aa.lib 'b""'; }

road_lib_short_by_one() { library_fault short-by-one ai.lib 'SEP.join(lib.split(SEP)[:149])'; }

road_lib_lf_only() { library_fault lf-only aa.lib 'lib.replace(b"\r\n", b"\n")'; }

road_lib_random_bytes() {
    library_fault random-bytes ai.lib 'random.seed(20260314) or random.randbytes(256 * 1024)'
}

road_lib_nul_bytes() { library_fault nul-bytes aa.lib 'bytes(64 * 1024)'; }

road_lib_directory() {
    new_folder lib-directory
    rm "$FOLDER/aa.lib"
    mkdir "$FOLDER/aa.lib"
    launch
    expect_fault_box directory
}

road_lib_unreadable() {
    new_folder lib-unreadable
    chmod 000 "$FOLDER/ai.lib"
    if ! launch_unprivileged; then
        figure hostile-file unreadable "skipped($NO_DROP)"
        return
    fi
    expect_fault_box unreadable
}

# NUL bytes inside topic lines are text: the program starts as usual.
road_lib_nul_in_topics() {
    new_folder lib-nul-in-topics
    make_library "$FOLDER/ai.lib" 'lib.replace(b" the ", b" the\0")'
    open_start || {
        figure hostile-file nul-in-topics FAILED
        return
    }
    start_question issue 1 || fail "no test window"
    type_text "Nul."
    end_section testquit Return Escape || fail "ending the section"
    wait_exit || fail "Cancel did not end the program"
    [ "$STATUS" = 0 ] || fail "ended with status $STATUS"
    python3 "$HERE/check_record.py" "$FOLDER/user/ai1.txt" 1 "Issue No.1" "Nul." ||
        fail "record of ai1.txt"
    if [ "$ROAD_OK" = 1 ]; then figure hostile-file nul-in-topics started; else
        figure hostile-file nul-in-topics FAILED; fi
}

# Launches and waits for the start window; sets ELAPSED_MS.
timed_start() {
    local t0
    t0=$(now_ms)
    launch
    START=$(find_window "$START_RE") || return 1
    ELAPSED_MS=$(($(now_ms) - t0))
    wait_active "$START_TITLE"
}

# 50 MB of valid topics: the program must read all of them and still start
# within the limit; the last topic must come through whole.
road_lib_50mb() {
    new_folder lib-normal
    timed_start || fail "the start window did not appear" || return
    local normal=$ELAPSED_MS
    key alt+q
    wait_exit
    log "a normal start took $normal ms"

    new_folder lib-50mb
    python3 - "$FOLDER/ai.lib" <<'EOF'
import sys
filler = b"lorem ipsum dolor sit amet, consectetur adipiscing elit sed do eiusmod tempor " * 1
with open(sys.argv[1], "wb") as f:
    for k in range(1, 151):
        block = b"".join(b"Topic %d line %d: %s\r\n" % (k, j, filler) for j in range(1, 3501))
        f.write(block + b"-----------------------\r\n")
EOF
    log "ai.lib is $(stat -c %s "$FOLDER/ai.lib") bytes"
    if ! timed_start; then
        fail "the start window did not appear"
        figure hostile-file 50mb-valid FAILED
        return
    fi
    log "the start with a 50 MB ai.lib took $ELAPSED_MS ms"
    [ "$ELAPSED_MS" -le "$START_LIMIT_MS" ] ||
        fail "the start took $ELAPSED_MS ms, more than $START_LIMIT_MS ms"
    start_question issue 150 || fail "no test window" || return
    type_text "Big."
    end_section testquit Return Escape || fail "ending the section"
    wait_exit || fail "Cancel did not end the program"
    python3 "$HERE/check_record.py" "$FOLDER/user/ai150.txt" 1 "Issue No.150" "Big." ||
        fail "record of ai150.txt"
    python3 - "$FOLDER/ai.lib" "$FOLDER/user/ai150.txt" <<'EOF' || fail "topic 150 did not come through whole"
import sys
blocks = open(sys.argv[1], "rb").read().split(b"-----------------------\r\n")
record = open(sys.argv[2], "rb").read()
if b"Question:\r\n\r\n\r\n" + blocks[149] + b"\r\n****" not in record:
    sys.exit("the record's topic is not block 150 of ai.lib")
EOF
    if [ "$ROAD_OK" = 1 ]; then
        figure hostile-file 50mb-valid "started,ms=$ELAPSED_MS,normal-ms=$normal"
    else
        figure hostile-file 50mb-valid "FAILED,ms=$ELAPSED_MS,normal-ms=$normal"
    fi
}

# --- saves that cannot reach the disk -----------------------------------------

# One save-fault road: a first essay saved for Issue 5, then the cause broken,
# a save that must fail with "Not Saved" and keep the answer, the cause mended,
# the same answer saved by ending the section again, and a next question.
#   save_fault CASE UNPRIVILEGED TOPIC FIRST BREAK MEND
# TOPIC is the Issue number of the save that fails. FIRST tells what the break
# does to the first essay's file: "kept" (it stays, and must stay whole),
# "aside" (moved away and put back by MEND) or "gone" (removed with the
# folder). BREAK and MEND are shell code run in the program folder.
save_fault() {
    local case=$1 unprivileged=$2 topic=$3 first=$4 break_code=$5 mend_code=$6
    local lost=0 kept_index=1
    [ "$topic" = 5 ] && [ "$first" != gone ] && kept_index=2
    new_folder "save-$case"
    if [ "$unprivileged" = yes ]; then
        if ! launch_unprivileged; then
            figure save-fault "$case" "skipped($NO_DROP)"
            return
        fi
        START=$(find_window "$START_RE") || fail "the start window did not appear" || return
        wait_active "$START_TITLE"
    else
        open_start || return
    fi
    start_question issue 5 || fail "no test window" || return
    type_text "First essay."
    end_section testquit Return Return || fail "saving the first essay" || return
    python3 "$HERE/check_record.py" "$FOLDER/user/ai5.txt" 1 "Issue No.5" "First essay." ||
        fail "the first essay was not saved" || return

    (cd "$FOLDER" && eval "$break_code") || fail "could not break the save" || return
    start_question issue "$topic" || fail "no test window" || return
    type_text "Kept answer."
    click_button testquit
    answer_box Quit Return || fail "no save question" || return
    answer_box "Not Saved" Return || fail "no Not Saved box"
    if ! running; then
        fail "the program ended after a failed save"
        figure save-fault "$case" essays-lost=1 FAILED
        return
    fi
    visible "^$TEST_TITLE$" || fail "the test window went away after a failed save"
    visible "$START_RE" && fail "the start window came back after a failed save"
    # What is on disk is whole records only, the first essay untouched.
    if [ "$first" = kept ]; then
        python3 "$HERE/check_record.py" "$FOLDER/user/ai5.txt" 1 "Issue No.5" "First essay." ||
            fail "the earlier record did not survive the failed save"
    fi

    (cd "$FOLDER" && eval "$mend_code") || fail "could not mend the save" || return
    wait_active "$TEST_TITLE"
    end_section testquit Return Return || fail "saving again after mending"
    if ! python3 "$HERE/check_record.py" "$FOLDER/user/ai$topic.txt" "$kept_index" \
        "Issue No.$topic" "Kept answer."; then
        fail "the kept answer did not reach the file"
        lost=$((lost + 1))
    fi
    if [ "$first" = aside ]; then
        # Put back whole, in front of the kept answer.
        python3 - "$FOLDER/user/ai5.txt" <<'EOF2' || fail "the first essay is not the first record"
import sys
data = open(sys.argv[1], "rb").read()
if not data.startswith(b"\r\n\r\n****") or data.find(b"First essay.") > data.find(b"Kept answer."):
    sys.exit("first record is not the first essay")
EOF2
    fi

    # The program goes on as usual.
    if ! start_question argument 7; then
        fail "no test window for the next question"
        figure save-fault "$case" essays-lost=$((lost + 1)) FAILED
        return
    fi
    type_text "Next question."
    end_section sectionexit Return Escape || fail "ending the next question"
    wait_exit || fail "Cancel did not end the program"
    [ "$STATUS" = 0 ] || fail "the program ended with status $STATUS"
    if ! python3 "$HERE/check_record.py" "$FOLDER/user/aa7.txt" 1 "Argument No.7" \
        "Next question."; then
        fail "the next question's essay was not saved"
        lost=$((lost + 1))
    fi
    if [ "$ROAD_OK" = 1 ]; then
        figure save-fault "$case" essays-lost=$lost ok
    else
        figure save-fault "$case" essays-lost=$lost FAILED
    fi
}

road_save_no_user_folder() {
    save_fault no-user-folder no 5 gone 'rm -rf user' 'mkdir user'
}

road_save_user_read_only() {
    # A read-only folder still lets existing files grow: the failing save is
    # for a topic with no file yet.
    save_fault user-read-only yes 6 kept 'chmod 555 user' 'chmod 755 user'
}

road_save_user_is_a_file() {
    save_fault user-is-a-file no 5 gone 'rm -rf user && echo not a folder >user' \
        'rm user && mkdir user'
}

road_save_file_read_only() {
    save_fault file-read-only yes 5 kept 'chmod 444 user/ai5.txt' 'chmod 644 user/ai5.txt'
}

road_save_file_is_a_directory() {
    save_fault file-is-a-directory no 5 aside 'mv user/ai5.txt keep && mkdir user/ai5.txt' \
        'rmdir user/ai5.txt && mv keep user/ai5.txt'
}

road_save_file_to_dev_full() {
    save_fault file-to-dev-full no 5 aside 'mv user/ai5.txt keep && ln -s /dev/full user/ai5.txt' \
        'rm user/ai5.txt && mv keep user/ai5.txt'
}

# Help on an essay file of 20 MB of random bytes: no crash, no hang, and the
# program answers again within the limit; the file is left as it was.
road_help_20mb_random() {
    new_folder help-random
    python3 -c 'import random, sys; random.seed(20260315)
open(sys.argv[1], "wb").write(random.randbytes(20 * 1024 * 1024))' "$FOLDER/user/ai5.txt"
    local before
    before=$(sha256sum <"$FOLDER/user/ai5.txt")
    open_start || return
    start_question issue 5 || fail "no test window" || return
    type_text "short answer"
    local t0 t1
    t0=$(now_ms)
    click_button help
    # The program runs one event at a time: the click on Test Quit is only
    # answered once Help has returned.
    click_button testquit
    if ! find_window "^Quit$" >/dev/null; then
        if running; then
            fail "no answer within 10 s of Help"
            figure help-big-file random-20mb hang
        else
            fail "the program ended during Help"
            figure help-big-file random-20mb crash
        fi
        return
    fi
    t1=$(now_ms)
    local took=$((t1 - t0))
    log "Help on a 20 MB random file took $took ms"
    [ "$took" -le "$HELP_LIMIT_MS" ] || fail "Help took $took ms, more than $HELP_LIMIT_MS ms"
    [ "$(clipboard)" = "short answer" ] || fail "Help put '$(clipboard)' on the clipboard"
    # End the section without saving, then go on with another question.
    answer_box Quit Escape || fail "no save question"
    answer_box Quit Return || fail "no question about another one"
    find_window "$START_RE" >/dev/null || fail "start window not back"
    [ "$(sha256sum <"$FOLDER/user/ai5.txt")" = "$before" ] || fail "the essay file changed"
    start_question issue 6 || fail "no test window for the next question" || return
    type_text "After Help."
    end_section testquit Return Escape || fail "ending the next question"
    wait_exit || fail "Cancel did not end the program"
    [ "$STATUS" = 0 ] || fail "the program ended with status $STATUS"
    python3 "$HERE/check_record.py" "$FOLDER/user/ai6.txt" 1 "Issue No.6" "After Help." ||
        fail "the next question's essay was not saved"
    if [ "$ROAD_OK" = 1 ]; then figure help-big-file random-20mb "returned,ms=$took"; else
        figure help-big-file random-20mb "FAILED,ms=$took"; fi
}

ROADS=("$@")
[ ${#ROADS[@]} -eq 0 ] && ROADS=(lib_missing lib_empty lib_short_by_one lib_lf_only
    lib_random_bytes lib_nul_bytes lib_directory lib_unreadable lib_nul_in_topics lib_50mb
    save_no_user_folder save_user_read_only save_user_is_a_file save_file_read_only
    save_file_is_a_directory save_file_to_dev_full help_20mb_random)

run_roads hostile "${ROADS[@]}"
