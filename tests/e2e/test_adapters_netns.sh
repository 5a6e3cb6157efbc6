#!/bin/bash
# The adapter list over real adapters: a network namespace with two veth pairs of fixed MAC
# addresses, and a Wine session (fresh prefix, its own wineserver) started inside it. The
# live-dialog tests of NamespaceAdapters read the list and drive it with the mouse.
set -euo pipefail
BIN=${BRISVALE_BIN:?}
SRC=${BRISVALE_SRC:-$(cd "$(dirname "$0")/../.." && pwd)}

if [ "$(id -u)" != 0 ] || ! ip netns list >/dev/null 2>&1; then
    echo "SKIP: network namespaces need root"; exit 0
fi

NS=brisvale-net-$$
PREFIX=$BIN/wineprefix-netns-$$
DRIVER=
INPUT_DIR=$(mktemp -d)
cleanup() {
    [ -n "$DRIVER" ] && kill "$DRIVER" 2>/dev/null || true
    rm -rf "$INPUT_DIR"
    ip netns exec "$NS" env WINEPREFIX="$PREFIX" wineserver -k >/dev/null 2>&1 || true
    ip netns del "$NS" >/dev/null 2>&1 || true
    rm -rf "$PREFIX"
}
trap cleanup EXIT
trap "exit 1" INT TERM

ip netns add "$NS"
# Each "add" creates the peer first, then the named end: qb, qa, qd, qc.
ip -n "$NS" link add qa type veth peer name qb
ip -n "$NS" link add qc type veth peer name qd
for pair in qa:0a qb:0b qc:0c qd:0d; do
    ip -n "$NS" link set "${pair%%:*}" address "02:00:00:00:00:${pair##*:}"
done
ip -n "$NS" link set qa up
ip -n "$NS" link set qb up
ip -n "$NS" link set qc up   # qd stays down: an adapter without a link is listed too

source "$SRC/scripts/wine-env.sh"
ensure_display "${BRISVALE_DISPLAY_NUMBER:-97}"
# Real mouse input: the tests ask for clicks, xdotool makes them on the X display.
drive_input() {
    local n=1 x y count
    while :; do
        if [ -f "$INPUT_DIR/click-$n" ]; then
            read -r x y count < "$INPUT_DIR/click-$n"
            xdotool mousemove "$x" "$y" sleep 0.1 click --repeat "$count" --delay 80 1
            touch "$INPUT_DIR/done-$n"
            n=$((n + 1))
        else
            sleep 0.05
        fi
    done
}
drive_input &
DRIVER=$!

# The list shows the platform's order reversed; Wine reports interfaces by index.
export BRISVALE_NETNS_ADAPTERS="qc=02-00-00-00-00-0C;qd=02-00-00-00-00-0D;qa=02-00-00-00-00-0A;qb=02-00-00-00-00-0B"
ip netns exec "$NS" env WINEPREFIX="$PREFIX" DISPLAY="$DISPLAY" BRISVALE_NETNS_ADAPTERS="$BRISVALE_NETNS_ADAPTERS" \
    BRISVALE_XINPUT_DIR="$INPUT_DIR" \
    bash -c "source '$SRC/scripts/wine-env.sh'; wine_prefix_init '$PREFIX'; cd '$BIN' && wine win_tests.exe --gtest_filter='NamespaceAdapters.*'"
