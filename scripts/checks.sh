#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The habits CI keeps beside the tests: format, sanitizers, clang-tidy.
# Run after ./test.sh (which installs what is missing and fills build/compile_commands.json).
# scripts/checks.sh [format] [sanitize] [tidy]; no argument runs all three.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(format sanitize tidy)
wants() { [[ " ${steps[*]} " == *" $1 "* ]]; }

step() { printf '\n== %s (%s)\n' "$1" "$(date +%T)"; }

if wants format; then
step "Format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
fi

if wants sanitize; then
step "Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
      -DSTRIVO_SANITIZE=ON -DSTRIVO_BENCH=OFF \
      "${launcher[@]}" >/dev/null
cmake --build build-asan -j"$jobs"
# A finding stops the test that made it; leaks of our own code fail it too. The suppressions
# name only libraries outside the project that keep caches until exit.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 1800)
fi

if wants tidy; then
step "clang-tidy (bugprone, performance)"
run-clang-tidy -quiet -p build -j "$jobs" "$PWD/(src|tools)/.*\.cpp$" >build/clang-tidy.log 2>&1 \
  || { grep -E 'warning:|error:' build/clang-tidy.log | sort -u; exit 1; }
fi
step "Done"
