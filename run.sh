#!/usr/bin/env bash
# Installs what is missing, builds and starts Ruvadir (arguments go to the program).
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
tools/build.sh
exec build/bin/ruvadir "$@"
