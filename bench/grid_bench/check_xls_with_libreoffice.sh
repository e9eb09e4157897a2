#!/usr/bin/env bash
# Opens the grid's spreadsheet export in LibreOffice (headless) and compares every cell
# with the grid's own delimited export of the same rows. Needs a build folder with
# grid_bench.exe, Wine, a display and LibreOffice Calc (Debian: libreoffice-calc-nogui).
#   BUILD_DIR=/path/to/build bench/grid_bench/check_xls_with_libreoffice.sh
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$here/build}
command -v soffice >/dev/null || { echo "soffice not found (apt-get install libreoffice-calc-nogui)"; exit 2; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
source "$here/scripts/wine-session.sh"
(cd "$build/bin" && wine grid_bench.exe --sample "Z:${out//\//\\}" >"$out/bench.log" 2>&1) || { cat "$out/bench.log"; exit 1; }
mkdir -p "$out/lo"
# Comma-separated, double quotes, UTF-8 (76), from the first line, values rather than
# their cell formats (dates then come out month first, as the grid's own text has them
# under Wine's default regional settings).
soffice --headless --norestore "-env:UserInstallation=file://$out/profile" \
  --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false' \
  --outdir "$out/lo" "$out/grid_sample.xls" \
  >"$out/soffice.log" 2>&1 || { cat "$out/soffice.log"; exit 1; }
python3 - "$out/grid_sample.csv" "$out/lo/grid_sample.csv" <<'PY'
import csv, sys
from datetime import datetime

def rows(path):
    with open(path, encoding="utf-8-sig", newline="") as f:
        return list(csv.reader(f))

def norm(cell):
    for fmt in ("%m/%d/%Y", "%d/%m/%Y %H:%M:%S"):
        try:
            return datetime.strptime(cell, fmt).date().isoformat()
        except ValueError:
            pass
    try:
        return repr(float(cell))
    except ValueError:
        return cell

grid, calc = rows(sys.argv[1]), rows(sys.argv[2])
bad = 0
if len(grid) != len(calc):
    print(f"row counts differ: grid {len(grid)}, LibreOffice {len(calc)}")
    bad += 1
for r, (a, b) in enumerate(zip(grid, calc)):
    if len(a) != len(b) or any(norm(x) != norm(y) for x, y in zip(a, b)):
        bad += 1
        if bad < 5:
            print(f"row {r}: grid {a[:6]} / LibreOffice {b[:6]}")
cells = sum(len(r) for r in grid)
print(f"LibreOffice opened the export: {len(calc)} rows, {cells} cells compared, {bad} rows differ")
sys.exit(1 if bad else 0)
PY
