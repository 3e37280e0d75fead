#!/usr/bin/env bash
# Builds the Debian packages from a built tree (default build/) and reviews them: lintian must
# report no error and no warning, and the AppStream metadata must validate.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log" >&2; exit 1; }
packages=("$build"/*.deb)
echo "packages: ${packages[*]}"
lintian --fail-on error,warning "${packages[@]}"
appstreamcli validate --no-net --pedantic packaging/metainfo/org.quorvel.quorvel.metainfo.xml
