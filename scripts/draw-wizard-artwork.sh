#!/usr/bin/env bash
# Draws the wizards' shared message-box artwork into tools/common/skin with
# ImageMagick. The PNG files are committed; run this only to change them.
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/tools/common/skin
mkdir -p "$out"
im=/usr/bin/convert
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
gold='#DFC697'; gold_dark='#9B8B6F'; ink='#1C1300'

# Drop shadow: soft dark edges around a clear middle; corners 20.
$im -size 60x60 xc:none -fill '#000000A0' -draw 'roundrectangle 12,12 47,47 6,6' -blur 0x6 \
  -fill none -draw 'rectangle 20,20 39,39' PNG32:"$out/shadow.png"

# Background, 450x230: dark ground, gold hairline.
$im -size 450x230 gradient:'#2C2C33-#17171B' -fill none -stroke "$gold_dark" -strokewidth 1 \
  -draw 'rectangle 0.5,0.5 449.5,229.5' PNG32:"$out/background-cover.png"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Close button, three 24x24 states side by side: normal, hot, pushed.
close_state() { # out colour plate
  $im -size 24x24 xc:none -fill "$3" -draw 'roundrectangle 1,1 22,22 4,4' \
    -stroke "$2" -strokewidth 2 -draw 'line 7,7 16,16' -draw 'line 16,7 7,16' "$1"
}
close_state "$tmp/c1.png" '#CCCCCC' none
close_state "$tmp/c2.png" "$gold" '#FFFFFF18'
close_state "$tmp/c3.png" "$gold_dark" '#FFFFFF30'
$im "$tmp/c1.png" "$tmp/c2.png" "$tmp/c3.png" +append +repage PNG32:"$out/close.png"

# Buttons, three 90x32 states: normal, hot, pushed.
button() { # file label
  local i=0 fill
  for fill in "$gold" '#EBD7AE' "$gold_dark"; do
    i=$((i + 1))
    $im -size 90x32 xc:none -fill "$fill" -draw 'roundrectangle 0,0 89,31 4,4' \
      -font "$font" -pointsize 14 -fill "$ink" -gravity center -annotate +0+0 "$2" "$tmp/b$i.png"
  done
  $im "$tmp/b1.png" "$tmp/b2.png" "$tmp/b3.png" +append +repage PNG32:"$out/$1"
}
button Down.png "确定"
button cancel.png "取消"
