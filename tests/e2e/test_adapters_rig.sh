#!/usr/bin/env bash
# The rig's fixed network adapters: inside the test's namespace the program's Wine session
# sees exactly the adapters asked for, with their MACs, and the program starts there.
source "$(dirname "$0")/lib.sh"

write_config
use_adapters qel-a=02:51:00:00:00:0a qel-b=02:51:00:00:00:0b

step "only the adapters asked for are Ethernet adapters"
ethernet=$(probe adapters | awk -F'\t' '$1 == 6 { print $2 " " $3 }' | sort)
expect_eq $'02-51-00-00-00-0A qel-a\n02-51-00-00-00-0B qel-b' "$ethernet" "Ethernet adapters seen under Wine"

step "the program runs inside the namespace"
start_brisvale --wait
expect_eq 1 "$(probe count-processes brisvale.exe)" "brisvale.exe processes"
expect_match "^[0-9]+,10,$((E2E_SCREEN_W - 10)),[0-9]+$" "$(probe window-rect)" "window placement"
finish
