#!/usr/bin/env bash
# Builds the release into dist/ from the win32 and win64 builds: for each, a portable zip and a
# per-user installer, named after the version of resources/Version.h, and SHA256SUMS.
# The makers' libraries, the substitute libraries and the virtual remote are never packaged.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh win64 win32

version=$(scripts/release-numbers.sh version)

# Every file carries the time of the last commit, so the same tree gives the same zips.
stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}

# Windows users read the texts in Notepad: ASCII with CR LF line ends.
windows_text() {  # source target
  if grep -qP '[^\x00-\x7F]' "$1"; then
    echo "$1 holds characters outside ASCII" >&2
    exit 1
  fi
  sed 's/\r*$/\r/' "$1" > "$2"
}

# The tray menu's "Exit" command, which the installer sends to a running Quorvel.
exit_command=$(scripts/release-numbers.sh exit-command)

rm -rf dist build/release
mkdir -p dist
dist=$(pwd)/dist
for arch in win32 win64; do
  stage=build/release/$arch
  mkdir -p "$stage"
  cp "build/$arch/Quorvel.exe" "$stage/"
  windows_text docs/guide.md "$stage/README.txt"
  windows_text LICENSE "$stage/LICENSE.txt"
  windows_text CHANGELOG.md "$stage/CHANGELOG.txt"
  files=(Quorvel.exe README.txt LICENSE.txt CHANGELOG.txt)
  (cd "$stage" && touch -d "@$stamp" "${files[@]}" &&
    TZ=UTC zip -X -D -q "$dist/Quorvel-$version-$arch.zip" "${files[@]}")
  makensis -V2 -WX -DVERSION="$version" -DARCH="$arch" -DSTAGE="$(pwd)/$stage" -DEXIT_COMMAND="$exit_command" \
    -DOUTFILE="$dist/Quorvel-$version-$arch-setup.exe" installer/Quorvel.nsi
done
(cd dist && sha256sum -- Quorvel-* > SHA256SUMS)
ls -l dist
