#!/usr/bin/env bash
# Two commands for a fresh Debian 12 machine:
#   ./run.sh gallery   build and start the gallery (no display: render every page to gallery-shots/)
#   ./run.sh test      build and run the whole test suite through CTest
# and two for hardening:
#   ./run.sh test --sanitize[=debug|=release]
#                      the whole suite under the address and undefined-behaviour sanitizers, in a
#                      Debug and a Release build (build-asan-debug/, build-asan-release/)
#   ./run.sh docs      the API reference with Doxygen (build/docs/html/index.html); any warning,
#                      an undocumented public member among them, fails it
#   ./run.sh fuzz [target ...]
#                      builds the libFuzzer targets with clang (build-fuzz/) and runs each for
#                      FUZZ_SECONDS (default 60), or until FUZZ_RUNS executions when that comes
#                      first; fails on any crash, leak, timeout or report
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)
BUILD="$ROOT/build"

# libqt6opengl6-dev is only recommended by qt6-base-dev, but the Designer's CMake package needs it.
# at-spi2-core, python3-pyatspi and dbus let the suite read the components as a screen reader does.
# The Python bindings: sip-tools, python3-pyqtbuild and pyqt6-dev generate them, qmake6 tells
# sip-build about Qt, python3-dev compiles them, python3-pyqt6 and pyqt6-dev-tools (PyQt's form
# loader) run them, python3-pytest tests them.
PACKAGES=(cmake g++ make qt6-base-dev libqt6opengl6-dev qt6-tools-dev qt6-tools-dev-tools libgtest-dev
          libbenchmark-dev fonts-dejavu-core xvfb xauth at-spi2-core python3-pyatspi dbus python3
          python3-dev qmake6 sip-tools python3-pyqtbuild pyqt6-dev python3-pyqt6 pyqt6-dev-tools
          python3-pytest)

# The reference: Doxygen.
DOCS_PACKAGES=(doxygen)

# Only what the fuzz targets need on top: clang with its fuzzer and sanitizer run-times, and the
# symbolizer that puts names into their reports.
FUZZ_PACKAGES=(clang libclang-rt-14-dev llvm)

# ensure_packages [extra package ...]: PACKAGES and the extras, installed when missing.
ensure_packages() {
    local missing=()
    for p in "${PACKAGES[@]}" "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "run.sh: installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build() {
    ensure_packages
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$BUILD" -j2
}

# Sanitizer builds: every report ends the program, so a test or input that triggers one fails.
SANITIZE_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
sanitizer_env() {
    export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:check_initialization_order=1:strict_string_checks=1:suppressions=$ROOT/tests/asan.supp}"
    export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
    # Leaks of the uninstrumented system libraries are theirs, not ours.
    export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/tests/lsan.supp:print_suppressions=0}"
}

# sanitized_suite Debug|Release: builds the tree with the sanitizers and runs the whole suite.
sanitized_suite() {
    sanitizer_env
    local dir="$ROOT/build-asan-${1,,}"
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$1" -DKORVANE_BUILD_BENCH=OFF \
        -DCMAKE_CXX_FLAGS="$SANITIZE_FLAGS" >/dev/null || return 1
    cmake --build "$dir" -j2 || return 1
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
}

# run_fuzz [target ...]: every fuzz target (or the named ones) for FUZZ_SECONDS each (FUZZ_RUNS
# caps the executions), on a copy of its seed corpus, so the corpus in the tree changes only by
# hand. Prints the executions.
run_fuzz() {
    ensure_packages "${FUZZ_PACKAGES[@]}"
    sanitizer_env
    local dir="$ROOT/build-fuzz" seconds="${FUZZ_SECONDS:-60}" max_runs="${FUZZ_RUNS:--1}"
    # The file readers' targets write a scratch file per input and the saves sync it to disk; on
    # a memory file system that costs nothing, so the search runs many times faster.
    local scratch
    if [ -d /dev/shm ] && [ -w /dev/shm ]; then
        scratch=$(mktemp -d /dev/shm/korvane-fuzz.XXXXXX)
    else
        scratch=$(mktemp -d)
    fi
    cmake -S "$ROOT" -B "$dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKORVANE_BUILD_FUZZ=ON -DKORVANE_BUILD_TESTS=OFF -DKORVANE_BUILD_BENCH=OFF \
        -DKORVANE_BUILD_GALLERY=OFF -DKORVANE_BUILD_DESIGNER=OFF \
        -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
        >/dev/null
    local targets=("$@")
    if [ ${#targets[@]} -eq 0 ]; then
        for src in "$ROOT"/fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
    fi
    cmake --build "$dir" -j2 --target "${targets[@]}"
    mkdir -p "$dir/artifacts" "$dir/logs"
    local failed=() summary=()
    for t in "${targets[@]}"; do
        local work="$dir/corpus/$t" log="$dir/logs/$t.log"
        mkdir -p "$work"
        echo "run.sh: fuzzing $t for ${seconds}s"
        local rc=0
        TMPDIR="$scratch" QT_QPA_PLATFORM=offscreen "$dir/fuzz/$t" -max_total_time="$seconds" -runs="$max_runs" \
            -timeout=30 -rss_limit_mb=3072 \
            -print_final_stats=1 -artifact_prefix="$dir/artifacts/$t-" "$work" "$ROOT/fuzz/corpus/$t" \
            >"$log" 2>&1 || rc=$?
        local runs
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
        summary+=("$(printf '%-28s %12s executions  %s' "$t" "${runs:-?}" "$([ $rc -eq 0 ] && echo ok || echo FAILED)")")
        if [ $rc -ne 0 ]; then
            failed+=("$t")
            tail -n 60 "$log"
        fi
    done
    rm -rf "$scratch"
    printf '%s\n' "${summary[@]}"
    if [ ${#failed[@]} -ne 0 ]; then
        echo "run.sh: fuzzing found problems in: ${failed[*]} (inputs in $dir/artifacts/, logs in $dir/logs/)" >&2
        return 1
    fi
}

# Renders every gallery page into $1 without a display. Qt warns when there is no private runtime
# folder (machines without a login session), and the renderer fails on any warning: give it one.
render_gallery() {
    [ -n "${XDG_RUNTIME_DIR:-}" ] || export XDG_RUNTIME_DIR="$(mktemp -d)"
    QT_QPA_PLATFORM=offscreen "$BUILD/gallery/korvane_gallery" --screenshot "$1"
}

# The API reference: component pages generated from the headers with the gallery's pictures,
# then Doxygen over the public headers. Fails on the first warning it reports.
build_docs() {
    ensure_packages "${DOCS_PACKAGES[@]}"
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$BUILD" -j2 --target korvane_gallery
    local out="$BUILD/docs"
    rm -rf "$out"
    mkdir -p "$out/pages" "$out/shots"
    render_gallery "$out/shots" >/dev/null
    python3 "$ROOT/docs/component_pages.py" "$ROOT" "$out/pages"
    KORVANE_DOCS_OUT="$out" KORVANE_DOCS_PAGES="$out/pages" KORVANE_DOCS_IMAGES="$out/shots" doxygen docs/Doxyfile
    if [ -s "$out/warnings.log" ]; then
        cat "$out/warnings.log" >&2
        echo "run.sh: Doxygen reported $(wc -l < "$out/warnings.log") warning lines (above)" >&2
        return 1
    fi
    echo "The reference is in $out/html/index.html"
}

case "${1:-}" in
    gallery)
        build
        if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
            out="$ROOT/gallery-shots"
            render_gallery "$out"
            echo "No display: the gallery pages were rendered to $out/"
            ls "$out"
        else
            exec "$BUILD/gallery/korvane_gallery"
        fi
        ;;
    test)
        sanitize=()
        case "${2:-}" in
            "") build ;;
            --sanitize) sanitize=(Debug Release) ;;
            --sanitize=debug) sanitize=(Debug) ;;
            --sanitize=release) sanitize=(Release) ;;
            *) echo "usage: $0 test [--sanitize[=debug|=release]]" >&2; exit 2 ;;
        esac
        # Build the font cache once, before parallel test processes would each try to.
        command -v fc-cache >/dev/null && fc-cache >/dev/null 2>&1 || true
        if [ ${#sanitize[@]} -eq 0 ]; then
            cd "$BUILD"
            QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
        else
            ensure_packages
            failed=()
            for type in "${sanitize[@]}"; do sanitized_suite "$type" || failed+=("$type"); done
            if [ ${#failed[@]} -ne 0 ]; then
                echo "run.sh: the sanitized suite failed in: ${failed[*]}" >&2
                exit 1
            fi
        fi
        ;;
    fuzz)
        shift
        run_fuzz "$@"
        ;;
    docs)
        build_docs
        ;;
    *)
        echo "usage: $0 gallery|test [--sanitize[=debug|=release]]|docs|fuzz [target ...]" >&2
        exit 2
        ;;
esac
