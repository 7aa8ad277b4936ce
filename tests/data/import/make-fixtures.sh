#!/usr/bin/env bash
# Makes the DEM fixtures of the import tests: synthetic grids written as ESRI
# ASCII grids, converted to USGS DEM by GDAL (gdal-bin, a test-only package),
# and read back by GDAL to check that it reads the grid it wrote.
# Run from anywhere: tests/data/import/make-fixtures.sh
set -euo pipefail
cd "$(dirname "$0")"
command -v gdal_translate >/dev/null || { echo "make-fixtures: gdal_translate is missing (apt-get install gdal-bin)"; exit 1; }

# grid NAME COLUMNS ROWS FORMULA: an ESRI ASCII grid whose cell (c, r), r = 0
# at the top, holds FORMULA (an awk expression of c and r); nodata -32767.
grid() {
  awk -v name="$1" -v nc="$2" -v nr="$3" '
    BEGIN {
      print "ncols " nc; print "nrows " nr; print "xllcorner 0"; print "yllcorner 0"
      print "cellsize 0.001"; print "NODATA_value -32767"
      for (r = 0; r < nr; r++) {
        line = ""
        for (c = 0; c < nc; c++) {
          '"$4"'
          line = line (c ? " " : "") v
        }
        print line
      }
    }' > "$1.asc"
}

# dem NAME [creation options...]: converts NAME.asc and checks the read-back.
dem() {
  local name=$1; shift
  gdal_translate -q -of USGSDEM -a_srs EPSG:4326 -co RESAMPLE=Nearest "$@" "$name.asc" "$name.dem"
  gdal_translate -q -of AAIGrid "$name.dem" "/tmp/$name.back.asc"
  # Same cells, whatever the header's number format.
  if ! diff <(sed -n '7,$p' "$name.asc" | tr -s ' ' '\n' | sed '/^$/d') \
            <(sed -n '7,$p' "/tmp/$name.back.asc" | tr -s ' ' '\n' | sed '/^$/d') >/dev/null; then
    echo "make-fixtures: GDAL does not read back $name.dem as $name.asc"; exit 1
  fi
  rm -f "/tmp/$name.back.asc" "/tmp/$name.back.prj" "$name.dem.aux.xml"
}

# 121 x 121, heights up to 7900, two nodata cells.
grid g121 121 121 'v = (c * 61 + r * 47 + c * r) % 7901; if ((c == 10 && r == 20) || (c == 100 && r == 77)) v = -32767'
dem g121
cp g121.asc g121_level2.asc
dem g121_level2 -co DEMLevelCode=2
rm g121_level2.asc
# Heights all within 0..511.
grid low40 40 40 'v = (c * 7 + r * 3) % 512'
dem low40
# Wider than high, and higher than wide.
grid wide300x200 300 200 'v = (c + 2 * r) % 4000'
dem wide300x200
grid tall200x300 200 300 'v = (c + 2 * r) % 4000'
dem tall200x300
rm -f wide300x200.asc tall200x300.asc low40.asc
echo "make-fixtures: done"
