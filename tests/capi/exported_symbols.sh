#!/bin/sh
# The shared library exports exactly the functions the header declares, the package's symbols
# file lists exactly what it exports, and the manual page describes each, so no change of the
# interface goes unrecorded.
# Usage: exported_symbols.sh LIBRARY HEADER SYMBOLS_FILE MANUAL_SOURCE
set -eu
library=$1
header=$2
symbols=$3
manual=$4

# A version node shows as an absolute symbol of its own name; symbols files write it NAME@NAME.
exported=$(nm -D --defined-only "$library" |
    awk '$2 == "A" { print $3 "@" $3; next } { sub("@@", "@", $3); print $3 }' | sort)
listed=$(grep '^ ' "$symbols" | awk '{print $1}' | sort)
if [ "$exported" != "$listed" ]; then
    printf 'exported:\n%s\nlisted in %s:\n%s\n' "$exported" "$symbols" "$listed" >&2
    exit 1
fi

declared=$(grep '^QUORVEL_API' "$header" | grep -o 'quorvel_[a-z_]*(' | tr -d '(' | sort)
functions=$(echo "$exported" | grep '^quorvel_' | sed 's/@.*//' | sort)
if [ "$declared" != "$functions" ]; then
    printf 'declared:\n%s\nexported:\n%s\n' "$declared" "$functions" >&2
    exit 1
fi
for function in $functions; do
    if ! grep -q "^\*$function\*()" "$manual"; then
        echo "$manual does not describe $function" >&2
        exit 1
    fi
done
echo "$(echo "$functions" | wc -l) functions declared, exported, listed and described"
