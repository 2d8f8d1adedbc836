#!/usr/bin/env bash
# Installs what is missing, builds, and opens the timer.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps
cmake --preset default
cmake --build --preset default
exec ./build/default/src/app/timer "$@"
