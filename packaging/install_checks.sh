#!/usr/bin/env bash
# Checks of the installed program and its desktop files, run by ctest:
#   moved-prefix BUILD EXAMPLE   cmake --install into a temporary prefix, move it, run batch jobs
#                                from another folder, among them one of each plug-in (/STEP, /PDF:1)
#   deb BUILD EXAMPLE            cpack -G DEB, unpack with dpkg-deb -x, run batch jobs from there
#   desktop FILE | metainfo FILE | mime FILE | man FILE   the validators of those files
# Exit 77 (skipped) when a tool the check needs is missing.
set -euo pipefail

need() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
  done
}
fail() { echo "FAIL: $*" >&2; exit 1; }

tmp="$(mktemp -d "${TMPDIR:-/tmp}/velk-install-XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
# Never the configuration of the user running the checks.
export VELK_CONFIG_DIR="$tmp/config"
export TMPDIR="$tmp"
unset VELK_DATA_DIR DISPLAY WAYLAND_DISPLAY

# Runs BIN with the example named EXAMPLE (found in DATA/examples) from a fresh folder and checks
# the report appears there.
batch_job() {
  local bin="$1" data="$2" example="$3"
  mkdir -p "$tmp/work"
  cp "$data/examples/$example" "$tmp/work/"
  (cd "$tmp/work" && "$bin" "$example" /I /NOGUI) || fail "$bin $example /I exited with $?"
  local report="$tmp/work/${example%.vlk}.txt"
  [ -s "$report" ] || fail "no report $report"
  grep -q "HAUPTABMESSUNGEN" "$report" || fail "the report has no main dimensions"
  [ ! -e "$tmp/config/velk.cfg" ] || fail "a batch job wrote the configuration"
}

# Runs the jobs of the plug-ins in PREFIX/lib/velk (the STEP writer, the window's PDF writer) with
# BIN on the example copied by batch_job, and checks their files.
plugin_jobs() {
  local bin="$1" prefix="$2" example="$3"
  for p in step.so window.so; do
    [ -e "$prefix/lib/velk/$p" ] || fail "not installed: lib/velk/$p"
  done
  (cd "$tmp/work" && "$bin" "$example" /STEP) || fail "$bin $example /STEP exited with $?"
  head -c 13 "$tmp/work/${example%.vlk}.step" | grep -q "ISO-10303-21;" || fail "no STEP file"
  (cd "$tmp/work" && "$bin" "$example" /PDF:1) || fail "$bin $example /PDF:1 exited with $?"
  head -c 5 "$tmp/work/${example%.vlk}.pdf" | grep -q "%PDF-" || fail "no PDF file"
}

case "$1" in
  moved-prefix)
    need cmake
    build="$2"
    cmake --install "$build" --prefix "$tmp/first" >/dev/null
    mv "$tmp/first" "$tmp/moved"
    for f in bin/wvelk share/velk/velkwst.dbf share/velk/examples/"$3" \
             share/applications/de.velk.wvelk.desktop share/mime/packages/velk.xml \
             share/metainfo/de.velk.wvelk.metainfo.xml share/man/man1/wvelk.1 \
             share/icons/hicolor/scalable/apps/de.velk.wvelk.svg \
             share/icons/hicolor/16x16/apps/de.velk.wvelk.png share/icons/hicolor/256x256/apps/de.velk.wvelk.png; do
      [ -e "$tmp/moved/$f" ] || fail "not installed: $f"
    done
    batch_job "$tmp/moved/bin/wvelk" "$tmp/moved/share/velk" "$3"
    plugin_jobs "$tmp/moved/bin/wvelk" "$tmp/moved" "$3"
    ;;
  deb)
    need cpack dpkg-deb dpkg-shlibdeps
    build="$2"
    cpack --config "$build/CPackConfig.cmake" -B "$tmp/pkg" -G DEB >"$tmp/cpack.log" 2>&1 ||
      { cat "$tmp/cpack.log"; fail "cpack failed"; }
    deb="$(ls "$tmp"/pkg/velk_*.deb)"
    depends="$(dpkg-deb -f "$deb" Depends)"
    echo "Depends: $depends"
    case "$depends" in *libc6*) ;; *) fail "Depends names no libc6: $depends" ;; esac
    case "$depends" in *libqt6*) ;; *) fail "Depends names no Qt library: $depends" ;; esac
    case "$depends" in *libocct*) ;; *) fail "Depends names no OpenCASCADE library (the STEP plug-in): $depends" ;; esac
    [ "$(dpkg-deb -f "$deb" Section)" = science ] || fail "section is not science"
    dpkg-deb -x "$deb" "$tmp/root"
    [ -e "$tmp/root/usr/share/applications/de.velk.wvelk.desktop" ] || fail "no desktop entry in the package"
    [ -e "$tmp/root/usr/share/man/man1/wvelk.1" ] || fail "no manual page in the package"
    batch_job "$tmp/root/usr/bin/wvelk" "$tmp/root/usr/share/velk" "$3"
    plugin_jobs "$tmp/root/usr/bin/wvelk" "$tmp/root/usr" "$3"
    ;;
  desktop)
    need desktop-file-validate
    out="$(desktop-file-validate "$2" 2>&1)" || fail "$out"
    [ -z "$out" ] || fail "$out"
    grep -qx 'Exec=wvelk %f' "$2" || fail "Exec is not 'wvelk %f'"
    grep -qx 'MimeType=application/x-velk-spring;' "$2" || fail "no spring MIME type"
    ;;
  metainfo)
    need appstreamcli
    appstreamcli validate --no-net "$2"
    ;;
  mime)
    need python3
    python3 - "$2" <<'PY'
import sys, xml.etree.ElementTree as ET
ns = "{http://www.freedesktop.org/standards/shared-mime-info}"
t = ET.parse(sys.argv[1]).getroot().find(ns + "mime-type")
assert t is not None and t.get("type") == "application/x-velk-spring", "no spring type"
assert [g.get("pattern") for g in t.findall(ns + "glob")] == ["*.vlk"], "glob is not *.vlk"
langs = {c.get("{http://www.w3.org/XML/1998/namespace}lang") for c in t.findall(ns + "comment")}
assert langs == {None, "de"}, "comments: %r" % langs
PY
    if command -v update-mime-database >/dev/null; then
      mkdir -p "$tmp/mime/packages"
      cp "$2" "$tmp/mime/packages/"
      update-mime-database "$tmp/mime" >/dev/null 2>&1
      grep -q 'application/x-velk-spring:\*\.vlk' "$tmp/mime/globs2" || fail "the database has no *.vlk glob"
    fi
    ;;
  man)
    need man
    err="$(MANWIDTH=80 man --warnings -l "$2" 2>&1 >/dev/null)"
    [ -z "$err" ] || fail "$err"
    ;;
  *)
    fail "unknown check $1"
    ;;
esac
echo PASS
