#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs Quorvel under Wine with the
# substitute Beholder receiver, pressing a scripted sequence of buttons. --network receives
# from lircd instead; --win32 runs the 32-bit build (the one for the makers' 32-bit libraries)
# under the private 32-bit Wine, where the machine can. Other arguments go on to scripts/demo.py.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
arch=win64
args=()
for arg in "$@"; do
  if [ "$arg" = --win32 ]; then arch=win32; else args+=("$arg"); fi
done
if [ "$arch" = win32 ]; then
  if ! QUORVEL_WINE32=$(scripts/wine32.sh root); then
    echo "The 32-bit Quorvel cannot run here: $QUORVEL_WINE32." >&2
    exit 1
  fi
  export QUORVEL_WINE32
fi
scripts/build.sh "$arch"
QUORVEL_E2E_ARCH=$arch exec /usr/bin/python3 scripts/demo.py "${args[@]}"
