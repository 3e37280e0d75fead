#!/usr/bin/env bash
# Builds the shared library and the threaded test with ThreadSanitizer in build-tsan/ and runs the
# test: eight threads evaluating at once must report no race, and their answers and draws must
# be those of one thread.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-tsan
reports="$build/sanitizer-reports"
flags="-fsanitize=thread -fno-omit-frame-pointer"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUORVEL_DEVELOPER=ON -DQUORVEL_BUILD_GUI=OFF \
    -DQUORVEL_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$build" -j"$(nproc)" --target quorvel_threads_test >"$build/build.log" 2>&1 || {
    tail -n 40 "$build/build.log" >&2
    echo "thread sanitizer build FAILED" >&2
    exit 1
}

rm -rf "$reports"
mkdir -p "$reports"
status=0
TSAN_OPTIONS="halt_on_error=1:exitcode=86:log_path=$PWD/$reports/tsan" \
    "$build/tests/embedding/quorvel_threads_test" || status=$?
if compgen -G "$reports/*" >/dev/null; then
    for report in "$reports"/*; do
        echo "--- $report" >&2
        head -n 60 "$report" >&2
    done
    status=1
fi
if [ "$status" -ne 0 ]; then
    echo "thread sanitizer run FAILED" >&2
    exit 1
fi
echo "thread sanitizer run passed: no reports"
