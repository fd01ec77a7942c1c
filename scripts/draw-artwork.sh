#!/usr/bin/env bash
# Draws the client's title-bar artwork into client/gui/res/res with ImageMagick.
# The PNG files are committed; run this only to change the artwork.
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/client/gui/res/res
mkdir -p "$out"
im=/usr/bin/convert
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
gold='#DFC697'; gold_dark='#9B8B6F'; grey='#CCCCCC'; red='#FF0000'

# Window buttons: 34x34, a glyph on a transparent ground; hover gold, pressed darker with a plate.
button() { # name glyph-draw-args
  local name=$1; shift
  for state in normal hover pressed; do
    local colour=$grey plate='none'
    [ $state = hover ] && colour=$gold
    [ $state = pressed ] && colour=$gold_dark && plate='#FFFFFF22'
    $im -size 34x34 xc:none -fill "$plate" -draw 'roundrectangle 1,1 32,32 6,6' \
      -stroke "$colour" -strokewidth 2 -fill none "$@" "$out/${name}_$state.png"
  done
}
button close -draw 'line 11,11 23,23' -draw 'line 23,11 11,23'
button max -draw 'rectangle 10,10 24,24'
button restore -draw 'rectangle 9,13 21,25' -draw 'polyline 13,13 13,9 25,9 25,21 21,21'
button min -draw 'line 10,17 24,17'

# Splitters.
$im -size 6x74 gradient:'#00000000-#FFFFFF40' -rotate 0 \( -size 6x74 gradient:'#FFFFFF40-#00000000' \) -append -resize 6x74! "$out/split_line1.png"
$im -size 1x34 xc:'#FFFFFF30' "$out/split_line2.png"

# Device button, 120x34.
for state in normal hover pressed; do
  fill='#2A2A2E'; edge=$gold
  [ $state = hover ] && fill='#34343A'
  [ $state = pressed ] && fill='#1E1E22' && edge=$gold_dark
  $im -size 120x34 xc:none -fill "$fill" -stroke "$edge" -strokewidth 1 \
    -draw 'roundrectangle 0.5,0.5 119.5,33.5 17,17' \
    -fill "$edge" -stroke none -draw 'polygon 100,14 110,14 105,20' "$out/device_$state.png"
done

# Tabs, 166x75, with their label.
tab() { # name label
  $im -size 166x75 xc:none -font "$font" -pointsize 18 -gravity center \
    -fill "$grey" -annotate +0+2 "$2" "$out/titlebar_$1_btn_uncheck.png"
  $im -size 166x75 gradient:'#DFC69700-#DFC69740' -font "$font" -pointsize 18 -gravity center \
    -fill "$gold" -annotate +0+2 "$2" "$out/titlebar_$1_btn_check.png"
}
tab game "游戏商城"
tab sports "活动中心"
tab exchange "兑换商城"
tab localmanager "本地管理"

# Tab marker, 166x4.
$im -size 166x4 xc:none -fill "$gold" -draw 'roundrectangle 20,0 145,3 2,2' "$out/titlebar_btn_change.png"

# Settings button, 18x17: three bars.
for state in normal hover pressed; do
  colour=$grey; [ $state = hover ] && colour=$gold; [ $state = pressed ] && colour=$gold_dark
  $im -size 18x17 xc:none -fill "$colour" -draw 'rectangle 1,2 16,3' -draw 'rectangle 1,8 16,9' \
    -draw 'rectangle 1,14 16,15' "$out/titlebar_setBtn_$state.png"
done

# Online users icon, 18x11.
$im -size 18x11 xc:none -fill white -draw 'circle 6,3 6,1' -draw 'ellipse 6,11 5,4 180,360' \
  -draw 'circle 13,3 13,1' -draw 'ellipse 13,11 5,4 180,360' "$out/online_user.png"

# User panel: default avatar, its covers and the drop-down arrow.
$im -size 62x62 xc:none -fill '#55555A' -draw 'circle 31,31 31,1' -fill '#8A8A90' \
  -draw 'circle 31,24 31,13' -draw 'ellipse 31,56 18,14 180,360' "$out/default_user.png"
# The mask is transparent exactly where the avatar shows: a round hole in an opaque square.
$im -size 62x62 xc:'#1C1C1E' \( -size 62x62 xc:white -fill black -draw 'circle 31,31 31,2' \) -alpha off \
  -compose CopyOpacity -composite "PNG32:$out/mask.png"
$im -size 62x62 xc:none -fill none -stroke "$grey" -strokewidth 2 -draw 'circle 31,31 31,2' "$out/cover.png"
$im -size 62x62 xc:none -fill none -stroke "$gold" -strokewidth 3 -draw 'circle 31,31 31,2' "$out/cover_hover.png"
for state in '' _hover _pressed; do
  colour=$grey; [ "$state" = _hover ] && colour=$gold; [ "$state" = _pressed ] && colour=$gold_dark
  $im -size 26x17 xc:none -fill "$colour" -draw 'polygon 8,6 18,6 13,12' "$out/dropdown$state.png"
done

# The store's background picture behind the pages: a dark vignette with a faint gold glow.
$im -size 1920x1080 radial-gradient:'#2E2A24-#141416' \
  \( -size 1920x1080 gradient:'#00000000-#00000060' \) -composite -quality 85 "$out/background.jpg"

# Tray and window icon.
$im -size 64x64 xc:none -fill '#1C1C1E' -draw 'roundrectangle 0,0 63,63 14,14' \
  -fill none -stroke "$gold" -strokewidth 6 -draw 'circle 32,32 32,14' "$out/logo.png"
# Popups: page logos (18x18), close buttons (14x14), radio and check indicators (20x20),
# the games-folder icon and the loading animation.
$im -size 18x18 xc:none -fill "$gold" -draw 'circle 9,9 9,1' -fill '#1C1C1E' -draw 'rectangle 8,7 10,14' \
  -draw 'rectangle 8,3 10,5' "$out/info_logo.png"
$im -size 18x18 xc:none -fill none -stroke "$gold" -strokewidth 2 -draw 'roundrectangle 1,4 16,13 3,3' \
  -fill "$gold" -stroke none -draw 'circle 6,9 6,7' -draw 'circle 12,9 12,7' "$out/device_logo.png"
$im -size 18x18 xc:none -fill none -stroke "$gold" -strokewidth 3 -draw 'circle 9,9 9,3' \
  -strokewidth 2 -draw 'line 9,0 9,3' -draw 'line 9,15 9,18' -draw 'line 0,9 3,9' -draw 'line 15,9 18,9' \
  "$out/settings_logo.png"
$im -size 18x18 xc:none -fill "$gold" -draw 'roundrectangle 1,2 16,12 3,3' -draw 'polygon 4,12 9,12 4,17' \
  "$out/feedback_icon.png"
for state in normal hover pressed; do
  colour=$grey; [ $state = hover ] && colour=$gold; [ $state = pressed ] && colour=$gold_dark
  $im -size 14x14 xc:none -stroke "$colour" -strokewidth 2 -draw 'line 2,2 12,12' -draw 'line 12,2 2,12' \
    "$out/pup_close_$state.png"
done
$im -size 20x20 xc:none -fill none -stroke "$grey" -strokewidth 1.5 -draw 'circle 10,10 10,3' \
  "$out/radiobtn_unchecked.png"
$im -size 20x20 xc:none -fill none -stroke "$gold" -strokewidth 1.5 -draw 'circle 10,10 10,3' \
  -fill "$gold" -stroke none -draw 'circle 10,10 10,7' "$out/radiobtn_checked.png"
$im -size 20x20 xc:none -fill none -stroke "$grey" -strokewidth 1.5 -draw 'rectangle 3,3 16,16' \
  "$out/checkbox_unchecked.png"
$im -size 20x20 xc:none -fill none -stroke "$gold" -strokewidth 1.5 -draw 'rectangle 3,3 16,16' \
  -strokewidth 2 -draw 'polyline 6,10 9,13 14,6' "$out/checkbox_checked.png"
$im -size 18x18 xc:none -fill "$gold_dark" -draw 'polygon 1,4 7,4 9,6 17,6 17,15 1,15' "$out/folder.png"
frames=()
for i in 0 1 2 3 4 5 6 7; do
  angle=$((i * 45))
  $im -size 60x60 xc:none -fill none -stroke "$gold" -strokewidth 5 \
    -draw "arc 8,8 52,52 $angle,$((angle + 270))" "/tmp/orbela-loading-$i.png"
  frames+=("/tmp/orbela-loading-$i.png")
done
$im -delay 10 -loop 0 -dispose background "${frames[@]}" "$out/loading.gif"
rm -f "${frames[@]}"

# Tray icon and the menus' entry icons (16x16).
cp "$out/logo.png" "$out/tray.png"
$im -size 16x16 xc:none -fill "$grey" -draw 'polygon 8,1 15,7 13,7 13,15 3,15 3,7 1,7' "$out/hall.png"
$im -size 16x16 xc:none -fill "$grey" -draw 'roundrectangle 1,2 14,11 3,3' -draw 'polygon 3,11 7,11 3,15' \
  "$out/feedback.png"
$im -size 16x16 xc:none -fill none -stroke "$grey" -strokewidth 1.5 -draw 'circle 8,8 8,1' \
  -fill "$grey" -stroke none -draw 'rectangle 7,7 9,12' -draw 'rectangle 7,4 9,5' "$out/about.png"
$im -size 16x16 xc:none -fill none -stroke "$grey" -strokewidth 1.5 -draw 'arc 2,2 14,14 300,600' \
  -draw 'line 8,1 8,8' "$out/logout.png"
$im -size 16x16 xc:none -fill none -stroke "$grey" -strokewidth 2.5 -draw 'circle 8,8 8,3' \
  -strokewidth 1.5 -draw 'line 8,0 8,2' -draw 'line 8,14 8,16' -draw 'line 0,8 2,8' -draw 'line 14,8 16,8' \
  "$out/settings.png"
# Login dialog: logo, field backgrounds and icons, check boxes, separators,
# outside-account buttons and the registration button.
$im -size 65x65 xc:none -fill '#1C1C1E' -draw 'roundrectangle 0,0 64,64 14,14' \
  -fill none -stroke "$gold" -strokewidth 6 -draw 'circle 32,32 32,14' "$out/login_logo.png"
$im -size 291x50 xc:none -fill '#FFFFFF' -stroke '#B8B8B8' -draw 'roundrectangle 0.5,0.5 290.5,49.5 4,4' \
  "$out/line_edit_normal.png"
$im -size 291x50 xc:none -fill '#FFFFFF' -stroke "$gold" -strokewidth 2 -draw 'roundrectangle 1,1 289,48 4,4' \
  "$out/line_edit_hover.png"
$im -size 36x36 xc:none -fill '#8A8A90' -draw 'circle 18,13 18,7' -draw 'ellipse 18,30 10,7 180,360' "$out/account.png"
$im -size 36x36 xc:none -fill '#8A8A90' -draw 'roundrectangle 9,16 27,29 3,3' -fill none -stroke '#8A8A90' \
  -strokewidth 3 -draw 'arc 12,7 24,23 180,360' "$out/password.png"
$im -size 16x16 xc:none -fill none -stroke "$grey" -strokewidth 1.5 -draw 'rectangle 1,1 14,14' "$out/login_uncheck.png"
$im -size 16x16 xc:none -fill "$gold" -draw 'rectangle 1,1 14,14' -fill none -stroke '#1C1300' -strokewidth 2 \
  -draw 'polyline 4,8 7,11 12,4' "$out/login_checked.png"
$im -size 274x14 xc:none -stroke '#FFFFFF30' -draw 'line 0,7 100,7' -draw 'line 174,7 273,7' \
  -font "$font" -pointsize 11 -fill "$grey" -stroke none -gravity center -annotate 0 '其他账号' "$out/line_3th.png"
$im -size 1x12 xc:'#FFFFFF40' "$out/login-line.png"
outside() { # name letter colour
  $im -size 36x36 xc:none -fill "$3" -draw 'circle 18,18 18,1' -font "$font" -pointsize 14 -fill white \
    -gravity center -annotate 0 "$2" "$out/login_$1.png"
  $im -size 36x36 xc:none -fill "$3" -stroke "$gold" -strokewidth 2 -draw 'circle 18,18 18,2' -font "$font" \
    -pointsize 14 -fill white -stroke none -gravity center -annotate 0 "$2" "$out/login_$1_hover.png"
}
outside qq QQ '#3A8EE6'
outside wx 微 '#2DB24A'
outside wb 博 '#E6162D'
for state in normal hover depressed; do
  colour=$gold; [ $state = hover ] && colour='#E9D7B6'; [ $state = depressed ] && colour=$gold_dark
  $im -size 87x25 xc:none -font "$font" -pointsize 14 -fill "$colour" -gravity center -annotate 0 '立即注册' \
    "$out/registered_$state.png"
done

# Local games manager: tab mark, list item frames, filter arrow, empty-list picture.
$im -size 43x30 xc:none -fill "$gold" -draw 'rectangle 8,6 34,22' -fill '#202020' -draw 'rectangle 12,10 30,18' \
  "$out/local_game.png"
$im -size 43x4 xc:"$gold" "$out/local_change.png"
$im -size 281x41 xc:'#26262A' -fill none -stroke '#3A3A40' -draw 'rectangle 0,0 280,40' "$out/side-mygame-item-normal.png"
$im -size 281x41 xc:'#34343A' -fill none -stroke "$gold" -draw 'rectangle 0,0 280,40' "$out/side-mygame-item-hover.png"
$im -size 12x8 xc:none -fill "$grey" -draw 'polygon 1,1 11,1 6,7' "$out/arrow.png"
$im -size 145x180 xc:none -fill '#3A3A40' -draw 'roundrectangle 10,30 135,170 12,12' \
  -fill "$gold" -draw 'roundrectangle 30,10 115,60 10,10' -fill '#202020' -draw 'circle 52,110 52,124' \
  -draw 'circle 94,110 94,124' "$out/no_game.png"

# Game row: default picture, delete button, loading animation.
$im -size 130x100 gradient:'#3A3A40-#1C1C20' -fill "$gold" -draw 'circle 65,50 65,70' -fill '#1C1C20' \
  -draw 'circle 65,50 65,62' "$out/yinyangshi.png"
for state in normal hover pressed; do
  colour=$grey
  [ $state = hover ] && colour=$gold
  [ $state = pressed ] && colour=$gold_dark
  $im -size 18x18 xc:none -stroke "$colour" -strokewidth 2 -draw 'line 4,4 14,14' -draw 'line 14,4 4,14' \
    "$out/delete_$state.png"
done
frames=()
for angle in 0 45 90 135 180 225 270 315; do
  $im -size 130x100 xc:'#1C1C20' -fill "$gold" -draw "translate 65,50 rotate $angle circle 0,-20 0,-14" \
    -fill '#5A5040' -draw "translate 65,50 rotate $((angle + 180)) circle 0,-20 0,-16" "/tmp/pic_load_$angle.png"
  frames+=("/tmp/pic_load_$angle.png")
done
$im -delay 10 -loop 0 "${frames[@]}" "$out/pic_load.gif"
rm -f "${frames[@]}"
echo "artwork written to $out"
