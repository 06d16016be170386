#!/usr/bin/env bash
# Runs the benchmarks under Wine against the build for this machine's test architecture.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. tools/test-build-env.sh
export MOZHOU_HARNESS_USER=$$
build=$TEST_BUILD
eval "$(tools/harness.sh up)" || exit 1
work=$root/build/bench-tmp
rm -rf "$work" && mkdir -p "$work" && cp "$TEST_DIST/墨舟.exe" "$work/"
windows_path="Z:${work//\//\\}\\墨舟.exe"  # drive Z: is the Unix root
(cd "$build/bench" && "$MOZHOU_WINE" ./bench_startup.exe "$windows_path" 10)
status=$?
E2E_DRIVER_EXE=$build/tests/e2e/driver/e2e-driver.exe \
  /usr/bin/python3 bench/idle_cpu.py "$work/墨舟.exe" 10 || status=1
# A 5 MB text file loaded by the find button, beside a plain WM_SETTEXT; under a name of its own so
# that no other copy of the program stands in its way.
cp "$work/墨舟.exe" "$work/墨舟载入.exe"
E2E_DRIVER_EXE=$build/tests/e2e/driver/e2e-driver.exe \
  /usr/bin/python3 bench/text_load.py "$work/墨舟载入.exe" 5 || status=1
# /p of a 600-line text, start to end of process, beside the print button's job with its prompt and
# dialog answered at once.
cp "$work/墨舟.exe" "$work/墨舟命令行.exe"
E2E_DRIVER_EXE=$build/tests/e2e/driver/e2e-driver.exe \
  /usr/bin/python3 bench/command_line_print.py "$work/墨舟命令行.exe" 3 || status=1
# Picture box repaints of a 6000 x 4000 picture beside a bare BitBlt of the box's size.
(cd "$build/bench" && "$MOZHOU_WINE" ./bench_picture_box.exe 50) || status=1

# An update check beside bare WinINet GETs of the same files, against the tests' update server.
/usr/bin/python3 bench/update_server.py & update_server=$!
for _ in $(seq 1 100); do (exec 3<>/dev/tcp/127.0.0.1/47613) 2>/dev/null && break; sleep 0.1; done
(cd "$build/bench" && "$MOZHOU_WINE" ./bench_update_check.exe 50) || status=1
kill "$update_server"; wait "$update_server" 2>/dev/null

# Peak memory of printing a 6000 x 4000 picture beside its decoded size.
(cd "$build/bench" && "$MOZHOU_WINE" ./bench_picture_print.exe) || status=1

# Photos printed from their files: the spooler's bytes for a 24-megapixel JPEG at 10 x 15 cm beside
# the same photo shrunk to the printer's pixels first, peak memory printing nine to a page beside
# one photo decoded, and the preview's first page of those nine beside decoding them.
(cd "$build/bench" && "$MOZHOU_WINE" ./bench_photo_print.exe 3) || status=1

# Turning a 256 x 256 icon in the adjustment window beside copying it pixel by pixel.
(cd "$build/bench" && "$MOZHOU_WINE" ./bench_turn_icon.exe 256) || status=1

# The print preview's first page beside a print's first page, and turning to its last page.
(cd "$build/bench" && "$MOZHOU_WINE" ./bench_preview.exe 3) || status=1

# Printing speed beside a bare GDI loop; last, so that the PDFs made from its jobs afterwards do
# not load the machine during the other benchmarks. With 宋体 Wine's PostScript driver takes
# about 0.05 s a line, so by default only the start of the text is printed (600 lines, 11 pages);
# MOZHOU_BENCH_PRINT_LINES=0 prints all of it (about 12,000 lines: over an hour for 3 rounds).
(cd "$build/bench" && "$MOZHOU_WINE" ./bench_print.exe 3 "${MOZHOU_BENCH_PRINT_LINES:-600}") || status=1
# Its PDFs are removed once the queue has turned every job into one.
for _ in $(seq 1 900); do
  [ -z "$(lpstat -o "$MOZHOU_PRINTER" 2>/dev/null)" ] && break
  sleep 1
done
rm -f "$MOZHOU_PDF_DIR"/bench-printer-object*.pdf "$MOZHOU_PDF_DIR"/bench-bare-loop*.pdf \
  "$MOZHOU_PDF_DIR"/bench-picture-print*.pdf "$MOZHOU_PDF_DIR"/bench-preview-print*.pdf \
  "$MOZHOU_PDF_DIR"/bench-photo-print*.pdf
tools/harness.sh down >/dev/null 2>&1 || true
# Decoding speed: native, beside libjpeg-turbo, libpng, giflib and memcpy.
bench/decode/run.sh || status=1
# Laying out the megabyte of text as a page plan: native, beside a bare loop.
bench/plan/run.sh || status=1
exit $status
