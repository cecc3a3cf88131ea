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

for camera in SIM1280-C SIM1280-M SIM2592-C SIM4912-M; do
  status=$(UESIM_CAMERA=$camera status_of "$checker" --app-dir "$work")
  [ "$status" -eq 0 ] || { cat "$work/out"; fail "$camera exited $status"; }
  cmp "$config" "$work/res/config.xml" || fail "$camera changed res/config.xml"
done

status=$(UESIM_CAMERA=SIM1280-C UESIM_FAIL=is_SetGamma=3 status_of "$checker" --app-dir "$work" --json "$work/r.json")
[ "$status" -eq 1 ] || fail "is_SetGamma failing: exit $status"
grep -q '^open-close  *FAIL .*is_SetGamma failed with status 3$' "$work/out" || { cat "$work/out"; fail "no is_SetGamma 3"; }
# The preset check has no preset to look at; every other check fails.
[ "$(grep -cE ' (FAIL|SKIP) ' "$work/out")" -eq "$checks" ] || fail "not every check ran"
grep -q '^preset  *SKIP .*no user preset stored for SIM1280-C$' "$work/out" || fail "preset check"
grep -q "\"failed\": $((checks - 1))" "$work/r.json" || fail "JSON report"

for arguments in "--only no-such-check" "--json" "--frobnicate"; do
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
