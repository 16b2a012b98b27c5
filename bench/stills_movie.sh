#!/usr/bin/env bash
# stills_movie.sh [options] QUILLFEN - the stills-only whole-movie benchmark.
#
#   QUILLFEN     a quillfen binary (a Release build)
#   -i FOLDER    the pictures of make-inputs.sh (default /tmp/qf-bench/in; made if missing)
#   -o FOLDER    scratch folder for the Script, movies and logs (default /tmp/qf-bench/stills)
#   -c "CODECS"  codecs to measure (default "raw mjpeg")
#   -n RUNS      runs per tool and codec (default 1)
#   --no-peer    measure quillfen only
#
# The movie: the 12 benchmark pictures (8 photos 4000x3000, 2 graphics 2400x1600, 2 wide
# 4000x1500 pictures) at 1920x1080, letterboxed, 3 s each at 25 fps, no transitions and no
# captions: 900 frames. ffmpeg does the same the way peer-ffmpeg.sh drives it: every picture
# decoded, scaled, padded and converted once, its one frame looped 75 times, the 12 runs
# concatenated; raw = rawvideo bgr24 in AVI, mjpeg = MJPEG -q:v 3 from yuvj420p.
# Each run goes under /usr/bin/time -v; its frames are counted with ffprobe (packets) and
# the movie is deleted. Printed per run: wall seconds, fps, CPU seconds (user + sys), peak
# resident memory.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
shared=$(cd "$here/../../shared/bench" 2>/dev/null && pwd || echo /work/shared/bench)
in=/tmp/qf-bench/in out=/tmp/qf-bench/stills codecs="raw mjpeg" runs=1 peer=1
while (( $# )); do
    case $1 in
        -i) in=$2; shift 2 ;;
        -o) out=$2; shift 2 ;;
        -c) codecs=$2; shift 2 ;;
        -n) runs=$2; shift 2 ;;
        --no-peer) peer=0; shift ;;
        -h|--help) sed -n '2,/^set /s/^# \{0,1\}//p' "$0"; exit 0 ;;
        -*) echo "stills_movie.sh: unknown option $1" >&2; exit 2 ;;
        *) break ;;
    esac
done
(( $# == 1 )) || { echo "usage: stills_movie.sh [options] QUILLFEN" >&2; exit 2; }
qf=$(realpath "$1")

pictures=(photo-01.jpg photo-02.jpg photo-03.jpg photo-04.jpg graphic-1.png photo-05.jpg
          photo-06.jpg stereo-1.jpg photo-07.jpg graphic-2.png photo-08.jpg stereo-2.jpg)
frames=$(( ${#pictures[@]} * 75 ))

[[ -r $in/photo-08.jpg ]] || "$shared/make-inputs.sh" "$in" >/dev/null
in=$(cd "$in" && pwd)
mkdir -p "$out/logs"
out=$(cd "$out" && pwd)

script=$out/stills.txt
{
    echo "; Benchmark: ${#pictures[@]} stills, 3 s each, no transitions ($frames frames)."
    printf '%s\n' ">resize=1920x1080" ">resizemode=1" ">stereo=0" ">framerate=25" \
        ">background=black" ">path=$in/"
    printf '%s*3\n' "${pictures[@]}"
} > "$script"

peer_command() {  # peer_command CODEC MOVIE: sets cmd to ffmpeg's command line
    local codec=$1 movie=$2 work enc graph='' k
    case $codec in
        raw)   work=gbrp;     enc=(-c:v rawvideo -pix_fmt bgr24) ;;
        mjpeg) work=yuvj420p; enc=(-c:v mjpeg -q:v 3 -pix_fmt yuvj420p) ;;
    esac
    cmd=(ffmpeg -hide_banner -nostdin -loglevel error -y)
    for k in "${!pictures[@]}"; do
        cmd+=(-framerate 25 -i "$in/${pictures[k]}")
        graph+="[$k:v]scale=1920:1080:force_original_aspect_ratio=decrease,"
        graph+="pad=1920:1080:(ow-iw)/2:(oh-ih)/2:color=black,setsar=1,format=$work,"
        graph+="loop=loop=74:size=1:start=0,setpts=N/(25*TB)[v$k];"
    done
    for k in "${!pictures[@]}"; do graph+="[v$k]"; done
    graph+="concat=n=${#pictures[@]}:v=1:a=0[out]"
    cmd+=(-filter_complex "$graph" -map '[out]' "${enc[@]}" -f avi "$movie")
}

secs() { awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; printf "%.2f", s }' <<< "$1"; }

run_one() {  # run_one TOOL CODEC RUN
    local tool=$1 codec=$2 r=$3 movie=$out/$1-$2.avi log=$out/logs/$1-$2-$3
    if [[ $tool == quillfen ]]; then
        cmd=("$qf" build "$script" -o "$movie" --codec "$codec" --overwrite --quiet)
    else
        peer_command "$codec" "$movie"
    fi
    sync
    local rc=0
    /usr/bin/time -v -o "$log.time" "${cmd[@]}" > "$log.out" 2> "$log.err" || rc=$?
    local got
    got=$(ffprobe -v error -count_packets -select_streams v:0 \
        -show_entries stream=nb_read_packets -of csv=p=0 "$movie" 2>/dev/null || echo 0)
    rm -f "$movie"
    local wall cpu rss
    wall=$(secs "$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$log.time")")
    cpu=$(awk -F': ' '/User time|System time/ { s += $2 } END { printf "%.2f", s }' "$log.time")
    rss=$(awk -F': ' '/Maximum resident set size/ { printf "%.0f", $2 / 1024 }' "$log.time")
    printf '%-9s %-6s %3d %4s %6s %8s %7s %8s %10s\n' "$tool" "$codec" "$r" "$rc" "$got" "$wall" \
        "$(awk -v f="$got" -v w="$wall" 'BEGIN { printf "%.1f", (w > 0 ? f / w : 0) }')" "$cpu" "$rss"
}

echo "# $frames frames expected; Script: $script"
printf '%-9s %-6s %3s %4s %6s %8s %7s %8s %10s\n' tool codec run exit frames "wall s" fps "CPU s" "peak MB"
for codec in $codecs; do
    for (( r = 1; r <= runs; r++ )); do
        run_one quillfen "$codec" "$r"
        (( peer == 0 )) || run_one ffmpeg "$codec" "$r"
    done
done
