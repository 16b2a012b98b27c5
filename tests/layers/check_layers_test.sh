#!/usr/bin/env bash
# check_layers_test.sh SOURCE_DIR: the layer check passes on our sources, and fails, naming
# file, line and layer, on a copy with wrong includes planted in it.
set -euo pipefail
root=$(cd "$1" && pwd)
check=$root/tools/check-layers.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "check_layers_test: $*" >&2; exit 1; }

"$check" "$root/src" || fail "our own sources break a layer rule"

cp -r "$root/src" "$work/src"
echo '#include <libavcodec/avcodec.h>' >>"$work/src/output/frame_loop.cpp"
echo '#include "script/movie_settings.h"' >>"$work/src/imaging/frame_image.cpp"
echo '#include <QImage>' >>"$work/src/imaging/dib_ops.cpp"
echo '#include "app/app_settings.h"' >>"$work/src/timeline/movie_time.cpp"
echo '#  include "output/trace.h"' >>"$work/src/editor/text_buffer.h"
if out=$("$check" "$work/src" 2>&1); then fail "planted wrong includes passed: $out"; fi
for expected in "src/output/frame_loop.cpp:.*output layer.*libavcodec/avcodec.h" \
    "src/imaging/frame_image.cpp:.*imaging layer.*script/movie_settings.h" \
    "src/imaging/dib_ops.cpp:.*imaging layer.*QImage" \
    "src/timeline/movie_time.cpp:.*timeline layer.*app/app_settings.h" \
    "src/editor/text_buffer.h:.*editor layer.*output/trace.h"; do
    grep -q "$expected" <<<"$out" || fail "not reported: $expected; the check said: $out"
done
[[ $(grep -c 'layer may not include' <<<"$out") == 5 ]] || fail "more than the planted: $out"
echo "check_layers_test: passed"
