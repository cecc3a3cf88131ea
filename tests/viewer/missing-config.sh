#!/usr/bin/env bash
# Without a usable configuration the viewer still opens (no camera), explains
# the problem naming the file's path, closes cleanly, and, being scripted,
# ends with status 1.
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
    "$viewer" --app-dir "$work" --quit-after 2 >"$work/out" 2>"$work/err" &
    pid=$!
    wait_for 15 window_open || fail "$case configuration: no window opened"
    echo "$case configuration, window: $(viewer_title)"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 1 ] || fail "$case configuration: the viewer exited with status $status, not 1"
    grep -q "$work/res/config.xml" "$work/err" || fail "$case configuration: the message does not name the file"
    check_no_asserts
    # The window is gone before the next run looks for one.
    wait_for 5 eval '! window_open' || fail "$case configuration: the window stayed"
done
echo "PASS"
