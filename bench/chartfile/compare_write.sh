#!/usr/bin/env bash
# Times writing a 50-page chart volume from 2480 x 3508 scans of about 1.2 MB (Stretch on,
# quality 80) with chartpdf write, beside the same job done by the tools a user has, on the
# same files in the same run, and prints milliseconds per page and the ratios.
#   bench/chartfile/compare_write.sh BUILD_DIR     (a build with -DTOVANE_BUILD_BENCH=ON)
#
# Benchmark-only tools, not needed by the tests:
#   apt-get install hyperfine libvips-tools img2pdf imagemagick netpbm libjpeg-turbo-progs
set -euo pipefail
build=${1:-build-bench}
scans=${TOVANE_WRITE_BENCH_SCANS:-/tmp/tovane-write-bench-scans}
runs=${RUNS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/chartfile/chartfile_WriteBench" --make-scans="$scans"
chartpdf=$(realpath "$build/tools/chartpdf/chartpdf")
pages=$(ls "$scans"/scan*.jpg | wc -l)
mkdir -p "$work/vips" "$work/floor" "$work/magick"
# Debian's ImageMagick policy forbids writing PDF and holds its memory below what 50 scans
# need at once, so convert makes one JPEG page at a time and img2pdf wraps them (a millisecond
# a page) instead of "convert ... out.pdf".
# The floor: DCT-scaled decoding, a fixed-point scaler and an encoder, one page at a time.
floor='djpeg -scale 3/8 "$0" | pnmscalefixed -xysize 633 896 | cjpeg -quality 80 > '"$work"'/floor/$(basename "$0")'
hyperfine --warmup 1 --runs "$runs" --export-json "$work/times.json" \
  -n "chartpdf write, 2 cores" "$chartpdf write $work/ours.pdf --quality 80 $scans/scan*.jpg" \
  -n "chartpdf write, 1 core" "taskset -c 0 $chartpdf write $work/ours1.pdf --quality 80 $scans/scan*.jpg" \
  -n "floor, 2 cores" "ls $scans/scan*.jpg | xargs -P2 -n1 sh -c '$floor'" \
  -n "floor, 1 core" "ls $scans/scan*.jpg | xargs -P1 -n1 sh -c '$floor'" \
  -n "vipsthumbnail + img2pdf" "vipsthumbnail -s 633x896 -o '$work/vips/%s.jpg[Q=80]' $scans/scan*.jpg && img2pdf $work/vips/*.jpg -o $work/vips.pdf" \
  -n "ImageMagick convert + img2pdf" "for f in $scans/scan*.jpg; do /usr/bin/convert \$f -resize 633x896 -quality 80 $work/magick/\$(basename \$f); done && img2pdf $work/magick/*.jpg -o $work/magick.pdf"
python3 - "$work/times.json" "$pages" <<'PY'
import json, sys
pages = int(sys.argv[2])
runs = json.load(open(sys.argv[1]))["results"]
wall = {r["command"]: r["mean"] * 1000 / pages for r in runs}
cpu = {r["command"]: (r["user"] + r["system"]) * 1000 / pages for r in runs}
ours2, ours1 = wall["chartpdf write, 2 cores"], wall["chartpdf write, 1 core"]
print()
print(f"{'':32s} {'wall':>8s} {'cpu':>8s}  (ms a page; cpu = user + system, all threads)")
for name in wall:
    print(f"{name:32s} {wall[name]:8.1f} {cpu[name]:8.1f}")
print()
print(f"vipsthumbnail + img2pdf / ours (2 cores):  {wall['vipsthumbnail + img2pdf'] / ours2:5.2f}x")
print(f"ImageMagick / ours (2 cores):              {wall['ImageMagick convert + img2pdf'] / ours2:5.2f}x")
print(f"ours / floor, 2 cores:                     {ours2 / wall['floor, 2 cores']:5.2f}x")
print(f"ours / floor, 1 core:                      {ours1 / wall['floor, 1 core']:5.2f}x")
print(f"ours / floor, cpu time:                    {cpu['chartpdf write, 2 cores'] / cpu['floor, 2 cores']:5.2f}x")
PY
