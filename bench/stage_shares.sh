#!/usr/bin/env bash
# stage_shares.sh [options] QUILLFEN [QUILLFEN2] - where a build's CPU time goes, by stage.
#
#   QUILLFEN     a quillfen binary (a Release build); a second one is measured after it, so
#                a build before and after a change can be shown side by side
#   -s SCRIPT    the Script (default: the benchmark slideshow of ../shared/bench)
#   -i FOLDER    its pictures (default /tmp/qf-bench/in; make-inputs.sh fills it if needed)
#   -c CODEC     the codec (default mjpeg)
#   -F HZ        perf's sampling rate (default 250)
#
# Each binary builds the movie once under `perf record --call-graph dwarf`; every sample
# is put in the stage its call stack names (stage_shares.py says how):
# decode, fit, effects, captions, convert, encode, writing, and "other" (the frame loop,
# start-up, the kernel work no stage claims). Page faults and copies count for the stage
# that caused them. Printed: each stage's share of all samples, both threads together.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
shared=$(cd "$here/../../shared/bench" 2>/dev/null && pwd || echo /work/shared/bench)
script=$shared/slideshow.txt in=/tmp/qf-bench/in codec=mjpeg hz=250
while (( $# )); do
    case $1 in
        -s) script=$2; shift 2 ;;
        -i) in=$2; shift 2 ;;
        -c) codec=$2; shift 2 ;;
        -F) hz=$2; shift 2 ;;
        -*) sed -n '2,16s/^# \{0,1\}//p' "$0"; exit 2 ;;
        *) break ;;
    esac
done
(( $# >= 1 )) || { sed -n '2,16s/^# \{0,1\}//p' "$0"; exit 2; }
command -v perf >/dev/null || { echo "stage_shares.sh: perf is needed (apt-get install linux-perf)" >&2; exit 2; }
[[ -d $in ]] || "$shared/make-inputs.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed "s|^>path=.*|>path=$in|" "$script" > "$work/script.txt"
n=0
for q in "$@"; do
    n=$((n + 1))
    perf record -q -F "$hz" --call-graph dwarf,16384 -o "$work/perf$n.data" -- \
        "$q" build "$work/script.txt" -o "$work/movie.avi" --codec "$codec" --overwrite --quiet \
        >/dev/null
    perf script -i "$work/perf$n.data" -F comm,tid,ip,sym,dso 2>/dev/null \
        | python3 "$here/stage_shares.py" "$q" > "$work/shares$n.txt"
    rm -f "$work/movie.avi" "$work/perf$n.data"
done
cp "$work/shares1.txt" "$work/table.txt"
for ((i = 2; i <= n; i++)); do
    paste "$work/table.txt" <(cut -f2 "$work/shares$i.txt") > "$work/next.txt"
    mv "$work/next.txt" "$work/table.txt"
done
column -t -s $'\t' "$work/table.txt"
