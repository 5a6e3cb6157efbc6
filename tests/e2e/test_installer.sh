#!/usr/bin/env bash
# The packages are safe in a lab: the release carries no backend; neither installer
# overwrites, nor either uninstaller deletes, a dravik.exe it did not put there, the
# configuration file or FileSystemFolders; the demo installer puts the stand-in backend
# only into a folder without one, and its uninstaller removes only that very stand-in.
source "$(dirname "$0")/lib.sh"

packages=$E2E_WS/packages
bash "$E2E_SRC/scripts/package.sh" "$E2E_BIN" "$packages" >"$E2E_WS/package.log" 2>&1 ||
    fail "scripts/package.sh failed: $(tail -3 "$E2E_WS/package.log")"
release_zip=$(ls "$packages"/brisvale-[0-9]*.zip) && release_setup=$(ls "$packages"/brisvale-[0-9]*-setup.exe) &&
    demo_zip=$(ls "$packages"/brisvale-demo-*.zip) && demo_setup=$(ls "$packages"/brisvale-demo-*-setup.exe) ||
    fail "the packages are not all there: $(ls "$packages")"

# Silent, and without Wine's menu entries for the shortcuts on this machine's desktop.
install_into() {
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" run_wine "$1" /S "/D=$(win_path "$2")" 2>>"$E2E_WS/wine.err"
}
# _?= runs the uninstaller in place, so it ends when it is done (and cannot remove itself).
uninstall_from() {
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" run_wine "$1/uninstall.exe" /S "_?=$(win_path "$1")" 2>>"$E2E_WS/wine.err"
}

# lab_folder NAME [backend]: a folder as a lab has it: an edited configuration file, an
# instance folder with its own startup file, log and repository, and with "backend" a
# real dravik.exe (a marker file). A copy of it goes to NAME.before for comparison.
lab_folder() {
    local dir=$E2E_WS/$1
    mkdir -p "$dir/FileSystemFolders/FS_QEL_Instance0/log" "$dir/FileSystemFolders/FS_QEL_Instance0/repository"
    printf 'Instance 1\r\nIP 10.0.0.7\r\nPort 50100\r\n// edited in the lab\r\n' >"$dir/qel-configuration.txt"
    printf '<config>lab</config>\r\n' >"$dir/FileSystemFolders/FS_QEL_Instance0/eval-trx9420.xml"
    printf 'backend output\r\n' >"$dir/FileSystemFolders/FS_QEL_Instance0/log/output.log"
    printf 'datastore\n' >"$dir/FileSystemFolders/FS_QEL_Instance0/repository/store.db"
    [ "${2:-}" = backend ] && printf 'MZ the real backend of the lab\r\n' >"$dir/dravik.exe"
    cp -a "$dir" "$dir.before"
    echo "$dir"
}

# The user's files of a lab folder are byte for byte as they were.
expect_user_files_kept() {
    local dir=$1 f
    for f in qel-configuration.txt FileSystemFolders/FS_QEL_Instance0/eval-trx9420.xml \
        FileSystemFolders/FS_QEL_Instance0/log/output.log FileSystemFolders/FS_QEL_Instance0/repository/store.db; do
        expect_ok cmp -s "$dir.before/$f" "$dir/$f"
    done
}
expect_program_installed() {
    expect_ok cmp -s "$E2E_BIN/brisvale.exe" "$1/brisvale.exe"
    expect_ok test -f "$1/README.txt"
    expect_ok test -f "$1/uninstall.exe"
    expect_ok test -f "$1/FileSystemFolders/FS_QEL_Instance9/eval-trx9420.xml"
}
expect_program_removed() {
    expect_fails test -e "$1/brisvale.exe"
    expect_fails test -e "$1/README.txt"
    expect_fails test -e "$1/stand-in-backend.ini"
    expect_ok test -f "$1/FileSystemFolders/FS_QEL_Instance9/eval-trx9420.xml"
}

step "the release zip carries no backend; the demo zip carries the stand-in and says so"
listing=$(zip -sf "$release_zip")
expect_match '/brisvale\.exe' "$listing" "release zip"
expect_match '/qel-configuration\.txt' "$listing" "release zip"
expect_match '/FileSystemFolders/FS_QEL_Instance0/eval-trx9420\.xml' "$listing" "release zip"
expect_fails grep -qi 'dravik\.exe' <<<"$listing"
expect_match '/dravik\.exe' "$(zip -sf "$demo_zip")" "demo zip"

step "release: installed into a lab folder with its backend and edited files"
lab=$(lab_folder release-lab backend)
install_into "$release_setup" "$lab"
expect_program_installed "$lab"
expect_ok cmp -s "$lab.before/dravik.exe" "$lab/dravik.exe"
expect_user_files_kept "$lab"
expect_fails grep -qi 'stand-in' "$lab/README.txt"

step "release: installed again over itself, then uninstalled"
install_into "$release_setup" "$lab"
expect_user_files_kept "$lab"
uninstall_from "$lab"
expect_program_removed "$lab"
expect_ok cmp -s "$lab.before/dravik.exe" "$lab/dravik.exe"
expect_user_files_kept "$lab"

step "release: by default into %LOCALAPPDATA%\\Morvane\\QelTsn, its shortcut starting there, listed to uninstall"
windows_folder() { run_wine cmd /c echo "%$1%" | tr -d '\r'; }
default_windows=$(windows_folder LOCALAPPDATA)\\Morvane\\QelTsn
default_dir=$(winepath -u "$default_windows")
shortcut="$(winepath -u "$(windows_folder APPDATA)")/Microsoft/Windows/Start Menu/Programs/brisvale/brisvale.lnk"
on_exit rm -rf "'$(dirname "$default_dir")'" "'$(dirname "$shortcut")'"
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" run_wine "$release_setup" /S 2>>"$E2E_WS/wine.err"
expect_program_installed "$default_dir"
expect_eq "brisvale 1.0.0" "$(probe reg-get 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\brisvale' DisplayName | tr -d '\r')" \
    "the entry in the list of installed apps"
# The shortcut names the folder twice: in the program's path, and alone as its "Start in".
lnk_text=$(tr -d '\0' <"$shortcut")
named=$(grep -a -o 'Morvane\\QelTsn' <<<"$lnk_text" | wc -l)
in_path=$(grep -a -o 'Morvane\\QelTsn\\brisvale\.exe' <<<"$lnk_text" | wc -l)
((named > in_path)) || _e2e_report "the shortcut does not start in the program's folder"
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" run_wine "$default_windows\\uninstall.exe" /S "_?=$default_windows" \
    2>>"$E2E_WS/wine.err"
expect_program_removed "$default_dir"
expect_fails probe reg-get 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\brisvale' DisplayName

step "demo: into an empty folder it installs the stand-in, and its uninstaller removes it"
demo=$E2E_WS/demo-empty
mkdir -p "$demo"
install_into "$demo_setup" "$demo"
expect_program_installed "$demo"
expect_ok cmp -s "$E2E_BIN/dravik.exe" "$demo/dravik.exe"
expect_ok grep -qi 'stand-in' "$demo/README.txt"
uninstall_from "$demo"
expect_program_removed "$demo"
expect_fails test -e "$demo/dravik.exe"
expect_ok test -f "$demo/qel-configuration.txt"

step "demo: into a lab folder with its backend, the backend stays through install and uninstall"
lab=$(lab_folder demo-lab backend)
install_into "$demo_setup" "$lab"
expect_program_installed "$lab"
expect_ok cmp -s "$lab.before/dravik.exe" "$lab/dravik.exe"
expect_user_files_kept "$lab"
uninstall_from "$lab"
expect_program_removed "$lab"
expect_ok cmp -s "$lab.before/dravik.exe" "$lab/dravik.exe"
expect_user_files_kept "$lab"

step "demo: the real backend put in place of the stand-in survives a reinstall and the uninstaller"
lab=$(lab_folder demo-replaced)
install_into "$demo_setup" "$lab"
expect_ok cmp -s "$E2E_BIN/dravik.exe" "$lab/dravik.exe"
printf 'MZ the real backend, copied over the stand-in\r\n' >"$lab/dravik.exe"
cp "$lab/dravik.exe" "$lab.before/dravik.exe"
install_into "$demo_setup" "$lab"
expect_ok cmp -s "$lab.before/dravik.exe" "$lab/dravik.exe"
uninstall_from "$lab"
expect_program_removed "$lab"
expect_ok cmp -s "$lab.before/dravik.exe" "$lab/dravik.exe"
expect_user_files_kept "$lab"

finish
