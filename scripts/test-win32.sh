#!/usr/bin/env bash
# Builds the Win32 tests (tests/win32) with MinGW-w64 and runs them under Wine on a private Xvfb.
#   bash scripts/test-win32.sh            build with CMake (target win32_tests) and run ctest
#   VIZ_WIN32_DIRECT=1 bash scripts/...   compile only the window, clipboard, file and dialog
#                                         utilities and their tests with one compiler call (for
#                                         when the rest of the Win32 library does not build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${VIZ_WIN32_BUILD:-build/win-d}
jobs=${VIZ_JOBS:-2}

export VIZ_WINEPREFIX=${VIZ_WINEPREFIX:-$root/build/wineprefix-win32}
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh

cleanup() {
  viz_wine_stop
  viz_xvfb_stop
}

build_direct() {
  local out=$build/direct
  mkdir -p "$out"
  local gt=/usr/src/googletest/googletest
  local flags=(-std=c++20 -O1 -g0 -Wall -Wextra -Wshadow -Wno-missing-field-initializers
               -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601
               -Isrc -I"$gt/include" -I"$gt")
  if [ ! -f "$out/gtest-all.o" ]; then
    i686-w64-mingw32-g++-posix "${flags[@]}" -w -c "$gt/src/gtest-all.cc" -o "$out/gtest-all.o"
    i686-w64-mingw32-g++-posix "${flags[@]}" -w -c "$gt/src/gtest_main.cc" -o "$out/gtest_main.o"
  fi
  local srcs=(src/info/window_ident_win.cpp src/info/window_text_win.cpp
              src/info/process_name_win.cpp src/info/clipboard_win.cpp src/info/file_write_win.cpp
              src/platform/shell_open_win.cpp src/platform/message_dialog_win.cpp
              src/platform/sysfuncs_win.cpp src/app/path_rules.cpp tests/win32/*.cpp)
  i686-w64-mingw32-g++-posix "${flags[@]}" "${srcs[@]}" "$out/gtest-all.o" "$out/gtest_main.o" \
    -static -static-libgcc -static-libstdc++ \
    -lgdi32 -luser32 -lkernel32 -lcomctl32 -lshell32 -lole32 -o "$out/win32_tests.exe"
}

if [ "${VIZ_WIN32_DIRECT:-0}" = 1 ]; then
  echo "== building the Win32 tests directly into $build/direct"
  build_direct
else
  echo "== building win32_tests in $build"
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
  cmake --build "$build" -j"$jobs" --target win32_tests
fi

viz_wine_stop
viz_xvfb_start
trap cleanup EXIT
viz_prefix_init

echo "== Win32 tests under Wine"
if [ "${VIZ_WIN32_DIRECT:-0}" = 1 ]; then
  wine "$build/direct/win32_tests.exe" "$@"
else
  ctest --test-dir "$build" -R win32 --output-on-failure --timeout 600
fi
