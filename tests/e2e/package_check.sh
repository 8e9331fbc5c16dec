#!/usr/bin/env bash
# The release package as a user gets it: built, unpacked into an empty folder, holding just
# the program, the user guide (and its two pictures) and the licence; the program is one for
# the package's machine (x86 for win32, x64 for win64), its manifest says so, and the 64-bit
# one starts from there under Wine beside the stand-in and posts its loaded-by line (Wine
# here runs 64-bit programs only).
#   package_check.sh BUILD_DIR VERSION win32|win64
set -u
usage="usage: package_check.sh BUILD_DIR VERSION win32|win64"
build=$(cd "${1:?$usage}" && pwd)
version=${2:?$usage}
arch=${3:?$usage}
case $arch in
  win32) machine=014c manifest=x86 ;;
  win64) machine=8664 manifest=amd64 ;;
  *) echo "$usage"; exit 2 ;;
esac
top=$(cd "$(dirname "$0")/../.." && pwd)
work="$build/package-check"
rm -rf "$work"
mkdir -p "$work/unpacked"

status=0
fail() { echo "package_check: $*"; status=1; }

name="zantic-idle-$version-$arch"
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.out" 2>&1 || { cat "$work/cpack.out"; fail "cpack failed"; exit 1; }
zip="$work/$name.zip"
[ -f "$zip" ] || { fail "no $name.zip"; exit 1; }

entries=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
[ "$entries" = "$(printf '%s\n' "$name/LICENSE.txt" "$name/USER-GUIDE.txt" "$name/digest.png" "$name/tray-menu.png" "$name/zantic-idle.exe" | sort)" ] ||
  fail "the zip holds other files than the program, the guide with its pictures and the licence: $entries"
unzip -q "$zip" -d "$work/unpacked" || fail "the zip does not unpack"
dir="$work/unpacked/$name"
exe="$dir/zantic-idle.exe"
cmp -s "$dir/LICENSE.txt" "$top/LICENSE" || fail "LICENSE.txt is not the licence"
grep -q '^## The buttons' "$dir/USER-GUIDE.txt" || fail "USER-GUIDE.txt is not the user guide"
# The version resource's texts are UTF-16.
strings -el "$exe" | grep -qx "$version" || fail "the program carries no version $version"
strings "$exe" | grep -q '<dpiAware' || fail "the program carries no manifest that declares its DPI awareness"
# The machine type in the PE header: 0x014c x86, 0x8664 x64.
pe=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
[ "$(od -An -tx2 -j$((pe + 4)) -N2 "$exe" | tr -d ' ')" = "$machine" ] || fail "zantic-idle.exe is not a program for $arch"
strings "$exe" | tr -s ' \n' ' ' | grep -q "name=\"zantic.idle\" version=\"[0-9.]*\" processorArchitecture=\"$manifest\"" ||
  fail "the manifest does not name the machine $manifest"
if [ "$arch" = win32 ]; then
  [ $status -eq 0 ] && echo "package_check: $name.zip unpacks to the program for x86, the guide and the licence"
  exit $status
fi

. "$top/scripts/wine-env"
zantic_wine_setup "$build/aolsim.exe" || exit 1
log="$work/aolsim.log"
/usr/lib/wine/wine64 "$build/aolsim.exe" --log "$(winepath -w "$log" 2>/dev/null)" >"$work/aolsim.out" 2>&1 </dev/null &
sim=$!
# wait_for PATTERN: the pattern in the stand-in's log within 10 s.
wait_for() {
  local i
  for i in $(seq 1 100); do
    grep -q "$1" "$log" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}
if wait_for '"event":"ready"'; then
  (cd "$dir" && exec /usr/lib/wine/wine64 "$exe" >"$work/program.out" 2>&1 </dev/null) &
  program=$!
  wait_for '"speaker":"Pat Doe",.*"shown":"Pat Doe:\\tb zantic idle loaded by "' ||
    fail "the unpacked program posted no loaded-by line"
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
else
  fail "the stand-in did not start"
fi
kill "$sim" 2>/dev/null
wait "$sim" 2>/dev/null
[ $status -eq 0 ] && echo "package_check: $name.zip unpacks to the program, the guide and the licence; the program starts and posts its loaded-by line"
exit $status
