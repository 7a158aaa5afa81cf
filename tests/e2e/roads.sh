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
    # Enter straight after the start starts a question; it never ends the program unasked.
    if [ "$1" = enter ]; then
        key Return && test_window && end_section testquit Escape && wait_exit
        return
    fi
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
    # Letters beyond the ANSI code page, pasted from another program (xdotool drops
    # some when it types them).
    start_question issue 12 $'First line.\rSecond line, ' || return
    printf 'naïve Ελλάδα.' | xclip -selection clipboard -i
    until_true '[ "$(clipboard)" = "naïve Ελλάδα." ]' && click_button paste &&
        end_section testquit Return Return || return
    records_are ai12.txt "Issue No.12" 'First line.\r\nSecond line, naïve Ελλάδα.'
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

# Typing goes on straight after Time, Next, Help, and the close keystroke pressed
# twice (the second, or Escape, closes the save question and goes back to the
# question); the section ends from the keyboard alone (Tab onto Section Exit,
# Space), and every character is saved.
road_keys() {
    start_question issue 5 || return
    for step in "one " time "two " time "three " next "four " help five alt+F4 " six" Escape; do
        case $step in
        time | next | help) click_button "$step" ;;
        alt+F4 | Escape) key alt+F4 && answer_box Quit "$step" && test_window ;;
        *) type_text "$step" ;;
        esac || return
    done
    key Tab space
    answer_box Quit Return && answer_box Quit Escape && wait_exit || return
    records_are ai5.txt "Issue No.5" "one two three four five six"
}

# The Full Test (Alt+T): an Argument, then an Issue, each saved to its random topic's file.
# more-time first chooses 45 minutes and white on black from the keyboard; under a clock
# 150 times as fast, "Time Up!" comes no sooner than 45 minutes (18 s) into section 1.
road_full_test() {
    local more="" from
    [ "$1" != more-time ] || { command -v faketime >/dev/null && AS_USER=(env
        ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" faketime -f "+0 x150") &&
        more="alt+i Down Down alt+o Down Down"; } || skip "no faketime" || return
    # shellcheck disable=SC2086 # more holds several keys
    open_start && key $more alt+t && test_window && from=${EPOCHREALTIME/./} && type_text "Argument essay." || return
    [ -z "$more" ] || { [[ $(import -window "$TEST" -crop 1x1+300+350 txt:-) == *"#000000"* ]] &&
        answer_box "Time Up!" Return && ((${EPOCHREALTIME/./} - from >= 15000000)); } ||
        fail 'not white on black, or "Time Up!" before 45 minutes' || return
    end_section sectionexit Return && answer_box "Full Test" Return && test_window || return
    type_text "Issue essay." && end_section testquit Return && answer_box "Full Test" Return || return
    answer_box Quit Escape && wait_exit && set -- "$FOLDER"/user/a[ai]*.txt && set -- "${1##*/}" "${2##*/}"
    records_are "$1" "Argument No.${1//[!0-9]/}" "Argument essay." &&
        records_are "$2" "Issue No.${2//[!0-9]/}" "Issue essay."
}

# Help brings the saved essay into the answer; saved with it, it stays inside that
# answer in the Review window, the newest essay there (copied from its answer box).
road_help_review() {
    start_question issue 9 "First essay." && end_section testquit Return Return || return
    local want
    want="Mine."$'\n'"$(tr -d '\r' <"$FOLDER/user/ai9.txt")" # Help's copy ends without a line end
    start_question issue 9 "Mine." && click_button help && end_section testquit Return Return &&
        active "$START_RE" && key alt+r && active "^Review - QEL" && key Return ctrl+a ctrl+c || return
    until_true '[ "$(clipboard)" = "$want" ]' || fail "the newest essay holds '$(clipboard)'" || return
    key Escape && wait_gone "^Review - QEL" "$WIN" && active "$START_RE" && key alt+q && wait_exit
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

# The GRE mode. time-runs-out: a topic by number, under a clock 150 times as
# fast; the section ends by itself when its 30 minutes (12 s) run out, and the save
# question keeps the answer. short-library: a gi.lib cut short leaves the GRE choice
# off and the GMAT's Issue topic 3 is written as ever.
road_gre() {
    if [ "$1" = short-library ]; then
        truncate -s -25 "$FOLDER/gi.lib" && open_start && click_at "$START" 128 366 || return
        start_question issue 3 "GMAT essay." && end_section testquit Return Escape && wait_exit || return
        records_are ai3.txt "Issue No.3" "GMAT essay."
        return
    fi
    local from
    command -v faketime >/dev/null && AS_USER=(env
        ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" faketime -f "+0 x150") ||
        skip "no faketime" || return
    # A click on GRE (Alt+E's button turns a moment later), then two Tabs (Quit,
    # the number box) reach the number.
    open_start && click_at "$START" 128 366 && key Tab Tab ctrl+a && type_text 4 && key alt+s &&
        test_window || return
    from=${EPOCHREALTIME/./}
    type_text "Both views weighed." && answer_box "Time Up!" Return || return
    ((${EPOCHREALTIME/./} - from >= 10000000)) || fail "the section ended before 30 minutes" || return
    answer_box Quit Escape && wait_exit && records_are gi4.txt "GRE Issue No.4" "Both views weighed."
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
    endless) ln -sf /dev/zero "$FOLDER/ai.lib" ;;
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
    # A user folder that cannot keep drafts is said before the writing starts.
    choose issue "$topic" && case $1 in no-user-folder | user-*) answer_box "No Draft" Return ;; esac &&
        test_window && type_text "Kept answer." && click_button testquit || return
    answer_box Quit Return && answer_box "Not Saved" Return || return
    visible "$TEST_RE" && ! visible "$START_RE" || fail "the test window went away after a failed save"
    (cd "$FOLDER" && eval "$mend") || fail "could not mend the save" || return
    [ -z "${earlier[*]}" ] || records_are ai5.txt "Issue No.5" "${earlier[@]}"
    test_window && end_section testquit Return Escape && wait_exit || return
    records_are "ai$topic.txt" "Issue No.$topic" "${earlier[@]}" "Kept answer."
}

# Preloads calls.c into the program's launches from now on, failing FAIL; it notes in $FOLDER/calls.
preload() {
    cc -shared -fPIC -o "$FOLDER/calls.so" "$(dirname "$0")/calls.c" -ldl || skip "no C compiler" || return
    # shellcheck disable=SC2034 # AS_USER is read by launch
    : >"$FOLDER/calls" && AS_USER=(env LD_PRELOAD="$FOLDER/calls.so" QEL_WATCH="$FOLDER/user"
        QEL_CALLS="$FOLDER/calls" QEL_FAIL="$1" ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0")
}

# An answer outlives a SIGKILL: typed, drafted, killed (straight away, or in
# killed-in-write by a preloaded rename() as the second draft, written and
# synced, is about to replace the first), and offered again at the next start.
# So does one whose program gets SIGTERM half a second after the last key, before
# any draft is due, or loses its test window to another program, or (on Windows)
# whose user logs off.
road_draft() {
    printf 'An earlier essay.\r\n' >"$FOLDER/before.txt"
    [ "$1" != refused ] || cp "$FOLDER/before.txt" "$FOLDER/user/ai12.txt"
    [ "$1" != killed-in-write ] || preload "rename user/draft.txt;" || return
    start_question issue 12 $'Kept through a kill.\rSecond line.' || return
    case $1 in
    terminated) sleep 0.5 && kill -TERM "$APP_PID" && wait_exit 'STATUS == 143' ;;
    window-destroyed) xdotool windowclose "$TEST" && wait_exit ;;
    logged-off) [ -n "$WINE" ] || skip "only Windows asks a program before the session ends" || return
        # Windows ends a program once it has answered the session's end, and Wine's
        # session end waits for every program: never for longer than the road.
        sleep 0.5 && { "$WINE" wineboot --end-session >/dev/null 2>&1 & } &&
            { wait_exit 'STATUS == 0 || STATUS == 137'; local ended=$?; kill $! 2>/dev/null
                ((ended == 0)); } ;;
    *)
        until_true '[ -e "$FOLDER/user/draft.txt" ]' || fail "no draft was written" || return
        if [ "$1" = killed-in-write ]; then type_text " Lost in the write."; else kill -KILL "$APP_PID"; fi
        wait_exit 'STATUS == 137' ;; # SIGKILL
    esac || return
    launch && answer_box "Unsaved Answer" Return || return
    # The first box tells of the answer, the second asks whether to save it: refused
    # presses Cancel (Escape would keep the draft for the next start).
    answer_box "Unsaved Answer" "$([ "$1" = refused ] && echo Tab space || echo Return)" || return
    active "$START_RE" && key alt+q && wait_exit || return
    ! compgen -G "$FOLDER/user/*draft*" >/dev/null || fail "left in user/: $(ls "$FOLDER/user" | tr '\n' ' ')"
    if [ "$1" = refused ]; then
        cmp -s "$FOLDER/before.txt" "$FOLDER/user/ai12.txt" || fail "Cancel changed the essay file"
    else
        records_are ai12.txt "Issue No.12" 'Kept through a kill.\r\nSecond line.'
    fi
}

# The logo opens the web site with the user's browser: the one $BROWSER names on
# Linux, and on Windows the one ShellExecute hands web addresses to (Wine's, told
# which program to start).
road_logo() {
    local seen=$FOLDER/browser.txt browser=$FOLDER/browser.sh
    printf '#!/bin/sh\necho "$@" >>"%s"\n' "$seen" >"$browser" && chmod +x "$browser" || return
    if [ -n "$WINE" ]; then
        "$WINE" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$browser" /f >/dev/null ||
            fail "could not tell Wine which browser to start" || return
    else
        AS_USER=(env BROWSER="$browser" DEFAULT_BROWSER="$browser")
    fi
    open_start && click_at "$START" 300 220 || return
    until_true '[ -s "$seen" ]' || fail "no browser was started" || return
    grep -q "www.qelsim.example" "$seen" || fail "the browser was given: $(cat "$seen")" || return
    active "$START_RE" && key alt+q && wait_exit
}

# install-menu-entry run from a folder whose path holds spaces, into a data folder
# of its own: refused from elsewhere, one valid entry after two runs (the second
# over an icon cache), the program started through its Exec line as a desktop
# does, and nothing left once removed. The package test runs it.
road_menu_entry() {
    local data="$WORK/home/xdg data/share" script="$WORK/my programs/QEL Simulator/install-menu-entry"
    local entry=$data/applications/example.qelsim.QelSimulator.desktop
    mkdir -p "$WORK/my programs" && mv "$FOLDER" "${script%/*}" && FOLDER=${script%/*} || return
    menu() { (cd / && HOME=$WORK/home XDG_DATA_HOME=$data "$@" >/dev/null); }
    cp "$script" "$WORK" && menu "$WORK/install-menu-entry" 2>&1 |
        grep -q "not a QEL Simulator program folder" || fail "it ran outside a program folder" || return
    menu "$script" && gtk-update-icon-cache -q -t -f "$data/icons/hicolor" && menu "$script" || return
    [ "$(ls "$data"/applications/*.desktop)" = "$entry" ] && desktop-file-validate "$entry" &&
        appstreamcli validate-tree --no-net "$data/.." >/dev/null || fail "not one valid entry" || return
    HOME=$WORK/home gio launch "$entry" || fail "the entry did not start the program" || return
    active "$START_RE" && key alt+q && wait_gone "$START_RE" && menu "$script" --remove || return
    ! grep -rilE 'qelsim|QEL Simulator' "$WORK/home" || fail "left behind"
}

# In order: the draft put in place, its folder synced; the record written, synced, its new file's folder
# synced; its timeline the same in the notes beside it, then the draft removed (save, recovery). A failed sync: "Not Saved", draft kept, no record.
road_durable() {
    preload "$([ "$1" = sync-fails ] && echo "sync user/ai12.txt;")" && start_question issue 12 "Kept." || return
    until_true '[[ $(<"$FOLDER/calls") == *"rename user/draft.txt;sync user;"* ]]' ||
        fail "no folder sync after the draft's rename: $(<"$FOLDER/calls")" || return
    case $1 in
    recovery) kill -KILL "$APP_PID" && wait_exit 'STATUS == 137' && launch &&
        answer_box "Unsaved Answer" Return && answer_box "Unsaved Answer" Return && active "$START_RE" ;;
    save) click_button testquit && answer_box Quit Return && active "^Quit$" ;;
    sync-fails) click_button testquit && answer_box Quit Return && answer_box "Not Saved" Return &&
        [ -e "$FOLDER/user/draft.txt" ] && [ ! -s "$FOLDER/user/ai12.txt" ] && return ;;
    esac || fail "the draft or the record is not as it should be" || return
    [[ $(<"$FOLDER/calls") == *"write user/ai12.txt;sync user/ai12.txt;sync user;write user/ai12.notes;sync user/ai12.notes;sync user;unlink user/draft.txt;"* ]] ||
        fail "calls out of order: $(<"$FOLDER/calls")"
}

# How the time went, under a clock 60 times as fast: words, then more than a minute
# of the question's time without a key, more words, the save. Beside the essay file,
# its notes hold the timeline whole, named by the record's hash, with the pause in it.
road_pace() {
    # shellcheck disable=SC2034 # AS_USER is read by launch
    command -v faketime >/dev/null && AS_USER=(env
        ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" faketime -f "+0 x60") ||
        skip "no faketime" || return
    local from
    start_question issue 3 "First words." && from=${EPOCHREALTIME/./} || return
    until_true '((${EPOCHREALTIME/./} - from >= 1400000))' || return # 84 s of the question's time
    type_text " More words." && end_section testquit Return Return && active "$START_RE" &&
        key alt+q && wait_exit || return
    records_are ai3.txt "Issue No.3" "First words. More words." || return
    python3 - "$FOLDER/user/ai3.txt" "$FOLDER/user/ai3.notes" <<'EOF' || fail "the notes do not hold the timeline"
import hashlib, re, sys
essay, notes = (open(p, "rb").read() for p in sys.argv[1:])
m = re.fullmatch(rb"== timeline\r\nrecord: ([0-9a-f]{40})\r\ndate: .+\r\ntime: .+\r\nallowed: 1800\r\n"
                 rb"((?:[0-9]+ [stkpxurhe] [0-9]+ [0-9]+ [0-9]+ [0-9]+\r\n)+)== end\r\n", notes)
m or sys.exit(f"notes: {notes[:300]!r}")
m.group(1).decode() == hashlib.sha1(essay).hexdigest() or sys.exit("another record's hash")
lines = [l.split() for l in m.group(2).decode().split("\r\n")[:-1]]
resumed = [int(l[0]) for l in lines if l[1] == "k" and int(l[0]) >= 60]
resumed and lines[-1][1] == "e" and lines[-1][2] == "4" or sys.exit(f"log: {lines}")
EOF
}

# shellcheck disable=SC2034 # read by e2e.sh
ALL_ROADS="start_and_quit start_and_quit:enter practice tools keys about logo full_test full_test:more-time
    review help_review gre:time-runs-out gre:short-library pace
    draft:recovered draft:refused draft:killed-in-write draft:terminated draft:window-destroyed
    durable:save durable:recovery durable:sync-fails
    library:missing library:empty library:short-by-one library:lf-only library:random-bytes
    library:nul-bytes library:directory library:endless library:unreadable
    save:no-user-folder save:user-is-a-file save:user-read-only save:file-read-only
    save:file-is-a-folder save:disk-full"
