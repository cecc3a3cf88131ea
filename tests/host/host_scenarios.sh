#!/usr/bin/env bash
# The three hosts in the field, as one table of scenarios: each row runs on
# every host it names, as a child process with its own settings folder, and
# checks the exit status, the words on the terminal and what is left on disk.
# Usage: host_scenarios.sh console|viewer BIN_DIR CONFIG_XML
# "console" runs the demo's and the checker's rows, "viewer" the viewer's
# (under Xvfb). A full file system needs root (a small tmpfs): without it those
# rows are skipped with a message.
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
# The folder is the outer run's to remove when the viewer's rows run inside Xvfb.
trap 'for m in "${mounted[@]}"; do umount "$m"; done; [ -n "${NIMBREL_INNER:-}" ] || rm -rf "$work"' EXIT

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
demo viewer; full disk while recording; full; run; 1; isavi_AddFrame failed.*@/small/x.avi keeps [1-9][0-9]* frames.*@/small is full; kept; --record @/small/x.avi --seconds 20
demo viewer; failed frame; -; run:UESIM_FAIL=isavi_AddFrame@5=7; 1; isavi_AddFrame failed with status 7.*x.avi keeps 4 frames; finished:4; --record x.avi --seconds 2
demo viewer; failed frame, failed first stop; -; run:UESIM_FAIL=isavi_AddFrame@5=7,isavi_StopAVI@1=300; 1; x.avi keeps 4 frames; finished:4; --record x.avi --seconds 2
demo viewer; closed terminal; -; signal:HUP; 130; -; finished:+; --record x.avi --seconds 30
demo; Ctrl-C; -; signal:INT; 130; recording stopped by SIGINT .*camera closed .*interrupted by SIGINT; summary; --record x.avi --seconds 30
check; closed terminal; -; signal:HUP; 130; interrupted by SIGHUP; closed; --only recording
demo; closed pipe on the output; -; pipe; 0; -; finished:+; --record x.avi --seconds 2
demo viewer; recording rate and replay rate; -; run; 0; -; rate:10:20; --record x.avi --seconds 2 --record-fps 10
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
    full)
        [ "$(id -u)" -eq 0 ] || return 1
        mkdir "$dir/small" && mount -t tmpfs -o size=3m tmpfs "$dir/small" && mounted+=("$dir/small")
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
    untouched) [ ! -s "$trace" ] || ! grep -q '^is_InitCamera' "$trace" || return 1 ;;
    closed) [ "$(grep -oE '^is_(InitCamera|ExitCamera)' "$trace" | tail -n 1)" = is_ExitCamera ] || return 1 ;;
    preset-gone) ! grep -q '<User' "$dir/app/res/config.xml" || return 1 ;;
    kept)
        # The file holds at least the frames the words say it kept.
        local said
        said=$(grep -oE '(keeps|garde) [0-9]+' <<<"$words" | grep -oE '[0-9]+$')
        [ "$(frames_of "$dir/small/x.avi" | cut -d, -f2)" -ge "$said" ] || return 1
        ;;
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
        # 2 s at 10 fps: 20 frames or one more, played at 10 fps.
        local rate=${after#rate:} frames
        rate=${rate%%:*}
        frames=$(frames_of "$dir/x.avi")
        [[ "$frames" =~ ^(${after##*:}|$((${after##*:} + 1))),[0-9]+$ ]] || return 1
        [ "$(ffprobe -v error -select_streams v:0 -show_entries stream=r_frame_rate -of csv=p=0 "$dir/x.avi")" = "$rate/1" ] ||
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
    pipe)
        (cd "$dir" && env "${env[@]}" "$program" "${args[@]}" 2>"$dir/words" | head -n 3 >/dev/null
            exit "${PIPESTATUS[0]}") || status=$?
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
            echo "SKIP $host: $name (a full file system needs root for its tmpfs)"
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
        verify_after "$dir" "$after" "$words" || fail "$host: $name: $after does not hold ($(frames_of "$dir/x.avi")): $words"
        ! grep -q "assert" "$dir/words" || fail "$host: $name: wxWidgets asserted: $words"
        echo "ok $host: $name"
        passed=$((passed + 1))
    done
done <<<"$scenarios"
echo "PASS: $passed scenarios, $skipped skipped"
