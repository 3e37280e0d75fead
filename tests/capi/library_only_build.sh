#!/bin/sh
# Configures, builds and installs the library alone, as on a system without Qt, libedit or scdoc:
# with Qt's package disabled and pkg-config finding nothing, a lookup of either fails the
# configuration, and none of them may even be looked up. A program then builds against the
# install (install_and_consume.sh).
# Usage: library_only_build.sh SOURCE_DIR VERSION
set -eu
source=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build=$work/build
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

mkdir "$work/no-pkg-config-files"
PKG_CONFIG_LIBDIR=$work/no-pkg-config-files PKG_CONFIG_PATH='' \
    cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DQUORVEL_BUILD_GUI=OFF -DQUORVEL_BUILD_CLI=OFF -DQUORVEL_BUILD_MANUALS=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log" >&2; fail "library-only configuration"; }
for looked_up in Qt6_DIR LIBEDIT_ SCDOC_EXECUTABLE PKG_CONFIG_EXECUTABLE; do
    if grep -q "^$looked_up" "$build/CMakeCache.txt"; then
        fail "the library-only configuration looked up $looked_up"
    fi
done
cmake --build "$build" -j2 >"$work/build.log" 2>&1 ||
    { tail -n 40 "$work/build.log" >&2; fail "library-only build"; }
for program in quorvel quorvel-eval; do
    [ -z "$(find "$build" -name "$program" -type f)" ] || fail "the library-only build made $program"
done
sh "$(dirname "$0")/install_and_consume.sh" "$build" "$source" "$version"
