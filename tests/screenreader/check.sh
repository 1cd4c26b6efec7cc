#!/usr/bin/env bash
# Runs the program under the Orca screen reader, headless, with the keys of expected.txt, and checks what Orca says
# after each one against it. Prints the transcript; exits 1 at the first difference.
#
#   tests/screenreader/check.sh PROGRAM
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 1 ] || { echo "usage: $0 PROGRAM" >&2; exit 2; }
expected=$here/expected.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The keys are the headers of the steps after the start.
grep '^== ' "$expected" | tail -n +2 | cut -c4- >"$work/scenario"
"$here/../../tools/screenreader.sh" -l pt_PT.UTF-8 -f "$work/scenario" "$1" >"$work/transcript" || exit 1
cat "$work/transcript"

# Each step's block against its expectations: a line must come after the one matched before it, in the same block.
awk -v transcript="$work/transcript" '
    function fail(message) { printf "screenreader check: step %d (%s): %s\n", step, name, message; failed = 1; exit 1 }
    BEGIN {
        n = 0
        while ((getline line < transcript) > 0) {
            if (line ~ /^== /) { n++; header[n] = substr(line, 4); count[n] = 0; continue }
            said[n, ++count[n]] = line
        }
    }
    /^#/ || /^$/ { next }
    /^== / {
        step++
        name = substr($0, 4)
        if (step > n || header[step] != name) fail("the transcript has no such step")
        at = 0
        next
    }
    /^!/ {
        for (i = 1; i <= count[step]; i++)
            if (said[step, i] == substr($0, 2)) fail("said \"" substr($0, 2) "\"")
        next
    }
    {
        for (i = at + 1; i <= count[step] && said[step, i] != $0; i++) {}
        if (i > count[step]) fail("did not say \"" $0 "\"")
        at = i
    }
    END { if (!failed && step != n) { step = n; name = header[n]; fail("a step without expectations") } }
' "$expected"
