#!/usr/bin/env bash
# Runs the end-to-end tests: the win64 build under Wine, on an Xvfb display and in Wine
# prefixes that the tests make for themselves under build/e2e. Arguments go to pytest
# (e.g. -k sim -x). QUORVEL_E2E_BUILD=<dir> tests another win64 build, which is then not rebuilt.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${QUORVEL_E2E_BUILD:-}" ]; then
  scripts/build.sh win64
fi
exec /usr/bin/python3 -m pytest tests/e2e -q "$@"
