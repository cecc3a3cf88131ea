#!/usr/bin/env bash
# Installs the package into a temporary prefix, builds the example host out of
# tree against it, and runs the host's checks. Also builds against the build tree.
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build_dir" --prefix "$work/prefix" > /dev/null
test -f "$work/prefix/share/Nimbrel_model/config.xml"
ls "$work/prefix/lib/"libNimbrel_model.so.1* > /dev/null

cmake -S "$source_dir/examples/host" -B "$work/host" -DCMAKE_PREFIX_PATH="$work/prefix" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$work/host" -j 2 > /dev/null
host="$work/host/example-host"

export UESIM_FAIL= UESIM_TRACE=
UESIM_CAMERA=SIM1280-C "$host" cameras
UESIM_CAMERA=none "$host" none
UESIM_CAMERA=SIM1280-C UESIM_FAIL=is_StopLiveVideo=3 "$host" exit-failure
UESIM_CAMERA=SIM1280-C "$host" config
UESIM_CAMERA=SIM1280-C "$host" controls
UESIM_CAMERA=SIM1280-C "$host" record "$work/two.avi"
probe=$(ffprobe -v error -select_streams v:0 -count_packets \
  -show_entries stream=codec_name,width,height,r_frame_rate,nb_read_packets -of default=nw=1 "$work/two.avi")
echo "$probe"
grep -qx 'codec_name=mjpeg' <<< "$probe"
grep -qx 'width=1280' <<< "$probe"
grep -qx 'height=1024' <<< "$probe"
grep -qx 'r_frame_rate=25/1' <<< "$probe"
grep -qx 'nb_read_packets=50' <<< "$probe"

# The same package straight from the build tree.
cmake -S "$source_dir/examples/host" -B "$work/host-tree" -DNimbrel_model_DIR="$build_dir" > /dev/null
cmake --build "$work/host-tree" -j 2 > /dev/null
UESIM_CAMERA=SIM1280-C "$work/host-tree/example-host" cameras > /dev/null
echo "package test passed"
