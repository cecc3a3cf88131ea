#!/usr/bin/env bash
# Without a usable configuration the viewer still opens (no camera), explains
# the problem naming the file's path, and closes cleanly.
# Usage: missing-config.sh VIEWER
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
viewer=$1

if [ -z "${NIMBREL_INNER:-}" ]; then
    make_work ""
    export NIMBREL_INNER=1 work
    headless bash "$0" "$@"
    exit
fi

window_open() { [ -n "$(viewer_title)" ]; }
for case in missing broken; do
    rm -f "$work/res/config.xml"
    if [ "$case" = broken ]; then echo "<NimbrelConfiguration><CameraSettings>" >"$work/res/config.xml"; fi
    "$viewer" --config-dir "$work" --quit-after 2 >"$work/out" 2>"$work/err" &
    pid=$!
    wait_for 15 window_open || fail "$case configuration: no window opened"
    echo "$case configuration, window: $(viewer_title)"
    wait "$pid" || fail "$case configuration: the viewer exited with status $?"
    grep -q "$work/res/config.xml" "$work/err" || fail "$case configuration: the message does not name the file"
    check_no_asserts
    # The window is gone before the next run looks for one.
    wait_for 5 eval '! window_open' || fail "$case configuration: the window stayed"
done
echo "PASS"
