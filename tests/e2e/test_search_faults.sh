#!/usr/bin/env bash
# Backends that bend the contract, in the real program: a record in two writes is put
# together and judged as usual; a backend that ends after its report counts as started and
# its exit is then reported (red LED, a box of its own); a record whose length reaches past
# what was sent is a "Malformed status record"
# failure; and a backend without a log folder still starts, its failure box showing an
# empty log.
source "$(dirname "$0")/lib.sh"

instances_on_adapter lab0=02:00:00:00:01:01 3
dravik_behaviour 0 delay_ms=100 http=off mode=split split_ms=400 status=0 text=ready
dravik_behaviour 1 delay_ms=100 http=off mode=crash-after-report
dravik_behaviour 2 delay_ms=100 http=off mode=overlong-length status=-1 text=never
start_brisvale --wait

step "a split record counts as started; a backend that ends after its report is reported as ended"
click_control 1003
probe wait-box "Unexpected process exit" 60000 >/dev/null || fail "no box for the backend that ended"
probe wait-box "Malformed status record" 60000 >/dev/null || fail "no box for the malformed record"
# The search went on under the first box, so both are open: read and close them one by one.
boxes="$(probe message-box)"
probe close-box
boxes+="$(probe message-box)"
probe close-box
expect_match "text=Process dravik.exe for QEL 2 has exited \(exit code 3\)" "$boxes" "exit box text"
expect_match "text=Process dravik.exe for QEL 3 failed to start up correctly" "$boxes" "failure box text"
wait_for_eq -t 20 "1" probe control 1016 enabled || fail "the search did not end"
expect_eq "Yes No No" "$(for r in 0 1 2; do probe list-cells 1001 "$r" 1; done | tr -d '\r' | xargs)" "Active column"
expect_eq "green red off" "$(for id in 1004 1005 1006; do led_colour $id; done | xargs)" "LEDs"
expect_eq 1 "$(probe count-processes dravik.exe)" "backends running (instance 2 ended by itself, 3 was closed)"

step "without its log folder a backend still starts; its failure box shows an empty log"
rm -rf "$(instance_folder 2)/log"
dravik_behaviour 2 delay_ms=100 http=off status=-1 "text=Bad image"
click_control 1003
probe wait-box "Bad image" 60000 >/dev/null || fail "no failure box for instance 3"
box=$(probe message-box)
expect_match "for QEL 3 failed to start up correctly and will be closed\\\\n\\\\n===========LOG===========\\\\n$" \
    "$(grep '^text=' <<<"$box" | tr -d '\r')" "box text ends with the separator: no log"
probe close-box
wait_for_eq -t 20 "1" probe control 1016 enabled || fail "the second search did not end"
expect_eq 1 "$(probe count-processes dravik.exe)" "backends running"
finish
