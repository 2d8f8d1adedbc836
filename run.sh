#!/usr/bin/env bash
# Installs what building and running need, builds, and opens the timer.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps build
cmake --preset release
cmake --build --preset release
exec ./build/release/src/app/timer
