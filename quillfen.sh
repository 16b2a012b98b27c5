#!/usr/bin/env bash
# Quillfen's one entry point for people and CI.
#
#   ./quillfen.sh demo    install what is missing, build (Release), render the bundled example
#   ./quillfen.sh test    install what is missing, build with ASan+UBSan, run every test
#   ./quillfen.sh build   install what is missing, build the Release program only
#   ./quillfen.sh setup   only install the missing Debian packages
#   ./quillfen.sh fuzz    build the libFuzzer targets (clang) and run each for 30 seconds
#   ./quillfen.sh fuzz TARGET SECONDS   run one target for longer (TARGET: bmp_reader, ...)
#   ./quillfen.sh package build the Release program and its Debian package (build/release/*.deb)
#
# Builds go to build/release and build/sanitize; both use every core.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

packages=(
    g++ cmake ninja-build pkg-config clang-format
    libgtest-dev libgmock-dev libbenchmark-dev
    libjpeg62-turbo-dev libpng-dev zlib1g-dev
    qt6-base-dev libgl-dev
    libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev libyuv-dev
    fonts-liberation2 fonts-dejavu-core fontconfig
    help2man dpkg-dev desktop-file-utils man-db file bsdextrautils
)
fuzz_packages=(clang-14 libclang-rt-14-dev)

say() { printf '\033[1mquillfen.sh:\033[0m %s\n' "$*" >&2; }

setup() {  # then extra package names
    local missing=()
    for p in "${packages[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    ((${#missing[@]} == 0)) && return 0
    say "installing: ${missing[*]}"
    local sudo=()
    [[ $(id -u) == 0 ]] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

jobs=$(nproc 2>/dev/null || echo 2)

configure_and_build() {  # DIR, then cmake options
    local dir=$1; shift
    cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

build_release() {
    configure_and_build build/release -DCMAKE_BUILD_TYPE=Release -DQUILLFEN_TESTS=OFF
}

build_sanitize() {  # a warning fails the build here, as it does in CI
    configure_and_build build/sanitize -DCMAKE_BUILD_TYPE=Debug -DQUILLFEN_SANITIZE=ON \
        -DQUILLFEN_TESTS=ON -DQUILLFEN_BENCH=ON -DQUILLFEN_WERROR=ON
}

check_format() {  # every C++ file as .clang-format has it
    local files
    mapfile -t files < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
        'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' 'tools/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
    clang-format --dry-run --Werror "${files[@]}" || {
        say "formatting differs from .clang-format: run clang-format -i on the files above"
        exit 1
    }
}

examples() {  # the example pictures are drawn by our own tool, never downloaded
    build/release/tools/make-example-pictures examples/pictures
    build/release/tools/make-example-clip examples/pictures/clip.avi
}

demo() {
    setup
    build_release
    examples
    say "rendering examples/demo.txt into examples/demo.avi"
    build/release/src/cli/quillfen build examples/demo.txt -o examples/demo.avi --overwrite
}

run_tests() {
    setup
    check_format
    build_sanitize
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export QT_QPA_PLATFORM=offscreen
    ctest --test-dir build/sanitize --output-on-failure --timeout 900 -j "$jobs"
    say "the in-process tests again, under ThreadSanitizer"
    run_tsan
}

run_tsan() {  # every in-process test under ThreadSanitizer: our threads (the clip reader, split
    # row kernels, the movie writer's encoder, the preview's worker) start in most of them
    configure_and_build build/tsan -DCMAKE_BUILD_TYPE=Debug -DQUILLFEN_THREAD_SANITIZE=ON \
        -DQUILLFEN_TESTS=ON -DQUILLFEN_WERROR=ON
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/sanitizers/tsan.supp \
        QT_QPA_PLATFORM=offscreen \
        ctest --test-dir build/tsan --output-on-failure --timeout 900 -j "$jobs"
}

fuzz_targets=(bmp_reader png_reader jpeg_reader picture_loading script_parser text_buffer
    script_colouring video_reader)

# fuzz [TARGET SECONDS]: every target for 30 s, or one for longer. Corpora live in
# build/fuzz/corpus (seeded by make-fuzz-corpus, grown by the fuzzer); crash, leak and timeout
# inputs go to build/fuzz/findings. Non-zero on the first finding.
fuzz() {
    setup "${fuzz_packages[@]}"
    local dir=build/fuzz seconds=30 targets=("${fuzz_targets[@]}")
    if (($# > 0)); then
        targets=("$1"); seconds=${2:-30}
        [[ " ${fuzz_targets[*]} " == *" $1 "* ]] || { say "no fuzz target '$1' (${fuzz_targets[*]})"; exit 2; }
    fi
    CC=clang-14 CXX=clang++-14 configure_and_build "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQUILLFEN_FUZZ=ON -DQUILLFEN_TESTS=OFF
    "$dir/fuzz/make-fuzz-corpus" "$dir/seeds" examples
    mkdir -p "$dir/findings"
    export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export QT_QPA_PLATFORM=offscreen
    local t
    for t in "${targets[@]}"; do
        mkdir -p "$dir/corpus/$t"
        local dict=()
        [[ $t == script_* || $t == text_buffer ]] && dict=(-dict=fuzz/script.dict)
        say "fuzzing $t for $seconds s"
        "$dir/fuzz/quillfen_fuzz_$t" "$dir/corpus/$t" "$dir/seeds/$t" -max_total_time="$seconds" \
            -timeout=20 -rss_limit_mb=2048 "${dict[@]}" -print_final_stats=1 \
            -artifact_prefix="$dir/findings/$t-" 2>"$dir/$t.log" || {
            tail -n 60 "$dir/$t.log" >&2
            say "fuzz target $t found a fault; the input is in $dir/findings/"
            exit 1
        }
        grep -E '^stat::(number_of_executed_units|new_units_added)|cov: ' "$dir/$t.log" | tail -n 3 >&2
    done
}

package() {
    setup
    build_release
    (cd build/release && cpack)
    say "the package: $(ls build/release/quillfen_*.deb)"
}

case ${1-} in
    fuzz) shift; fuzz "$@" ;;
    package) package ;;
    demo) demo ;;
    test) run_tests ;;
    build) setup; build_release ;;
    setup) setup ;;
    *) sed -n '2,/^set -euo/s/^# \{0,1\}//p' "$0"; exit 2 ;;
esac
