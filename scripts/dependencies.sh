# Debian packages Quorvel needs; sourced by ./test and ./run.

# Building and running the programs: what ./run installs.
QUORVEL_RUN_PACKAGES=(
    cmake g++ pkg-config libedit-dev scdoc
    qt6-base-dev fonts-wqy-microhei qt6-translations-l10n
)
# Besides, for the tests, benchmarks, hardening stages and the package review: what ./test adds.
# libclang-rt-dev is the sanitizer runtime of whichever clang the distribution calls clang.
QUORVEL_TEST_PACKAGES=(
    clang libclang-rt-dev clang-format
    libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev libfparser-dev
    desktop-file-utils locales valgrind time
    dpkg-dev file lintian appstream man-db
    qt6-base-private-dev adwaita-qt6 qt6-wayland
    xvfb xauth openbox xdotool xclip x11-utils weston imagemagick
    python3-pyatspi at-spi2-core dbus-daemon
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Prints those of the given packages that dpkg does not list as installed.
missing_packages() {
    local installed
    installed=" $(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "$@" 2>/dev/null |
        awk '$1 == "ii" { printf "%s ", $2 }')"
    local package
    for package in "$@"; do
        [[ "$installed" == *" $package "* ]] || echo "$package"
    done
}

# From `apt-get install -s` output: the installed packages it would upgrade, as
# "package installed-version new-version" lines, and the packages it would newly install.
upgrades_in_simulation() {
    sed -n 's/^Inst \([^ ]*\) \[\([^]]*\)\] (\([^ ]*\) .*/\1 \2 \3/p'
}
new_in_simulation() {
    sed -n 's/^Inst \([^ []*\) (.*/\1/p'
}

simulate_install() {
    apt-get install -s --no-install-recommends "$@" 2>/dev/null
}

# A -dev package can ask for a newer version of a library the system already has. Requesting the
# installed library's version, and that same version of every new package that comes in it (a
# library and its -dev share their version), makes apt take the -dev that matches what is there.
pins_keeping_installed() {
    local upgrades new kept
    upgrades=$(upgrades_in_simulation <<<"$1")
    awk '{ print $1 "=" $2 }' <<<"$upgrades"
    mapfile -t new < <(new_in_simulation <<<"$1")
    [ ${#new[@]} -eq 0 ] && return 0
    kept=" $(awk '{ printf "%s ", $2 }' <<<"$upgrades")"
    apt-cache madison "${new[@]}" 2>/dev/null |
        awk -F'|' -v kept="$kept" '{ gsub(/ /, "") } index(kept, " " $2 " ") { print $1 "=" $2 }' |
        sort -u
}

# Installs the given packages without upgrading what the system already has (see above). Where
# that cannot be done the upgrades are named before anything is installed, and at a terminal
# they must be agreed to.
install_without_upgrades() {
    local request=("$@") simulation upgrades pins pinned
    simulation=$(simulate_install "$@")
    upgrades=$(upgrades_in_simulation <<<"$simulation")
    if [ -n "$upgrades" ]; then
        mapfile -t pins < <(pins_keeping_installed "$simulation")
        pinned=("$@" "${pins[@]}")
        simulation=$(simulate_install "${pinned[@]}") || simulation=failed
        if [ "$simulation" != failed ] && [ -z "$(upgrades_in_simulation <<<"$simulation")" ]; then
            request=("${pinned[@]}")
        else
            echo "Installing $* also upgrades these installed packages:" >&2
            awk '{ printf "    %s %s -> %s\n", $1, $2, $3 }' <<<"$upgrades" >&2
            if [ -t 0 ]; then
                local answer
                read -r -p "Upgrade them? [y/N] " answer
                [[ "$answer" == [yY]* ]] || { echo "Nothing installed." >&2; return 1; }
            fi
        fi
    fi
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${request[@]}"
}

# Installs those of the given packages that are missing. Without dpkg and apt it names the
# packages and stops, unless QUORVEL_SKIP_INSTALL=1 says they are already there by other means.
install_packages() {
    if [ "${QUORVEL_SKIP_INSTALL:-0}" = 1 ]; then
        return 0
    fi
    if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
        echo "quorvel: this system has no dpkg or apt-get to install what is needed." >&2
        echo "Install these packages (their Debian names) or your system's equivalents:" >&2
        printf '    %s\n' "$@" >&2
        echo "then run again with QUORVEL_SKIP_INSTALL=1." >&2
        exit 1
    fi
    local missing
    mapfile -t missing < <(missing_packages "$@")
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}" >&2
    as_root apt-get update -qq
    install_without_upgrades "${missing[@]}" || exit 1
}

install_run_dependencies() {
    install_packages "${QUORVEL_RUN_PACKAGES[@]}"
}

install_dependencies() {
    install_packages "${QUORVEL_RUN_PACKAGES[@]}" "${QUORVEL_TEST_PACKAGES[@]}"
}

# A locale whose decimal separator is a comma, for the locale-independence tests.
make_comma_locale() {
    locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
    as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "warning: could not make de_DE.UTF-8" >&2
}
