#!/usr/bin/env bash
# Builds the library, engine, request, quorvel-eval and the window with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs their unit tests and the quorvel-eval tests
# under them; then builds the shared library and the threaded test with ThreadSanitizer in
# build-tsan/ and runs that test. Every sanitizer report is written to a file as well as failing its process, so a
# report in a child process that a test expected to fail for its own reasons still fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-asan
reports="$build/sanitizer-reports"
jobs="$(nproc)"

# Out-of-range float-to-integer conversions are undefined too, but not part of "undefined".
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUORVEL_DEVELOPER=ON -DQUORVEL_SANITIZE=ON \
    -DCMAKE_CXX_FLAGS="-fsanitize=float-cast-overflow" >/dev/null
cmake --build "$build" -j"$jobs" >"$build/build.log" 2>&1 || {
    tail -n 40 "$build/build.log" >&2
    echo "sanitizer build FAILED" >&2
    exit 1
}

rm -rf "$reports"
mkdir -p "$reports"
# A distinct exit status keeps a sanitizer abort apart from quorvel-eval's own statuses.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:exitcode=86:log_path=$PWD/$reports/asan"
# The window's tests run here too; scripts/lsan.supp says which system libraries' leaks to ignore.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=86:log_path=$PWD/$reports/ubsan"

status=0
log="$build/ctest.log"
ctest --test-dir "$build" --output-on-failure -j"$jobs" >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    grep -B2 -A30 -E '\*\*\*(Failed|Exception)|Failure' "$log" | head -n 200 >&2 || true
fi
grep -E 'tests passed|tests failed' "$log" | sed 's/^/sanitizers: /'

# Output that cannot be written must never pass for success: status 3 and a message.
eval_binary="$build/cli/quorvel-eval"
expect_output_failure() {
    local what="$1" got="$2" message="$3"
    if [ "$got" -ne 3 ] || [ ! -s "$message" ]; then
        echo "quorvel-eval into $what: status $got, message '$(head -c 200 "$message")'" >&2
        status=1
    fi
}
message="$build/output-failure.err"
got=0
"$eval_binary" 1+2 >/dev/full 2>"$message" || got=$?
expect_output_failure /dev/full "$got" "$message"
got=0
printf '1+2\n' | "$eval_binary" >/dev/full 2>"$message" || got=$?
expect_output_failure "/dev/full from standard input" "$got" "$message"
# The reader is gone long before the first write: SIGPIPE ends the program quietly, as it ends
# other filters.
expect_quiet_end() {
    local what="$1" got="$2" message="$3"
    if [ "$got" -ne 141 ] || [ -s "$message" ]; then
        echo "quorvel-eval into $what: status $got, message '$(head -c 200 "$message")'" >&2
        status=1
    fi
}
exit_file="$build/output-failure.status"
(
    sleep 0.3
    got=0
    "$eval_binary" 1+2 2>"$message" || got=$?
    echo "$got" >"$exit_file"
) | true
expect_quiet_end "a closed pipe" "$(cat "$exit_file")" "$message"
(
    got=0
    { sleep 0.3 && printf '1+2\n'; } | "$eval_binary" 2>"$message" || got=$?
    echo "$got" >"$exit_file"
) | true
expect_quiet_end "a closed pipe from standard input" "$(cat "$exit_file")" "$message"

# ThreadSanitizer cannot share a build with AddressSanitizer. The threaded test starts eight
# threads evaluating at once through the shared library.
tsan_build=build-tsan
tsan_flags="-fsanitize=thread -fno-omit-frame-pointer"
cmake -S . -B "$tsan_build" -DCMAKE_BUILD_TYPE=Release -DQUORVEL_DEVELOPER=ON \
    -DQUORVEL_BUILD_GUI=OFF -DCMAKE_CXX_FLAGS="$tsan_flags" -DCMAKE_EXE_LINKER_FLAGS="$tsan_flags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$tsan_flags" >/dev/null
if cmake --build "$tsan_build" -j"$jobs" --target quorvel_threads_test >"$tsan_build/build.log" 2>&1
then
    TSAN_OPTIONS="halt_on_error=1:exitcode=86:log_path=$PWD/$reports/tsan" \
        "$tsan_build/tests/capi/quorvel_threads_test" || status=1
else
    tail -n 40 "$tsan_build/build.log" >&2
    echo "thread sanitizer build FAILED" >&2
    status=1
fi

if compgen -G "$reports/*" >/dev/null; then
    echo "sanitizer reports:" >&2
    for report in "$reports"/*; do
        echo "--- $report" >&2
        head -n 40 "$report" >&2
    done
    status=1
fi
if [ "$status" -ne 0 ]; then
    echo "sanitizer run FAILED" >&2
    exit 1
fi
echo "sanitizer run passed: no reports"
