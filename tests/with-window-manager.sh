#!/bin/sh
# with-window-manager.sh TEST [ARGUMENTS...]
# Runs a window test on its display under a window manager, as on a desktop:
# focus, activation and the stacking of secondary windows then behave as the
# user sees them. An openbox of the test's own is started unless the display
# has a manager already or RUV_TEST_NO_WM is set, and it is stopped when the
# test ends. The manager reads the packaged configuration only, never the
# user's. The exit status is the test's.
set -u

if [ -n "${RUV_TEST_NO_WM:-}" ] || xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  exec "$@"
fi

dir=$(mktemp -d) || exit 1
# The manager runs its start-up command once it manages the display; what
# it says is shown only when it does not get there.
XDG_CONFIG_HOME="$dir" XDG_CACHE_HOME="$dir" openbox --sm-disable --startup "touch $dir/ready" 2>"$dir/log" &
wm=$!
tries=0
until [ -e "$dir/ready" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 600 ] || ! kill -0 "$wm" 2>/dev/null; then
    echo "with-window-manager.sh: openbox did not start" >&2
    cat "$dir/log" >&2
    kill "$wm" 2>/dev/null
    rm -rf "$dir"
    exit 1
  fi
  sleep 0.05
done

"$@"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
rm -rf "$dir"
exit "$status"
