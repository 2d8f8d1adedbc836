#!/usr/bin/env bash
# Installs the Debian package on this machine, opens the installed timer on
# a virtual display, closes it as a user would, then removes the package and
# checks that none of its files are left. Runs in CI, as root.
set -euo pipefail
deb=$(realpath "$1")
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\./, "", $6); print $6}')

apt-get install -y -q "$deb" >/dev/null
status=0
# A window that stays open after the close request fails the check in 20 s
# instead of holding CI up.
xvfb-run -a -s "-screen 0 640x480x24" bash -c '
    /usr/bin/timer & program=$!
    /usr/bin/python3 "$0" Timer 20 || { kill $program; exit 1; }
    for _ in $(seq 100); do kill -0 $program 2>/dev/null || break; sleep 0.2; done
    kill -0 $program 2>/dev/null && { echo "still open 20 s after the close request"; kill $program; }
    wait $program' "$(dirname "$0")/close_window.py" || status=$?
[ "$status" -eq 0 ] || { echo "the installed timer did not open and close cleanly (status $status)"; exit 1; }

apt-get purge -y -q timer >/dev/null
left=$(for file in $files; do [ ! -e "$file" ] || echo "$file"; done)
[ -z "$left" ] || { echo "left after removal: $left"; exit 1; }
echo "installed, opened, closed with status 0, removed without a trace: $(basename "$deb")"
