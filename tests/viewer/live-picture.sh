#!/usr/bin/env bash
# The window opens with an English title and shows the simulator's moving test
# pattern: two screenshots of the picture area a second apart are neither blank
# nor equal. Usage: live-picture.sh VIEWER CONFIG_XML
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
viewer=$1

if [ -z "${NIMBREL_INNER:-}" ]; then
    make_work "$2"
    sed -i 's|<Language>[^<]*</Language>|<Language>English</Language>|' "$work/res/config.xml"
    export NIMBREL_INNER=1 work
    headless bash "$0" "$@"
    exit
fi

"$viewer" --app-dir "$work" --quit-after 6 >"$work/out" 2>"$work/err" &
pid=$!
window_open() { [ -n "$(viewer_title)" ]; }
wait_for 15 window_open || fail "no window titled Nimbrel appeared"
title=$(viewer_title)
case "$title" in "Nimbrel viewer"*SIM1280-C) ;; *) fail "unexpected title: $title" ;; esac

picture_shown() { grep -q "picture area on screen" "$work/out"; }
wait_for 15 picture_shown || fail "no picture was drawn"
read -r x y w h < <(sed -n 's/.*picture area on screen \([0-9-]*\) \([0-9-]*\) \([0-9]*\) \([0-9]*\).*/\1 \2 \3 \4/p' "$work/out")
[ "$w" -gt 100 ] && [ "$h" -gt 100 ] || fail "picture area too small: ${w}x${h}"

# Inside the drawn picture, away from its edges.
crop="$((w - 8))x$((h - 8))+$((x + 4))+$((y + 4))"
sleep 0.5
import -window root -crop "$crop" +repage "$work/first.png"
sleep 1
import -window root -crop "$crop" +repage "$work/second.png"

spread=$(convert "$work/first.png" -format "%[fx:standard_deviation]" info:)
changed=$(compare -metric AE "$work/first.png" "$work/second.png" null: 2>&1 || true)
echo "picture ${w}x${h} at $x,$y: standard deviation $spread, pixels changed in 1 s: $changed"
awk -v s="$spread" 'BEGIN { exit !(s > 0.1) }' || fail "the picture looks blank (standard deviation $spread)"
awk -v c="$changed" -v n="$((w * h / 100))" 'BEGIN { exit !(c + 0 > n) }' ||
    fail "the picture did not move ($changed pixels changed)"

wait "$pid" || fail "the viewer exited with status $?"
check_no_asserts
if grep -q "^nimbrel-viewer:" "$work/err"; then fail "the viewer reported an error"; fi
echo "PASS"
