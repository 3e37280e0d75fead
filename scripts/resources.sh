#!/usr/bin/env bash
# Measures the bounds quorvel-eval keeps whatever it is given, and fails when one is exceeded:
#  - stack: the smallest `ulimit -s` under which the deepest-nesting inputs still evaluate,
#    against the same figure for a trivial input;
#  - memory: peak resident size on one 1 GiB line and on ten million lines;
#  - lines: every input line gives exactly one output line, in order.
# Usage: scripts/resources.sh [BUILD_DIR]   (default build; needs cli/quorvel-eval built there)
set -euo pipefail
cd "$(dirname "$0")/.."

eval_binary="${1:-build}/cli/quorvel-eval"
[ -x "$eval_binary" ] || {
    echo "resources: $eval_binary is not built" >&2
    exit 1
}
peak_limit_kb=10240
stack_limit_kb=64
long_line_bytes=$((1 << 30))
many_lines=10000000
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failed=0

fail() {
    echo "resources: FAILED: $*" >&2
    failed=1
}

repeat() {
    local text="" i
    for ((i = 0; i < $2; i++)); do text+="$1"; done
    printf '%s' "$text"
}

# Every stack size from the smallest that works up must work; five runs per size, since the
# stack's start moves with address-space randomisation.
evaluates_within() {
    local stack_kb="$1" expression="$2" expected="$3" run got
    for run in 1 2 3 4 5; do
        got="$( (ulimit -s "$stack_kb" && printf '%s\n' "$expression" | "$eval_binary") 2>/dev/null)" ||
            true
        [ "$got" = "$expected" ] || return 1
    done
}

smallest_stack_kb() {
    local expression="$1" expected="$2" low=4 high=1024 middle
    while [ "$low" -lt "$high" ]; do
        middle=$(((low + high) / 2))
        if evaluates_within "$middle" "$expression" "$expected"; then
            high=$middle
        else
            low=$((middle + 1))
        fi
    done
    echo "$low"
}

check_stack() {
    # 32 levels is the deepest nesting the bracket stack admits; calls add frames of their own.
    local deepest=(
        "$(repeat '(' 32)1$(repeat ')' 32)"
        "$(repeat 'sin(' 32)1$(repeat ')' 32)"
        "$(repeat 'max(1,' 32)2$(repeat ')' 32)"
        "$(repeat 'max(1,sin(' 16)1$(repeat '))' 16)"
        "$(repeat '[{(' 10)[{x}]$(repeat ')}]' 10)"
        "$(repeat '(' 33)1$(repeat ')' 33)"
    )
    local base expression expected needed worst=0
    base="$(smallest_stack_kb 1 1.000000)"
    for expression in "${deepest[@]}"; do
        expected="$(printf '%s\n' "$expression" | "$eval_binary")" || true
        needed="$(smallest_stack_kb "$expression" "$expected")"
        echo "  ulimit -s ${needed} KiB: ${expression:0:24}... (${#expression} bytes)"
        [ "$needed" -gt "$worst" ] && worst=$needed
    done
    echo "stack: trivial input needs ulimit -s ${base} KiB, the deepest nesting ${worst} KiB" \
        "(the engine's share: $((worst - base)) KiB)"
    [ "$worst" -le "$stack_limit_kb" ] || fail "the deepest nesting needs more than ${stack_limit_kb} KiB"
}

# Runs quorvel-eval on what the generator writes; leaves its output and peak size in scratch.
measure() {
    local name="$1"
    shift
    "$@" | /usr/bin/time -f '%M' -o "$scratch/$name.peak" "$eval_binary" >"$scratch/$name.out" ||
        true
    local peak
    peak="$(tail -n 1 "$scratch/$name.peak")"
    echo "$peak"
}

long_line() {
    head -c "$long_line_bytes" /dev/zero | tr '\0' '7'
    printf '\n1+2\n'
}

check_long_line() {
    local peak expected
    peak="$(measure long long_line)"
    expected="$(printf 'Quorvel\xe8\xa7\xa3\xe6\x9e\x90\xe9\x94\x99\xe8\xaf\xaf!\n3.000000')"
    echo "memory: one $((long_line_bytes >> 20)) MiB line, then 1+2: peak resident ${peak} KiB"
    [ "$(cat "$scratch/long.out")" = "$expected" ] || fail "the long line did not give the error text and one line"
    [ "$peak" -lt "$peak_limit_kb" ] || fail "peak resident size ${peak} KiB on the long line"
}

# A block of mixed lines (failures, empty and white-space lines, a carriage return, bytes of
# every kind, a NUL byte, an over-long line), without random draws so that each copy answers
# alike.
write_block() {
    local copy
    for copy in 1 2 3 4 5 6 7 8; do
        printf '%s\n' '1+2*3' 'x*2' '' ' ' '1+' 'max(2,3)' 'sin(PI)' '((2))' '(1]' 'array_add(1)'
        printf '1\r\n\x80\xff(1)\n1+\x002\n\t\n0x1F\n1.5e+-2\n2^3^2\n'
    done >"$scratch/block"
    printf '%*s\n' 1100 '1' >>"$scratch/block"
    local copies=1
    while [ "$copies" -lt 4096 ]; do
        cat "$scratch/block" "$scratch/block" >"$scratch/block2"
        mv "$scratch/block2" "$scratch/block"
        copies=$((copies * 2))
    done
}

# The first lines of the endlessly repeated file.
repeated() {
    while cat "$1"; do :; done | head -n "$many_lines"
}

many_lines_input() { repeated "$scratch/block"; }

check_many_lines() {
    write_block
    local peak lines expected_digest
    peak="$(measure many many_lines_input)"
    lines="$(wc -l <"$scratch/many.out")"
    echo "memory: ${many_lines} lines: ${lines} output lines, peak resident ${peak} KiB"
    [ "$lines" -eq "$many_lines" ] || fail "${many_lines} input lines gave ${lines} output lines"
    [ "$peak" -lt "$peak_limit_kb" ] || fail "peak resident size ${peak} KiB on many lines"
    # Output in step with input: the answers are those of the same lines evaluated alone.
    "$eval_binary" <"$scratch/block" >"$scratch/block.out" || true
    expected_digest="$(repeated "$scratch/block.out" | md5sum)"
    [ "$(md5sum <"$scratch/many.out")" = "$expected_digest" ] ||
        fail "the answers to ${many_lines} lines differ from the lines evaluated alone"
}

check_stack
check_long_line
check_many_lines
[ "$failed" -eq 0 ] || exit 1
echo "resources passed"
