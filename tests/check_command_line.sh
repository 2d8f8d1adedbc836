#!/usr/bin/env bash
# Runs the program as from a shell and checks what it says: the given exit
# status (never an abort); at status 0 nothing on stderr and a line of
# stdout that matches the pattern, otherwise one line on stderr that does.
# The session's runtime folder is an empty one of its own: no Wayland
# compositor of the caller's answers there.
set -uo pipefail
wanted=$1
pattern=$2
shift 2
output=$(mktemp)
errors=$(mktemp)
runtime=$(mktemp -d)
trap 'rm -rf "$output" "$errors" "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime
"$@" >"$output" 2>"$errors"
status=$?
[ "$status" -eq "$wanted" ] || { echo "exit status $status, not $wanted"; cat "$errors"; exit 1; }
said=$errors
if [ "$status" -eq 0 ]; then
    [ ! -s "$errors" ] || { echo "stderr is not empty:"; cat "$errors"; exit 1; }
    said=$output
else
    [ "$(wc -l <"$errors")" -eq 1 ] || { echo "not one line:"; cat "$errors"; exit 1; }
fi
grep -qE -- "$pattern" "$said" || { echo "does not match '$pattern':"; cat "$said"; exit 1; }
echo "status $status: $(grep -E -- "$pattern" "$said")"
