#!/usr/bin/env bash
# Two tools saving presets into one settings folder at once, round after
# round: a tool that finds the file in use saves nothing and names the one
# holding it; afterwards the file holds, value by value, the preset of every
# tool that said it saved, and none of the others.
# Usage: settings_writers.sh BIN_DIR CONFIG_XML [ROUNDS]
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../viewer/common.sh"
bin=$1
config=$2
rounds=${3:-20}
make_work "$config"
export UESIM_FAIL= UESIM_TRACE=

# The user values of one camera in the file, "Name=value" one per line.
preset_of() {
    /usr/bin/python3 - "$work/res/config.xml" "$1" <<'PY'
import sys, xml.etree.ElementTree as tree
element = tree.parse(sys.argv[1]).getroot().find("CameraSettings/" + sys.argv[2])
for child in element if element is not None else []:
    if child.tag.startswith("User"):
        print(f"{child.tag}={(child.text or '').strip()}")
PY
}

# Checks what one tool said against the file: $1 camera, $2 gain, $3 status, $4 words.
check_tool() {
    local camera=$1 gain=$2 status=$3 words=$4 preset
    preset=$(preset_of "$camera")
    if [ "$status" -eq 0 ]; then
        grep -q "saved the current settings as the user preset of $camera" <<<"$words" || fail "$camera: $words"
        [ "$(wc -l <<<"$preset")" -eq 10 ] || fail "$camera said saved, the file holds: $preset"
        grep -qx "UserMasterGain=$gain" <<<"$preset" || fail "$camera: gain $gain not in: $preset"
    else
        [ "$status" -eq 1 ] || fail "$camera: exit $status: $words"
        grep -Eq "cannot save the user preset: .*config.xml is in use by nimbrel-demo \(pid [0-9]+\)" <<<"$words" ||
            fail "$camera: $words"
        [ -z "$preset" ] || fail "$camera saved nothing, yet the file holds: $preset"
    fi
}

held=0
for round in $(seq "$rounds"); do
    cp "$config" "$work/res/config.xml"
    gain_a=$((round + 10)) gain_b=$((round + 40))
    "$bin/nimbrel-demo" --app-dir "$work" --camera SIM1280-C --gain "$gain_a" --save-preset >"$work/a" 2>&1 &
    a=$!
    "$bin/nimbrel-demo" --app-dir "$work" --camera SIM2592-C --gain "$gain_b" --save-preset >"$work/b" 2>&1 &
    b=$!
    status_a=0 status_b=0
    wait "$a" || status_a=$?
    wait "$b" || status_b=$?
    [ "$status_a" -eq 0 ] || [ "$status_b" -eq 0 ] || fail "round $round: neither saved"
    check_tool SIM1280-C "$gain_a" "$status_a" "$(tr '\n' ' ' <"$work/a")"
    check_tool SIM2592-C "$gain_b" "$status_b" "$(tr '\n' ' ' <"$work/b")"
    [ $((status_a + status_b)) -eq 0 ] || held=$((held + 1))
done
echo "PASS: $rounds rounds, $held with one tool refused while the other held the file"
