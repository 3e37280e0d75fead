#!/usr/bin/env bash
# Builds the Debian packages from a built tree (default build/) and reviews them: lintian must
# report no error, no warning, and neither missing hardening nor sections Debian strips
# (informational tags), and the AppStream metadata must validate.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log" >&2; exit 1; }
packages=("$build"/*.deb)
echo "packages: ${packages[*]}"
review=$(lintian --fail-on error,warning --display-info "${packages[@]}") || {
    echo "$review" >&2
    exit 1
}
[ -z "$review" ] || echo "$review"
if grep -qE ' (hardening-|binary-has-unneeded-section)' <<<"$review"; then
    echo "packages built without the distribution's hardening, or with unneeded sections" >&2
    exit 1
fi
appstreamcli validate --no-net --pedantic packaging/metainfo/org.quorvel.quorvel.metainfo.xml
