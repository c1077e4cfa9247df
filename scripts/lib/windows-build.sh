# Which Windows build the tests and the run use on this host. kavlo.exe is a
# 32-bit program and is tested as one wherever the host can run 32-bit x86
# code. Some hosts cannot at all (their kernel has 32-bit emulation switched
# off): Wine's 32-bit loader does not start there, and neither does any
# 32-bit Windows code under Wine. On those the Windows tests run as the
# 64-bit build of the same sources under Wine's 64-bit loader alone, and say
# so; what only a 32-bit program shows (WOW64, a 32-bit Windows) is skipped.

# win32, or win64 where this host cannot run 32-bit x86 code. Needs the
# 32-bit C library that Wine's 32-bit side brings (scripts/install-deps).
windows_preset() {
  if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then echo win32; else echo win64; fi
}

# For the win64 preset: says so, and makes `wine` and the commands built on
# it (wineboot, winepath, regedit...) go straight to the 64-bit loader, since
# the wine command tries the 32-bit one first. The two stand-ins live in the
# preset's build folder under <repository>.
use_windows_preset() { # <preset> <repository>
  [ "$1" = win64 ] || return 0
  echo "== this host cannot run 32-bit x86 code: Windows programs run as the 64-bit build" \
    "(preset win64); kavlo.exe ships as the 32-bit build" >&2
  local folder=$2/build/win64/wine64-only name
  mkdir -p "$folder"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$folder/$name"
    chmod +x "$folder/$name"
  done
  export PATH="$folder:$PATH" WINELOADER=/usr/lib/wine/wine64
}

# The processor a Windows program or DLL is built for: i386 or x86_64 (from
# its PE header), or nothing when the file is not one.
pe_machine() { # <file>
  local header machine
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 0
  [ -n "$header" ] || return 0
  machine=$(od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  case $machine in
    014c) echo i386 ;;
    8664) echo x86_64 ;;
  esac
}
