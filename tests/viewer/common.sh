# Shared by the viewer's GUI tests: a private copy of the configuration, a
# headless X server, and waiting with a wall-clock bound.
# shellcheck shell=bash
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    for f in "${work:-/nonexistent}"/out "${work:-/nonexistent}"/err; do
        [ -f "$f" ] && { echo "--- $f" >&2; cat "$f" >&2; }
    done
    exit 1
}

# A temporary folder holding res/config.xml, removed on exit; sets $work.
make_work() {
    local config=$1
    work=$(mktemp -d "${TMPDIR:-/tmp}/nimbrel-viewer-test.XXXXXX")
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/res"
    if [ -n "$config" ]; then cp "$config" "$work/res/config.xml"; fi
}

# Runs "$@" under a fresh Xvfb (screen NIMBREL_SCREEN, default 1280x1024x24);
# tries again once when the server itself fails to start (several tests may
# race for a display number).
headless() {
    local attempt status
    for attempt in 1 2; do
        status=0
        xvfb-run -a -s "-screen 0 ${NIMBREL_SCREEN:-1280x1024x24}" "$@" 2>"$work/xvfb-err" || status=$?
        cat "$work/xvfb-err" >&2
        [ "$status" -ne 0 ] || return 0
        # Xvfb that did not start, or xvfb-run failing to remove its own
        # temporary folder (which hides the viewer's status): run it again.
        grep -qE "Xvfb failed to start|problem while cleaning up temporary directory" "$work/xvfb-err" ||
            return "$status"
        echo "retrying: xvfb-run failed around the viewer (attempt $attempt)" >&2
        sleep 1
    done
    return 1
}

# Waits until "$@" succeeds, at most $1 seconds of wall-clock time.
wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# The title of the viewer's top-level window, once it is mapped.
viewer_title() {
    xwininfo -root -tree | sed -n 's/^ *0x[0-9a-f]* "\(Nimbrel[^"]*\)".*/\1/p' | head -n 1
}

# No wxWidgets assertion was printed (they would have opened a dialog).
check_no_asserts() {
    if grep -q "assertion failed" "$work/err"; then fail "wxWidgets asserted"; fi
}

export NO_AT_BRIDGE=1 NIMBREL_NO_DIALOGS=1
