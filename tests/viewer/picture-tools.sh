#!/usr/bin/env bash
# The histogram follows the gain, a snapshot is the sensor's full picture, and
# the 1:1 zoom shows the test pattern's colour bars (160 sensor pixels wide)
# unscaled; in English and in French.
# Usage: picture-tools.sh VIEWER CONFIG_XML
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
viewer=$1

if [ -z "${NIMBREL_INNER:-}" ]; then
    make_work "$2"
    export NIMBREL_INNER=1 work
    headless bash "$0" "$@"
    exit
fi

language() { sed -i "s|<Language>[^<]*</Language>|<Language>$1</Language>|" "$work/res/config.xml"; }
area_of() { sed -n "s/.*$1 area on screen \([0-9-]*\) \([0-9-]*\) \([0-9]*\) \([0-9]*\).*/\3x\4+\1+\2/p" "$work/out"; }
announced() { [ -n "$(area_of "$1")" ]; }
# Lengths of the whole runs of one colour along a line of the screen (the
# partial runs at both ends left out), into $work/runs; true once there are some.
bars_drawn() {
    import -window root -crop "$1" +repage txt:- | sed -n 's/.*srgb(\([0-9,]*\)).*/\1/p' | uniq -c |
        awk 'NR > 1 { print $1 }' | sed '$d' >"$work/runs"
    [ -s "$work/runs" ]
}
drawn() { awk -v s="$(import -window root -crop "$1" +repage png:- | convert - -format "%[fx:standard_deviation]" info:)" \
    'BEGIN { exit !(s > 0.02) }'; }

# Histogram: drawn, and its mean follows the gain (0, then 100: three times the signal).
for gain in 0 100; do
    "$viewer" --app-dir "$work" --gain "$gain" --quit-after 3 >"$work/out" 2>"$work/err" &
    pid=$!
    wait_for 15 announced histogram || fail "gain $gain: no histogram shown"
    crop=$(area_of histogram)
    wait_for 5 drawn "$crop" || fail "gain $gain: the histogram stays empty"
    wait "$pid" || fail "gain $gain: the viewer exited with status $?"
    mean=$(sed -n 's/.*histogram mean \([0-9.]*\),.*/\1/p' "$work/out")
    echo "gain $gain: histogram mean $mean"
    eval "mean_$gain=$mean"
    check_no_asserts
done
awk -v a="$mean_0" -v b="$mean_100" 'BEGIN { exit !(b > a + 10) }' ||
    fail "the histogram did not follow the gain"

# Snapshots: PNG in English, JPEG in French, each the sensor's full size.
for case in "English shot.png PNG" "French shot.jpg JPEG"; do
    read -r lang file type <<<"$case"
    language "$lang"
    "$viewer" --app-dir "$work" --snapshot "$work/$file" >"$work/out" 2>"$work/err" || fail "$file: status $?"
    grep -q "snapshot saved to $work/$file" "$work/out" || fail "$file: no notice"
    [ "$(identify -format "%m %w %h" "$work/$file")" = "$type 1280 1024" ] || fail "$file is not a 1280 x 1024 $type"
    check_no_asserts
done

# 1:1 zoom: along a line of the colour bars every whole bar is 160 screen pixels wide.
for case in "English Zoom" "French Agrandissement"; do
    read -r lang word <<<"$case"
    language "$lang"
    "$viewer" --app-dir "$work" --zoom 1 --quit-after 3 >"$work/out" 2>"$work/err" &
    pid=$!
    wait_for 15 announced picture || fail "$lang: no picture shown"
    read -r w h x y < <(area_of picture | tr 'x+' '  ')
    wait_for 5 bars_drawn "${w}x1+${x}+$((y + h - 8))" || fail "$lang: no colour bars on screen"
    runs=$(sort -u "$work/runs")
    wait "$pid" || fail "$lang: the viewer exited with status $?"
    [ -n "$runs" ] && [ "$runs" = 160 ] || fail "$lang: bars of $(echo $runs) screen pixels, not 160"
    grep -q "^nimbrel-viewer: status .*$word 1:1" "$work/out" || fail "$lang: the status bar does not show the zoom"
    check_no_asserts
done
echo "PASS"
