#!/usr/bin/env bash
# Installs what building and testing need, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps test
cmake --preset default
cmake --build --preset default
ctest --preset default
