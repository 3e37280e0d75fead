#!/usr/bin/env bash
# quorvel-eval's throughput on mixed short lines from standard input (all of them, then a tenth,
# whose peak memory must be the same; the target is judged per second of the CPU time it used,
# so that other load on a shared machine does not count against it), and the window's start-up time and peak memory: offscreen
# and, where Xvfb is installed, on a private X server. Peak memory is /usr/bin/time's.
# Usage: bench/batch_and_startup.sh [BUILD_DIR [LINES [RUNS]]]   (build, 10000000, 10)
# Exits 1 when a run does not complete (a missed line, a window never shown); figures below a
# target show as [MISSED].
set -euo pipefail

build="${1:-build}"
lines="${2:-10000000}"
runs="${3:-10}"
eval_binary="$build/cli/quorvel-eval"
dialog="$build/window/quorvel"
probe="$build/bench/libquorvel_startup_probe.so"
least_lines_per_second=8000000
most_growth_kb=1024
most_shown_ms=150
most_peak_mb=60

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
complete=1

verdict() {  # met(0/1) target figure
    printf '%-8s %s: %s\n' "$([ "$1" -eq 1 ] && echo '[met]' || echo '[MISSED]')" "$2" "$3"
}

# Literals of every form, operators, groups, calls and texts that fail, in a fixed rotation.
mixed_lines=('1+2*3' 'x*2+y*3-z' '(1+2)*3-4/5' 'sin(x)*cos(y)+sqrt(2)' '0x1F+010' '2^3^2'
    'max(x,y)+min(1,2)*3' '1+' '1.5e3+31' '-7%3' '((2))*[3]' 'x*foo' '  PI * 2  ' '1/0'
    '0y101-0.25' 'abs(-2)')

# Prints "lines written seconds cpu_seconds peak_kb" for a run over the given number of lines.
batch_run() {
    yes "$(printf '%s\n' "${mixed_lines[@]}")" | head -n "$1" >"$work/input"
    local written
    written=$( (/usr/bin/time -f '%e %U %S %M' -o "$work/time" "$eval_binary" -x 1.5 -y 2 -z 0.5 \
        <"$work/input" || true) | wc -l)
    echo "$1 $written $(tail -n 1 "$work/time" | awk '{ print $1, $2 + $3, $4 }')"
}

read -r all_lines all_written all_seconds all_cpu all_kb <<<"$(batch_run "$lines")"
read -r tenth_lines tenth_written tenth_seconds tenth_cpu tenth_kb <<<"$(batch_run $((lines / 10)))"
if [ "$all_written" -ne "$all_lines" ] || [ "$tenth_written" -ne "$tenth_lines" ]; then
    echo "quorvel-eval wrote $all_written lines for $all_lines, $tenth_written for $tenth_lines"
    complete=0
fi
rate() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.0f", (s > 0 ? n / s : 0) }'; }
all_rate=$(rate "$all_lines" "$all_cpu")
echo "| Batch | lines | seconds | lines/s | CPU seconds | lines per CPU second | peak RSS MB |"
echo "|---|--:|--:|--:|--:|--:|--:|"
for run in "mixed short lines on standard input:$all_lines:$all_seconds:$all_cpu:$all_kb" \
    "a tenth of them:$tenth_lines:$tenth_seconds:$tenth_cpu:$tenth_kb"; do
    IFS=: read -r what n s cpu kb <<<"$run"
    printf '| quorvel-eval, %s | %d | %.2f | %d | %.2f | %d | %.1f |\n' "$what" "$n" "$s" \
        "$(rate "$n" "$s")" "$cpu" "$(rate "$n" "$cpu")" "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')"
done
echo
verdict "$([ "$all_rate" -ge "$least_lines_per_second" ] && echo 1 || echo 0)" \
    "quorvel-eval at least 8 million lines per second" "$all_rate lines per CPU second"
verdict "$([ $((all_kb - tenth_kb)) -le "$most_growth_kb" ] && echo 1 || echo 0)" \
    "quorvel-eval in constant memory" "peak RSS $all_kb kB for all lines, $tenth_kb kB for a tenth"

if [ ! -x "$dialog" ] || [ ! -f "$probe" ]; then
    echo "no window start-up: $dialog or $probe is not built"
    [ "$complete" -eq 1 ]
    exit
fi

# Prints "shown_runs min median max peak_mb" over the runs on the current display settings.
startup_runs() {
    local report="$work/shown" peak=0 kb
    rm -f "$report"
    for ((run = 0; run < runs; ++run)); do
        QUORVEL_LAUNCH_NS="$(date +%s%N)" QUORVEL_STARTUP_REPORT="$report" LD_PRELOAD="$probe" \
            timeout 10 /usr/bin/time -f '%M' -o "$work/peak" "$dialog" >/dev/null 2>&1 || true
        kb=$(tail -n 1 "$work/peak")
        [ "$kb" -gt "$peak" ] 2>/dev/null && peak=$kb
    done
    touch "$report"
    sort -n "$report" | awk -v peak="$peak" '{ t[NR] = $1 } END {
        if (NR == 0) { print 0, "nan", "nan", "nan", peak / 1024; exit }
        m = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
        print NR, t[1], m, t[NR], peak / 1024 }'
}

startup_row() {  # platform
    local shown min median max peak
    read -r shown min median max peak <<<"$(startup_runs)"
    printf '| %s | %d of %d | %s / %s / %s | %.1f |\n' "$1" "$shown" "$runs" "$min" "$median" \
        "$max" "$peak" >>"$work/rows"
    [ "$shown" -eq "$runs" ] || complete=0
    verdict "$(awk -v m="$median" -v t="$most_shown_ms" 'BEGIN { print (m + 0 < t && m != "nan") }')" \
        "dialog on screen in under $most_shown_ms ms, $1" "median $median ms, slowest $max ms" \
        >>"$work/verdicts"
    verdict "$(awk -v p="$peak" -v t="$most_peak_mb" 'BEGIN { print (p > 0 && p < t) }')" \
        "dialog peak memory under $most_peak_mb MB, $1" "$(printf "%.1f" "$peak") MB" >>"$work/verdicts"
}

: >"$work/rows"
: >"$work/verdicts"
QT_QPA_PLATFORM=offscreen startup_row offscreen
if command -v Xvfb >/dev/null; then
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break || sleep 0.1; done
    QT_QPA_PLATFORM=xcb DISPLAY=":$(cat "$work/display")" startup_row "xcb (Xvfb)"
fi
echo
echo "| Platform | runs shown | launch to shown ms (min / median / max) | peak RSS MB |"
echo "|---|--:|--:|--:|"
cat "$work/rows"
echo
cat "$work/verdicts"
[ "$complete" -eq 1 ]
