# Which Windows builds this machine can run, and how: sourced by the other
# scripts (source "$root/scripts/arch.sh"), never run on its own.
#
# Some machines of this kind run 64-bit user code only: there the 32-bit Wine
# loader ends with "Exec format error", and the 32-bit build can be built but
# not run. The 64-bit build runs everywhere, under the 64-bit loader in a
# 64-bit prefix of its own.

wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64

# True when this machine runs 32-bit code, asked of the 32-bit Wine loader
# itself. VELMORA_NO_32BIT=1 makes it say no, so that the 64-bit-only path can
# be tried anywhere. Sets no_32bit_reason when it says no.
runs_32bit() {
  no_32bit_reason=""
  if [ "${VELMORA_NO_32BIT:-}" = 1 ]; then
    no_32bit_reason="VELMORA_NO_32BIT=1 is set"
    return 1
  fi
  local said
  if ! said=$("$wine32_loader" --version 2>&1 </dev/null); then
    no_32bit_reason="the 32-bit Wine loader does not run here: ${said:-no output}"
    return 1
  fi
  return 0
}

# The architecture of a build folder, from its CMake cache: x86, x64, or
# nothing (with a message) for a folder that is not a configured Windows build.
build_arch() {
  local cache=$1/CMakeCache.txt arch
  if [ ! -f "$cache" ]; then
    echo "arch: $1 is not a configured build (no CMakeCache.txt)" >&2
    return 1
  fi
  arch=$(sed -n 's/^VELMORA_ARCH:INTERNAL=//p' "$cache")
  case "$arch" in
    x86|x64) echo "$arch" ;;
    *) echo "arch: $1 is not a Windows build of this project (no architecture in its cache)" >&2; return 1 ;;
  esac
}

# The architecture a Windows executable was built for, from its PE header
# (x86 or x64); nothing for a file that is not a PE executable.
pe_arch() {
  local file=$1 offset signature machine
  [ -f "$file" ] || return 0
  [ "$(head -c 2 "$file" 2>/dev/null)" = MZ ] || return 0
  offset=$(od -An -t u4 -j 60 -N 4 "$file" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] || return 0
  signature=$(od -An -t x1 -j "$offset" -N 4 "$file" 2>/dev/null | tr -d ' ')
  [ "$signature" = 50450000 ] || return 0
  machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$file" 2>/dev/null | tr -d ' ')
  case "$machine" in
    014c) echo x86 ;;
    8664) echo x64 ;;
  esac
}

# Sets the environment for running programs of a build of architecture $1
# (x86 or x64) in the Wine prefix $2: exports WINEPREFIX, WINEARCH and, for
# x64, WINELOADER, and sets `wine` to the loader to call. Wine's helper
# programs (wineboot, reg) go through the same loader: /usr/bin/wineboot
# would take the 32-bit loader wherever wine32 is installed. Fails with a
# message when this machine cannot run that architecture.
use_wine() {
  local arch=$1
  export WINEPREFIX=$2
  case "$arch" in
    x64)
      export WINEARCH=win64 WINELOADER=$wine64_loader
      wine=$wine64_loader
      ;;
    x86)
      if ! runs_32bit; then
        echo "wine: a 32-bit build cannot run on this machine ($no_32bit_reason)" >&2
        return 1
      fi
      unset WINEARCH WINELOADER
      wine=wine
      ;;
    *) echo "wine: unknown architecture '$arch'" >&2; return 1 ;;
  esac
}

# The Windows preset that demos and benchmarks use: VELMORA_ARCH=x86|x64 if
# set, otherwise the 64-bit one, which every machine of this kind runs (and
# so figures compare across machines).
pick_windows_preset() {
  case "${VELMORA_ARCH:-x64}" in
    x64) echo windows64 ;;
    x86)
      if ! runs_32bit; then
        echo "VELMORA_ARCH=x86, but this machine runs no 32-bit code ($no_32bit_reason)" >&2
        return 1
      fi
      echo windows
      ;;
    *) echo "VELMORA_ARCH must be x86 or x64, not '$VELMORA_ARCH'" >&2; return 1 ;;
  esac
}
