#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs Quorvel under Wine with the
# substitute Beholder receiver, pressing a scripted sequence of buttons. --network receives
# from lircd instead; the arguments go on to scripts/demo.py.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh win64
exec /usr/bin/python3 scripts/demo.py "$@"
