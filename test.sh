#!/usr/bin/env bash
# Installs what is missing, builds and runs every test twice: in build/ (with
# the map parser's fuzz case) and in build-asan/, the same tests built with
# AddressSanitizer and UBSan. Arguments go to both ctest runs.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh --test
# Without a display each window test gets an Xvfb server of its own.
xvfb=OFF
[ -z "${DISPLAY:-}" ] && xvfb=ON
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
failed=()

tools/build.sh build -DRUV_TEST_XVFB=$xvfb
(cd build && ctest --output-on-failure -j"$(nproc)" "$@") || failed+=(build)

# The sanitized tree: the fuzz target is sanitized already and runs once.
tools/build.sh build-asan -DRUV_SANITIZE=ON -DRUV_FUZZ=OFF -DRUV_TEST_XVFB=$xvfb
(
  # Leaks inside the system's libraries are suppressed by name (none of
  # ours). Mesa unloads its driver when a display closes, before the leak
  # check at exit, and what the driver still held could then be named by no
  # library: loaded before the program, the driver stays to the end.
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1"
  driver=$(dpkg -L libgl1-mesa-dri 2>/dev/null | grep -m1 '/swrast_dri\.so$' || true)
  if [ -n "$driver" ]; then
    export LD_PRELOAD="$driver${LD_PRELOAD:+:$LD_PRELOAD}"
    export ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
  fi
  cd build-asan
  # Qt's D-Bus thread (started by its accessibility bridge) is now and
  # then still ending while the leak check at exit runs, and its thread
  # record is reported as a leak whose stack names only Qt (which has no
  # frame pointers to follow), so no suppression can tell it from ours.
  # Such a test runs once more, and only such a test: its first failure
  # must be a leak report alone whose stacks hold no frame of our sources.
  # A leak of ours fails again; every other failure fails at once.
  ctest --output-on-failure -j"$(nproc)" "$@" 2>&1 | tee asan-first.log
  [ "${PIPESTATUS[0]}" -eq 0 ] && exit 0
  src=$(cd .. && pwd)
  while IFS=: read -r _ name; do
    block=$(awk -v t="Test +#[0-9]+: $name " '
      $0 ~ t { on = 1; next }
      on && /^ *([0-9]+\/[0-9]+ Test +#|Start +[0-9]+:)/ { exit }
      on { print }' asan-first.log)
    leaks=$(sed -n '/ERROR: LeakSanitizer/,$p' <<<"$block")
    if [ -z "$leaks" ] ||
       grep -qE 'ERROR: AddressSanitizer|runtime error:|FAIL!|Segmentation|Aborted' <<<"$block" ||
       grep -qF "$src/" <<<"$leaks"; then
      echo "test.sh: $name failed under the sanitizers" >&2
      exit 1
    fi
  done < Testing/Temporary/LastTestsFailed.log
  echo "test.sh: leak reports naming only Qt: running those tests once more" >&2
  ctest --output-on-failure --rerun-failed
) || failed+=(build-asan)

if [ ${#failed[@]} -gt 0 ]; then
  echo "test.sh: tests failed in ${failed[*]}" >&2
  exit 1
fi
