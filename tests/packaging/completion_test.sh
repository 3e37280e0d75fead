#!/usr/bin/env bash
# The bash completion of quorvel-eval offers exactly the options its --help lists, and only
# where an option may stand. Arguments: the completion script and quorvel-eval.
set -euo pipefail
source "$1"
quorvel_eval=$2
failures=0

# Prints what completing the last word of a command line offers, sorted, on one line.
offers() {
    COMP_WORDS=(quorvel-eval "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _quorvel_eval
    [ ${#COMPREPLY[@]} -eq 0 ] || printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "
}

expect() {
    local expected=$1
    shift
    local got
    got=$(offers "$@")
    if [ "$got" != "$expected" ]; then
        echo "FAIL: quorvel-eval $*<TAB> offers '$got', expected '$expected'" >&2
        failures=$((failures + 1))
    fi
}

all=$("$quorvel_eval" --help | grep -oE '^  (-[-a-z]+[ ,A-Z]*)+' | grep -oE -- '-[-a-z]+' |
    sort | tr '\n' ' ')
[ -n "$all" ] || { echo "FAIL: no options found in --help" >&2; exit 1; }
expect "$all" -
expect "$all" --exact -x 5 -
expect "$all" -x5 --bits --explain -
expect "--bits " --b
expect "--exact --explain " --exact --e
expect "" -x -
expect "" -x 5 2+3 -
expect "" -- -
expect "" 1+2 --
expect "" ""
[ $failures -eq 0 ] && echo "completion: all cases pass"
