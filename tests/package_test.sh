#!/usr/bin/env bash
# tests/package_test.sh BUILD_DIR: the install tree and the Debian package
# made from the built tree. The desktop entry and AppStream data pass their
# validators; lintian finds no error in the package; unpacked into a
# throw-away root, the program there plays a headless script with its own
# content and movie helper, and so does an install tree moved elsewhere.
# Skips (77) without the Debian tools.
set -euo pipefail
build=$1
source_dir=$(cd "$(dirname "$0")/.." && pwd)
for tool in dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=$("$source_dir/tools/make_deb.sh" "$build" "$work/out" | tail -n 1)
[[ -f $deb ]] || fail "no package made"
version=$("$build/pelmot" --version | awk '{print $2}')
[[ $(basename "$deb") == "pelmot_${version}_$(dpkg --print-architecture).deb" ]] || fail "package named $deb, version $version"
[[ $(dpkg-deb -f "$deb" Depends) == *libsdl2* ]] || fail "no library among the dependencies: $(dpkg-deb -f "$deb" Depends)"

# A plain install (bin/), as cmake --install makes it.
cmake --install "$build" --prefix "$work/install" >/dev/null
tree=$work/install
desktop-file-validate "$tree/share/applications/org.tormvel.pelmot.desktop"
appstreamcli validate --no-net "$tree/share/metainfo/org.tormvel.pelmot.metainfo.xml" >/dev/null ||
  fail "appstreamcli: $(appstreamcli validate --no-net "$tree/share/metainfo/org.tormvel.pelmot.metainfo.xml")"
for size in 16 48 512; do
  [[ $(file -b "$tree/share/icons/hicolor/${size}x$size/apps/pelmot.png") == *"$size x $size"* ]] || fail "icon $size"
done
lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" >"$work/lintian.txt" 2>&1 ||
  fail "lintian: $(cat "$work/lintian.txt")"

# The logo movie opens (its helper is found below libexec/: no message box
# says otherwise), the title follows and a new game starts.
play() {
  local data
  data=$(mktemp -d -p "$work")
  "$1" --headless --script - --data-dir "$data" <<'SCRIPT' || fail "$1 did not play"
expect FlowMode 0
expect LastMessage null
click 400 300
expect StepNo[0] 2
expect ShownPic 0
click 400 300
pick 0
expect FlowMode 1
expect SceneNo 0
SCRIPT
}

dpkg-deb -x "$deb" "$work/unpacked"
play "$work/unpacked/usr/games/pelmot"
# Moved: the content and the helper are found relative to the program.
mv "$work/install" "$work/moved"
play "$work/moved/bin/pelmot"
echo "package: $(du -k "$deb" | cut -f1) KiB; install tree: $(du -sk "$work/moved" | cut -f1) KiB"
