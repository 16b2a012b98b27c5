#!/usr/bin/env bash
# Quillfen's one entry point for people and CI.
#
#   ./quillfen.sh demo    install what is missing, build (Release), render the bundled example
#   ./quillfen.sh test    install what is missing, build with ASan+UBSan, run every test
#   ./quillfen.sh build   install what is missing, build the Release program only
#   ./quillfen.sh setup   only install the missing Debian packages
#
# Builds go to build/release and build/sanitize; both use every core.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

packages=(
    g++ cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libjpeg62-turbo-dev libpng-dev zlib1g-dev
    qt6-base-dev libgl-dev
    libavformat-dev libavcodec-dev libavutil-dev libswscale-dev
    fonts-liberation2 fonts-dejavu-core fontconfig
)

say() { printf '\033[1mquillfen.sh:\033[0m %s\n' "$*" >&2; }

setup() {
    local missing=()
    for p in "${packages[@]}"; do
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

build_sanitize() {
    configure_and_build build/sanitize -DCMAKE_BUILD_TYPE=Debug -DQUILLFEN_SANITIZE=ON \
        -DQUILLFEN_TESTS=ON -DQUILLFEN_BENCH=ON
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
    build_sanitize
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export QT_QPA_PLATFORM=offscreen
    say "video reader under ThreadSanitizer"
    run_tsan
    ctest --test-dir build/sanitize --output-on-failure --timeout 900 -j "$jobs"
}

run_tsan() {  # the video reader's and the preview's threads under ThreadSanitizer
    local dir=build/tsan t tests=(timeline/video_thinning_test timeline/video_reader_test
        timeline/video_reader_clip_test timeline/video_element_test app/preview_worker_test
        app/preview_tests)
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLFEN_TESTS=ON \
        "-DCMAKE_CXX_FLAGS=-fsanitize=thread -fno-omit-frame-pointer" \
        -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
    cmake --build "$dir" -j "$jobs" --target "${tests[@]##*/}"
    for t in "${tests[@]}"; do TSAN_OPTIONS=halt_on_error=1 QT_QPA_PLATFORM=offscreen "$dir/tests/$t"; done
}

case ${1-} in
    demo) demo ;;
    test) run_tests ;;
    build) setup; build_release ;;
    setup) setup ;;
    *) sed -n '2,9s/^# \{0,1\}//p' "$0"; exit 2 ;;
esac
