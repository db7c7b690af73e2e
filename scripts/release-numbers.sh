#!/usr/bin/env bash
# Prints a number the release takes from the program's headers, whatever their spacing:
#   scripts/release-numbers.sh version [resources/Version.h]     the four-part version, e.g. 0.1.0.1
#   scripts/release-numbers.sh exit-command [src/ui/ControlIds.h] the tray menu's "Exit" command
# Fails, saying what it missed, when the header does not hold it.
set -euo pipefail
cd "$(dirname "$0")/.."

version_part() {  # header part
  sed -nE "s/^[[:space:]]*#[[:space:]]*define[[:space:]]+QUORVEL_VERSION_$2[[:space:]]+([0-9]+)[[:space:]]*(\/\/.*)?$/\1/p" "$1"
}

case ${1:-} in
  version)
    header=${2:-resources/Version.h}
    version="$(version_part "$header" MAJOR).$(version_part "$header" MINOR).$(version_part "$header" PATCH).$(version_part "$header" BUILD)"
    if ! [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
      echo "$header holds no four-part version (read \"$version\")" >&2
      exit 1
    fi
    echo "$version"
    ;;
  exit-command)
    header=${2:-src/ui/ControlIds.h}
    command=$(sed -nE 's/.*X\([[:space:]]*ExitPM[[:space:]]*,[[:space:]]*([0-9]+)[[:space:]]*\).*/\1/p' "$header")
    if ! [[ $command =~ ^[0-9]+$ ]]; then
      echo "no ExitPM command in $header" >&2
      exit 1
    fi
    echo "$command"
    ;;
  *)
    echo "usage: scripts/release-numbers.sh version|exit-command [header]" >&2
    exit 2
    ;;
esac
