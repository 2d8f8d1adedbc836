#!/usr/bin/env bash
# Installs what building and running need, builds, and opens the timer,
# installed with its sound helper in a folder of the build tree.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps build
cmake --preset release
cmake --build --preset release
cmake --install build/release --prefix build/release/installed >/dev/null
exec ./build/release/installed/bin/timer
