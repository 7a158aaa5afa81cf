# The roads a user walks, for e2e.sh. A road NAME:ARG is the function road_NAME
# called with ARG; the fault roads are rows of one table each.

road_start_and_quit() {
    open_start || return
    [ "$(xdotool getwindowname "$START")" = "QEL Simulator 1.0 (www.qelsim.example)" ] ||
        fail "caption $(xdotool getwindowname "$START")"
    key alt+q
    wait_exit && [ "$STATUS" = 0 ] || fail "Quit ended with status $STATUS"
}

# A wrong number, then a question saved, the same one again with Alt+S, an empty
# answer, and an Argument ended by Section Exit and Cancel.
road_practice() {
    open_start || return
    click_at "$START" 100 122
    key ctrl+a
    type_text 999
    key alt+s
    answer_box "Error!" Return || return
    visible "$START_RE" && ! visible "$TEST_RE" || fail "a question started on a wrong number"
    start_question issue 12 || return
    type_text "First line." # the caret starts in the answer box
    key Return
    type_text "Second line."
    end_section testquit Return Return || return
    record_is "$FOLDER/user/ai12.txt" 1 "Issue No.12" 'First line.\r\nSecond line.'
    # The start window kept kind and number: Alt+S starts Issue 12 again.
    wait_active "QEL Simulator 1.0 (" && key alt+s && find_window "$TEST_RE" && wait_active Form1 ||
        return
    type_text "Again."
    end_section testquit Return Return && record_is "$FOLDER/user/ai12.txt" 2 "Issue No.12" Again.
    start_question issue 4 && end_section testquit none Return || return
    [ ! -e "$FOLDER/user/ai4.txt" ] || fail "an empty answer was saved"
    start_question argument 7 || return
    type_text "Argument essay."
    end_section sectionexit Return Escape && wait_exit || return
    [ "$STATUS" = 0 ] || fail "Cancel ended with status $STATUS"
    record_is "$FOLDER/user/aa7.txt" 1 "Argument No.7" "Argument essay."
}

road_tools() {
    open_start && start_question issue 9 || return
    type_text "alpha beta gamma"
    key shift+ctrl+Left
    click_button cut
    until_true '[ "$(clipboard)" = gamma ]' || fail "Cut put '$(clipboard)' on the clipboard"
    key Home
    click_button paste
    end_section testquit Return Return || return
    record_is "$FOLDER/user/ai9.txt" 1 "Issue No.9" "gammaalpha beta "
    printf 'from another program' | xclip -selection clipboard -i
    start_question issue 9 || return
    click_button paste
    type_text " third"
    click_button help
    until_true '[ "$(clipboard)" = "from another program third" ]' ||
        fail "Help put '$(clipboard)' on the clipboard"
    click_button next
    click_button confirm # armed by Next, it ends the section
    answer_box Quit Return && answer_box Quit Return || return
    python3 - "$FOLDER/user/ai9.txt" <<'EOF' || fail "Help did not bring back the saved record"
import sys
data = open(sys.argv[1], "rb").read()
mark = b"Your Answer:\r\n\r\nfrom another program third\r\n"
earlier = data[data.find(mark) + len(mark):]
sys.exit(data.find(mark) < 0 or not earlier.startswith(b"\r\n\r\n****") or not data.startswith(earlier))
EOF
}

# Typing goes on straight after Time, Next and Help; the section ends from the
# keyboard alone (Tab onto Section Exit, Space), and every character is saved.
road_keys() {
    open_start && start_question issue 5 || return
    type_text "one "
    click_button time
    type_text "two "
    click_button time
    type_text "three "
    click_button next
    type_text "four "
    click_button help
    type_text five
    key Tab space
    answer_box Quit Return && answer_box Quit Escape && wait_exit || return
    record_is "$FOLDER/user/ai5.txt" 1 "Issue No.5" "one two three four five"
}

road_about() {
    open_start || return
    key alt+a
    find_window "^About QEL Simulator" && wait_active "About QEL Simulator" || return
    local about=$WIN place
    place=$(xwininfo -id "$about" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x "," y "," w "," h}')
    [ "$place" = "407,204,387,253" ] || fail "About window at $place"
    click_at "$about" 325 227 # SysInfo: there is no tool on this system
    answer_box "QEL Simulator" Return || return
    click_at "$START" 264 140 # Quit, while About is open: no effect
    wait_active "About QEL Simulator" && key Escape && wait_gone "^About QEL Simulator" || return
    running || fail "the start window took a click while About was open"
}

# A broken topic library: a fault box, no start window, a non-zero exit without a signal.
road_library() {
    case $1 in
    missing) rm "$FOLDER/ai.lib" ;;
    empty) : >"$FOLDER/aa.lib" ;;
    short-by-one) python3 -c 'import sys; p = sys.argv[1]; s = b"-" * 23 + b"\r\n"
open(p, "wb").write(s.join(open(p, "rb").read().split(s)[:149]))' "$FOLDER/ai.lib" ;;
    lf-only) sed -i 's/\r$//' "$FOLDER/aa.lib" ;;
    random-bytes) python3 -c 'import random, sys; random.seed(20260314)
open(sys.argv[1], "wb").write(random.randbytes(256 * 1024))' "$FOLDER/ai.lib" ;;
    nul-bytes) head -c 65536 /dev/zero >"$FOLDER/aa.lib" ;;
    directory) rm "$FOLDER/aa.lib" && mkdir "$FOLDER/aa.lib" ;;
    unreadable) chmod 000 "$FOLDER/ai.lib" && as_unprivileged || return ;;
    esac
    launch
    find_window "^QEL Simulator$" && wait_active "QEL Simulator" || return
    ! visible "$START_RE" || fail "the start window showed despite the fault"
    key Return
    wait_exit || return
    [ "$STATUS" != 0 ] && [ "$STATUS" -lt 128 ] || fail "the fault ended with status $STATUS"
}

# A save that cannot reach the disk: "Not Saved", the answer kept in the test
# window, the earlier record untouched; once mended, ending again saves it.
road_save() {
    local break mend topic=5 count=2
    case $1 in
    no-user-folder) break='rm -r user' mend='mkdir user' count=1 ;;
    user-is-a-file) break='rm -r user && echo x >user' mend='rm user && mkdir user' count=1 ;;
    user-read-only) break='chmod 555 user' mend='chmod 755 user' topic=6 count=1 ;;
    file-read-only) break='chmod 444 user/ai5.txt' mend='chmod 644 user/ai5.txt' ;;
    file-is-a-folder) break='mv user/ai5.txt k && mkdir user/ai5.txt' mend='rmdir user/ai5.txt && mv k user/ai5.txt' ;;
    disk-full) break='mv user/ai5.txt k && ln -s /dev/full user/ai5.txt' mend='rm user/ai5.txt && mv k user/ai5.txt' ;;
    esac
    case $1 in *read-only) as_unprivileged || return ;; esac
    open_start && start_question issue 5 || return
    type_text "First essay."
    end_section testquit Return Return || return
    (cd "$FOLDER" && eval "$break") || fail "could not break the save"
    start_question issue "$topic" || return
    type_text "Kept answer."
    click_button testquit
    answer_box Quit Return && answer_box "Not Saved" Return || return
    visible "$TEST_RE" && ! visible "$START_RE" || fail "the test window went away after a failed save"
    (cd "$FOLDER" && eval "$mend") || fail "could not mend the save"
    [ "$count" = 1 ] || record_is "$FOLDER/user/ai5.txt" 1 "Issue No.5" "First essay."
    wait_active Form1 && end_section testquit Return Escape && wait_exit || return
    record_is "$FOLDER/user/ai$topic.txt" "$count" "Issue No.$topic" "Kept answer."
}

# An answer outlives a SIGKILL: typed, drafted, killed (straight away, or in
# killed-in-write by a preloaded rename() as the second draft, written and
# synced, is about to replace the first), and offered again at the next start.
road_draft() {
    printf 'An earlier essay.\r\n' >"$FOLDER/before.txt"
    [ "$1" != refused ] || cp "$FOLDER/before.txt" "$FOLDER/user/ai12.txt"
    if [ "$1" = killed-in-write ]; then
        cc -shared -fPIC -o "$FOLDER/die.so" -x c - -ldl <<'EOF' || { skip "no C compiler"; return; }
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
        export LD_PRELOAD="$FOLDER/die.so" ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0"
    fi
    open_start && start_question issue 12 || return
    unset LD_PRELOAD
    type_text "Kept through a kill."
    key Return
    type_text "Second line."
    wait_for_file "$FOLDER/user/draft.txt" || return
    if [ "$1" = killed-in-write ]; then type_text " Lost in the write."; else kill -KILL "$APP_PID"; fi
    wait_exit && [ "$STATUS" = 137 ] || fail "the program did not die by SIGKILL ($STATUS)"
    launch
    answer_box "Unsaved Answer" Return || return
    if [ "$1" = refused ]; then answer_box "Unsaved Answer" Escape; else answer_box "Unsaved Answer" Return; fi &&
        find_window "$START_RE" && wait_active "QEL Simulator 1.0 (" && key alt+q && wait_exit || return
    ! ls "$FOLDER/user" | grep -q draft || fail "left in user/: $(ls "$FOLDER/user" | tr '\n' ' ')"
    if [ "$1" = refused ]; then
        cmp -s "$FOLDER/before.txt" "$FOLDER/user/ai12.txt" || fail "Cancel changed the essay file"
    else
        record_is "$FOLDER/user/ai12.txt" 1 "Issue No.12" 'Kept through a kill.\r\nSecond line.'
    fi
}

ALL_ROADS="start_and_quit practice tools keys about
    draft:recovered draft:refused draft:killed-in-write
    library:missing library:empty library:short-by-one library:lf-only library:random-bytes
    library:nul-bytes library:directory library:unreadable
    save:no-user-folder save:user-is-a-file save:user-read-only save:file-read-only
    save:file-is-a-folder save:disk-full"
