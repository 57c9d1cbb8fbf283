# shellcheck shell=bash
# Makes Debian's source packages reachable by `apt-get source`: when no source
# lines are configured, adds one for each Debian binary archive that apt
# already uses (taken from `apt-cache policy`, so no address is written here).
# Needs root (or sudo) only when it has something to add.

DEB_SRC_LIST=/etc/apt/sources.list.d/pelmot-deb-src.list

# Prints "URI SUITE COMPONENT" for each binary archive whose origin is Debian.
debian_archives() {
  apt-cache policy | awk '
    /^ *[0-9]+ [a-z]+:\/\// { uri = $2; n = split($3, parts, "/");
                              comp = parts[n]; suite = substr($3, 1, length($3) - length(comp) - 1);
                              next }
    /^ *release / && uri != "" { if ($0 ~ /o=Debian,/) print uri, suite, comp; uri = "" }
  ' | sort -u
}

source_lines_configured() {
  apt-get source --print-uris --only-source zlib >/dev/null 2>&1
}

enable_deb_src() {
  source_lines_configured && return 0
  local keyring=/usr/share/keyrings/debian-archive-keyring.gpg option=""
  [[ -f $keyring ]] && option="[signed-by=$keyring] "
  local lines
  lines=$(debian_archives | awk -v opt="$option" '{ print "deb-src " opt $1 " " $2 " " $3 }')
  [[ -n $lines ]] || die "no Debian archive in apt's configuration to take source lines from"
  log "adding Debian source lines to $DEB_SRC_LIST"
  printf '%s\n' "# Added by PELMOT's tools/web/build_deps.sh" "$lines" | as_root tee "$DEB_SRC_LIST" >/dev/null
  as_root apt-get update -qq
  source_lines_configured || die "apt-get source still finds nothing after adding $DEB_SRC_LIST"
}
