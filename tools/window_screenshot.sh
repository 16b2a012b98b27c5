#!/usr/bin/env bash
# Takes a screenshot of the Quillfen window in the middle of a build, on a virtual X server.
#
#   tools/window_screenshot.sh [BUILD_DIR] [SHOT.png] [FRAME]
#
# Needs xvfb and xauth (apt-get install xvfb xauth). BUILD_DIR defaults to build/release and
# must hold tools/window-screenshot and tools/make-example-pictures; the example pictures are
# drawn first if they are missing. The Script runs from a temporary copy (its `moviefile` names
# a file next to the Script), so the movie is written there and removed afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
shot=$(realpath -m "${2:-$root/window-screenshot.png}")
frame=${3:-60}

[[ -d $root/examples/pictures ]] || "$build/tools/make-example-pictures" "$root/examples/pictures"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Settings of their own, so the user's Recent Scripts and output file stay untouched.
export XDG_CONFIG_HOME=$work/config
cp "$root/examples/demo.txt" "$work/demo.txt"
ln -s "$root/examples/pictures" "$work/pictures"
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1280x900x24" \
    "$build/tools/window-screenshot" "$work/demo.txt" "$work/demo.avi" "$shot" "$frame"
echo "screenshot: $shot"
