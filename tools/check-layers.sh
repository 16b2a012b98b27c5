#!/usr/bin/env bash
# Fails when a source file under src/ includes a header from a layer it may not use: a layer
# above it, a layer beside it, or a library that belongs to another layer (FFmpeg outside the
# media layer, Qt outside the drawing and window layers). Prints one line per wrong include.
#
#   tools/check-layers.sh [SRC_FOLDER]      (default: the src/ folder next to this script)
#
# The layers, lowest first, and what each may include (its own headers always):
#   base         -
#   script       base
#   imaging      base                                       libjpeg, libpng
#   raster       imaging base                               QtGui
#   effects      imaging base
#   media        imaging base                               FFmpeg, libyuv, libjpeg
#   timeline     script imaging raster effects media base
#   output       timeline media script imaging raster effects base
#   editor       script base
#   editor_view  editor script imaging base                 Qt
#   app          every layer but cli                        Qt
#   cli          every layer                                Qt, libpng
set -euo pipefail
src=${1:-$(dirname "$0")/../src}
[[ -d $src ]] || { echo "check-layers: no folder '$src'" >&2; exit 2; }

find "$src" -name '*.h' -o -name '*.cpp' | sort | while read -r file; do
    printf '%s\n' "${file#"$src"/}"
    grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$file" || true
    printf '\n'
done | awk '
function layer(path) {
    if (path ~ /^imaging\/raster\//) return "raster"
    if (path ~ /^imaging\/effects\//) return "effects"
    if (path ~ /^editor\/view\//) return "editor_view"
    if (path ~ /^output\//) return "output"
    split(path, part, "/")
    return part[1] in known ? part[1] : ""
}
function external(name) {
    if (name ~ /^(libav|libsw|libyuv)/) return "ffmpeg"
    if (name ~ /^Q/) return "qt"
    if (name ~ /^(jpeglib|jerror|png|zlib)\.h$/) return "codecs"
    return ""
}
BEGIN {
    n = split("base script imaging raster effects media timeline output editor editor_view app cli", names, " ")
    for (i = 1; i <= n; ++i) known[names[i]] = 1
    may["base"] = ""
    may["script"] = "base"
    may["imaging"] = "base codecs"
    may["raster"] = "imaging base qt"
    may["effects"] = "imaging base"
    may["media"] = "imaging base ffmpeg codecs"
    may["timeline"] = "script imaging raster effects media base"
    may["output"] = "timeline media script imaging raster effects base"
    may["editor"] = "script base"
    may["editor_view"] = "editor script imaging base qt"
    may["app"] = "output timeline media script imaging raster effects base editor editor_view qt"
    may["cli"] = may["app"] " app codecs"
    bad = 0
}
/^[^0-9]/ && NF { file = $0; from = layer(file); next }
/^[0-9]+:/ {
    if (from == "") next
    line = $0; sub(/:.*/, "", line)
    if (match($0, /"[^"]+"/)) {
        target = substr($0, RSTART + 1, RLENGTH - 2); to = layer(target)
    } else if (match($0, /<[^>]+>/)) {
        target = substr($0, RSTART + 1, RLENGTH - 2); to = external(target)
    } else next
    if (to == "" || to == from) next
    if ((" " may[from] " ") !~ (" " to " ")) {
        printf "src/%s:%s: the %s layer may not include <%s> (%s)\n", file, line, from, target, to
        bad = 1
    }
}
END { exit bad }
' || { echo "check-layers: wrong includes above; docs/architecture.md shows the layers" >&2; exit 1; }
