#!/usr/bin/env bash
# Builds the native tests and benchmarks (build/native) and Quorvel.exe with the substitute
# receiver libraries for 64-bit (build/win64) and 32-bit (build/win32) Windows.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
# Configured on every build, which takes a moment, so changed options reach the build tree. A
# cache made with other arguments or another toolchain file is made anew: CMake reads the
# toolchain only when it creates the cache.
configure() {  # dir [cmake args...]
  local dir=$1; shift
  local stamp
  stamp=$( (echo "$*"; cat cmake/*.cmake) | sha256sum | cut -d' ' -f1)
  if [ "$(cat "$dir/.configured-with" 2>/dev/null)" != "$stamp" ]; then
    rm -f "$dir/CMakeCache.txt"
  fi
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  echo "$stamp" >"$dir/.configured-with"
}
targets=${*:-native win64 win32}
for t in $targets; do
  case $t in
    native) configure build/native ;;
    win64) configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-win64.cmake ;;
    win32) configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-win32.cmake ;;
    *) echo "unknown target $t" >&2; exit 2 ;;
  esac
  cmake --build "build/$t" -j "$jobs"
done
