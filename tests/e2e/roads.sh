# shellcheck shell=bash
# The roads a user walks, for e2e.sh. A road NAME:ARG is the function road_NAME
# called with ARG (a road without ARG is called with its own name); the fault roads
# are rows of one table each.

# The start window's caption, and Alt+Q ends the program with status 0. The about
# road opens the About window in between: its place, and a start window that takes
# no click while About is open.
road_start_and_quit() {
    open_start || return
    [ "$(xdotool getwindowname "$START")" = "QEL Simulator 1.0 (www.qelsim.example)" ] ||
        fail "caption $(xdotool getwindowname "$START")"
    if [ "$1" = about ]; then
        key alt+a
        active "^About QEL Simulator" || return
        place=$(xwininfo -id "$WIN" | awk '/Absolute upper-left|Width:|Height:/ {printf "%s ", $NF}')
        [ "$place" = "407 204 387 253 " ] || fail "About window at $place (x y width height)"
        click_at "$START" 264 140 # Quit, while About is open: no effect
        active "^About QEL Simulator" && key Escape && wait_gone "^About QEL Simulator" "$WIN" || return
    fi
    # The start window is still there (and had not quit on that click).
    active "$START_RE" && key alt+q && wait_exit
}
road_about() { road_start_and_quit about; }

# A wrong number, then a question saved, an empty answer (no save question), and
# an Argument ended by Section Exit and Cancel.
road_practice() {
    choose issue 999 && answer_box "Error!" Return || return
    visible "$START_RE" && ! visible "$TEST_RE" || fail "a question started on a wrong number"
    start_question issue 12 $'First line.\rSecond line.' && end_section testquit Return Return || return
    records_are ai12.txt "Issue No.12" 'First line.\r\nSecond line.'
    start_question issue 4 && end_section testquit Return || return
    [ ! -e "$FOLDER/user/ai4.txt" ] || fail "an empty answer was saved"
    start_question argument 7 "Argument essay." || return
    end_section sectionexit Return Escape && wait_exit || return
    records_are aa7.txt "Argument No.7" "Argument essay."
}

# Cut and Paste in the answer, with the clipboard shared with other programs; Help
# puts the answer on the clipboard and brings the saved record back into the answer.
road_tools() {
    start_question issue 9 "alpha beta gamma" && key shift+ctrl+Left && click_button cut || return
    until_true '[ "$(clipboard)" = gamma ]' || fail "Cut put '$(clipboard)' on the clipboard"
    key Home && click_button paste && end_section testquit Return Return || return
    printf 'from another program' | xclip -selection clipboard -i
    start_question issue 9 && click_button paste && type_text " third" && click_button help || return
    until_true '[ "$(clipboard)" = "from another program third" ]' ||
        fail "Help put '$(clipboard)' on the clipboard"
    click_button next && end_section confirm Return Return || return # Confirm, armed by Next
    records_are ai9.txt "Issue No.9" "gammaalpha beta " "from another program third" "gammaalpha beta "
}

# Typing goes on straight after Time, Next and Help; the section ends from the
# keyboard alone (Tab onto Section Exit, Space), and every character is saved.
road_keys() {
    start_question issue 5 || return
    for step in "one " time "two " time "three " next "four " help five; do
        case $step in time | next | help) click_button "$step" ;; *) type_text "$step" ;; esac
    done
    key Tab space
    answer_box Quit Return && answer_box Quit Escape && wait_exit || return
    records_are ai5.txt "Issue No.5" "one two three four five"
}

# Review (Alt+R) lists the essay saved; Write this topic again (Alt+W) sets the
# start window to its topic, whatever it showed, and Start writes a second essay
# on it.
road_review() {
    start_question argument 7 "First essay." && end_section testquit Return Return && active "$START_RE" || return
    click_at "$START" 40 48 && click_at "$START" 100 122 && key ctrl+a && type_text 99 && key alt+r || return
    active "^Review - QEL" && key alt+w && wait_gone "^Review - QEL" "$WIN" && active "$START_RE" || return
    key alt+s && test_window && type_text "Second essay." && end_section testquit Return Escape || return
    wait_exit && records_are aa7.txt "Argument No.7" "First essay." "Second essay."
}

# A broken topic library: a fault box, no start window, a non-zero exit without a signal.
road_library() {
    case $1 in
    missing) rm "$FOLDER/ai.lib" ;;
    empty) : >"$FOLDER/aa.lib" ;;
    short-by-one) truncate -s -25 "$FOLDER/ai.lib" ;; # the last separator with its CR LF
    lf-only) sed -i 's/\r$//' "$FOLDER/aa.lib" ;;
    random-bytes) python3 -c 'import random, sys; random.seed(7)
sys.stdout.buffer.write(random.randbytes(262144))' >"$FOLDER/ai.lib" ;;
    nul-bytes) head -c 65536 /dev/zero >"$FOLDER/aa.lib" ;;
    directory) rm "$FOLDER/aa.lib" && mkdir "$FOLDER/aa.lib" ;;
    unreadable) chmod 000 "$FOLDER/ai.lib" && as_unprivileged || return ;;
    esac
    launch && active "^QEL Simulator$" || return
    ! visible "$START_RE" || fail "the start window showed despite the fault"
    key Return && wait_exit 'STATUS > 0 && STATUS < 128'
}

# A save that cannot reach the disk: "Not Saved", the answer kept in the test
# window, the earlier record untouched; once mended, ending again saves it.
road_save() {
    # $f in break and mend is user/ai5.txt; earlier are the answers in user/ai$topic.txt before.
    # shellcheck disable=SC2034 # f is read by eval
    local break mend f=user/ai5.txt topic=5 earlier=("First essay.")
    case $1 in
    no-user-folder) break='rm -r user' mend='mkdir user' earlier=() ;;
    user-is-a-file) break='rm -r user && echo x >user' mend='rm user && mkdir user' earlier=() ;;
    user-read-only) break='chmod 555 user' mend='chmod 755 user' topic=6 earlier=() ;;
    file-read-only) break='chmod 444 $f' mend='chmod 644 $f' ;;
    file-is-a-folder) break='mv $f k && mkdir $f' mend='rmdir $f && mv k $f' ;;
    disk-full) break='mv $f k && ln -s /dev/full $f' mend='rm $f && mv k $f' ;;
    esac
    case $1 in *read-only) as_unprivileged || return ;; esac
    start_question issue 5 "First essay." && end_section testquit Return Return || return
    (cd "$FOLDER" && eval "$break") || fail "could not break the save" || return
    start_question issue "$topic" "Kept answer." && click_button testquit || return
    answer_box Quit Return && answer_box "Not Saved" Return || return
    visible "$TEST_RE" && ! visible "$START_RE" || fail "the test window went away after a failed save"
    (cd "$FOLDER" && eval "$mend") || fail "could not mend the save" || return
    [ -z "${earlier[*]}" ] || records_are ai5.txt "Issue No.5" "${earlier[@]}"
    test_window && end_section testquit Return Escape && wait_exit || return
    records_are "ai$topic.txt" "Issue No.$topic" "${earlier[@]}" "Kept answer."
}

# An answer outlives a SIGKILL: typed, drafted, killed (straight away, or in
# killed-in-write by a preloaded rename() as the second draft, written and
# synced, is about to replace the first), and offered again at the next start.
road_draft() {
    printf 'An earlier essay.\r\n' >"$FOLDER/before.txt"
    [ "$1" != refused ] || cp "$FOLDER/before.txt" "$FOLDER/user/ai12.txt"
    if [ "$1" = killed-in-write ]; then
        cc -shared -fPIC -o "$FOLDER/die.so" -x c - -ldl <<'EOF' || skip "no C compiler" || return
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
    start_question issue 12 $'Kept through a kill.\rSecond line.' || return
    unset LD_PRELOAD
    until_true '[ -e "$FOLDER/user/draft.txt" ]' || fail "no draft was written" || return
    if [ "$1" = killed-in-write ]; then type_text " Lost in the write."; else kill -KILL "$APP_PID"; fi
    wait_exit 'STATUS == 137' || return # SIGKILL
    launch && answer_box "Unsaved Answer" Return || return
    # The first box tells of the answer, the second asks whether to save it: refused says Cancel.
    answer_box "Unsaved Answer" "$([ "$1" = refused ] && echo Escape || echo Return)" || return
    active "$START_RE" && key alt+q && wait_exit || return
    ! compgen -G "$FOLDER/user/*draft*" >/dev/null || fail "left in user/: $(ls "$FOLDER/user" | tr '\n' ' ')"
    if [ "$1" = refused ]; then
        cmp -s "$FOLDER/before.txt" "$FOLDER/user/ai12.txt" || fail "Cancel changed the essay file"
    else
        records_are ai12.txt "Issue No.12" 'Kept through a kill.\r\nSecond line.'
    fi
}

# shellcheck disable=SC2034 # read by e2e.sh
ALL_ROADS="start_and_quit practice tools keys about review
    draft:recovered draft:refused draft:killed-in-write
    library:missing library:empty library:short-by-one library:lf-only library:random-bytes
    library:nul-bytes library:directory library:unreadable
    save:no-user-folder save:user-is-a-file save:user-read-only save:file-read-only
    save:file-is-a-folder save:disk-full"
