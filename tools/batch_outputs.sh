#!/usr/bin/env bash
# Runs every batch job on every shipped example and keeps what each wrote, with its exit code,
# stdout and stderr, in OUTDIR (one folder per example and job). Two trees built before and after
# a change are compared with `diff -r OUTDIR1 OUTDIR2`.
#   tools/batch_outputs.sh BUILD_DIR OUTDIR
set -uo pipefail
build=$(cd "$1" && pwd)
out=$2
src=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$out"; mkdir -p "$out"
out=$(cd "$out" && pwd)
jobs=(/I /JSON /XLSX /STEP)
for v in 1 2 3 4 5 6 7 8 9; do jobs+=("/SVG:$v" "/CAD1:$v" "/CAD2:$v" "/CAD5:$v" "/PDF:$v"); done
export VELK_CONFIG_DIR="$out/.config" TZ=UTC LC_ALL=C.UTF-8
for f in "$src"/share/examples/*.vlk; do
  name=$(basename "$f" .vlk)
  for j in "${jobs[@]}"; do
    d="$out/$name/$(echo "$j" | tr -d '/:')"
    mkdir -p "$d"; cp "$f" "$d/"
    (cd "$d" && "$build/app/wvelk" "$name.vlk" "$j" /NOGUI >stdout 2>stderr; echo $? >rc)
    rm -f "$d/$name.vlk"
  done
done
# The dated parts of PDF, workbook and STEP files differ from run to run, and the PDF's embedded
# font subset depends on the font matching of the machine: compare the PDF's text and page size.
find "$out" -name '*.pdf' | while read -r p; do
  { pdfinfo "$p" | grep -E '^(Pages|Page size)'; pdftotext -layout "$p" -; } >"$p.txt" && rm -f "$p"
done
find "$out" -name '*.step' -exec sed -i -E "s/^FILE_NAME\(.*//" {} +
find "$out" -name '*.xlsx' | while read -r x; do (mkdir -p "$x.d" && cd "$x.d" && unzip -qo "$x" && rm -f docProps/core.xml "$x"); done
# Date and time of the run in headers and footers.
grep -rlE '[0-9]{2}\.[0-9]{2}\.[0-9]{4}.[0-9]{2}:[0-9]{2}' "$out" | xargs -r sed -i -E 's/[0-9]{2}\.[0-9]{2}\.[0-9]{4}(.)[0-9]{2}:[0-9]{2}/DATE\1TIME/g'
find "$out" -name 'sheet*.xml' -exec sed -i -E 's#<t>[0-9]{2}\.[0-9]{2}\.[0-9]{4}</t>#<t>DATE</t>#g; s#<t>[0-9]{2}:[0-9]{2}</t>#<t>TIME</t>#g' {} +
