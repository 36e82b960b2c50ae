#!/usr/bin/env bash
# Installs the Debian 12 packages that building (and, with --test, testing)
# needs; packages already installed are skipped.
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev libqt6opengl6-dev libxtst-dev libx11-dev
            libglu1-mesa-dev libgl1-mesa-dev libegl-dev libgtest-dev libpugixml-dev libxkbcommon-dev)
# Qt's own texts (message-box buttons, file dialogs) in French and German.
run_pkgs=(libgl1-mesa-dri fonts-dejavu-core qt6-translations-l10n)
test_pkgs=(xvfb xauth x11-utils x11-xkb-utils unzip openarena-081-maps locales-all openbox)
# The map parser's fuzz target: clang with libFuzzer (in libclang-rt, only
# recommended by clang); llvm brings the symbolizer for the sanitizers' stacks.
test_pkgs+=(clang libclang-rt-14-dev llvm)

want=("${build_pkgs[@]}" "${run_pkgs[@]}")
[ "${1:-}" = "--test" ] && want+=("${test_pkgs[@]}")

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
