# Sourced by the run and test scripts: a Wine prefix of this run, the font replacements,
# and an X display (Xvfb when none is there).
#   wine_prefix_init PREFIX   - creates and prepares PREFIX once
#   wine_prefix_unmanaged     - no window management (Xvfb-only prefixes: tests)
#   ensure_display            - sets DISPLAY, starting Xvfb :N when needed
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

wine_prefix_init() {
    export WINEPREFIX="$1"
    if [ ! -f "$WINEPREFIX/.brisvale-ready" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        # Wine lacks the dialog's fonts: map them to metric-compatible free fonts.
        local reg; reg=$(mktemp --suffix=.reg)
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n"Calibri"="Carlito"\n"Arial"="Liberation Sans"\n"Consolas"="Inconsolata"\n' > "$reg"
        wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
        wineserver -w
        rm -f "$reg"
        touch "$WINEPREFIX/.brisvale-ready"
    fi
}

# For a prefix used only on Xvfb, where no window manager runs: unmanaged windows spare
# Wine its two-second wait for a manager to withdraw each closing top-level window.
wine_prefix_unmanaged() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
}

ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
    local n=${1:-97}
    export DISPLAY=":$n"
    if ! xdpyinfo >/dev/null 2>&1; then
        Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
        for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    fi
}
