#!/usr/bin/env bash
# Korvane's one entry point for developers and CI.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build, run every test
#                     (once normally, once with AddressSanitizer and UBSan)
#   ./build.sh bench [--huge]
#                     build the demo-data tool and the benchmark optimized in
#                     build-rel (the everyday build keeps its own settings),
#                     make the demonstration database of workshop size (and
#                     with --huge the million-call one) under
#                     build-rel/bench-data once, and print the benchmark
#                     figures beside their SQLite floors and goals; delete
#                     build-rel/bench-data to make the databases again
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(g++ cmake make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libsqlite3-dev sqlite3 libzip-dev clang-format)
JOBS=$(nproc)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

check_format() { # every C++ file in the repository's style
    local bad
    bad=$(git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run 2>&1 | grep -c 'warning:' || true)
    if [ "$bad" -ne 0 ]; then
        git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run 2>&1 | grep 'warning:' | head
        echo "clang-format: $bad places differ from .clang-format (run clang-format -i)" >&2
        return 1
    fi
}

build() { # build DIR [cmake options...]
    local dir=$1
    shift
    cmake -S . -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
}

case "${1:-}" in
run)
    install_packages
    build build
    exec ./build/bin/korvane
    ;;
test)
    install_packages
    check_format
    build build
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$JOBS")
    build build-asan -DKORVANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    (cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$JOBS")
    ;;
bench)
    install_packages
    cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release -DKORVANE_BUILD_TESTS=OFF >/dev/null
    cmake --build build-rel -j "$JOBS" --target korvane-demo-data korvane-bench
    sizes=(workshop)
    [ "${2:-}" = "--huge" ] && sizes+=(huge)
    for size in "${sizes[@]}"; do
        data=build-rel/bench-data/$size
        if [ ! -f "$data.done" ]; then
            rm -rf "$data"
            ./build-rel/bin/korvane-demo-data "$size" "$data"
            touch "$data.done"
        fi
    done
    # Deleting and adding run on copies of the data in the temporary folder.
    for size in "${sizes[@]}"; do
        QT_QPA_PLATFORM=offscreen ./build-rel/bin/korvane-bench "build-rel/bench-data/$size"
        echo
    done
    ;;
*)
    echo "usage: $0 run|test|bench [--huge]" >&2
    exit 2
    ;;
esac
