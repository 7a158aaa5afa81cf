# Roads of the draft: an answer outlives a SIGKILL and is offered again at the
# next start. Sourced by the end-to-end harness after lib.sh.

# Starts Issue 12, types the answer and waits for its first draft (written two
# seconds after the last keystroke; the typing takes well under the five
# seconds after which a draft is written during typing).
draft_typed() {
    open_start || return
    start_question issue 12 || fail "no test window" || return
    type_text "Kept through a kill."
    key Return
    type_text "Second line."
    wait_for_file "$FOLDER/user/draft.txt"
}

# The next start: the box naming the topic, the question answered with $1, then
# the start window, with no draft, lock or temporary file left in user/.
draft_restart() {
    launch
    answer_box "Unsaved Answer" Return || fail "no box about the unsaved answer" || return
    answer_box "Unsaved Answer" "$1" || fail "no question about saving it" || return
    find_window "^QEL Simulator [0-9]" >/dev/null || fail "no start window after recovery" || return
    wait_active "QEL Simulator "
    key alt+q
    wait_exit || fail "Quit did not end the program" || return
    ls "$FOLDER/user" | grep -q draft && fail "left in user/: $(ls "$FOLDER/user" | tr '\n' ' ')"
    return 0
}

road_draft_recovered() {
    new_folder draft-recovered
    draft_typed || return
    kill -KILL "$APP_PID"
    wait_exit || fail "the program outlived SIGKILL" || return
    draft_restart Return || return
    python3 "$HERE/check_record.py" "$FOLDER/user/ai12.txt" 1 "Issue No.12" \
        "Kept through a kill.\r\nSecond line." || fail "the recovered record"
}

road_draft_refused() {
    new_folder draft-refused
    printf '\r\n\r\nAn earlier essay file.\r\n' >"$FOLDER/user/ai12.txt"
    cp "$FOLDER/user/ai12.txt" "$FOLDER/before.txt"
    draft_typed || return
    kill -KILL "$APP_PID"
    wait_exit || fail "the program outlived SIGKILL" || return
    draft_restart Escape || return
    cmp -s "$FOLDER/before.txt" "$FOLDER/user/ai12.txt" || fail "Cancel changed the essay file"
}

# The fault: a preloaded rename() that kills the program when a new draft, written
# and synced, is about to replace the one before it.
road_draft_killed_in_write() {
    new_folder draft-in-write
    cc -shared -fPIC -o "$FOLDER/die-in-rename.so" -x c - -ldl <<'EOF' || skip "no C compiler" || return
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>
int rename(const char* from, const char* to) {
    if (strstr(to, "/user/draft.txt") && access(to, F_OK) == 0) raise(SIGKILL);
    return ((int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename"))(from, to);
}
EOF
    LD_PRELOAD="$FOLDER/die-in-rename.so" ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" \
        draft_typed || return
    type_text " Lost in the write."
    wait_exit || fail "the program did not die in its second draft write" || return
    [ "$STATUS" = 137 ] || fail "the program ended with $STATUS, not by SIGKILL" || return
    ls "$FOLDER"/user/draft.txt.?????? >/dev/null 2>&1 || fail "no unfinished draft write"
    draft_restart Return || return
    python3 "$HERE/check_record.py" "$FOLDER/user/ai12.txt" 1 "Issue No.12" \
        "Kept through a kill.\r\nSecond line." || fail "the previous draft was not recovered whole"
}
