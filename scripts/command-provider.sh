# Sourced: which Debian package provides a command, and whether setup's package list
# (scripts/requirements.sh, sourced first) accounts for that package.
#   package_of_file PATH      the package that installed PATH, following symbolic links
#                             (alternatives, /usr/bin/g++ -> g++-12) until one is owned
#   command_providers CMD     one line "PATH PACKAGE" for each file named CMD on the PATH
#                             (PACKAGE "-" when no package installed it)
#   setup_provides PACKAGE    PACKAGE is in setup's list or a direct dependency of one there
#   base_system_package PKG   PKG is on every Debian system (essential or required)

# dpkg knows a file under the name its package used: /bin/ip and /usr/bin/ip are one file
# on a merged-/usr system, but only one of the names is recorded.
_dpkg_owner() {
    local path=$1 name line
    for name in "$path" "${path#/usr}" "/usr$path"; do
        line=$(dpkg-query -S "$name" 2>/dev/null | grep -v "^diversion by" | grep -m1 -F ": $name") || continue
        line=${line%%: /*}      # "pkg1, pkg2:arch" (a path shared by several packages)
        line=${line%%,*}
        echo "${line%%:*}"
        return 0
    done
    return 1
}

package_of_file() {
    local path=$1 hops next
    for ((hops = 0; hops < 10; hops++)); do
        _dpkg_owner "$path" && return 0
        next=$(readlink "$path") || break
        [[ "$next" == /* ]] || next="$(dirname "$path")/$next"
        path=$next
    done
    return 1
}

command_providers() {
    local path seen=" "
    while read -r path; do
        [ -n "$path" ] || continue
        local real; real=$(readlink -f "$path")
        [[ "$seen" == *" $real "* ]] && continue   # /bin/x and /usr/bin/x: one file
        seen+="$real "
        echo "$path $(package_of_file "$path" || echo -)"
    done < <(type -a -P "$1")
}

_setup_provided=""
setup_provides() {
    if [ -z "$_setup_provided" ]; then
        local deps
        deps=$(dpkg-query -W -f='${Depends}, ${Pre-Depends}\n' "${setup_packages[@]}" 2>/dev/null |
            tr ',|' '\n\n' | sed 's/([^)]*)//; s/:[a-z0-9]*//; s/[[:space:]]//g' | grep -v '^$')
        _setup_provided=" ${setup_packages[*]} $(echo $deps) "
    fi
    [[ "$_setup_provided" == *" $1 "* ]]
}

base_system_package() {
    local fields
    fields=$(dpkg-query -W -f='${Essential} ${Priority}' "$1" 2>/dev/null) || return 1
    [[ "$fields" == "yes "* || "$fields" == *" required" ]]
}
