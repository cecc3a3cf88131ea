#!/usr/bin/env bash
# The picture keeps up with the camera: at 25 and 60 fps (--fps) the
# viewer's own exit line gives a picture rate of at least 95 % of the camera's.
# Usage: picture-rate.sh VIEWER CONFIG_XML
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
viewer=$1
make_work "$2"

# A rate measured against the clock: a run that another process starved of the
# processor gets one more try before it counts as a failure.
for fps in 25 60; do
    for attempt in 1 2; do
        status=0
        headless "$viewer" --app-dir "$work" --fps "$fps" --quit-after 6 >"$work/out" 2>"$work/err" || status=$?
        [ "$status" -eq 0 ] || fail "$fps fps: the viewer exited with status $status"
        line=$(grep "^nimbrel-viewer: camera" "$work/out") || fail "$fps fps: no rate line"
        echo "$fps fps, try $attempt: $line"
        check_no_asserts
        read -r camera picture < <(sed -n 's/.*camera \([0-9.]*\) fps, picture \([0-9.]*\) changes.*/\1 \2/p' <<<"$line")
        awk -v c="$camera" -v f="$fps" 'BEGIN { exit !(c > 0.98 * f && c < 1.02 * f) }' ||
            fail "$fps fps: the camera runs at $camera fps"
        awk -v c="$camera" -v p="$picture" 'BEGIN { exit !(p >= 0.95 * c) }' && break
        [ "$attempt" -eq 2 ] && fail "$fps fps: the picture changed $picture times a second, under 95 % of $camera"
    done
done
echo "PASS"
