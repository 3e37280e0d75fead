#!/usr/bin/env bash
# What scripts/dependencies.sh asks apt to install, against apt, apt-cache and dpkg-query
# answering as a machine whose libfoo1 1.0 is older than the archive's 1.1 would.
# Argument: scripts/dependencies.sh.
set -uo pipefail
source "$1"
failures=0

# Scenario knobs read by the stand-ins below.
dev_matching_installed=yes  # whether the archive still has libfoo-dev 1.0
installed_by_dpkg="ii cmake|ii libfoo1|rc oldtool"

apt-get() {
    if [[ " $* " != *" -s "* ]]; then
        echo "unexpected apt-get $*" >&2
        return 1
    fi
    if [[ " $* " == *" libfoo1=1.0 "* ]]; then
        [ "$dev_matching_installed" = yes ] || return 100
        echo "Inst libfoo-dev (1.0 Debian:12.4/stable [amd64])"
        return 0
    fi
    echo "Inst zlib-helper (2.0 Debian:12.4/stable [amd64])"
    [[ " $* " == *" libfoo-dev "* ]] || return 0
    echo "Inst libfoo1 [1.0] (1.1 Debian:12.4/stable [amd64])"
    echo "Inst libfoo-dev (1.1 Debian:12.4/stable [amd64])"
    echo "Conf libfoo1 (1.1 Debian:12.4/stable [amd64])"
}
apt-cache() {
    echo " libfoo-dev |        1.1 | http://deb.example/debian stable/main amd64 Packages"
    [ "$dev_matching_installed" = yes ] &&
        echo " libfoo-dev |        1.0 | http://deb.example/debian stable/main amd64 Packages"
    echo " zlib-helper |        2.0 | http://deb.example/debian stable/main amd64 Packages"
}
dpkg-query() {
    tr '|' '\n' <<<"$installed_by_dpkg"
}
as_root() {
    echo "$*"
}

check() {
    local what=$1 expected=$2 got=$3
    if [ "$got" != "$expected" ]; then
        echo "FAILED $what: expected '$expected', got '$got'" >&2
        failures=$((failures + 1))
    fi
}

install_line='env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends'
# scenario | -dev 1.0 in the archive | request | what is installed
while IFS='|' read -r scenario matching request expected; do
    dev_matching_installed=$matching
    # shellcheck disable=SC2086 # the request is words
    got=$(install_without_upgrades $request 2>/dev/null </dev/null)
    check "$scenario" "$install_line $expected" "$got"
done <<'EOF'
nothing to upgrade|yes|zlib-helper|zlib-helper
the -dev matching the installed library|yes|libfoo-dev|libfoo-dev libfoo1=1.0 libfoo-dev=1.0
no such -dev: installs after naming the upgrade|no|libfoo-dev|libfoo-dev
EOF
dev_matching_installed=no
check "the upgrade is named" "    libfoo1 1.0 -> 1.1" \
    "$(install_without_upgrades libfoo-dev 2>&1 >/dev/null </dev/null | grep -- '->')"

check "missing packages" "libfoo-dev oldtool unknown" \
    "$(missing_packages cmake libfoo-dev libfoo1 oldtool unknown | tr '\n' ' ' | sed 's/ $//')"

# Without dpkg the packages are named and nothing else happens.
unset -f dpkg-query
got=$(PATH=/nonexistent install_packages cmake g++ 2>&1)
check "no dpkg: status" 1 "$?"
check "no dpkg: packages named" "    cmake    g++" "$(grep '^    ' <<<"$got" | tr -d '\n')"

[ "$failures" -eq 0 ] && echo "dependencies: all scenarios pass"
exit "$failures"
