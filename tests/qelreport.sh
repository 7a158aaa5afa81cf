#!/bin/bash
# Runs the built qelreport on a made-up user folder beside it: two essay files
# with three records (one file saved again with LF line ends) and a junk file;
# checks the CSV cell by cell, the report of one essay, and each error's line
# and exit status. The answers are those of tst_logic's essayFigures rows
# ("spelling", "repetition", "the topic's words"), which hold their slips and
# topic words; the other cells are counted by hand in the comments below.
#   qelreport.sh PROGRAM_FOLDER
set -u
PROGRAM=$(cd "$1" && pwd) || exit 1
WORK=$(mktemp -d)
trap 'chmod -R u+rwX "$WORK"; rm -rf "$WORK"' EXIT
cp -r "$PROGRAM" "$WORK/program"
USER_DIR="$WORK/program/user"
if [ -f "$PROGRAM/qelreport.exe" ]; then
    WINE=$(cd "$(dirname "$0")/../tools/windows" && pwd)/wine.sh
    "$WINE" --prepare || exit 77 # no Wine: skipped
    qelreport() { "$WINE" "$WORK/program/qelreport.exe" "$@"; }
    native() { echo "Z:$1" | tr / '\\'; }
else
    qelreport() { "$WORK/program/qelreport" "$@"; }
    native() { echo "$1"; }
fi
failures=0
check() { # WHAT EXPECTED GOT
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1"
        echo "  expected: $2"
        echo "  got:      $3"
        failures=$((failures + 1))
    fi
}

# A record as the program writes it: CR LF throughout, its topic's own line ends.
record() { # DATE TIME HEADING TOPIC ANSWER
    printf '\r\n\r\n********************\r\nDate: %s\r\nTime: %s\r\n%s\r\n********************\r\nQuestion:\r\n\r\n%s\r\n********************\r\n\r\nYour Answer:\r\n\r\n%s\r\n' "$@"
}
topic=$'\r\n"A company serving every customer fails."\r\n\r\nWrite a response in which you discuss.\r\n'
{
    record 2026-03-14 09:26:53 "Issue No.12" "$topic" "Companies serve customers. Success lasts."
    record 2026-03-16 20:05:00 "Issue No.12" "$topic" \
        "Teh colour and the color recieve. We recieve teh GMAT in 2026 and USA rules."
} >"$USER_DIR/ai12.txt"
# A GRE essay: the same answer and topic as the first record, so the same figures.
record 2026-03-13 08:00:00 "GRE Issue No.4" "$topic" "Companies serve customers. Success lasts." \
    >"$USER_DIR/gi4.txt"
record 2026-03-15 10:00:00 "Argument No.7" $'\r\nTopic\r\n' \
    "The plan works. The plan fails! Then plans change. Then plan again." |
    tr -d '\r' >"$USER_DIR/aa7.txt" # saved again by an editor that writes LF alone
# The first record's timeline beside it, tied to it by its hash: the first word at
# 10 s, quiet from 10 s to 95 s, 45 characters typed and 5 deleted, the end at
# 1680 s of the 1800 allowed, no word gained after 1500 s.
first=$(record 2026-03-14 09:26:53 "Issue No.12" "$topic" "Companies serve customers. Success lasts." |
    sha1sum | cut -d' ' -f1)
printf '== timeline\r\nrecord: %s\r\ndate: 2026-03-14\r\ntime: 09:26:53\r\nallowed: 1800\r\n%s== end\r\n' \
    "$first" $'0 s 0 0 0 0\r\n5 t 0 0 0 0\r\n10 t 2 0 14 0\r\n95 k 2 0 1 0\r\n100 t 5 0 30 5\r\n1680 e 5 0 0 0\r\n' \
    >"$USER_DIR/ai12.notes"
printf 'a shopping list, not an essay\r\n' >"$USER_DIR/ai3.txt"
printf 'not an essay file at all\r\n' >"$USER_DIR/notes.txt"

qelreport >"$WORK/out.csv" 2>"$WORK/err.txt"
check "exit status of the CSV" 0 $?
expected='file,record,date,time,kind,topic,words,paragraphs,sentences,mean_sentence_words,spelling_slips,topic_words_used,topic_words,distinct_per_hundred,long_word_share,usage_slips,points_taken_up,points,first_word_s,longest_pause_s,words_last_5_min,deleted_share,time_left_s,rating
ai12.txt,2,2026-03-16,20:05:00,Issue,12,15,1,2,7.5,4,0,4,78.6,0.14,0,0,5,,,,,,
aa7.txt,1,2026-03-15,10:00:00,Argument,7,12,1,4,3.0,0,0,1,66.7,0.00,0,1,4,,,,,,
ai12.txt,1,2026-03-14,09:26:53,Issue,12,5,1,2,2.5,0,2,4,100.0,0.60,0,0,5,10,85,0,0.111,120,
gi4.txt,1,2026-03-13,08:00:00,GRE Issue,4,5,1,2,2.5,0,2,4,100.0,0.60,0,0,5,,,,,,'
check "the CSV's line ends" "$(wc -l <"$WORK/out.csv")" "$(grep -c $'\r$' "$WORK/out.csv")"
# Row 1: 15 words, 2 sentences; 11 different of 14 words with letters; recieve
# twice of 7 letters or more. Row 2: 8 different of 12. Row 3: Companies,
# customers and Success of 7 letters or more, 3 of 5. No usage slip in any.
# The keys beside the program: Issue 12 has 5 points, none taken up by answers
# off its subject; Argument 7 has 4 weaknesses, and "plan ... works" reads as
# taking up the one on other plants' work (the guess goes by words alone).
mapfile -t want <<<"$expected"
mapfile -t got < <(tr -d '\r' <"$WORK/out.csv")
check "rows" "${#want[@]}" "${#got[@]}"
IFS=, read -ra names <<<"${want[0]}"
for r in "${!want[@]}"; do
    IFS=, read -ra w <<<"${want[$r]}"
    IFS=, read -ra g <<<"${got[$r]:-}"
    for c in "${!w[@]}"; do check "row $r, ${names[$c]}" "${w[$c]}" "${g[$c]:-}"; done
    check "row $r, cells" "${#w[@]}" "${#g[@]}"
done
grep -q 'ai3.txt: a part not laid out as a saved essay' "$WORK/err.txt" ||
    check "the junk file named on standard error" "ai3.txt ..." "$(cat "$WORK/err.txt")"

# One essay's report, wrapped for the terminal, its suggestions included.
COLUMNS=60 qelreport --essay "$(native "$USER_DIR/ai12.txt")" >"$WORK/essay.txt" 2>&1
check "exit status of --essay" 0 $?
for line in "ai12.txt, record 2 of 2: Issue No.12, 2026-03-16 20:05:00" \
    "Words: 15, below the band of 500 to 600. Paragraphs: 1." "Spelling" \
    "    recieve (2): receive, relieve, reverie" \
    "Never used: company, serving, customer, fails"; do
    grep -qxF -- "$line" <(tr -d '\r' <"$WORK/essay.txt") || check "--essay holds the line" "$line" ""
done
check "--essay's widest line" 1 "$(awk 'length > 60 { n++ } END { print n ? 0 : 1 }' "$WORK/essay.txt")"
COLUMNS=200 qelreport --essay "$(native "$USER_DIR/ai12.txt")" --record 1 | grep -q "^Words: 5," ||
    check "--record 1" "Words: 5" "$(qelreport --essay "$(native "$USER_DIR/ai12.txt")" --record 1 | head -3)"

# Errors: one line naming what failed and why, or the usage; each its exit status.
mkdir "$WORK/closed" && chmod 000 "$WORK/closed"
mkdir "$WORK/empty"
while IFS='|' read -r args status said; do
    eval "set -- $args"
    qelreport "$@" >"$WORK/out.txt" 2>"$WORK/err.txt"
    check "exit status of: $args" "$status" $?
    grep -qF -- "$said" "$WORK/err.txt" "$WORK/out.txt" ||
        check "what $args says" "$said" "$(cat "$WORK/err.txt")"
done <<ROWS
"$(native "$WORK/nowhere")"|1|nowhere: it does not exist
"$(native "$USER_DIR/ai12.txt")"|1|ai12.txt: it is not a folder
--essay "$(native "$WORK/nowhere.txt")"|1|nowhere.txt: it does not exist
--essay "$(native "$USER_DIR/ai3.txt")"|1|ai3.txt: no saved essay in it
--frobnicate|2|usage: qelreport [FOLDER]
--essay "$(native "$USER_DIR/ai12.txt")" --record x|2|usage: qelreport [FOLDER]
--essay "$(native "$USER_DIR/ai12.txt")" --record 3|2|holds 2 saved essays; there is no record 3
--record 1|2|usage: qelreport [FOLDER]
--help|0|usage: qelreport [FOLDER]
"$(native "$WORK/empty")"|0|file,record,date,time,kind,topic,words
ROWS
if [ "$(id -u)" = 0 ] || [ -f "$PROGRAM/qelreport.exe" ]; then
    echo "SKIPPED: a folder that cannot be read (every folder can be read here)"
else
    qelreport "$WORK/closed" >/dev/null 2>"$WORK/err.txt"
    check "exit status of a folder that cannot be read" 1 $?
    check "what it says" "qelreport: $WORK/closed: permission denied" "$(cat "$WORK/err.txt")"
fi
check "the empty folder's CSV" 1 "$(qelreport "$(native "$WORK/empty")" | wc -l)"
# It only reads: nothing in the user folder changed or was added.
check "the user folder after" "aa7.txt ai12.notes ai12.txt ai3.txt gi4.txt notes.txt" "$(ls "$USER_DIR" | tr '\n' ' ' | sed 's/ $//')"

[ $failures = 0 ] && echo "qelreport: every check passed" || { echo "$failures checks failed"; exit 1; }
