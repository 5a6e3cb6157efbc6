#!/usr/bin/env bash
# Builds the Windows package: build/package/brisvale-<version>.zip with one folder holding
# brisvale.exe, the stand-in backend dravik.exe, the default qel-configuration.txt, the
# FileSystemFolders layout and README.txt; and, when makensis is installed, an installer
# build/package/brisvale-<version>-setup.exe that installs the same folder for the current user.
#   package.sh [BUILD_DIR]        (default build/windows; configured and built when needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/windows}
out=$root/build/package
version=$(sed -n 's/^project(brisvale VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }

[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=(brisvale)
if cmake --build "$build" --target help 2>/dev/null | grep -q '^dravik:'; then
    targets+=(dravik)
else
    echo "package: WARNING: the build has no dravik target; the package carries no backend" >&2
fi
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null

mkdir -p "$out"
# The folder name holds no "brisvale" (see README.txt: the program cuts its path there).
folder=QelTsn-$version
stage=$(mktemp -d /tmp/qel-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT
bash scripts/make-workspace.sh --with-config "$stage/$folder" "$build"
rm -f "$stage/$folder/dravik.exe"
[[ " ${targets[*]} " == *" dravik "* ]] && cp "$build/dravik.exe" "$stage/$folder/"
sed "s/@VERSION@/$version/" packaging/README.txt | sed 's/$/\r/' >"$stage/$folder/README.txt"

zip_file=$out/brisvale-$version.zip
rm -f "$zip_file"
(cd "$stage" && zip -qr -X "$zip_file" "$folder")
echo "package: $zip_file"
(cd "$stage" && find "$folder" -type f | sort | sed 's/^/  /')

if command -v makensis >/dev/null; then
    setup=$out/brisvale-$version-setup.exe
    makensis -V2 -DVERSION="$version" -DSTAGE="$stage/$folder" -DOUTFILE="$setup" packaging/brisvale.nsi >/dev/null
    echo "package: $setup"
else
    echo "package: makensis is not installed; no installer (apt-get install nsis)"
fi
