#!/usr/bin/env bash
# Runs a Windows program under Wine in the test run's own prefix (made by scripts/test.sh).
# The working directory stays the caller's, so tests can point it at a workspace.
export WINEPREFIX="${WINEPREFIX:-${BRISVALE_WINEPREFIX:-$PWD/wineprefix}}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
