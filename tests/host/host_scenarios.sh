#!/usr/bin/env bash
# The three hosts in the field, as one table of scenarios: each row runs on
# every host it names, as a child process with its own settings folder, and
# checks the exit status, the words on the terminal and what is left on disk.
# Usage: host_scenarios.sh console|viewer BIN_DIR CONFIG_XML
# "console" runs the demo's and the checker's rows, "viewer" the viewer's
# (under Xvfb). A full or read-only file system needs root (a small tmpfs), and
# a folder a normal user may not write needs root to run as nobody: without
# root those rows are skipped with a message.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../viewer/common.sh"
kind=$1
bin=$2
config=$3

if [ "$kind" = viewer ] && [ -z "${NIMBREL_INNER:-}" ]; then
    make_work ""
    export NIMBREL_INNER=1 work
    headless bash "$0" "$@"
    exit
fi
[ -n "${work:-}" ] || make_work ""
export UESIM_CAMERA=SIM1280-C UESIM_FAIL= UESIM_TRACE=
mounted=()
lockers=()
# The folder is the outer run's to remove when the viewer's rows run inside Xvfb.
trap 'for p in "${lockers[@]}"; do kill "$p" 2>/dev/null || true; done; for m in "${mounted[@]}"; do umount "$m"; done
    [ -n "${NIMBREL_INNER:-}" ] || rm -rf "$work"' EXIT

# hosts; scenario; setup; how it runs; status; words expected (ERE, on stdout and
# stderr joined into one line; - for none); what must hold afterwards;
# arguments, where @ stands for the row's folder and %task for a short job of
# the host's own (a snapshot, or the checker's open-close check).
scenarios=$(cat <<'EOF'
demo check viewer; help without a display; -; nodisplay; 0; Usage: nimbrel-[a-z]+ \[--; -; --help
demo check viewer; unknown option; -; run; 2; ^nimbrel-[a-z]+: unknown option '--frobnicate'. see nimbrel-[a-z]+ --help $; untouched; --frobnicate
demo check viewer; unknown camera; -; run; 2; unknown camera 'SIM9999-X' \(known: SIM1280-C; untouched; --camera SIM9999-X %task
demo check viewer; camera id without a camera; -; run; 1; is_InitCamera failed with status 3; -; --camera 7 %task
demo; camera by id; -; run:UESIM_CAMERAS=SIM1280-C,SIM1280-M; 0; SIM1280-M; closed; --camera 2 %task
demo viewer; empty recording path; -; run; 2; ^nimbrel-[a-z]+: --record needs a FILE, not an empty text; untouched; --record ''
demo viewer; absurd length; -; run; 2; --seconds takes a number from 0 to 86400, not '1e308'; untouched; --record x.avi --seconds 1e308
demo viewer; absurd camera rate; -; run; 2; --fps takes a number above 0 and up to 1000, not '1e9'; untouched; --fps 1e9
demo viewer; negative size; -; run; 2; --max-size takes a number above 0 and up to 1048576, not '-1'; untouched; --record x.avi --max-size -1
demo viewer; replay rate 0; -; run; 2; --replay takes a whole number from 1 to 1000, not '0'; untouched; --record x.avi --replay 0
demo viewer; recording rate above 1000; -; run; 2; --record-fps takes a number above 0 and up to 1000; untouched; --record x.avi --record-fps 1001
demo check viewer; settings file is a FIFO; fifo; run; 1; nimbrel-[a-z]+: .{0,80}@/app/res/config.xml'?: it is a FIFO \(named pipe\), not a regular file; -; %task
demo check viewer; settings file is /dev/zero; device; run; 1; @/app/res/config.xml'?: it is a character device, not a regular file; -; %task
demo check viewer; settings file is a folder; folder; run; 1; @/app/res/config.xml'?: it is a directory, not a regular file; -; %task
demo check viewer; failed opening closes the camera; -; run:UESIM_FAIL=is_GetSensorInfo=3; 1; is_GetSensorInfo failed with status 3; closed; %task
demo check viewer; half-saved preset is named; preset; run; 1; is_SetImageSize failed with status 125.*preset is stored for SIM1280-C and may be why; closed; %task
check; half-saved preset is a finding; preset; run; 1; preset +FAIL .*preset of SIM1280-C is incomplete.*lacks UserRedGain, .*UserWidth, UserHeight; closed; --only preset,open-close
demo viewer; half-saved preset is reset; preset; run; 0; deleted the preset of SIM1280-C|the preset was removed; preset-gone; --reset-preset %task
demo viewer; full disk while recording; full; run; 1; disk holding @/small was nearly full .*@/small/x.avi could be finished. it keeps [1-9][0-9]* frames; kept; --record @/small/x.avi --seconds 20
demo viewer; full disk, a big sensor; full; run:UESIM_CAMERA=SIM4912-M; 1; disk holding @/small was nearly full .*it keeps [1-9][0-9]* frames; kept; --record @/small/x.avi --seconds 20
demo viewer; full disk, small frames the writer buffers; full; run:UESIM_CAMERA=SIM1280-M; 1; disk holding @/small was nearly full .*it keeps [1-9][0-9]* frames; kept; --record @/small/x.avi --seconds 20 --record-fps 100
demo viewer; recording into a FIFO; fifo-target; run; 2; --record cannot write there: '@/t.avi' is a FIFO \(named pipe\); untouched; --record @/t.avi
demo viewer; recording into a device; -; run; 2; --record cannot write there: '/dev/null' is a character device; untouched; --record /dev/null
demo viewer; recording into a folder; -; run; 2; --record cannot write there: '@' is a directory; untouched; --record @
demo viewer; recording rate that takes no frame; -; run; 2; --record-fps 0.001 takes no frame within 5 s: it needs at least 0.2; untouched; --record x.avi --record-fps 0.001
demo; recording that ends with no frame; -; run; 1; size limit before its first frame: @/x.avi holds no frame; -; --record x.avi --max-size 0.5
demo check viewer; misspelt injected failure; -; run:UESIM_FAIL=isavi_AddFrme=3; 2; UESIM_FAIL names 'isavi_AddFrme', which is no function; untouched; %task
demo viewer; preset saved while another tool holds the settings; held; run; 1; cannot save the user preset: @/app/res/config.xml is in use by nimbrel-viewer \(pid 4242\); as-shipped; --save-preset
demo viewer; failed frame; -; run:UESIM_FAIL=isavi_AddFrame@5=7; 1; isavi_AddFrame failed with status 7.*x.avi keeps 4 frames; finished:4; --record x.avi --seconds 2
demo viewer; failed frame, failed first stop; -; run:UESIM_FAIL=isavi_AddFrame@5=7,isavi_StopAVI@1=300; 1; x.avi keeps 4 frames; finished:4; --record x.avi --seconds 2
demo viewer; closed terminal; -; signal:HUP; 130; -; finished:+; --record x.avi --seconds 30
viewer; display killed while recording; -; display-killed; 1; lost the connection to the display :[0-9]+ .*the recording was stopped: (@/)?x.avi keeps [1-9][0-9]* frames; finished:+; --record x.avi --seconds 30
demo; Ctrl-C; -; signal:INT; 130; recording stopped by SIGINT .*camera closed .*interrupted by SIGINT; summary; --record x.avi --seconds 30
check; closed terminal; -; signal:HUP; 130; interrupted by SIGHUP; closed; --only recording
demo; closed pipe on the output; -; pipe; 0; -; finished:+; --record x.avi --seconds 2
demo viewer; recording rate and replay rate; -; run; 0; -; rate:10:20; --record x.avi --seconds 2 --record-fps 10
demo viewer; fps below the range of the camera; -; run; 2; --fps 0.4 is outside the camera's range, 0.5 to 62.5[0-9]* fps; never:is_SetFrameRate(1, 0.4,; --fps 0.4
demo viewer; fps above the range of the camera; -; run; 2; --fps 62.6 is outside the camera's range, 0.5 to 62.5[0-9]* fps; never:is_SetFrameRate(1, 62.6,; --fps 62.6
demo viewer; fps and gain at their minimum; -; run; 0; -; reached:is_SetFrameRate(1, 0.5,:is_SetHardwareGain(1, 0,; --fps 0.5 --gain 0
demo viewer; fps and gain at their maximum; -; run; 0; -; reached:is_SetFrameRate(1, 62.5,:is_SetHardwareGain(1, 100,; --fps 62.5 --gain 100
demo viewer; fps nan; -; run; 2; --fps takes a number; untouched; --fps nan
demo viewer; fps -1; -; run; 2; --fps takes a number; untouched; --fps -1
demo viewer; gain -1, the leave-it value of the camera; -; run; 2; --gain takes a whole number from 0 to 100; untouched; --gain -1
demo viewer; gain above its range; -; run; 2; --gain takes a whole number from 0 to 100; untouched; --gain 101
demo viewer; gain nan; -; run; 2; --gain takes a whole number; untouched; --gain nan
demo; exposure below the range of the camera; -; run; 2; --exposure 0.005 is outside the camera's range, 0.01 to 40 ms; never:is_SetExposureTime(1, 0.005,; --exposure 0.005
demo; exposure above the range of the camera; -; run; 2; --exposure 40.01 is outside the camera's range, 0.01 to 40 ms; never:is_SetExposureTime(1, 40.01,; --exposure 40.01
demo; exposure and area at their minimum; -; run; 0; -; reached:is_SetExposureTime(1, 0.01,:is_SetImageSize(1, 32, 4); --aoi 32x4 --exposure 0.01
demo; exposure and area at their maximum; -; run; 0; -; reached:is_SetExposureTime(1, 40,:is_SetImageSize(1, 1280, 1024); --aoi 1280x1024 --exposure 40
demo; exposure nan; -; run; 2; --exposure takes a number; untouched; --exposure nan
demo; exposure -1; -; run; 2; --exposure takes a number; untouched; --exposure -1
demo; area wider than the sensor; -; run; 2; --aoi width 9999 is outside the camera's range, 32 to 1280 pixels, in steps of 4; never:is_SetImageSize(1, 9996, 9998); --aoi 9999x9999
demo; area below the smallest; -; run; 2; --aoi height 2 is outside the camera's range, 4 to 1024 pixels, in steps of 2; never:is_SetImageSize(1, 640, 2); --aoi 640x2
demo; area -1; -; run; 2; --aoi takes WIDTHxHEIGHT; untouched; --aoi -1x480
demo viewer; snapshot of another format; -; run; 2; --snapshot needs a file name ending in .png, .jpg or .jpeg; untouched; --snapshot s.bmp
demo; snapshot as PNG; -; run; 0; snapshot @/s.png: [0-9]+x[0-9]+ PNG; png:@/s.png; --snapshot s.png
viewer; language not chosen, French locale; system-language; run:LANG=fr_FR.UTF-8; 0; status Capteur SIM1280-C; -; 
viewer; language not chosen, C locale; system-language; run:LANG=C.UTF-8; 0; status Sensor SIM1280-C; -; 
demo viewer; recording into a missing folder; -; run; 1; cannot write the recording @/none/x.avi: the folder @/none does not exist: No such file or directory; absent:@/none; --record @/none/x.avi --seconds 1
demo viewer; recording onto a folder; folder-file; run; 2; --record cannot write there: '@/x.avi' is a directory; -; --record @/x.avi --seconds 1
demo viewer; recording on a read-only file system; readonly; run; 1; cannot write the recording @/ro/x.avi: Read-only file system; absent:@/ro/x.avi; --record @/ro/x.avi --seconds 1
demo; recording where the user may not write; locked; nobody; 1; cannot write the recording @/locked/x.avi: Permission denied; absent:@/locked/x.avi; --record @/locked/x.avi --seconds 1
demo; recording onto a full disk; filled; run; 1; @/small/x.avi.*(No space left on device|@/small is full); -; --record @/small/x.avi --seconds 1
demo viewer; snapshot into a missing folder; -; run; 1; snapshot @/none/s.png: the folder @/none does not exist: No such file or directory; absent:@/none; --snapshot @/none/s.png
demo viewer; snapshot onto a folder; folder-file; run; 1; snapshot @/x.png: Is a directory; -; --snapshot @/x.png
demo; snapshot on a read-only file system; readonly; run; 1; cannot write the snapshot @/ro/s.png: Read-only file system; absent:@/ro/s.png; --snapshot @/ro/s.png
demo; snapshot where the user may not write; locked; nobody; 1; cannot write the snapshot @/locked/s.png: Permission denied; absent:@/locked/s.png; --snapshot @/locked/s.png
demo; snapshot onto a full disk; filled; run; 1; cannot write the snapshot @/small/s.png: No space left on device; absent:@/small/s.png; --snapshot @/small/s.png
demo viewer; fractional rate kept for playback; -; run; 0; -; rate:25/2:10; --record x.avi --seconds 0.8 --record-fps 12.5
EOF
)

passed=0
skipped=0

# The row's folder: the settings beside it (in English, so that the viewer's
# words are the ones below), and whatever the setup adds.
prepare() {
    local dir=$1 setup=$2
    mkdir -p "$dir/app/res"
    sed 's|<Language>[^<]*</Language>|<Language>English</Language>|' "$config" >"$dir/app/res/config.xml"
    case $setup in
    fifo) rm "$dir/app/res/config.xml" && mkfifo "$dir/app/res/config.xml" ;;
    device) ln -sf /dev/zero "$dir/app/res/config.xml" ;;
    folder) rm "$dir/app/res/config.xml" && mkdir "$dir/app/res/config.xml" ;;
    # What a save cut short after its first value leaves.
    preset) sed -i 's|</SIM1280-C>|  <UserMasterGain>5</UserMasterGain>\n    </SIM1280-C>|' "$dir/app/res/config.xml" ;;
    fifo-target) mkfifo "$dir/t.avi" ;;
    # Another tool holding the settings file for as long as the row runs.
    held)
        echo "4242 nimbrel-viewer" >"$dir/app/res/config.xml.lock"
        # It waits for the lock: the check below holds it for a moment while it looks.
        (exec 9>>"$dir/app/res/config.xml.lock"; flock -w 5 9 || exit 1; exec sleep 60) &
        lockers+=($!)
        wait_for 5 bash -c "! flock -n '$dir/app/res/config.xml.lock' true"
        ;;
    full)
        [ "$(id -u)" -eq 0 ] || return 1
        mkdir "$dir/small" && mount -t tmpfs -o size=3m tmpfs "$dir/small" && mounted+=("$dir/small")
        ;;
    filled)
        [ "$(id -u)" -eq 0 ] || return 1
        mkdir "$dir/small" && mount -t tmpfs -o size=1m tmpfs "$dir/small" && mounted+=("$dir/small")
        dd if=/dev/zero of="$dir/small/filler" bs=64k 2>/dev/null || true
        ;;
    readonly)
        [ "$(id -u)" -eq 0 ] || return 1
        mkdir "$dir/ro" && mount -t tmpfs -o ro,size=1m tmpfs "$dir/ro" && mounted+=("$dir/ro")
        ;;
    folder-file) mkdir "$dir/x.avi" "$dir/x.png" ;;
    system-language) sed -i 's|<Language>[^<]*</Language>|<Language>System</Language>|' "$dir/app/res/config.xml" ;;
    # A folder a normal user may not write, and what that user needs to run at all.
    locked)
        [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1 || return 1
        mkdir "$dir/locked" "$dir/home" && chown nobody "$dir/home" && touch "$dir/trace" && chmod 666 "$dir/trace"
        chmod o+rx "$work" "$dir" "$dir/app" "$dir/app/res" && chmod o+r "$dir/app/res/config.xml"
        ;;
    esac
}

# Frames in a video as ffprobe reads them: "indexed,read".
frames_of() {
    ffprobe -v error -select_streams v:0 -count_packets -show_entries stream=nb_frames,nb_read_packets \
        -of csv=p=0 "$1" 2>/dev/null
}

verify_after() {
    local dir=$1 after=$2 words=$3 trace=$dir/trace
    case $after in
    -) ;;
    absent:*) [ ! -e "${after#absent:}" ] || return 1 ;;
    png:*) [ "$(head -c 4 "${after#png:}" | tail -c 3)" = PNG ] || return 1 ;;
    never:*) ! grep -qF -- "${after#never:}" "$trace" || return 1 ;;
    reached:*)
        local call calls=${after#reached:}
        while [ -n "$calls" ]; do
            call=${calls%%:*}
            grep -qF -- "$call" "$trace" || return 1
            [ "$call" != "$calls" ] || break
            calls=${calls#*:}
        done
        ;;
    untouched) [ ! -s "$trace" ] || ! grep -q '^is_InitCamera' "$trace" || return 1 ;;
    closed) [ "$(grep -oE '^is_(InitCamera|ExitCamera)' "$trace" | tail -n 1)" = is_ExitCamera ] || return 1 ;;
    preset-gone) ! grep -q '<User' "$dir/app/res/config.xml" || return 1 ;;
    kept)
        # A finished file, indexed, with the frames the words say it kept.
        local said
        said=$(grep -oE '(keeps|garde) [0-9]+' <<<"$words" | grep -oE '[0-9]+$')
        [ "$(frames_of "$dir/small/x.avi")" = "$said,$said" ] || return 1
        ;;
    as-shipped) cmp -s "$dir/app/res/config.xml" <(sed 's|<Language>[^<]*</Language>|<Language>English</Language>|' "$config") || return 1 ;;
    summary)
        # The frames the summary counts are the file's, indexed.
        local frames
        frames=$(frames_of "$dir/x.avi")
        grep -q "^  frames: *${frames%,*} " "$dir/words" && [ "${frames%,*}" = "${frames#*,}" ] || return 1
        ;;
    finished:+)
        local frames
        frames=$(frames_of "$dir/x.avi")
        [ "${frames%,*}" = "${frames#*,}" ] && [ "${frames#*,}" -gt 0 ] || return 1
        ;;
    finished:*) [ "$(frames_of "$dir/x.avi")" = "${after#finished:},${after#finished:}" ] || return 1 ;;
    rate:*)
        # L s at R fps: L x R frames or one more, played at R fps (a fraction kept).
        local rate=${after#rate:} frames
        rate=${rate%%:*}
        frames=$(frames_of "$dir/x.avi")
        [[ "$frames" =~ ^(${after##*:}|$((${after##*:} + 1))),[0-9]+$ ]] || return 1
        [[ $rate == */* ]] || rate=$rate/1
        [ "$(ffprobe -v error -select_streams v:0 -show_entries stream=r_frame_rate -of csv=p=0 "$dir/x.avi")" = "$rate" ] ||
            return 1
        ;;
    esac
}

# Runs one host in the row's folder; sets $status and leaves its words in $dir/words.
run_host() {
    local dir=$1 host=$2 mode=$3
    shift 3
    local program=$bin/nimbrel-$host args=("--app-dir" "$dir/app" "$@")
    # A viewer row that does not end by itself closes after a moment.
    if [ "$host" = viewer ] && [[ " $* " != *" --record "* && " $* " != *" --snapshot "* ]]; then
        args+=(--quit-after 2)
    fi
    local env=(UESIM_TRACE="$dir/trace")
    [[ $mode == run:* ]] && env+=("${mode#run:}")
    status=0
    case $mode in
    nodisplay) (cd "$dir" && env -u DISPLAY "$program" "${args[@]}") >"$dir/words" 2>&1 || status=$? ;;
    run*) (cd "$dir" && env "${env[@]}" timeout 90 "$program" "${args[@]}") >"$dir/words" 2>&1 || status=$? ;;
    nobody)
        (cd "$dir" && runuser -u nobody -- env HOME="$dir/home" "${env[@]}" timeout 90 "$program" "${args[@]}") \
            >"$dir/words" 2>&1 || status=$?
        ;;
    pipe)
        (cd "$dir" && env "${env[@]}" "$program" "${args[@]}" 2>"$dir/words" | head -n 3 >/dev/null
            exit "${PIPESTATUS[0]}") || status=$?
        ;;
    display-killed)
        # An X server of its own, killed once frames are being written.
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" 2>/dev/null &
        local server=$!
        disown "$server"  # its kill is no news
        wait_for 10 test -s "$dir/display" || return 1
        (cd "$dir" && exec env "${env[@]}" DISPLAY=":$(cat "$dir/display")" "$program" "${args[@]}") \
            >"$dir/words" 2>&1 &
        local pid=$!
        wait_for 60 grep -qs '^isavi_AddFrame' "$dir/trace" || { kill "$server" "$pid"; return 1; }
        sleep 0.5
        kill -KILL "$server"
        wait "$pid" || status=$?
        ;;
    signal:*)
        (cd "$dir" && exec env "${env[@]}" "$program" "${args[@]}") >"$dir/words" 2>&1 &
        local pid=$!
        # Once frames are being written.
        wait_for 60 grep -qs '^isavi_AddFrame' "$dir/trace" || return 1
        sleep 0.5
        kill -"${mode#signal:}" "$pid"
        wait "$pid" || status=$?
        ;;
    esac
}

row=0
while IFS=';' read -r hosts name setup mode expected words_re after args; do
    name=$(xargs <<<"$name") setup=$(xargs <<<"$setup") mode=$(xargs <<<"$mode") expected=$(xargs <<<"$expected")
    after=$(xargs <<<"$after")
    words_re=${words_re# }
    words_re=${words_re% }
    for host in $hosts; do
        case $kind:$host in console:demo | console:check | viewer:viewer) ;; *) continue ;; esac
        row=$((row + 1))
        dir=$work/$row
        mkdir -p "$dir"
        if ! prepare "$dir" "$setup"; then
            echo "SKIP $host: $name (needs root: a tmpfs, or a normal user to run as)"
            skipped=$((skipped + 1))
            continue
        fi
        case $host in
        demo) task="--snapshot s.jpg" ;;
        check) task="--only open-close" ;;
        viewer) task="--snapshot s.png" ;;
        esac
        line=${args//%task/$task}
        eval "set -- ${line//@/$dir}"
        run_host "$dir" "$host" "$mode" "$@" || fail "$host: $name: did not run as planned"
        words=$(tr '\n' ' ' <"$dir/words")
        [ "$status" -eq "$expected" ] || fail "$host: $name: exit status $status, expected $expected: $words"
        pattern=${words_re//@/$dir}
        [ "$pattern" = - ] || grep -Eq -- "$pattern" <<<"$words" || fail "$host: $name: expected /$pattern/, got: $words"
        verify_after "$dir" "${after//@/$dir}" "$words" || fail "$host: $name: $after does not hold ($(frames_of "$dir/x.avi")): $words"
        ! grep -q "assert" "$dir/words" || fail "$host: $name: wxWidgets asserted: $words"
        echo "ok $host: $name"
        passed=$((passed + 1))
    done
done <<<"$scenarios"
echo "PASS: $passed scenarios, $skipped skipped"
