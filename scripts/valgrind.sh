#!/usr/bin/env bash
# Runs quorvel-eval under valgrind's memcheck over every expression of the fuzz seed inputs and of
# the corpus the fuzzer has collected in fuzz/corpus-work/ (when there is one), once in each
# output mode, and fails on any memory error (reads of uninitialised memory included), leak or
# lost line.
# Usage: scripts/valgrind.sh [BUILD_DIR]   (default build; needs cli/quorvel-eval built there)
set -euo pipefail
cd "$(dirname "$0")/.."

eval_binary="${1:-build}/cli/quorvel-eval"
[ -x "$eval_binary" ] || {
    echo "valgrind: $eval_binary is not built" >&2
    exit 1
}
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# The expression field of each seed line, escapes expanded; a seed holding a line feed simply
# becomes two input lines.
while IFS= read -r line || [ -n "$line" ]; do
    [[ -z "$line" || "$line" == \#* ]] && continue
    printf '%b\n' "${line%%$'\t'*}"
done <fuzz/seeds/request.txt >"$scratch/expressions"
# A fuzz input's expression is its text up to the first NUL byte.
for input in fuzz/corpus-work/request/*; do
    [ -f "$input" ] || continue
    IFS= read -r -d '' expression <"$input" || true
    printf '%s\n' "$expression"
done >>"$scratch/expressions"
input_lines="$(wc -l <"$scratch/expressions")"

# quorvel-eval itself exits 1 when an expression fails, so valgrind's own verdict gets a status
# of its own.
error_status=99
run_memcheck() {
    local name="$1" status=0
    shift
    valgrind --quiet --error-exitcode="$error_status" --leak-check=full \
        --errors-for-leak-kinds=all --track-origins=yes --log-file="$scratch/$name.log" \
        "$eval_binary" "$@" <"$scratch/expressions" >"$scratch/$name.out" || status=$?
    if [ "$status" -eq "$error_status" ] || [ -s "$scratch/$name.log" ]; then
        cat "$scratch/$name.log" >&2
        echo "valgrind: FAILED: memory errors in quorvel-eval $*" >&2
        exit 1
    fi
    if [ "$status" -gt 1 ]; then
        echo "valgrind: FAILED: quorvel-eval $* exited with status $status" >&2
        exit 1
    fi
    local output_lines
    output_lines="$(wc -l <"$scratch/$name.out")"
    if [ "$output_lines" -ne "$input_lines" ]; then
        echo "valgrind: FAILED: $input_lines lines gave $output_lines answers" >&2
        exit 1
    fi
}

run_memcheck display
run_memcheck exact --exact -x 1.5 -y 2 -z 0.5
echo "valgrind: no errors or leaks over $input_lines lines in both output modes"
