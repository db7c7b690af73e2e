#!/usr/bin/env bash
# Every test: installs what is missing, builds the native, win64 and win32 trees and the release
# (dist/), checks that the builds load on the oldest Windows they support, runs the unit tests
# (AddressSanitizer and UBSan), the fuzz targets, and the end-to-end tests under Wine against
# both builds (the win32 one where the machine runs the private 32-bit Wine; else it says why).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh native win64 win32
# Both builds must load on the oldest Windows they support; Wine cannot tell.
/usr/bin/python3 scripts/check-oldest-windows.py build/win64 build/win32
scripts/package.sh
build/native/quorvel_tests --gtest_brief=1
scripts/fuzz.sh
QUORVEL_E2E_BUILD=build/win64 QUORVEL_E2E_BUILD32=build/win32 scripts/e2e.sh
