# The whole quick install: the seven values of the uninstall entry, the three
# links, the tree against the package's listing, the client's start and one
# "install" report.
. "$(dirname "${BASH_SOURCE[0]}")/InstallerSteps.sh"

start_installer
expect "$(driver text "$title" quicksetupbtn)" "立即安装    " "first installation"
expect "$(driver text "$title" lb_need_space)" "所需空间：131M" "required space"
root=$(driver text "$title" setup_path)
expect "$root" "$(windows_default_install_root "$WINEPREFIX")" "default folder on this prefix's machine without D:"

driver click "$title" quicksetupbtn >/dev/null
wait_shown start_btn || fail "the finished page did not come"
expect "$(driver text "$title" progress_text)" "100%" "the bar is full"

client="$root\\Orbela"
expected_values=("$client\\Orbela.exe" "$client" "\"$client\\Uninstall.exe\"" "Halvern" "1.1.1.81" "Orbela" "$ORBELA_PRODUCT_PAGE")
i=0
for value in $entry_values; do
  got=$(driver reg "$value")
  echo "entry: $value = $got"
  expect "$got" "${expected_values[$i]}" "$value"
  i=$((i + 1))
done

programs=$(driver folder programs)
desktop=$(driver folder desktop)
for link in "$programs\\Orbela\\Orbela.lnk|$client\\Orbela.exe" "$programs\\Orbela\\卸载Orbela.lnk|$client\\Uninstall.exe" \
            "$desktop\\Orbela.lnk|$client\\Orbela.exe"; do
  got=$(driver lnk "${link%%|*}")
  echo "link: ${link%%|*} -> $got"
  expect "$got" "${link#*|}" "link ${link%%|*}"
done

tree=$(tree_listing "$(unixpath "$root")")
echo "extracted files:"; printf '  %s\n' $tree
expect "$tree" "$(package_listing)" "the tree under the root is the package's"

driver click "$title" start_btn >/dev/null
wait_for 30 test -s "$WORK/fixture.log" || fail "the client did not start"
started_line=$(head -1 "$WORK/fixture.log")
echo "client start: $started_line"
case "$started_line" in
  *"image=$client\\Orbela.exe"*) echo "ok: the installed client started" ;;
  *) fail "started $started_line" ;;
esac
expect "${started_line##*args=}" "" "the client got no arguments"
wait_exit "$INSTALLER_PID" 30 || fail "the installer did not end"

expect "$(hits_field status)" install "one install report"
expect "$(hits_field verdict)" ok "the report's verdict"
