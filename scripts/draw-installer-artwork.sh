#!/usr/bin/env bash
# Draws the installer's artwork into tools/Installation/skin with ImageMagick.
# The files are committed; run this only to change them. The close button and
# the terms page's "Down.png" come from the shared message-box skin.
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/tools/Installation/skin
mkdir -p "$out"
im=/usr/bin/convert
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
gold='#CFA972'; gold_light='#E6CC9C'; gold_dark='#9B7E50'; ink='#1C1300'
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Page backgrounds: dark ground, a gold hairline; the first page is 467 high,
# its custom area below 330 a mid-grey band on which both the dark and the
# light label colours read.
page() { # file height caption
  $im -size "550x$2" gradient:'#2A2B31-#141418' -fill none -stroke "$gold_dark" -strokewidth 1 \
    -draw "rectangle 0.5,0.5 549.5,$(($2 - 1)).5" -stroke none -fill '#7C7D85' -draw 'rectangle 1,331 548,465' \
    -font "$font" -pointsize 13 -fill "$gold" -annotate +14+20 "$3" -quality 92 "$out/$1"
}
page install_page1.jpg 467 'Orbela 安装向导'
page install_page2.jpg 330 'Orbela 许可协议'
page install_page3.jpg 330 'Orbela 正在安装'
$im -size 550x330 gradient:'#2A2B31-#141418' -fill none -stroke "$gold_dark" -strokewidth 1 \
  -draw 'rectangle 0.5,0.5 549.5,329.5' -stroke none -font "$font" -pointsize 13 -fill "$gold" -annotate +14+20 'Orbela 安装完成' \
  -pointsize 22 -fill "$gold_light" -gravity north -annotate +0+120 '安装完成' -quality 92 "$out/install_page4.jpg"

# Logo, 72x98: a gold ring over the name.
$im -size 72x98 xc:none -fill none -stroke "$gold" -strokewidth 5 -draw 'circle 36,34 36,8' \
  -stroke none -fill "$gold_light" -draw 'circle 36,34 36,22' \
  -font "$font" -pointsize 15 -fill "$gold" -gravity south -annotate +0+4 'Orbela' PNG32:"$out/logo.png"

# Three states side by side: normal, hot, pushed.
states() { # out width height draw-function
  local i=0 fill
  for fill in "$gold" "$gold_light" "$gold_dark"; do
    i=$((i + 1))
    "$4" "$tmp/s$i.png" "$2" "$3" "$fill"
  done
  $im "$tmp/s1.png" "$tmp/s2.png" "$tmp/s3.png" +append +repage PNG32:"$out/$1"
}
outline() { # out w h colour: the big buttons carry their text in the skin
  $im -size "$2x$3" xc:none -fill '#00000060' -stroke "$4" -strokewidth 2 \
    -draw "roundrectangle 1,1 $(($2 - 2)),$(($3 - 2)) 6,6" "$1"
}
states quickbutton.png 152 40 outline
start_face() {
  $im -size "$2x$3" xc:none -fill "$4" -draw "roundrectangle 0,0 $(($2 - 1)),$(($3 - 1)) 6,6" \
    -font "$font" -pointsize 18 -fill "$ink" -gravity center -annotate +0+0 '开始使用' "$1"
}
states start.png 152 40 start_face
custom_face() { # text in the image, an arrow that says which way the area goes
  $im -size "$2x$3" xc:none -font "$font" -pointsize 12 -fill "$4" -gravity west -annotate +2+0 "自定义安装 $ARROW" "$1"
}
ARROW='▼' states selfDefine2.png 86 16 custom_face
ARROW='▲' states selfDefine1.png 86 16 custom_face
change_face() {
  $im -size "$2x$3" xc:none -fill none -stroke "$4" -strokewidth 1 -draw "roundrectangle 0,0 $(($2 - 1)),$(($3 - 1)) 3,3" \
    -stroke none -font "$font" -pointsize 12 -fill "$4" -gravity center -annotate +0+0 '更改目录' "$1"
}
states changePath.png 63 21 change_face
min_face() {
  $im -size "$2x$3" xc:none -stroke "$4" -strokewidth 2 -draw 'line 7,12 16,12' "$1"
}
states min.png 24 24 min_face

# Check box: unticked and ticked, 16x16 each.
$im -size 16x16 xc:none -fill none -stroke "$gold" -strokewidth 1 -draw 'rectangle 1.5,1.5 14.5,14.5' "$tmp/c1.png"
$im "$tmp/c1.png" -stroke "$gold_light" -strokewidth 2 -draw 'polyline 4,8 7,11 12,4' "$tmp/c2.png"
$im "$tmp/c1.png" "$tmp/c2.png" +append +repage PNG32:"$out/checkbox.png"

# Folder field (stretched by its 6-pixel corners), progress bar, scroll bar.
$im -size 40x22 xc:none -fill '#1E1F24' -stroke "$gold_dark" -strokewidth 1 -draw 'roundrectangle 0.5,0.5 39.5,21.5 4,4' -quality 95 "$out/filePath.jpg"
$im -size 40x6 xc:none -fill '#3A3B42' -draw 'roundrectangle 0,0 39,5 3,3' PNG32:"$out/processbar_b.png"
$im -size 40x6 gradient:"$gold_dark-$gold_light" -rotate -90 -resize '40x6!' \( -size 40x6 xc:none -fill white -draw 'roundrectangle 0,0 39,5 3,3' \) \
  -compose DstIn -composite PNG32:"$out/processbar_f.png"
$im -size 8x40 xc:none -fill "$gold_dark" -draw 'roundrectangle 1,1 6,38 3,3' PNG32:"$out/scrollbar.png"
