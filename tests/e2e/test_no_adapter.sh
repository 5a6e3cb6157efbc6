#!/usr/bin/env bash
# A workstation without any Ethernet adapter: the adapter list stays empty, an adapter cell
# cannot be filled, and a search explains that the first instance has no adapter.
source "$(dirname "$0")/lib.sh"

use_adapters   # loopback only
write_config 2
start_brisvale --wait

step "the adapter list is empty and the instance table unchanged"
expect_eq 0 "$(probe list-count 1000 | tr -d '\r')" "adapter rows"
expect_eq 2 "$(probe list-count 1001 | tr -d '\r')" "instance rows"
double_click_cell 1001 0 2
wait_for_input   # the double-click has been handled
expect_eq "" "$(probe list-cells 1001 0 2 | tr -d '\r')" "adapter cell after a double-click"

step "a search says which instance has no adapter and starts nothing"
click_control 1003
expect_refused_start "No Ethernet adapter selected for QEL 1" 20000
expect_eq 0 "$(probe count-processes dravik.exe)" "backends running"
finish
