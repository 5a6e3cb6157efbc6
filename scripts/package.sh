#!/usr/bin/env bash
# Builds the two Windows packages, each a zip holding one folder and an NSIS installer
# that installs that folder for the current user:
#   release  brisvale-<version>.zip and brisvale-<version>-setup.exe: brisvale.exe,
#            README.txt, the default qel-configuration.txt and the FileSystemFolders
#            layout. No backend: the lab puts the real dravik.exe beside brisvale.exe.
#   demo     brisvale-demo-<version>.zip and brisvale-demo-<version>-setup.exe: the same
#            plus the stand-in backend as dravik.exe, to try the program without devices.
#   package.sh [BUILD_DIR [OUT_DIR]]   (default build/windows and build/package; the build
#                                       is configured and built when needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/windows}
out=$(realpath -m "${2:-build/package}")
version=$(sed -n 's/^project(brisvale VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }
command -v makensis >/dev/null || { echo "package: makensis is missing (bash scripts/setup.sh installs it)" >&2; exit 1; }

[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target brisvale dravik >/dev/null

mkdir -p "$out"
stage=$(mktemp -d /tmp/qel-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT

# make_package release|demo: stages the package's folder, zips it and builds its installer.
make_package() {
    local flavour=$1 name folder other nsis_flags=()
    if [ "$flavour" = demo ]; then
        name=brisvale-demo folder=QelTsnDemo-$version other=release nsis_flags=(-DDEMO)
    else
        name=brisvale folder=QelTsn-$version other=demo
    fi
    # The folder names hold no "brisvale" (see README.txt: the program cuts its path there).
    local dir=$stage/$folder zip_file=$out/$name-$version.zip setup=$out/$name-$version-setup.exe
    bash scripts/make-workspace.sh --with-config "$dir" "$build"
    rm -f "$dir/dravik.exe"
    [ "$flavour" = demo ] && cp "$build/dravik.exe" "$dir/"
    # README.txt: the lines marked for this package, without their mark; CR LF line ends.
    sed -e "s/@VERSION@/$version/g" -e "s/@SETUP@/$(basename "$setup")/g" -e "/^\[$other\]/d" \
        -e "s/^\[$flavour\]//" -e 's/$/\r/' packaging/README.txt >"$dir/README.txt"

    rm -f "$zip_file"
    (cd "$stage" && zip -qr -X "$zip_file" "$folder")
    makensis -V2 -DVERSION="$version" -DSTAGE="$dir" -DOUTFILE="$setup" "${nsis_flags[@]}" packaging/brisvale.nsi >/dev/null
    echo "package ($flavour): $zip_file"
    echo "package ($flavour): $setup"
    (cd "$stage" && find "$folder" -type f | sort | sed 's/^/  /')
}

make_package release
make_package demo
