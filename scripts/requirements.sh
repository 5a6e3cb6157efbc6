# What the run, test, bench, soak and package scripts need from the machine: the Debian
# packages that scripts/setup.sh installs, and the commands those scripts (and CMake on
# their behalf) call that are not part of every Debian system. Sourced by setup.sh and
# check-commands.sh; tests/setup/test_command_list.sh checks that every command the
# scripts call is listed here.

# Wine: wine64 brings only the loader under /usr/lib/wine; the commands wine, wineserver,
# wineboot and winepath come with the package wine.
setup_packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev googletest
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
    wine wine64
    xvfb xdotool imagemagick x11-utils
    fonts-crosextra-carlito fonts-liberation fonts-dejavu-core fonts-inconsolata
    iproute2 zip nsis
)

setup_commands=(
    cmake ctest ninja g++ clang clang++
    x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres
    wine wineserver wineboot winepath
    Xvfb xdotool xdpyinfo import convert
    ip zip makensis
)
