#!/usr/bin/env bash
# Draws the updater's and the uninstaller's page backgrounds with ImageMagick
# and copies the buttons, logo and progress bar they share with the installer.
# The files are committed; run this only to change them. The close button,
# "Down.png" and "cancel.png" come from the shared message-box skin.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
update=$root/tools/Update/skin
uninstall=$root/tools/Uninstall/skin
installer=$root/tools/Installation/skin
mkdir -p "$update" "$uninstall"
im=/usr/bin/convert
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
gold='#CFA972'; gold_light='#E6CC9C'; gold_dark='#9B7E50'

page() { # out caption [big text]
  local args=()
  if [ -n "${3:-}" ]; then args=(-pointsize 22 -fill "$gold_light" -gravity north -annotate +0+120 "$3"); fi
  $im -size 550x330 gradient:'#2A2B31-#141418' -fill none -stroke "$gold_dark" -strokewidth 1 \
    -draw 'rectangle 0.5,0.5 549.5,329.5' -stroke none -font "$font" -pointsize 13 -fill "$gold" \
    -annotate +14+20 "$2" "${args[@]}" -quality 92 "$1"
}
page "$update/update_page1.jpg" 'Orbela 更新向导'
page "$update/update_page2.jpg" 'Orbela 更新向导' '更新完成'
page "$uninstall/uninstall_page1.jpg" 'Orbela 卸载向导'
page "$uninstall/uninstall_page2.jpg" 'Orbela 卸载向导'
page "$uninstall/unistall_page3.jpg" 'Orbela 卸载向导' '卸载完成'

for file in logo.png min.png processbar_b.png processbar_f.png start.png; do
  cp "$installer/$file" "$update/$file"
done
for file in min.png processbar_b.png processbar_f.png; do
  cp "$installer/$file" "$uninstall/$file"
done
