#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh --test
# Without a display each window test gets an Xvfb server of its own.
xvfb=OFF
[ -z "${DISPLAY:-}" ] && xvfb=ON
tools/build.sh -DRUV_TEST_XVFB=$xvfb
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
cd build
ctest --output-on-failure -j"$(nproc)" "$@"
