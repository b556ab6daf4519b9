#!/usr/bin/env bash
# Times copying every page image out of the reader benchmark's 500-page chart PDF with
# chartpdf extract, mutool extract and pdfimages -j, on the same file in the same run.
#   bench/chartfile/compare.sh BUILD_DIR      (a build with -DTOVANE_BUILD_BENCH=ON)
set -euo pipefail
build=${1:-build-bench}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/chartfile/chartfile_ReadBench" --make-pdf="$work/chart.pdf"
mkdir -p "$work/chartpdf" "$work/mutool" "$work/pdfimages"
chartpdf=$(realpath "$build/tools/chartpdf/chartpdf")
hyperfine --warmup 2 --runs 15 \
  -n "chartpdf extract" "$chartpdf extract $work/chart.pdf $work/chartpdf" \
  -n "mutool extract" "cd $work/mutool && mutool extract $work/chart.pdf" \
  -n "pdfimages -j" "pdfimages -j $work/chart.pdf $work/pdfimages/img"
