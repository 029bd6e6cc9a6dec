#!/usr/bin/env bash
# The set-up's answer to a package mirror in mid-sync and to a missing
# locale, the choice of the Wine loader for a build, and the check for ANSI
# text functions, tried without touching the machine: apt-get, dpkg and
# friends are stand-ins on PATH, builds are folders with a CMake cache,
# programs are files with a PE header or tiny programs of the mingw-w64
# compilers.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
contains() { grep -q -- "$2" <<<"$1"; }

# --- scripts/setup against a scripted apt-get --------------------------------
fake=$work/bin
mkdir -p "$fake"
cat >"$fake/apt-get" <<'FAKE'
#!/usr/bin/env bash
# Fails "update" as many times as $APT_FAILS says (-1: always), logs every call.
echo "$*" >>"$APT_LOG"
if [ "$1" = update ]; then
  n=$(cat "$APT_COUNT" 2>/dev/null || echo 0); echo $((n + 1)) >"$APT_COUNT"
  if [ "$APT_FAILS" = -1 ] || [ "$n" -lt "$APT_FAILS" ]; then
    echo "E: Failed to fetch http://mirror/debian-security/binary-i386/Packages.xz  File has unexpected size"
    exit 100
  fi
  exit 0
fi
[ -z "${APT_INSTALL_FAILS:-}" ] || { echo "E: Unable to correct problems, you have held broken packages."; exit 100; }
exit 0
FAKE
printf '#!/bin/sh\nexit 1\n' >"$fake/dpkg-query"           # nothing is installed
printf '#!/bin/sh\necho 0\n' >"$fake/id"                   # root
printf '#!/bin/sh\necho i386\n' >"$fake/dpkg"              # i386 is there
printf '#!/bin/sh\nprintf "%%s\\n" $LOCALES\n' >"$fake/locale"  # these locales are there
printf '#!/bin/sh\necho run >>"$LOCALE_GEN_LOG"\n' >"$fake/locale-gen"
chmod +x "$fake"/*

run_setup() {  # run_setup FAILS [install fails]: sets out, rc, calls
  : >"$work/apt.log"; rm -f "$work/apt.count"
  out=$(PATH=$fake:$PATH APT_LOG=$work/apt.log APT_COUNT=$work/apt.count APT_FAILS=$1 \
        APT_INSTALL_FAILS=${2:-} VELMORA_APT_RETRY_SECONDS=0 LOCALES=${LOCALES:-"zh_CN.utf8 en_US.utf8 ru_RU.utf8"} \
        LOCALE_GEN_LOG=$work/locale-gen.log VELMORA_LOCALE_GEN_FILE=$work/locale.gen "$root/scripts/setup" 2>&1)
  rc=$?
  calls=$(cat "$work/apt.log")
}

run_setup 1
check "update fails once: tried again" [ "$(grep -c '^update' <<<"$calls")" = 2 ]
check "update fails once: plain install" bash -c '[[ "$1" =~ ^install ]] && ! [[ "$1" =~ "-t bookworm" ]]' _ "$(grep '^install' <<<"$calls")"
check "update fails once: success" [ "$rc" = 0 ]

run_setup -1
check "index always fails: three tries" [ "$(grep -c '^update' <<<"$calls")" = 3 ]
check "index always fails: named" contains "$out" "could not be fetched: http://mirror/debian-security/binary-i386/Packages.xz"
check "index always fails: release archive" contains "$(grep '^install' <<<"$calls")" "-t bookworm"
check "index always fails: success" [ "$rc" = 0 ]

run_setup 0 yes
check "install fails: non-zero" [ "$rc" != 0 ]
check "install fails: packages named" contains "$out" "could not install: .*wine64"
check "install fails: apt's error" contains "$out" "held broken packages"

# The three locales of the tests: only a missing one is generated, once.
printf '# en_US.UTF-8 UTF-8\n# ru_RU.UTF-8 UTF-8\nzh_CN.UTF-8 UTF-8\n' >"$work/locale.gen"
: >"$work/locale-gen.log"
run_setup 0
check "locales there: none generated" [ ! -s "$work/locale-gen.log" ]
LOCALES="zh_CN.utf8 en_US.utf8" run_setup 0
check "ru_RU missing: generated once" [ "$(cat "$work/locale-gen.log")" = run ]
check "ru_RU missing: enabled, the others as they were" \
  [ "$(cat "$work/locale.gen")" = "$(printf '# en_US.UTF-8 UTF-8\nru_RU.UTF-8 UTF-8\nzh_CN.UTF-8 UTF-8')" ]

# --- scripts/arch.sh and scripts/wine-run ------------------------------------
source "$root/scripts/arch.sh"
make_build() {  # make_build DIR ARCH
  mkdir -p "$1"; printf 'CMAKE_BUILD_TYPE:STRING=Release\nVELMORA_ARCH:INTERNAL=%s\n' "$2" >"$1/CMakeCache.txt"
}
make_pe() {  # make_pe FILE MACHINE(hex, little-endian bytes): a PE header and nothing else
  { printf 'MZ'; head -c 58 /dev/zero; printf '\x40\x00\x00\x00'; printf 'PE\x00\x00'; printf "$2"; head -c 16 /dev/zero; } >"$1"
}
make_build "$work/b32" x86
make_build "$work/b64" x64
mkdir -p "$work/other"
make_pe "$work/p32.exe" '\x4c\x01'
make_pe "$work/p64.exe" '\x64\x86'
printf 'not a program' >"$work/text.exe"

check "cache: x86" [ "$(build_arch "$work/b32")" = x86 ]
check "cache: x64" [ "$(build_arch "$work/b64")" = x64 ]
check "cache: not a build" bash -c '! build_arch "$1" 2>/dev/null' _ "$work/other"
check "PE: x86" [ "$(pe_arch "$work/p32.exe")" = x86 ]
check "PE: x64" [ "$(pe_arch "$work/p64.exe")" = x64 ]
check "PE: not one" [ -z "$(pe_arch "$work/text.exe")" ]

no32=$(VELMORA_NO_32BIT=1 bash -c 'source "$1"; runs_32bit || echo "no: $no_32bit_reason"' _ "$root/scripts/arch.sh")
check "NO_32BIT: says no" contains "$no32" "no: VELMORA_NO_32BIT=1"
picked=$(VELMORA_NO_32BIT=1 VELMORA_ARCH=x86 bash -c 'source "$1"; pick_windows_preset' _ "$root/scripts/arch.sh" 2>&1)
check "NO_32BIT: x86 not picked" contains "$picked" "runs no 32-bit code"
check "default preset: 64-bit" [ "$(VELMORA_NO_32BIT=1 bash -c 'source "$1"; pick_windows_preset' _ "$root/scripts/arch.sh")" = windows64 ]

# A mismatch is refused before any Wine program starts: at once, exit 2.
out=$(timeout 20 "$root/scripts/wine-run" "$work/b64" "$work/p32.exe" 2>&1); rc=$?
check "x86 program, x64 build: refused" [ "$rc" = 2 ]
check "x86 program, x64 build: said" contains "$out" "is an x86 program, but .* is an x64 build"
out=$(timeout 20 "$root/scripts/wine-run" "$work/b32" "$work/p64.exe" 2>&1); rc=$?
check "x64 program, x86 build: refused" [ "$rc" = 2 ]
out=$(VELMORA_NO_32BIT=1 timeout 20 "$root/scripts/wine-run" "$work/b32" "$work/p32.exe" 2>&1); rc=$?
check "32-bit build, no 32-bit code: refused" [ "$rc" = 126 ]
check "32-bit build, no 32-bit code: said" contains "$out" "cannot run on this machine (VELMORA_NO_32BIT=1"
out=$(timeout 20 "$root/scripts/wine-run" "$work/other" "$work/p64.exe" 2>&1); rc=$?
check "not a build: refused" [ "$rc" = 2 ]

# --- scripts/check-text-functions against tiny programs ---------------------
# make_program DIR TRIPLE SOURCE: a configured build of SOURCE (its own
# source tree), whose program and console twin are the same tiny program.
make_program() {
  local dir=$1 triple=$2 obj=$1/app/CMakeFiles/program.dir/Main.c.obj
  mkdir -p "$dir/src" "$(dirname "$obj")"
  printf '%s\n' "$3" >"$dir/src/Main.c"
  printf 'CMAKE_OBJDUMP:FILEPATH=/usr/bin/%s-objdump\nCMAKE_NM:FILEPATH=/usr/bin/%s-nm\nCMAKE_HOME_DIRECTORY:INTERNAL=%s\n' \
    "$triple" "$triple" "$dir/src" >"$dir/CMakeCache.txt"
  "$triple-gcc-posix" -c "$dir/src/Main.c" -o "$obj" &&
    "$triple-gcc-posix" -static "$obj" -o "$dir/app/VelmoraConfig.exe" -luser32 &&
    cp "$dir/app/VelmoraConfig.exe" "$dir/app/VelmoraConfig.com"
}
late='const char* names[] = {"comdlg32.dll", "GetOpenFileName%s", "DATA"};'
main='#include <windows.h>
int main(void) { %s; return names[0][0]; }'
make_program "$work/ansi" x86_64-w64-mingw32 "$(printf "$late\n$main" W 'MessageBoxA(0, "a", "b", 0)')"
out=$("$root/scripts/check-text-functions" "$work/ansi" 2>&1); rc=$?
check "MessageBoxA imported: fails" [ "$rc" = 1 ]
check "MessageBoxA imported: named" contains "$out" "USER32.dll!MessageBoxA: VelmoraConfig.exe VelmoraConfig.com"
check "MessageBoxA imported: only it" contains "$out" " 1 ANSI text functions"
make_program "$work/wide" x86_64-w64-mingw32 "$(printf "$late\n$main" W 'MessageBoxW(0, L"a", L"b", 0)')"
out=$("$root/scripts/check-text-functions" "$work/wide" 2>&1); rc=$?
check "wide only: passes" [ "$rc" = 0 ]
check "wide only: the runtime's own named apart" contains "$out" "runtime, not the program's code: .*GetStartupInfoA"
make_program "$work/late" x86_64-w64-mingw32 "$(printf "$late\n$main" A 'MessageBoxW(0, L"a", L"b", 0)')"
out=$("$root/scripts/check-text-functions" "$work/late" 2>&1); rc=$?
check "GetOpenFileNameA looked up: fails" [ "$rc" = 1 ]
check "GetOpenFileNameA looked up: named with its place" contains "$out" "comdlg32.dll!GetOpenFileNameA: loaded late at Main.c:1"
make_program "$work/ansi32" i686-w64-mingw32 "$(printf "$late\n$main" W 'CreateFileA("x", 0, 0, 0, 3, 0, 0)')"
out=$("$root/scripts/check-text-functions" "$work/ansi32" 2>&1); rc=$?
check "32-bit CreateFileA: fails" [ "$rc" = 1 ]
check "32-bit CreateFileA: named" contains "$out" "KERNEL32.dll!CreateFileA:"

# --- scripts/check-includes against a tree of two libraries -----------------
tree=$work/tree
mkdir -p "$tree/low" "$tree/high" "$tree/build"
printf '#pragma once\n' >"$tree/low/Low.h"
printf '#pragma once\n' >"$tree/high/High.h"
printf '#include "low/Low.h"\n' >"$tree/low/Low.cpp"
printf '#include "high/High.h"\n#include "low/Low.h"\n' >"$tree/high/High.cpp"
printf 'target low STATIC_LIBRARY\nsource low low/Low.cpp\ntarget high STATIC_LIBRARY\nsource high high/High.cpp\nlink high low\n' \
  >"$tree/build/library-graph.txt"
git -C "$tree" init -q && git -C "$tree" add low high
out=$(VELMORA_SOURCE_ROOT=$tree "$root/scripts/check-includes" "$tree/build" 2>&1); rc=$?
check "includes down the graph: pass" [ "$rc" = 0 ]
printf '#include "high/High.h"\n' >"$tree/low/Low.h"  # reached from low/Low.cpp
out=$(VELMORA_SOURCE_ROOT=$tree "$root/scripts/check-includes" "$tree/build" 2>&1); rc=$?
check "upward include: fails" [ "$rc" = 1 ]
check "upward include: named" contains "$out" "low/Low.h includes high/High.h: high belongs to high, which low does not link"

echo "scripts: $passed passed, $failed failed"
[ "$failed" = 0 ]
