#!/usr/bin/env bash
# Backends that bend the contract, in the real program: a record in two writes is put
# together and judged as usual; a backend that ends after its report counts as started and
# its exit is then reported (red LED, a box of its own); a record whose length reaches past
# what was sent is a "Malformed status record" failure; and a start whose log folder is
# missing is refused with a box that names the log, rather than a backend writing nowhere.
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

step "without its log folder the start is refused: a box names the log, no backend writes nowhere"
rm -rf "$(instance_folder 2)/log"
dravik_behaviour 2 delay_ms=100 http=off
click_control 1003
probe wait-box "Process creation" 60000 >/dev/null || fail "no box for the log that cannot be created"
expect_match 'text=Log file ".*FS_QEL_Instance2.log.output\.log" of QEL 3 cannot be created\\n.*\(error 3\)' \
    "$(probe message-box | tr -d '\r')" "the refusal names the log and the system's reason"
probe close-box
probe wait-box "Process creation" 20000 >/dev/null || fail "no report of the failed start"
expect_match "text=Failed to create process for dravik.exe$" "$(probe message-box | grep '^text=' | tr -d '\r')" "the failed start's report"
probe close-box
wait_for_eq -t 20 red led_colour 1006 || fail "LED 3 is not red"
expect_eq 1 "$(probe count-processes dravik.exe)" "backends running"
finish
