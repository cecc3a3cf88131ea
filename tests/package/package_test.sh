#!/usr/bin/env bash
# Installs the package into a temporary prefix, builds the example host out of
# tree against it, and runs the host's checks. Also builds against the build
# tree, and as a dependency of another project, by add_subdirectory and by
# FetchContent from a local archive.
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build_dir" --prefix "$work/prefix" > /dev/null
test -f "$work/prefix/share/nimbrel-model/config.xml"
test -f "$work/prefix/include/Nimbrel_model/Version.h"
cmake_dir=$(dirname "$(find "$work/prefix" -name Nimbrel_modelConfig.cmake)")
ls "$cmake_dir"/../../libNimbrel_model.so.1* > /dev/null
# The package finds wxWidgets again instead of naming the build machine's.
! grep -q "wx-3\|wx/include" "$cmake_dir"/Nimbrel_modelTargets*.cmake
# Nor does it name this machine's folders.
! grep -rlF -e "$source_dir" -e "$(realpath "$build_dir")" "$cmake_dir" "$work/prefix/lib" --include='*.cmake' --include='*.pc'

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
# The console host as docs/writing-a-host.md builds it through pkg-config.
pc_dir=$(dirname "$(find "$work/prefix" -name nimbrel_model-console.pc)")
mkdir -p "$work/pc/res"
cp "$work/prefix/share/nimbrel-model/config.xml" "$work/pc/res/"
PKG_CONFIG_PATH=$pc_dir sh -c 'c++ -std=c++17 -o "$1" "$2" $(pkg-config --cflags --libs nimbrel_model-console)' _ \
  "$work/pc/example-host" "$source_dir/examples/host/main.cpp"
UESIM_CAMERA=SIM1280-C LD_LIBRARY_PATH=$(dirname "$pc_dir") "$work/pc/example-host" record "$work/pc.avi"
grep -qx 'nb_read_packets=50' <<< "$(ffprobe -v error -select_streams v:0 -count_packets \
  -show_entries stream=nb_read_packets -of default=nw=1 "$work/pc.avi")"

# The same package straight from the build tree.
cmake -S "$source_dir/examples/host" -B "$work/host-tree" -DNimbrel_model_DIR="$build_dir" > /dev/null
cmake --build "$work/host-tree" -j 2 > /dev/null
UESIM_CAMERA=SIM1280-C "$work/host-tree/example-host" cameras > /dev/null
# As a dependency: only the module's own targets, the consumer's warnings its
# own, the version header from the project's version. Both copies lie at the
# same depth, so that ccache serves the second build from the first; both are
# unity builds, which take half the time of building the module file by file.
version=$(sed -n 's/^project(Nimbrel_model VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
(cd "$source_dir" && git ls-files --cached --others --exclude-standard 2>/dev/null ||
  find . -path ./.git -prune -o -path './build*' -prune -o -type f -print) |
  tar -C "$source_dir" -czf "$work/nimbrel.tar.gz" -T -
mkdir -p "$work/a/src"
tar -C "$work/a/src" -xzf "$work/nimbrel.tar.gz"
launcher=()
if command -v ccache > /dev/null; then
  export CCACHE_BASEDIR=$work CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
for way in "a -DNIMBREL_SOURCE_DIR=$work/a/src" "b -DNIMBREL_ARCHIVE=$work/nimbrel.tar.gz"; do
  set -- $way
  cmake -S "$source_dir/tests/package/consumer" -B "$work/$1/build" "$2" -DCMAKE_UNITY_BUILD=ON "${launcher[@]}" > /dev/null
  if cmake --build "$work/$1/build" --target help | grep -E '_tests$|bench_|nimbrel-(demo|viewer|check)|docs$'; then
    echo "a consumer gets our tests, benchmarks, tools or docs" >&2
    exit 1
  fi
  cmake --build "$work/$1/build" -j 2 > "$work/$1/build.log" 2>&1 || { cat "$work/$1/build.log"; exit 1; }
  grep -q "Wunused-variable" "$work/$1/build.log"
  grep -qx "$version $version 1" <<< "$("$work/$1/build/consumer")"
done
echo "package test passed"
