#!/usr/bin/env bash
# Korvane's one entry point for developers and CI.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build, run every test
#                     (once normally, once with AddressSanitizer and UBSan),
#                     build the Debian package, install it, start the
#                     installed program and remove the package again, then
#                     fuzz the SQL translator and the filter parser for
#                     FUZZ_SECONDS (45) each, both at once
#   ./build.sh package
#                     build the Debian package build-pkg/korvane_*.deb
#                     (optimized, without the tests), for `apt install`
#   ./build.sh fuzz [SECONDS]
#                     the same fuzzing for longer (default 600 seconds each),
#                     keeping what it learns in build-fuzz/corpus/
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

PACKAGES=(g++ cmake ninja-build make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libsqlite3-dev sqlite3 libzip-dev zip unzip clang-format poppler-utils
          clang libclang-rt-14-dev llvm # clang and its fuzzer runtime; llvm symbolizes reports
          dpkg-dev file) # the package's dependencies read from its binaries
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

configure() { # configure DIR [cmake options...]: every tree is built with Ninja
    local dir=$1
    shift
    # A tree made earlier with another generator is made anew.
    if [ -f "$dir/CMakeCache.txt" ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$dir/CMakeCache.txt"; then
        rm -rf "$dir"
    fi
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

build() { # build DIR [cmake options...]
    local dir=$1
    shift
    configure "$dir" "$@"
    cmake --build "$dir" -j "$JOBS"
}

FUZZERS=(fuzz_Translate fuzz_Filter fuzz_VCard)
FUZZ_SECONDS=${FUZZ_SECONDS:-45}

# fuzz SECONDS CORPUS_ROOT: builds the harnesses in build-fuzz and runs them
# side by side, each for SECONDS, adding what they find to CORPUS_ROOT/NAME
# (the checked-in seeds under tests/fuzz/corpus/ are read, never written).
# A crash, a sanitizer report or an input that runs past 10 seconds fails,
# its input saved under build-fuzz/artifacts/.
fuzz() {
    local seconds=$1 root=$2
    configure build-fuzz -DKORVANE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
    cmake --build build-fuzz -j "$JOBS"
    mkdir -p build-fuzz/artifacts build-fuzz/logs
    local pids=() name seeds
    for name in "${FUZZERS[@]}"; do
        seeds=tests/fuzz/corpus/${name#fuzz_}
        seeds=${seeds,,}
        mkdir -p "$root/$name"
        ./build-fuzz/bin/$name -max_total_time="$seconds" -max_len=4096 -timeout=10 \
            -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix=build-fuzz/artifacts/$name- \
            "$root/$name" "$seeds" >"build-fuzz/logs/$name.log" 2>&1 &
        pids+=($!)
    done
    local failed=0 i
    for i in "${!FUZZERS[@]}"; do
        name=${FUZZERS[$i]}
        if wait "${pids[$i]}"; then
            echo "$name: no fault in ${seconds} s ($(grep -o 'stat::number_of_executed_units: *[0-9]*' \
                "build-fuzz/logs/$name.log" | grep -o '[0-9]*$') runs)"
        else
            echo "$name: FAULT (build-fuzz/logs/$name.log):" >&2
            grep -A40 -m1 -E '^==[0-9]+==|ERROR: libFuzzer|runtime error' "build-fuzz/logs/$name.log" >&2 || tail -40 "build-fuzz/logs/$name.log" >&2
            failed=1
        fi
    done
    return $failed
}

as_root() { # runs a command as root, through sudo when needed
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

package() { # builds the Debian package in build-pkg and prints its name
    configure build-pkg -DCMAKE_BUILD_TYPE=Release -DKORVANE_BUILD_TESTS=OFF || return 1
    cmake --build build-pkg -j "$JOBS" --target korvane Vidaz >&2 || return 1
    rm -f build-pkg/korvane_*.deb
    (cd build-pkg && cpack -G DEB >&2) || return 1
    ls build-pkg/korvane_*.deb
}

apt_get() { # apt-get as root, without questions, waiting for another's lock
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=300 "$@" >/dev/null
}

# Installs the package DEB as a user would, checks what it put where, asks
# the installed program its version and help without a display, starts it
# offscreen on a database folder of its own and on a fresh home folder (the
# data goes to the user's data folder) until it has made its tables, and
# removes the package again, also when a check fails.
check_package() {
    local deb=$1 tmp version file
    tmp=$(mktemp -d)
    # shellcheck disable=SC2064 # the folder is known now
    # What is left when a check fails goes; a package already removed stays so.
    trap "if dpkg-query -W korvane >/dev/null 2>&1; then apt_get remove --purge korvane || true; fi; rm -rf '$tmp'; trap - RETURN" RETURN
    apt_get install "$PWD/$deb" || return 1
    for file in /usr/bin/korvane /usr/lib/korvane/libVidaz.so /usr/share/korvane/Countries.dat \
        /usr/share/applications/korvane.desktop /usr/share/icons/hicolor/scalable/apps/korvane.svg; do
        [ -e "$file" ] || { echo "package: $file is missing" >&2; return 1; }
    done
    version=$(sed -n 's/^project(Korvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
    [ "$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/korvane --version)" = "korvane $version" ] \
        || { echo "package: korvane --version does not answer $version" >&2; return 1; }
    env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/korvane --help | grep -q -- '--database <DIR>' \
        || { echo "package: korvane --help does not tell --database" >&2; return 1; }
    start_installed "$tmp/home" "$tmp/shared" --database "$tmp/shared" || return 1
    start_installed "$tmp/home" "$tmp/home/.local/share/korvane/database" || return 1
    apt_get remove --purge korvane || return 1
    [ ! -e /usr/bin/korvane ] || { echo "package: korvane stays after its removal" >&2; return 1; }
    echo "package: $deb installs, starts and goes again"
}

# start_installed HOME DATABASE_DIR [OPTIONS...]: runs the installed program
# offscreen with HOME until DATABASE_DIR holds its tables (30 seconds at most).
start_installed() {
    local home=$1 db=$2 log pid i
    shift 2
    log=$(dirname "$home")/korvane.log
    mkdir -p "$home"
    env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" QT_QPA_PLATFORM=offscreen \
        /usr/bin/korvane "$@" >"$log" 2>&1 &
    pid=$!
    for i in $(seq 60); do
        [ -f "$db/Worker.db" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.5
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if [ ! -f "$db/Call.db" ] || [ ! -f "$db/Worker.db" ]; then
        echo "package: the installed program made no tables in $db" >&2
        cat "$log" >&2
        return 1
    fi
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
    deb=$(package)
    check_package "$deb"
    build build-asan -DKORVANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    # A test that fails here runs once more: now and then the leak checker's
    # own tracer crashes ("Tracer caught signal 11") after every case passed.
    # Its output stays in the log; a real finding fails both runs.
    (cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$JOBS" \
        --repeat until-pass:2)
    rm -rf build-fuzz/scratch
    fuzz "$FUZZ_SECONDS" build-fuzz/scratch
    ;;
package)
    install_packages
    deb=$(package)
    echo "Built $deb; install it with: apt install ./$deb"
    ;;
fuzz)
    install_packages
    fuzz "${2:-600}" build-fuzz/corpus
    ;;
bench)
    install_packages
    configure build-rel -DCMAKE_BUILD_TYPE=Release -DKORVANE_BUILD_TESTS=OFF
    cmake --build build-rel -j "$JOBS" --target korvane-demo-data korvane-bench Vidaz
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
    echo "usage: $0 run|test|package|bench [--huge]|fuzz [SECONDS]" >&2
    exit 2
    ;;
esac
