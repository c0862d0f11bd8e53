#!/usr/bin/env bash
# Makes the Debian package from a finished build and checks it: control fields, file list,
# checksums, the desktop entry, AppStream metadata, file types and manual page, and Tarno run
# from the unpacked package (--version, --help, a batch run and, with Xvfb, a start that loads
# the shipped game data from <root>/usr/share/brickhaven).
#   package_test.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
need() {
  command -v "$1" >/dev/null || { echo "FAIL: $1 is not installed (scripts/setup-common.sh lists it)" >&2; exit 1; }
}
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli xmllint \
            update-mime-database man; do
  need "$tool"
done

if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack could not make the package" >&2
  exit 1
fi
deb="$work/out/brickhaven_${version}_amd64.deb"
[ -f "$deb" ] || { ls -l "$work/out" >&2; echo "FAIL: no $deb" >&2; exit 1; }

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = brickhaven ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = amd64 ] || fail "Architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ "$(field Section)" = graphics ] || fail "Section is '$(field Section)'"
# Read whole fields into variables: a pipe that stops reading early would end dpkg-deb
# with SIGPIPE, which pipefail turns into a failure.
description="$(field Description)"
[ "${description%%$'\n'*}" = "level editor for Quake" ] || fail "Description's synopsis"
[ "$(printf '%s\n' "$description" | wc -l)" -gt 5 ] || fail "no long description"
depends="$(field Depends)"
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6opengl6 \
               qt6-qpa-plugins libgl1-mesa-dri; do
  # Each as a whole name in the comma-separated list, with or without a version.
  echo ",$depends," | grep -Eq ",[[:space:]]*${package//+/\\+}([[:space:]]*\(|[[:space:]]*,)" ||
    fail "Depends lacks $package: $depends"
done

# The file list: everything under /usr, what a system install needs, nothing of the build.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | sort >"$work/files"
while read -r path; do
  grep -qx "$path" "$work/files" || fail "the package lacks $path"
done <<EXPECTED
/usr/bin/Tarno
/usr/share/brickhaven/quake.ymx
/usr/share/brickhaven/quake.pal
/usr/share/brickhaven/textures.wad
/usr/share/brickhaven/maps/example.map
/usr/share/brickhaven/help/index.html
/usr/share/applications/org.brickhaven.Tarno.desktop
/usr/share/metainfo/org.brickhaven.Tarno.metainfo.xml
/usr/share/mime/packages/brickhaven.xml
/usr/share/icons/hicolor/16x16/apps/org.brickhaven.Tarno.png
/usr/share/icons/hicolor/48x48/apps/org.brickhaven.Tarno.png
/usr/share/icons/hicolor/256x256/apps/org.brickhaven.Tarno.png
/usr/share/icons/hicolor/48x48/mimetypes/text-x-quake-map.png
/usr/share/icons/hicolor/48x48/mimetypes/application-x-brickhaven-rmf.png
/usr/share/man/man1/Tarno.1.gz
/usr/share/doc/brickhaven/copyright
/usr/share/doc/brickhaven/changelog.gz
EXPECTED
grep -v '^/usr/' "$work/files" | grep -vx '/' && fail "files outside /usr"
grep -E 'install$|/tests?/|\.a$|CMake' "$work/files" && fail "files of the build in the package"
dpkg-deb -c "$deb" | awk '$2 != "root/root" {print}' | grep . && fail "files not owned by root"
dpkg-deb -c "$deb" | awk '$1 ~ /^-/ && $1 != "-rw-r--r--" && $1 != "-rwxr-xr-x" {print}' |
  grep . && fail "files with odd permissions"

# Unpacked into a throw-away root: checksums and the desktop files.
root="$work/root"
dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$work/control"
(cd "$root" && md5sum --quiet -c "$work/control/md5sums") || fail "md5sums don't match"
share="$root/usr/share"
desktop-file-validate "$share/applications/org.brickhaven.Tarno.desktop" || fail "desktop entry"
grep -qx 'Exec=Tarno %f' "$share/applications/org.brickhaven.Tarno.desktop" || fail "Exec line"
grep -qx 'MimeType=text/x-quake-map;application/x-brickhaven-rmf;' \
  "$share/applications/org.brickhaven.Tarno.desktop" || fail "MimeType line"
appstreamcli validate --no-net "$share/metainfo/org.brickhaven.Tarno.metainfo.xml" ||
  fail "AppStream metadata"
grep -q "<release version=\"$version\"" "$share/metainfo/org.brickhaven.Tarno.metainfo.xml" ||
  fail "AppStream release is not $version"
mime="$share/mime/packages/brickhaven.xml"
schema=""
for candidate in /usr/share/xml/shared-mime-info/shared-mime-info.xsd \
                 /usr/share/shared-mime-info/shared-mime-info.xsd; do
  [ -f "$candidate" ] && schema="$candidate"
done
if [ -n "$schema" ]; then
  xmllint --noout --schema "$schema" "$mime" || fail "MIME file against $schema"
else
  xmllint --noout "$mime" || fail "MIME file is no well-formed XML"
fi
# The MIME database compiler checks the file's elements and builds the lookup tables.
update-mime-database "$share/mime" || fail "update-mime-database"
grep -qx 'text/x-quake-map:\*\.map' "$share/mime/globs" || fail "no *.map glob"
grep -qx 'application/x-brickhaven-rmf:\*\.rmf' "$share/mime/globs" || fail "no *.rmf glob"
grep -aq '\[30:text/x-quake-map\]' "$share/mime/magic" || fail "no magic for MAP files"
grep -aq '\[50:application/x-brickhaven-rmf\]' "$share/mime/magic" || fail "no magic for RMF"
warnings="$(man --warnings -E UTF-8 -l "$share/man/man1/Tarno.1.gz" 2>&1 >/dev/null)"
[ -z "$warnings" ] || fail "manual page: $warnings"
manual="$(man -l "$share/man/man1/Tarno.1.gz" 2>/dev/null)"
grep -q -- '--recover-list' <<<"$manual" || fail "manual page lacks the batch options"

# Tarno from the package, with a home of its own.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_STATE_HOME="$work/home/state"
export XDG_DATA_HOME="$work/home/data"
mkdir -p "$HOME"
tarno="$root/usr/bin/Tarno"
[ "$("$tarno" --version)" = "Tarno (Brickhaven) $version" ] || fail "--version: $("$tarno" --version)"
help="$("$tarno" --help)" || fail "--help exits $?"
grep -q -- '--convert IN OUT' <<<"$help" || fail "--help lacks --convert"
# The data is found in <root>/usr/share/brickhaven, not beside the program.
grep -qxF "  $root/usr/share/brickhaven" <<<"$help" || fail "--help names no data folder $root/usr/share/brickhaven"
info="$("$tarno" --info "$share/brickhaven/maps/example.map")" || fail "--info exits $?"
grep -q '^Solids: [1-9]' <<<"$info" || fail "--info on the example map"
if command -v xvfb-run >/dev/null; then
  # A screenshot run reports problems on standard error instead of in dialogs.
  xvfb-run -a -s "-screen 0 1280x800x24" "$tarno" nologo --screenshot "$work/shot.png" \
    "$share/brickhaven/maps/example.map" >"$work/run.log" 2>&1 || fail "Tarno's start exited $?"
  [ -s "$work/shot.png" ] || fail "no screenshot"
  grep -i 'error\|could not\|couldn' "$work/run.log" && fail "Tarno's start reported problems"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package $deb: all checks passed"
