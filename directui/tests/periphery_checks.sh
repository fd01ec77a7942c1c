#!/usr/bin/env bash
# skinprobe over the periphery skin, as a child process under Wine:
#   periphery_checks.sh WINE_TEST PREFIX SKINPROBE SKINS
# - the sample renders (list, combo, tree, date, GIF, the test control) and
#   the test control announces itself with "showactivex";
# - an open combo drop-down is drawn into the picture at its place;
# - clicks and keys on the list and the tree give their notifications;
# - the browser and Flash skin loads, renders and ends with 0.
set -uo pipefail
wine_test=$1 prefix=$2 probe=$3 skins=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
winpath() { echo "Z:${1//\//\\}"; }

run_probe() { # output-file args...; prints the exit code
  local out=$1; shift
  local code=0
  "$wine_test" run "$prefix" 60 "$probe" "$@" >"$out" 2>"$out.err" || code=$?
  tr -d '\r' <"$out" >"$out.lf"
  echo "$code"
}
expect_line() { # file line
  grep -qxF -- "$2" "$1.lf" || fail "no \"$2\" in $(basename "$1")"
}
# pixel PNG X Y: the RGB of one pixel as RRGGBB (8-bit RGBA, no interlace).
pixel() {
  python3 - "$@" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
x, y = int(sys.argv[2]), int(sys.argv[3])
pos, idat, width = 8, b'', 0
while pos < len(data):
    length, kind = struct.unpack('>I4s', data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b'IHDR':
        width, height, depth, colour = struct.unpack('>IIBB', body[:10])
        channels = {6: 4, 2: 3}[colour]
    elif kind == b'IDAT':
        idat += body
    pos += 12 + length
raw, stride, prev, rows = zlib.decompress(idat), width * channels, bytearray(width * channels), []
for r in range(height):
    f, line = raw[r * (stride + 1)], bytearray(raw[r * (stride + 1) + 1:(r + 1) * (stride + 1)])
    for i in range(stride):
        a = line[i - channels] if i >= channels else 0
        b, c = prev[i], prev[i - channels] if i >= channels else 0
        p = a + b - c
        pred = [0, a, b, (a + b) // 2, a if abs(p - a) <= abs(p - b) and abs(p - a) <= abs(p - c) else b if abs(p - b) <= abs(p - c) else c][f]
        line[i] = (line[i] + pred) & 0xff
    rows.append(line)
    prev = line
px = rows[y][x * channels:x * channels + 3]
print('%02X%02X%02X' % tuple(px))
PY
}

# The sample closed, then with the combo open.
closed=$work/closed.png open=$work/open.png
code=$(run_probe "$work/sample.txt" "$skins/periphery" main.xml --wait 300 --render "$(winpath "$closed")" \
  --click combo --render "$(winpath "$open")")
[ "$code" = 0 ] || fail "the periphery skin exited $code"
expect_line "$work/sample.txt" "notify showactivex testcontrol 0 0"
expect_line "$work/sample.txt" "notify dropdown combo 0 0"
grep -q "^render .*closed.png 580x400$" "$work/sample.txt.lf" || fail "no closed render"
if [ -s "$closed" ] && [ -s "$open" ]; then
  # Beside the GIF and the test control (y 276 to 320) the page is bare until the drop-down covers it in white.
  [ "$(pixel "$closed" 250 300)" = F4F6FA ] || fail "closed: page colour expected below the combo, got $(pixel "$closed" 250 300)"
  [ "$(pixel "$open" 250 300)" = FFFFFF ] || fail "open: the drop-down was not drawn, got $(pixel "$open" 250 300)"
  # The test control paints its rectangle dark blue; the tree is expanded.
  [ "$(pixel "$closed" 120 298)" = 0000C8 ] || fail "the test control did not paint, got $(pixel "$closed" 120 298)"
else
  fail "no pictures written"
fi

# The list and the tree driven by clicks and keys.
code=$(run_probe "$work/drive.txt" "$skins/periphery" main.xml --click row_four --key down --key end --key home \
  --click node_action --key down --dblclick node_race --dump)
[ "$code" = 0 ] || fail "driving the list and tree exited $code"
for line in "notify itemselect list 3 -1" "notify itemclick row_four 0 0" "notify itemselect list 5 3" \
  "notify itemselect list 6 5" "notify itemselect list 0 6" "notify itemselect tree 1 -1" \
  "notify itemselect tree 2 1" "notify itemdbclick node_race 0 0"; do
  expect_line "$work/drive.txt" "$line"
done
grep -q 'TreeNodeUI "node_kart" .* hidden' "$work/drive.txt.lf" || fail "the double click did not collapse node_race"
grep -q 'TreeNodeUI "node_action" .* visible' "$work/drive.txt.lf" || fail "node_action is not shown"

# Browser and Flash: loads, renders and ends; Flash has no player here.
code=$(run_probe "$work/web.txt" "$skins/periphery" web.xml --wait 500 --render "$(winpath "$work/web.png")" --dump)
[ "$code" = 0 ] || fail "the browser skin exited $code"
grep -q "^render .*web.png 480x320$" "$work/web.txt.lf" || fail "the browser skin did not render"
grep -q "showactivex flash" "$work/web.txt.lf" && fail "Flash announced itself without a player"

[ "$failures" = 0 ] && echo "periphery skin checks passed"
exit $((failures > 0))
