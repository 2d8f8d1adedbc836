#!/usr/bin/env bash
# Starts the program, waits until its window's tick source is made, checks
# that it handles SIGTERM by then, sends it, and checks that it ends as a
# close does: status 143, nothing on stderr.
set -uo pipefail
errors=$(mktemp)
runtime=$(mktemp -d) # Qt warns where the session has no runtime folder
trap 'rm -rf "$errors" "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime
"$@" >/dev/null 2>"$errors" &
program=$!
# The tick source's timerfd is made after the handlers are in place.
started() { ls -l "/proc/$program/fd" 2>/dev/null | grep -qF 'anon_inode:[timerfd]'; }
handled() {
    local caught
    caught=$(awk '/^SigCgt:/ {print $2}' "/proc/$program/status" 2>/dev/null) || return 1
    [ -n "$caught" ] && (( 0x$caught & 1 << (15 - 1) ))
}
for _ in $(seq 300); do started && break; kill -0 $program 2>/dev/null || break; sleep 0.1; done
if ! started; then
    if kill -0 $program 2>/dev/null; then
        echo "no tick source within 30 s"
        kill -KILL $program
    else
        wait $program
        echo "ended with status $? before its tick source:"
        cat "$errors"
    fi
    exit 1
fi
handled || { echo "SIGTERM not handled once the tick source was made"; kill -KILL $program; exit 1; }
kill -TERM $program
wait $program
status=$?
[ "$status" -eq 143 ] || { echo "exit status $status, not 143"; cat "$errors"; exit 1; }
[ ! -s "$errors" ] || { echo "printed on stderr:"; cat "$errors"; exit 1; }
echo "SIGTERM handled, status 143, nothing printed"
