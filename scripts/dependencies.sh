# Debian packages Quorvel needs; sourced by ./test and ./run.

# Building and running the programs: what ./run installs.
QUORVEL_RUN_PACKAGES=(
    cmake g++ pkg-config libedit-dev scdoc
    qt6-base-dev fonts-wqy-microhei qt6-translations-l10n
)
# Besides, for the tests, benchmarks, hardening stages and the package review: what ./test adds.
QUORVEL_TEST_PACKAGES=(
    clang libclang-rt-14-dev clang-format
    libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev libfparser-dev
    desktop-file-utils locales valgrind time
    dpkg-dev file lintian appstream man-db
    qt6-base-private-dev adwaita-qt6 qt6-wayland
    xvfb xauth openbox xdotool xclip x11-utils weston imagemagick
    python3-pyatspi at-spi2-core dbus-daemon
)

# Installs those of the given packages that are missing, asking dpkg about all of them at once.
install_packages() {
    local missing
    missing=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "$@" 2>&1 |
        awk '$1 != "ii" { print $NF }') || true
    [ -z "$missing" ] && return 0
    echo "Installing:" $missing >&2
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
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
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "warning: could not make de_DE.UTF-8" >&2
}
