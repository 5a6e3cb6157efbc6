#!/usr/bin/env bash
# Runs a Windows test program under Wine in a session no other test shares: an Xvfb of its
# own and its own copy of the prepared prefix (BRISVALE_WINEPREFIX, else wineprefix in the
# build folder, made when missing), so test programs can run at once. Ends the session and
# removes the copy afterwards; the exit status is the program's.
source "$(dirname "$0")/../scripts/wine-env.sh"
copy=$(mktemp -d /tmp/qel-wine.XXXXXX) || exit 1
trap wine_end_own_session EXIT
trap 'exit 143' INT TERM
wine_own_session "${BRISVALE_WINEPREFIX:-$PWD/wineprefix}" "$copy" || { rm -rf "$copy"; exit 1; }
wine "$@"
