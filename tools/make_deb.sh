#!/usr/bin/env bash
# tools/make_deb.sh BUILD_DIR OUT_DIR: installs a built tree (prefix /usr)
# into OUT_DIR/root and packs it into OUT_DIR/pelmot_VERSION_ARCH.deb, its
# dependencies worked out from the libraries the programs link. Prints the
# package's path last. ./package.sh builds first and calls this; the package
# test calls it on the build folder the tests run in.
set -euo pipefail
umask 022
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
root=$out/root
rm -rf "$root" "$out/shlibs"
DESTDIR=$root cmake --install "$build" --prefix /usr --strip >/dev/null
# Debian keeps games in /usr/games; the paths to the content and the helper
# (../share/pelmot, ../libexec/pelmot) are the same from there.
mkdir -p "$root/usr/games"
mv "$root/usr/bin/pelmot" "$root/usr/games/pelmot"
rmdir "$root/usr/bin"
# As Debian's own packaging strips: the compiler's notes too.
strip --remove-section=.comment --remove-section=.note "$root/usr/games/pelmot" \
  "$root/usr/libexec/pelmot/pelmot-movie"

version=$("$root/usr/games/pelmot" --version | awk '{print $2}')
arch=$(dpkg --print-architecture)
maintainer=${PELMOT_MAINTAINER:-"PELMOT developers <pelmot@tormvel.org>"}
doc=$root/usr/share/doc/pelmot

# What Debian asks of every package: its copyright and changelog, the
# manual page compressed.
install -d "$doc"
install -m 644 "$source_dir/dist/debian/copyright" "$doc/copyright"
stamp=$(git -C "$source_dir" log -1 --format=%cD 2>/dev/null || date -R)
commit=$(git -C "$source_dir" log -1 --format=%h 2>/dev/null || echo unknown)
printf 'pelmot (%s) unstable; urgency=medium\n\n  * Built from the PELMOT source tree at commit %s.\n\n -- %s  %s\n' \
  "$version" "$commit" "$maintainer" "$stamp" | gzip -9n >"$doc/changelog.gz"
gzip -9nf "$root/usr/share/man/man6/pelmot.6"

# The libraries' packages, as dpkg-shlibdeps finds them (it wants a
# debian/control to read, so it runs in a folder of its own).
mkdir -p "$out/shlibs/debian"
printf 'Source: pelmot\n\nPackage: pelmot\nArchitecture: any\n' >"$out/shlibs/debian/control"
shlibs=$(cd "$out/shlibs" && dpkg-shlibdeps -O "$root/usr/games/pelmot" "$root/usr/libexec/pelmot/pelmot-movie" 2>/dev/null |
  sed -n 's/^shlibs:Depends=//p')
rm -rf "$out/shlibs"
# The libraries the game opens when first used, which no program links:
# the packages their files come from.
while read -r soname; do
  [[ -n $soname ]] || continue
  # Both filters read their input to the end: one that stopped early would
  # kill the writer with SIGPIPE, which pipefail reports as a failure.
  file=$(ldconfig -p | awk -v name="$soname" '$1 == name && !found {print $NF; found = 1}')
  package=$(dpkg -S "$(readlink -f "$file")" 2>/dev/null | sed -n '1s/:.*//p')
  [[ -n $package ]] || { echo "make_deb: no package holds $soname" >&2; exit 1; }
  shlibs+=", $package"
done <"$build/libraries_opened_later.txt"

install -d "$root/DEBIAN"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
sed -e "s|@VERSION@|$version|" -e "s|@ARCH@|$arch|" -e "s|@MAINTAINER@|$maintainer|" \
  -e "s|@SIZE@|$size|" -e "s|@SHLIBS@|$shlibs|" "$source_dir/dist/debian/control.in" >"$root/DEBIAN/control"

deb=$out/pelmot_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
