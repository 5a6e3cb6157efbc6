#!/usr/bin/env bash
# Lays out a workspace: brisvale.exe and dravik.exe side by side, and FileSystemFolders
# with ten instance folders, each holding eval-trx9420.xml and a log folder. The program
# looks for FileSystemFolders by cutting its own path at the first "brisvale", so the
# workspace path must not contain that word before the file name.
#   make-workspace.sh [--with-config] WORKSPACE BUILD_DIR
# --with-config also writes the default qel-configuration.txt (when there is none), made
# by the core's own default-file builder, so the program starts without first-start boxes.
set -euo pipefail
with_config=0
[ "${1:-}" = --with-config ] && { with_config=1; shift; }
workspace=$1
build=$2
case "$workspace" in *brisvale*) echo "workspace path must not contain 'brisvale': $workspace" >&2; exit 1;; esac
mkdir -p "$workspace/FileSystemFolders"
cp "$build/brisvale.exe" "$workspace/"
[ -f "$build/dravik.exe" ] && cp "$build/dravik.exe" "$workspace/"
for k in $(seq 0 9); do
    folder="$workspace/FileSystemFolders/FS_QEL_Instance$k"
    mkdir -p "$folder/log"
    [ -f "$folder/eval-trx9420.xml" ] || cat > "$folder/eval-trx9420.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<config xmlns="urn:ietf:params:xml:ns:netconf:base:1.0">
  <!-- startup configuration of QEL instance $((k + 1)) -->
</config>
XML
done

if ((with_config)) && [ ! -f "$workspace/qel-configuration.txt" ]; then
    src=$(cd "$(dirname "$0")/.." && pwd)
    tool="$build/defaultconfig"
    if [ ! -x "$tool" ] || [ "$src/src/config/ConfigFile.cpp" -nt "$tool" ]; then
        g++ -std=c++17 -O1 -I"$src/src" "$src/tools/defaultconfig/defaultconfig.cpp" "$src/src/config/ConfigFile.cpp" \
            "$src/src/common/AnsiText.cpp" "$src/src/common/AnsiTextPortable.cpp" -o "$tool"
    fi
    "$tool" "$workspace/qel-configuration.txt"
fi
