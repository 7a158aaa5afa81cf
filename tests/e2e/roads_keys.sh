# Keystrokes never go astray: typing goes on straight after a click on Time,
# Next and Help, and the section ends from the keyboard alone (Tab onto
# Section Exit, Space). Every character must reach the saved essay.

road_keys_after_buttons() {
    new_folder keys
    open_start || return
    start_question issue 5 || fail "the test window did not appear" || return
    type_text "one "
    click_button time
    type_text "two "
    click_button time
    type_text "three "
    click_button next
    type_text "four "
    click_button help
    type_text "five"
    # The answer box passes Tab on to Section Exit; Space presses it.
    key Tab
    key space
    answer_box Quit Return || fail "no save question after Space on Section Exit" || return
    answer_box Quit Escape || fail "no question about another one" || return
    wait_exit || fail "the program did not end"
    local file="$FOLDER/user/ai5.txt"
    wait_for_file "$file" || return
    grep -q $'^one two three four five\r$' "$file" ||
        fail "typing was lost: $(grep -a -A2 'Your Answer' "$file" | tail -n1)"
}
