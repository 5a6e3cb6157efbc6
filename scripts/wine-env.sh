# Sourced by the run and test scripts: a Wine prefix of this run, the font replacements,
# and an X display (Xvfb when none is there).
#   wine_prefix_init PREFIX [unmanaged]
#                             makes PREFIX ready: created by wineboot, the font
#                             replacements written and read back, and with "unmanaged" no
#                             window management (Xvfb-only prefixes: tests). Returns
#                             non-zero, naming the step, when a step fails.
#   wine_prefix_unmanaged     the "unmanaged" step for the prefix of wine_prefix_init
#   ensure_display            sets DISPLAY, starting an Xvfb when there is no display
#   start_xvfb                starts an Xvfb on a display number it finds free itself
#                             (-displayfd), sets DISPLAY and XVFB_PID
#   wine_own_session TEMPLATE DIR [--keep-display]
#                             a Wine session no other run shares: its own Xvfb (unless
#                             --keep-display) and its own copy of the prepared prefix
#                             TEMPLATE (made when missing) in DIR; wine_end_own_session
#                             ends it and removes DIR
# PREFIX/.brisvale-ready lists the steps done. A prefix whose list lacks one of the steps
# that make it (wineboot, the fonts as they are mapped now) is half-made, or made by an
# older mapping: it is removed and made anew. Further steps are added to a made prefix.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Wine lacks the dialog's fonts: map them to metric-compatible free fonts.
wine_font_replacements=("Calibri=Carlito" "Arial=Liberation Sans" "Consolas=Inconsolata")

_wine_mark() { echo "$WINEPREFIX/.brisvale-ready"; }
_wine_fonts_step() { local IFS=';'; echo "fonts ${wine_font_replacements[*]}"; }
_wine_step_done() { grep -qxF "$1" "$(_wine_mark)" 2>/dev/null; }
_wine_step_failed() { echo "Wine prefix $WINEPREFIX: step \"$1\" failed: $2" >&2; return 1; }

_wine_make_prefix() {
    if [ -e "$WINEPREFIX" ] && [ -n "$(ls -A "$WINEPREFIX" 2>/dev/null)" ]; then
        # Only a prefix these scripts began is removed: its mark is there, complete or not.
        [ -f "$(_wine_mark)" ] || _wine_step_failed prefix "the folder is not empty and has no $(basename "$(_wine_mark)"): \
it was not made by these scripts; remove it or choose another prefix" || return 1
        echo "Wine prefix $WINEPREFIX is half-made or out of date: making it anew"
        wineserver -k 2>/dev/null
        wineserver -w 2>/dev/null
        rm -rf "$WINEPREFIX" || _wine_step_failed prefix "cannot remove the half-made prefix" || return 1
    fi
    mkdir -p "$WINEPREFIX" && : >"$(_wine_mark)" || _wine_step_failed prefix "cannot create the folder" || return 1
    wineboot -i >/dev/null 2>&1 || _wine_step_failed prefix "wineboot -i ended with status $?" || return 1
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] && [ -d "$WINEPREFIX/drive_c/windows" ] ||
        _wine_step_failed prefix "wineboot left no system.reg or drive_c/windows" || return 1
    echo prefix >>"$(_wine_mark)"
}

_wine_replace_fonts() {
    local reg pair listed
    reg=$(mktemp --suffix=.reg) || _wine_step_failed fonts "no temporary file" || return 1
    {
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n'
        for pair in "${wine_font_replacements[@]}"; do printf '"%s"="%s"\n' "${pair%%=*}" "${pair#*=}"; done
    } >"$reg"
    wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
    wineserver -w
    rm -f "$reg"
    listed=$(wine reg query 'HKCU\Software\Wine\Fonts\Replacements' 2>/dev/null | tr -d '\r')
    wineserver -w
    for pair in "${wine_font_replacements[@]}"; do
        grep -qE "^ *${pair%%=*} +REG_SZ +${pair#*=}\$" <<<"$listed" ||
            _wine_step_failed fonts "the replacement ${pair%%=*} -> ${pair#*=} is not in the registry" || return 1
    done
    _wine_fonts_step >>"$(_wine_mark)"
}

# For a prefix used only on Xvfb, where no window manager runs: unmanaged windows spare
# Wine its two-second wait for a manager to withdraw each closing top-level window.
_wine_unmanage() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 &&
        wine reg query 'HKCU\Software\Wine\X11 Driver' /v Managed 2>/dev/null | tr -d '\r' | grep -qE 'Managed +REG_SZ +N$' ||
        _wine_step_failed unmanaged "the X11 driver's Managed value is not N" || return 1
    wineserver -w
    echo unmanaged >>"$(_wine_mark)"
}

wine_prefix_init() {
    export WINEPREFIX="$1"
    if ! _wine_step_done prefix || ! _wine_step_done "$(_wine_fonts_step)" || [ ! -f "$WINEPREFIX/system.reg" ]; then
        _wine_make_prefix && _wine_replace_fonts || return 1
    fi
    if [ "${2:-}" = unmanaged ] && ! _wine_step_done unmanaged; then
        _wine_unmanage || return 1
    fi
    return 0
}

wine_prefix_unmanaged() { wine_prefix_init "$WINEPREFIX" unmanaged; }

start_xvfb() {
    local numbered end
    numbered=$(mktemp) || return 1
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$numbered" >/dev/null 2>&1 &
    XVFB_PID=$!
    end=$((SECONDS + 60))
    until grep -qx '[0-9]\+' "$numbered"; do
        if ! kill -0 "$XVFB_PID" 2>/dev/null || ((SECONDS >= end)); then
            echo "Xvfb did not start" >&2; kill "$XVFB_PID" 2>/dev/null; rm -f "$numbered"; return 1
        fi
        sleep 0.05
    done
    export DISPLAY=":$(<"$numbered")"
    rm -f "$numbered"
}

ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    start_xvfb
}

wine_own_session() {
    local template=$1 dir=$2
    [ "${3:-}" = --keep-display ] || start_xvfb || return 1
    # Tests started at once make the prepared prefix once; a copy then needs no wineboot.
    mkdir -p "$(dirname "$template")" &&
        (flock 9 && wine_prefix_init "$template" unmanaged >&2) 9>"$template.lock" || return 1
    mkdir -p "$dir" && cp -a "$template/." "$dir/" || { echo "cannot copy the prefix $template" >&2; return 1; }
    export WINEPREFIX=$dir
    WINE_OWN_PREFIX=$dir
}

wine_end_own_session() {
    if [ -n "${WINE_OWN_PREFIX:-}" ]; then
        WINEPREFIX=$WINE_OWN_PREFIX wineserver -k 2>/dev/null
        WINEPREFIX=$WINE_OWN_PREFIX wineserver -w 2>/dev/null
        rm -rf "$WINE_OWN_PREFIX"
    fi
    [ -z "${XVFB_PID:-}" ] || kill "$XVFB_PID" 2>/dev/null
}
