#!/usr/bin/env bash
# Configures and builds a tree: tools/build.sh [FOLDER] [configure arguments...]
# FOLDER defaults to build/ (test.sh also builds the sanitized build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  dir=$1
  shift
fi
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
