#!/usr/bin/env bash
# --record presses Start; the module ends the 2 s recording at 25 fps by itself
# (recordEnd), the viewer says so with the 50 frames the file declares and
# quits, and ffprobe finds 50 frames. Then a frame that cannot be written: the
# viewer stops the recording at once, so that the file is finished, says what
# it kept, and stays up.
# Usage: recording.sh VIEWER CONFIG_XML
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
viewer=$1
make_work "$2"
clip="$work/clip.avi"

status=0
headless "$viewer" --app-dir "$work" --record "$clip" --seconds 2 --record-fps 25 --quit-after 20 \
    >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 0 ] || fail "the viewer exited with status $status (the recording did not end by itself)"
grep -q "$clip (50 [a-z]*)" "$work/out" && grep -q "2 s .* 25 [a-z/]* [a-z]* 50 [a-z]* " "$work/out" ||
    fail "no notice of the recording's end with its 50 frames, of 50 or one more"
[ -s "$clip" ] || fail "no file written"

probe=$(ffprobe -v error -select_streams v:0 -count_packets \
    -show_entries stream=codec_name,width,height,nb_frames,nb_read_packets -of default=nw=1 "$clip")
echo "$probe"
grep -qx "codec_name=mjpeg" <<<"$probe" || fail "not Motion-JPEG"
grep -qx "width=1280" <<<"$probe" && grep -qx "height=1024" <<<"$probe" || fail "wrong frame size"
grep -qx "nb_read_packets=50" <<<"$probe" || fail "expected 50 frames"
grep -qx "nb_frames=50" <<<"$probe" || fail "the index does not list 50 frames"
check_no_asserts
# The scripted settings are not stored as the user's.
cmp -s "$2" "$work/res/config.xml" || fail "the configuration file was changed"
echo "recording ended by the module: PASS"

# The simulator fails the fifth frame: the module throws from its timer tick and
# leaves the recording paused; the window stops it, reports it and keeps running
# until --quit-after (status 1: something failed).
rm -f "$clip"
status=0
UESIM_FAIL="isavi_AddFrame@5=7" headless "$viewer" --app-dir "$work" --record "$clip" --seconds 2 --record-fps 25 \
    --quit-after 3 >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "expected status 1 after a failed frame, got $status"
# The shipped settings leave the language to the locale: English under C.
grep -q "isavi_AddFrame" "$work/err" && grep -q "$clip keeps 4 frames" "$work/err" ||
    fail "the failure was not reported with the 4 frames kept"
frames=$(ffprobe -v error -select_streams v:0 -count_packets -show_entries stream=nb_frames,nb_read_packets -of csv=p=0 "$clip")
[ "$frames" = 4,4 ] || fail "expected the 4 frames written before the failure, indexed, found $frames"
check_no_asserts
echo "failed frame: PASS"
