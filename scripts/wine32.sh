#!/usr/bin/env bash
# The private 32-bit Wine that runs the win32 build: Debian's i386 Wine packages unpacked into a
# folder of their own, none of them installed, so the system's Wine (64-bit) stays exactly as it
# is. Installing wine32:i386 system-wide would make /usr/bin/wine start the 32-bit loader for
# everything.
#
#   scripts/wine32.sh make   makes it once per machine; reused while complete and made for the
#                            system Wine's version. Where it cannot be made, says why and exits 0.
#   scripts/wine32.sh root   prints its folder; where the machine cannot run it, prints the
#                            reason on one line and exits 1.
#
# The folder is $QUORVEL_WINE32_HOME, else ~/.cache/quorvel/wine32 (outside every work tree).
set -euo pipefail

home=${QUORVEL_WINE32_HOME:-${XDG_CACHE_HOME:-$HOME/.cache}/quorvel/wine32}
root=$home/root
stamp=$home/complete

wine_version() {
  dpkg-query -W -f='${Version}' wine 2>/dev/null || true
}

# Some kernels refuse 32-bit executables; a tiny static i386 program tells.
runs_32bit_code() {
  local dir status=0
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\n movl $1, %%eax\n movl $42, %%ebx\n int $0x80\n' >"$dir/exit42.s"
  if as --32 -o "$dir/exit42.o" "$dir/exit42.s" 2>/dev/null && ld -m elf_i386 -o "$dir/exit42" "$dir/exit42.o" 2>/dev/null; then
    "$dir/exit42" 2>/dev/null || status=$?
  fi
  rm -rf "$dir"
  [ "$status" -eq 42 ]
}

# Why the 32-bit runs cannot happen here, or nothing when they can.
unavailable_reason() {
  if ! runs_32bit_code; then
    echo "this machine's kernel does not run 32-bit executables"
  elif [ ! -x /lib/ld-linux.so.2 ]; then
    echo "the 32-bit C library (package libc6-i386) is missing"
  elif [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$(wine_version)" ]; then
    echo "the private 32-bit Wine is not made (scripts/wine32.sh make; it needs Debian's i386 packages)"
  fi
}

# apt works on lists of its own here, with i386 added, so the system's apt sources, lists and
# architectures are left alone. The security index for i386 can be stale on the mirror while
# the main one is fine, hence the update's failure is tolerated and the download decides.
make_root() {
  local work=$home/work
  rm -rf "$work" "$root" "$stamp"
  mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/debs" "$root"
  local apt_opts=(-o APT::Architectures::=amd64 -o APT::Architectures::=i386 -o "Dir::State::Lists=$work/lists"
                  -o "Dir::Cache=$work/cache" -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
  apt-get "${apt_opts[@]}" -qq update >"$work/update.log" 2>&1 || true
  # The i386 libraries Wine needs, without the C library (the amd64 package libc6-i386 has it),
  # plus the X extensions and the preloader that the packages only recommend.
  local packages
  packages=$(apt-cache "${apt_opts[@]}" depends --recurse --no-recommends --no-suggests --no-conflicts \
               --no-breaks --no-replaces --no-enhances wine32:i386 |
             sed -n 's/^\([a-z0-9][a-z0-9.+-]*\):i386$/\1/p' |
             grep -vxE 'libc6|cdebconf|dpkg|install-info|sysvinit-utils|tar|xfonts-utils' || true)
  if [ -z "$packages" ]; then
    echo "cannot list Debian's i386 Wine packages (see $work/update.log)" >&2
    return 1
  fi
  packages="$packages wine32-preloader libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1
            libxfixes3 libxxf86vm1 libxkbcommon0"
  # shellcheck disable=SC2046
  (cd "$work/debs" && apt-get "${apt_opts[@]}" -qq download $(printf '%s:i386\n' $packages | sort -u)) \
    >"$work/download.log" 2>&1 || { echo "cannot download Debian's i386 Wine packages (see $work/download.log)" >&2; return 1; }
  for deb in "$work/debs"/*.deb; do
    dpkg -x "$deb" "$root" || return 1
  done
  # What the packages' install scripts would have done. Wine's user32 needs zlib as a builtin
  # library: the MinGW build, marked as one.
  local zlib=/usr/i686-w64-mingw32/lib/zlib1.dll
  [ -f "$zlib" ] || { echo "$zlib is missing (package libz-mingw-w64)" >&2; return 1; }
  { head -c 64 "$zlib"; printf 'Wine builtin DLL'; head -c 16 /dev/zero; tail -c +97 "$zlib"; } \
    >"$root/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll"
  # Debian's wineserver script prefers the host's 64-bit server; this Wine needs its own.
  printf '#!/bin/sh -e\nexec "$(dirname "$0")/wineserver32" -p0 "$@"\n' >"$root/usr/lib/wine/wineserver"
  rm -rf "$work"
  wine_version >"$stamp"
}

case ${1:-} in
  make)
    if ! runs_32bit_code; then
      echo "No private 32-bit Wine: this machine's kernel does not run 32-bit executables."
    elif [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$(wine_version)" ]; then
      :
    elif make_root; then
      echo "Made the private 32-bit Wine in $root."
    else
      echo "No private 32-bit Wine: it could not be made (above)."
    fi
    ;;
  root)
    reason=$(unavailable_reason)
    if [ -n "$reason" ]; then
      echo "$reason"
      exit 1
    fi
    echo "$root"
    ;;
  *)
    echo "usage: $0 make|root" >&2
    exit 2
    ;;
esac
