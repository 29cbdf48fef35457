#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed program,
# its data, its libraries and its desktop files.   install-test.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
app_id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

program="$prefix/bin/orvane"
[ -x "$program" ] || fail "no program at $program"
data="$prefix/share/orvane"

# No display and no usable platform plugin: a window could not start.
quiet=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=none)
version=$("${quiet[@]}" "$program" --version) || fail "--version failed"
[[ $version == "Orvane Editor "* ]] || fail "--version printed: $version"
help=$("${quiet[@]}" "$program" --help) || fail "--help failed"
grep -qF "Help page and sample libraries: $data" <<<"$help" \
  || fail "--help does not name the installed data folder $data: $help"

[ -s "$data/help.htm" ] || fail "no help.htm in $data"
grep -o 'src="help/[^"]*"' "$data/help.htm" | sed 's/^src="//; s/"$//' | while read -r picture; do
  [ -s "$data/$picture" ] || fail "help picture missing: $picture"
done
for library in "javascript library" "asp library" "image library"; do
  [ -n "$(ls -A "$data/$library" 2>/dev/null)" ] || fail "empty or missing: $data/$library"
done

# Where a library that object needs is loaded from: it must be the prefix.
from_prefix() {
  local where
  where=$(ldd "$1" | awk -v l="$2" '$1 == l { print $3 }')
  case "$where" in
    "$prefix"/*) ;;
    *) fail "$2 is loaded from '${where:-nowhere}' for $1, not from the prefix" ;;
  esac
}
from_prefix "$program" liborvane-dialogs.so
# The FTP window's module is opened by name on the program's run path, and
# brings the FTP library with it; the program itself does not load that library.
runpath=$(readelf -d "$program" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
module="${runpath//\$ORIGIN/$prefix/bin}/liborvane-ftp-window.so"
[ -f "$module" ] || fail "no FTP window module on the program's run path ($runpath)"
from_prefix "$module" liborvane-ftp.so
if ldd "$program" | grep -q liborvane-ftp.so; then fail "the program loads the FTP library at start"; fi

desktop="$prefix/share/applications/$app_id.desktop"
desktop-file-validate "$desktop" || fail "desktop entry"
grep -q '^Exec=orvane %F$' "$desktop" || fail "desktop entry does not start orvane with files"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$app_id.metainfo.xml" >/dev/null \
  || fail "metainfo: $(appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml")"
for icon in scalable/apps/$app_id.svg 48x48/apps/$app_id.png 256x256/apps/$app_id.png; do
  [ -s "$prefix/share/icons/hicolor/$icon" ] || fail "icon missing: $icon"
done
[[ $(file -b "$prefix/share/icons/hicolor/48x48/apps/$app_id.png") == *"48 x 48"* ]] || fail "48 pixel icon"
echo "installed and checked in $prefix"
