#!/bin/sh
# Installs the library into a temporary prefix and builds the examples against it as a program
# outside the tree would: through the CMake package and through pkg-config, shared and static.
# Usage: install_and_consume.sh BUILD_DIR SOURCE_DIR VERSION
set -eu
build=$1
source=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

for component in libquorvel1 libquorvel-dev; do
    cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null
done

# What each example prints.
expected() {
    case $1 in
        lerp) printf '2.500000\n0.333333\n0.33333334\nquorvel %s' "$version" ;;
        table) printf '%s\t%s\n' 0 -1.000000 0.5 0.750000 1 3.000000 1.5 5.750000 2 9.000000
               printf 'column 1: unknown name; did you mean PI' ;;
    esac
}
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
# Runs an example and checks what it prints and whether it loads the shared library.
check() {
    program=$1
    linkage=$2
    example=$3
    got=$("$program") || fail "$program exited with $?"
    [ "$got" = "$(expected "$example")" ] || fail "$program printed '$got'"
    if readelf -d "$program" | grep -q 'NEEDED.*libquorvel\.so\.1'; then
        [ "$linkage" = shared ] || fail "$program needs libquorvel.so.1"
    else
        [ "$linkage" = static ] || fail "$program does not load libquorvel.so.1"
    fi
    echo "$linkage $(basename "$program"): ok"
}

for linkage in shared static; do
    cmake -S "$source/examples" -B "$work/cmake-$linkage" -DCMAKE_PREFIX_PATH="$prefix" \
        -DQUORVEL_EXAMPLE_LINKAGE="$linkage" >/dev/null || fail "find_package ($linkage)"
    cmake --build "$work/cmake-$linkage" >/dev/null || fail "CMake build ($linkage)"
    for example in lerp table; do
        check "$work/cmake-$linkage/$example" "$linkage" "$example"
    done
done

pc=$(find "$prefix" -name quorvel.pc)
[ -n "$pc" ] || fail "no quorvel.pc installed"
export PKG_CONFIG_PATH="${pc%/quorvel.pc}"
[ "$(pkg-config --modversion quorvel)" = "$version" ] || fail "pkg-config version"
libdir=$(pkg-config --variable=libdir quorvel)
# The static archive needs only what the file lists as private: the C++ runtime and libm.
private=$(pkg-config --static --libs-only-l quorvel | sed 's/-lquorvel\b//')
for example in lerp table; do
    # shellcheck disable=SC2046 # the flags are words
    cc -std=c99 -Wall -Wextra -Wpedantic -Werror -o "$work/$example-pkg-config" \
        "$source/examples/$example.c" $(pkg-config --cflags --libs quorvel) -Wl,-rpath,"$libdir" ||
        fail "pkg-config build of $example"
    check "$work/$example-pkg-config" shared "$example"
    # shellcheck disable=SC2046,SC2086 # the flags are words
    cc -std=c99 -Wall -Wextra -Wpedantic -Werror -o "$work/$example-pkg-config-static" \
        "$source/examples/$example.c" $(pkg-config --cflags quorvel) "$libdir/libquorvel.a" \
        $private || fail "pkg-config static build of $example"
    check "$work/$example-pkg-config-static" static "$example"
done
