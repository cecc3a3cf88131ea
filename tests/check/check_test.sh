#!/usr/bin/env bash
# nimbrel-check passes on every catalogue camera and leaves the configuration
# byte for byte; an injected failure is reported with the call and its status
# while the other checks still run; SIGINT mid-run stops the recording, puts
# the settings back and closes the camera.
set -euo pipefail
checker=$1
config=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/res"
cp "$config" "$work/res/config.xml"
export UESIM_FAIL= UESIM_TRACE=
checks=$("$checker" --list | wc -l)

fail() { echo "FAIL: $*"; exit 1; }
status_of() { local status=0; "$@" > "$work/out" 2>&1 || status=$?; echo $status; }

# The cameras in two lanes side by side, each camera in its own folder: the
# checks mostly wait for frames. Two at a time, not more: the frame checks
# at the highest rate need the processor when a frame ends (CMakeLists.txt
# gives the test both of ctest's slots).
lane() {
  local camera status
  for camera in "$@"; do
    mkdir -p "$work/$camera/res"
    cp "$config" "$work/$camera/res/config.xml"
    status=0
    UESIM_CAMERA=$camera "$checker" --app-dir "$work/$camera" > "$work/$camera/out" 2>&1 || status=$?
    [ "$status" -eq 0 ] || { cat "$work/$camera/out"; echo "FAIL: $camera exited $status"; return 1; }
    cmp "$config" "$work/$camera/res/config.xml" || { echo "FAIL: $camera changed res/config.xml"; return 1; }
  done
}
lane SIM4912-M SIM1280-C SIM1284-M &
first=$!
lane SIM2592-C SIM1280-M SIM1284-C || exit 1
wait $first || exit 1

status=$(UESIM_CAMERA=SIM1280-C UESIM_FAIL=is_SetGamma=3 status_of "$checker" --app-dir "$work" --json "$work/r.json")
[ "$status" -eq 1 ] || fail "is_SetGamma failing: exit $status"
grep -q '^open-close  *FAIL .*is_SetGamma failed with status 3$' "$work/out" || { cat "$work/out"; fail "no is_SetGamma 3"; }
[ "$(grep -cE ' (PASS|FAIL|SKIP) ' "$work/out")" -eq "$checks" ] || fail "not every check ran"
grep -q "\"failed\": $(grep -c ' FAIL ' "$work/out")," "$work/r.json" || fail "JSON report"

# A failing check says what it saw: a scene too dark for colours, an AVI
# library that reports a frame it did not write or never the file's size, a
# camera that takes an area larger than its sensor.
dark=$work/dark
mkdir -p "$dark/res"
sed 's|<Exposure>15.5</Exposure>|<Exposure>0.01</Exposure>|' "$config" > "$dark/res/config.xml"
while IFS='|' read -r failing only dir wanted line; do
  status=$(UESIM_CAMERA=SIM1280-C UESIM_FAIL=$failing status_of "$checker" --app-dir "${dir:-$work}" --only "$only")
  [ "$status" -eq "$wanted" ] && grep -q "^$only  *$line" "$work/out" || { cat "$work/out"; fail "$only, $failing"; }
done <<END
|colour-order|$dark|0|SKIP .*too little colour .*point the camera at something clearly red
isavi_AddFrame@2=317|recording-replace||1|FAIL .*the first recording: 3 frames in the file, expected 4$
isavi_AddFrame@5=317|recording-resume||1|FAIL .*resumed with 0.75 s: 11 frames in the file, expected 12$
isavi_GetAVISize=317|recording-size-limit||1|FAIL .*recordEnd did not come within [0-9.]* s$
is_SetImageSize=0|messages||1|FAIL .*setAOI with twice the sensor's size did not throw$
END

# A check past its deadline ends the run with what it was doing, the results
# so far and the JSON report, and leaves no copy of the configuration behind.
mkdir "$work/tmp"
status=$(UESIM_CAMERA=SIM1280-C TMPDIR=$work/tmp status_of "$checker" --app-dir "$work" --only gains,recording-resume \
  --deadline 1 --json "$work/hung.json")
[ "$status" -eq 1 ] && grep -q '^gains  *PASS' "$work/out" &&
  grep -q '^recording-resume  *FAIL .*did not finish within 1 s: waiting for the recording to end by itself$' "$work/out" &&
  grep -q '"failed": 1' "$work/hung.json" && [ -z "$(ls -A "$work/tmp")" ] || { cat "$work/out"; fail "deadline"; }
cmp "$config" "$work/res/config.xml" || fail "the deadline changed res/config.xml"

for arguments in "--only no-such-check" "--json" "--frobnicate" "--deadline 0"; do
  # shellcheck disable=SC2086
  status=$(status_of "$checker" $arguments)
  [ "$status" -eq 2 ] || fail "$arguments: exit $status"
done

trace=$work/trace
UESIM_CAMERA=SIM1280-C UESIM_TRACE=$trace "$checker" --app-dir "$work" > "$work/out" 2>&1 &
pid=$!
timeout 60 bash -c "until grep -qs '^isavi_AddFrame' '$trace'; do sleep 0.05; done" || fail "no recording"
kill -INT $pid
status=0
wait $pid || status=$?
[ "$status" -eq 130 ] || { cat "$work/out"; fail "interrupted: exit $status"; }
# After the last frame: the file closed, the camera opened afresh, a setting
# put back, and the camera closed last.
after=$(awk '/^isavi_AddFrame/ { n = NR } { line[NR] = $0 } END { for (i = n + 1; i <= NR; ++i) print line[i] }' "$trace" |
  grep -oE '^(isavi_CloseAVI|is_InitCamera|is_SetBrightness|is_ExitCamera)' | uniq | tr '\n' ' ')
[ "$after" = "isavi_CloseAVI is_ExitCamera is_InitCamera is_SetBrightness is_ExitCamera " ] || fail "after SIGINT: $after"
cmp "$config" "$work/res/config.xml" || fail "SIGINT changed res/config.xml"
echo "nimbrel-check test passed"
