#!/usr/bin/env bash
# Without a usable configuration the viewer still opens (no camera), explains
# the problem naming the file's path, and closes cleanly.
# Usage: missing-config.sh VIEWER
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
viewer=$1

if [ -z "${NIMBREL_INNER:-}" ]; then
    make_work ""
    for case in missing broken; do
        rm -f "$work/res/config.xml"
        if [ "$case" = broken ]; then echo "<NimbrelConfiguration><CameraSettings>" >"$work/res/config.xml"; fi
        export NIMBREL_INNER=1 work
        headless bash "$0" "$@" || exit
        echo "$case configuration: PASS"
    done
    exit
fi

"$viewer" --config-dir "$work" --quit-after 3 >"$work/out" 2>"$work/err" &
pid=$!
window_open() { [ -n "$(viewer_title)" ]; }
wait_for 15 window_open || fail "no window opened"
echo "window: $(viewer_title)"
wait "$pid" || fail "the viewer exited with status $?"
grep -q "$work/res/config.xml" "$work/err" || fail "the message does not name the configuration file"
check_no_asserts
