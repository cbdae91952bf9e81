#!/usr/bin/env bash
# Checks of the installed program and its desktop files, run by ctest:
#   moved-prefix BUILD EXAMPLE   cmake --install into a temporary prefix, move it, run batch jobs
#                                from another folder, among them one of each plug-in (/STEP, /PDF:1)
#   deb BUILD EXAMPLE NOTES      cpack -G DEB, lintian (NOTES explains the information tags left; "-"
#                                skips lintian for a build that is not hardened),
#                                unpack with dpkg-deb -x, run batch jobs from there
#   desktop FILE | metainfo FILE | mime FILE | man FILE   the validators of those files
#   completion FILE              the bash completion FILE completes switches and spring files
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

# lintian on the package DEB: no error and no warning; every information tag it still gives (pedantic
# included) is explained in NOTES (one tag at the start of a line).
lint() {
  local deb="$1" notes="$2" out tag
  need lintian
  out="$(lintian --fail-on error,warning --display-info --pedantic \
         --tag-display-limit 0 "$deb" 2>&1)" || { echo "$out"; fail "lintian found errors or warnings"; }
  [ -z "$out" ] || echo "$out"
  ! grep -q '^[EW]: ' <<<"$out" || fail "lintian found errors or warnings"
  for tag in $(sed -n 's/^[IPX]: [^ ]*: \([^ ]*\).*/\1/p' <<<"$out" | sort -u); do
    grep -q "^$tag\b" "$notes" || fail "lintian tag $tag is not explained in $notes"
  done
}

# Runs the jobs of the plug-ins in PREFIX/lib/velk/plugins (the STEP writer, the window's PDF writer, the
# workbook writer) with
# BIN on the example copied by batch_job, and checks their files.
plugin_jobs() {
  local bin="$1" prefix="$2" example="$3"
  for p in step.so window.so sheet.so; do
    [ -e "$prefix/lib/velk/plugins/$p" ] || fail "not installed: lib/velk/plugins/$p"
  done
  (cd "$tmp/work" && "$bin" "$example" /STEP) || fail "$bin $example /STEP exited with $?"
  head -c 13 "$tmp/work/${example%.vlk}.step" | grep -q "ISO-10303-21;" || fail "no STEP file"
  (cd "$tmp/work" && "$bin" "$example" /PDF:1) || fail "$bin $example /PDF:1 exited with $?"
  head -c 5 "$tmp/work/${example%.vlk}.pdf" | grep -q "%PDF-" || fail "no PDF file"
  (cd "$tmp/work" && "$bin" "$example" /XLSX) || fail "$bin $example /XLSX exited with $?"
  head -c 2 "$tmp/work/${example%.vlk}.xlsx" | grep -q "PK" || fail "no workbook"
}

case "$1" in
  moved-prefix)
    need cmake
    build="$2"
    cmake --install "$build" --prefix "$tmp/first" >/dev/null
    mv "$tmp/first" "$tmp/moved"
    for f in bin/wvelk share/velk/velkwst.dbf share/velk/examples/"$3" \
             share/applications/de.velk.wvelk.desktop share/mime/packages/velk.xml \
             share/metainfo/de.velk.wvelk.metainfo.xml share/man/man1/wvelk.1.gz \
             share/bash-completion/completions/wvelk share/doc/velk/copyright share/doc/velk/changelog.gz \
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
    [ -e "$tmp/root/usr/share/man/man1/wvelk.1.gz" ] || fail "no manual page in the package"
    [ -e "$tmp/root/usr/share/bash-completion/completions/wvelk" ] || fail "no bash completion in the package"
    version="$(dpkg-deb -f "$deb" Version)"
    logged="$(gzip -dc "$tmp/root/usr/share/doc/velk/changelog.gz" | head -n 1)"
    case "$logged" in "velk ($version) "*) ;; *) fail "the change log's last entry is not $version: $logged" ;; esac
    batch_job "$tmp/root/usr/bin/wvelk" "$tmp/root/usr/share/velk" "$3"
    plugin_jobs "$tmp/root/usr/bin/wvelk" "$tmp/root/usr" "$3"
    if [ "$4" = "-" ]; then
      echo "lintian skipped: this build is not hardened (Debug or sanitizer build)"
    else
      lint "$deb" "$4"
    fi
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
  completion)
    file="$(realpath "$2")"
    # Sources the completion in a plain bash (no bash-completion package needed) and completes
    # lines as bash would hand them over; the reply is printed one word a line, sorted.
    mkdir -p "$tmp/springs/sub"
    touch "$tmp/springs/a.vlk" "$tmp/springs/B.VLK" "$tmp/springs/c.xlsx" "$tmp/springs/d.txt" \
          "$tmp/springs/e.dxf" "$tmp/springs/sub/f.vlk"
    reply() {
      (cd "$tmp/springs" && bash --norc --noprofile -c '
        source "$1" || exit 1
        complete -p wvelk | grep -q -- "-F _wvelk wvelk" || { echo "not registered"; exit 1; }
        COMP_LINE="$2"; COMP_POINT=${#COMP_LINE}
        read -r -a COMP_WORDS <<<"$COMP_LINE"
        case "$COMP_LINE" in *" ") COMP_WORDS+=("") ;; esac
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        _wvelk wvelk
        ((${#COMPREPLY[@]} == 0)) || printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort | tr "\n" " "' bash "$file" "$1")
    }
    expect() {
      local got
      got="$(reply "$1")"
      [ "$got" = "$2" ] || fail "completing '$1': got '$got', expected '$2'"
    }
    expect 'wvelk ' 'B.VLK a.vlk c.xlsx sub '
    expect 'wvelk su' 'sub '
    expect 'wvelk sub/' 'sub/f.vlk '
    expect 'wvelk a' 'a.vlk '
    expect 'wvelk a.vlk ' '/? /CAD1: /CAD2: /CAD4: /CAD5: /E /G /I /JSON /NOGUI /PDF: /SET: /STEP /SVG: /XLSX B.VLK a.vlk c.xlsx sub '
    expect 'wvelk a.vlk /J' '/JSON '
    expect 'wvelk a.vlk /nog' '/NOGUI '
    expect 'wvelk a.vlk /CA' '/CAD1: /CAD2: /CAD4: /CAD5: '
    expect 'wvelk a.vlk /I /SVG:' '1 2 3 4 5 6 7 8 9 '
    expect 'wvelk a.vlk /cad1:' '1 2 3 4 5 6 7 8 9 '
    expect 'wvelk a.vlk /PDF:9' '9 '
    expect 'wvelk a.vlk /SET:' ''
    expect 'wvelk --v' '--version '
    expect 'wvelk -' '--help --version -h '
    expect 'wvelk --help ' ''
    expect "wvelk $tmp/springs/c" "$tmp/springs/c.xlsx "
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
