#!/usr/bin/env bash
# Drives controls through their own event handlers (--selftest-control: the
# same code a click runs) and checks that each then shows what the camera
# reports; then the pixel clock optimisation, whose end comes from a worker
# thread. Run for a colour and a monochrome camera, on a 1280 x 800 screen:
# the window fits it and every panel of the sidebar can be scrolled into view.
# Usage: controls.sh VIEWER CONFIG_XML
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
viewer=$1
config=$2

if [ -z "${NIMBREL_INNER:-}" ]; then
    make_work "$config"
    export NIMBREL_INNER=1 work
    NIMBREL_SCREEN=1280x800x24 headless bash "$0" "$@"
    exit
fi

for camera in SIM1280-C SIM1280-M; do
    status=0
    "$viewer" --app-dir "$work" --camera "$camera" --selftest-control --quit-after 20 \
        >"$work/out" 2>"$work/err" || status=$?
    grep "^selftest" "$work/out" | sed "s/^/$camera: /"
    [ "$status" -eq 0 ] || fail "$camera: the viewer exited with status $status"
    for control in layout auto-gain exposure frame-rate master-gain brightness area; do
        grep -q "^selftest $control: .*: ok$" "$work/out" || fail "$camera: $control"
    done
    grep -q "^selftest optimise: ended, .*enabled again: ok$" "$work/out" || fail "$camera: optimisation"
    grep -q "^selftest: passed$" "$work/out" || fail "$camera: self-test"
    check_no_asserts
done
# Moving controls does not save them.
cmp -s "$config" "$work/res/config.xml" || fail "the configuration file was changed"
echo "PASS"
