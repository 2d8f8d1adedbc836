#!/usr/bin/env bash
# Runs a program that cannot start and checks how it says so: exit status 1
# (not an abort), and one line on stderr that matches the given pattern.
set -uo pipefail
pattern=$1
shift
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
"$@" >/dev/null 2>"$errors"
status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, not 1"; cat "$errors"; exit 1; }
[ "$(wc -l <"$errors")" -eq 1 ] || { echo "not one line:"; cat "$errors"; exit 1; }
grep -qE "$pattern" "$errors" || { echo "does not match '$pattern':"; cat "$errors"; exit 1; }
echo "one line, status 1: $(cat "$errors")"
