#!/usr/bin/env bash
# Instructions per one-shot evaluation under callgrind, for every row of quorvel-bench's one-shot
# table: the internal entry point, the shipped library's quorvel_evaluate and quorvel_display,
# and fparser. Unlike times, the counts do not move with other load on a shared machine, so the
# targets on quorvel_evaluate are judged here too.
# Usage: bench/instruction_counts.sh [BUILD_DIR [TIMES]]   (build, 200)
set -euo pipefail

build="${1:-build}"
times="${2:-200}"
probe="$build/bench/quorvel-instruction-probe"
cells=(EvaluateExpression quorvel_evaluate quorvel_display fparser)
[ -x "$probe" ] || { echo "no $probe: configure with -DQUORVEL_BUILD_BENCH=ON" >&2; exit 2; }

# Instructions per evaluation, whole.
count() {  # cell entry
    local out
    out=$(valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file=/dev/null \
        "$probe" "$1" "$2" "$times" 2>&1) || { echo "probe failed: $1 $2" >&2; exit 1; }
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p' <<<"$out" | awk -v t="$times" '{ printf "%d", $1 / t }'
}

printf '| Expression |'
printf ' %s |' "${cells[@]}"
printf ' fparser / quorvel_evaluate |\n|---|--:|--:|--:|--:|--:|\n'
rows=()
while IFS=$'\t' read -r id title; do
    declare -A n=()
    for cell in "${cells[@]}"; do n[$cell]=$(count "$cell" "$id"); done
    ratio=$(awk -v f="${n[fparser]}" -v q="${n[quorvel_evaluate]}" 'BEGIN { printf "%.2f", f / q }')
    printf '| %s | %s | %s | %s | %s | %s |\n' "$title" "${n[EvaluateExpression]}" \
        "${n[quorvel_evaluate]}" "${n[quorvel_display]}" "${n[fparser]}" "$ratio"
    rows+=("$id $ratio ${n[quorvel_evaluate]} ${n[quorvel_display]}")
    unset n
done < <("$probe" --list)

printf '%s\n' "${rows[@]}" | awk '
    function verdict(met, target, figure) {
        printf "%-8s %s: %s\n", met ? "[met]" : "[MISSED]", target, figure
    }
    $1 !~ /^(nested1023|flat1023)$/ { log_sum += log($2); kept++ }
    { if (lowest == "" || $2 < lowest) { lowest = $2; lowest_id = $1 } }
    $1 == "1+2*3" { display = $4 / $3 }
    END {
        print ""
        mean = exp(log_sum / kept)
        verdict(mean >= 4, "quorvel_evaluate geometric mean at most 1/4 of fparser'\''s instructions",
                sprintf("%.2fx", mean))
        verdict(lowest >= 2, "quorvel_evaluate at least 2x fewer instructions than fparser on every row",
                sprintf("lowest %.2fx on %s", lowest, lowest_id))
        verdict(display <= 2, "quorvel_display on 1+2*3 at most 2x quorvel_evaluate",
                sprintf("%.2fx", display))
    }'
