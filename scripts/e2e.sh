#!/usr/bin/env bash
# Runs the end-to-end tests on an Xvfb display, in Wine prefixes that the tests make for
# themselves under build/e2e: against the win64 build under the system's Wine, then against the
# win32 build under the private 32-bit Wine (scripts/wine32.sh). Where the machine cannot run the
# 32-bit Wine, says why in one line and runs the win64 tests only.
#
#   scripts/e2e.sh [--win64|--win32] [pytest arguments]   (e.g. --win32 -k sim -x)
#
# QUORVEL_E2E_BUILD=<dir> and QUORVEL_E2E_BUILD32=<dir> test other builds, which are then not rebuilt.
set -euo pipefail
cd "$(dirname "$0")/.."
archs=(win64 win32)
case ${1:-} in
  --win64 | --win32) archs=("${1#--}"); shift ;;
esac
failed=0
for arch in "${archs[@]}"; do
  wine32=
  if [ "$arch" = win32 ]; then
    if ! wine32=$(scripts/wine32.sh root); then
      echo "The win32 build's end-to-end tests are skipped: $wine32."
      [ ${#archs[@]} -eq 1 ] && exit 1
      continue
    fi
    [ -n "${QUORVEL_E2E_BUILD32:-}" ] || scripts/build.sh win32
  else
    [ -n "${QUORVEL_E2E_BUILD:-}" ] || scripts/build.sh win64
  fi
  echo "End-to-end tests of the $arch build:"
  QUORVEL_E2E_ARCH=$arch QUORVEL_WINE32=$wine32 /usr/bin/python3 -m pytest tests/e2e -q "$@" || failed=1
done
exit $failed
