#!/usr/bin/env bash
# A short soak: three search and close-all cycles, 20 rescales and 10 flips; the program's
# handle and GDI figures stay flat and no backend outlives its close (soak.sh). About three
# minutes under Wine, so it is run by hand, not by the test command:
#   BRISVALE_BIN=build/windows bash tests/soak/soak_short.sh
SOAK_CYCLES=${SOAK_CYCLES:-3} SOAK_RESCALES=${SOAK_RESCALES:-20} SOAK_FLIPS=${SOAK_FLIPS:-10}
source "$(dirname "$0")/soak.sh"
