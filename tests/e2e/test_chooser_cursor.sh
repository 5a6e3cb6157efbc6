#!/usr/bin/env bash
# The cursor and the hint line over the browser chooser. Its text field is an edit window
# inside the combo box with an id of its own (1001, the instance table's): over it, as over
# the chooser's button, the hint line stays empty and the cursor is not the hand, while the
# instance table itself shows the hand and its hint.
source "$(dirname "$0")/lib.sh"

write_config
start_brisvale --wait
IFS=, read -r WL WT WR WB < <(probe window-rect)

# The hint line (client 40,520 to 600,545 at scale 1.0), repainted first so that only the
# hint text decides what it shows.
hint_line() {
    probe redraw
    screenshot hint.png
    convert "$E2E_WS/hint.png" -crop "560x25+$((WL + 40))+$((WT + 520))" +repage rgb:- | md5sum | cut -d' ' -f1
}
cursor() { probe cursor | cut -f1; }
# After a move the program sets the cursor and the hint when it gets to the move: what
# each check wants is waited for, and the check then reads it once more.
differs() { [ "$("${@:2}")" != "$1" ]; }
control_rect() { IFS=, read -r CL CT CR CB < <(probe control "$1" screen); }

click_control 1014   # the program's thread gets the input, whose cursor probe reads

step "references: the body's surface shows the arrow and no hint, an LED the hand"
move $((WL + 600)) $((WT + 150))
probe settle >/dev/null
arrow=$(cursor)
empty_hint=$(hint_line)
control_rect 1004
move $(((CL + CR) / 2)) $(((CT + CB) / 2))
wait_for differs "$arrow" cursor
hand=$(cursor)
expect_ne "$arrow" "$hand" "the hand over an LED"

step "the instance table shows the hand and its hint"
control_rect 1001
move $(((CL + CR) / 2)) $(((CT + CB) / 2))
wait_for_eq "$hand" cursor
expect_eq "$hand" "$(cursor)" "cursor over the instance table"
wait_for differs "$empty_hint" hint_line
expect_ne "$empty_hint" "$(hint_line)" "hint line over the instance table"

step "over the browser chooser's text field: no hand, no hint"
control_rect 1015
move $((CL + 12)) $(((CT + CB) / 2))
wait_for differs "$hand" cursor
expect_ne "$hand" "$(cursor)" "cursor over the chooser's text field"
wait_for_eq "$empty_hint" hint_line
expect_eq "$empty_hint" "$(hint_line)" "hint line over the chooser's text field"

step "over the browser chooser's button: the arrow, no hint"
move $((CR - 6)) $(((CT + CB) / 2))
wait_for_eq "$arrow" cursor
expect_eq "$arrow" "$(cursor)" "cursor over the chooser's button"
wait_for_eq "$empty_hint" hint_line
expect_eq "$empty_hint" "$(hint_line)" "hint line over the chooser's button"

finish
