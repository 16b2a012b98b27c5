#!/usr/bin/env bash
# memory_stills.sh [options] QUILLFEN - peak memory of long movies of stills.
#
#   QUILLFEN      a quillfen binary (a Release build)
#   -i FOLDER     the pictures of make-inputs.sh (default /tmp/qf-bench/in; made if missing)
#   -o FOLDER     scratch folder for the Scripts and logs (default /tmp/qf-bench/memory)
#   -m "MINUTES"  movie lengths to measure (default "10 60")
#   -c CODEC      codec (default mjpeg)
#
# Each movie cycles through the 12 benchmark pictures at 1920x1080, 25 fps, each picture
# shown for an equal share of the length (50 s each for 10 minutes: 15000 frames; 300 s
# each for 60 minutes: 90000 frames). The movie goes to a .avi name that links to
# /dev/null, so the hour of MJPEG (tens of gigabytes) is not kept on disk; writing and
# seeking there behave as for a file. Memory that stays flat with the movie's length
# shows as the same peak resident set size for every length.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
shared=$(cd "$here/../../shared/bench" 2>/dev/null && pwd || echo /work/shared/bench)
in=/tmp/qf-bench/in out=/tmp/qf-bench/memory lengths="10 60" codec=mjpeg
while (( $# )); do
    case $1 in
        -i) in=$2; shift 2 ;;
        -o) out=$2; shift 2 ;;
        -m) lengths=$2; shift 2 ;;
        -c) codec=$2; shift 2 ;;
        -h|--help) sed -n '2,/^set /s/^# \{0,1\}//p' "$0"; exit 0 ;;
        -*) echo "memory_stills.sh: unknown option $1" >&2; exit 2 ;;
        *) break ;;
    esac
done
(( $# == 1 )) || { echo "usage: memory_stills.sh [options] QUILLFEN" >&2; exit 2; }
qf=$(realpath "$1")

pictures=(photo-01.jpg photo-02.jpg photo-03.jpg photo-04.jpg graphic-1.png photo-05.jpg
          photo-06.jpg stereo-1.jpg photo-07.jpg graphic-2.png photo-08.jpg stereo-2.jpg)
[[ -r $in/photo-08.jpg ]] || "$shared/make-inputs.sh" "$in" >/dev/null
in=$(cd "$in" && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)
ln -sf /dev/null "$out/null.avi"

secs() { awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; printf "%.2f", s }' <<< "$1"; }

printf '%-8s %8s %4s %9s %8s %8s %10s\n' minutes frames exit "wall s" fps "CPU s" "peak MB"
for minutes in $lengths; do
    script=$out/stills-${minutes}min.txt
    each=$(( minutes * 60 / ${#pictures[@]} ))
    {
        echo "; ${#pictures[@]} stills of $each s each: $minutes minutes."
        printf '%s\n' ">resize=1920x1080" ">stereo=0" ">framerate=25" ">path=$in/"
        printf "%s*$each\n" "${pictures[@]}"
    } > "$script"
    log=$out/${minutes}min
    rc=0
    /usr/bin/time -v -o "$log.time" "$qf" build "$script" -o "$out/null.avi" --codec "$codec" \
        --overwrite --quiet > "$log.out" 2> "$log.err" || rc=$?
    frames=$(sed -n 's/^Total movie time: .*(\([0-9]*\) frames)$/\1/p' "$log.out")
    wall=$(secs "$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$log.time")")
    cpu=$(awk -F': ' '/User time|System time/ { s += $2 } END { printf "%.2f", s }' "$log.time")
    rss=$(awk -F': ' '/Maximum resident set size/ { printf "%.0f", $2 / 1024 }' "$log.time")
    printf '%-8s %8s %4s %9s %8s %8s %10s\n' "$minutes" "$frames" "$rc" "$wall" \
        "$(awk -v f="$frames" -v w="$wall" 'BEGIN { printf "%.1f", (w > 0 ? f / w : 0) }')" "$cpu" "$rss"
done
