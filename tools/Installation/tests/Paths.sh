# Folders with blanks and non-ASCII names: the tree lands exactly there.
. "$(dirname "${BASH_SOURCE[0]}")/InstallerSteps.sh"

# A temporary folder with blanks (both paths of the extractor's command line are quoted).
wrun 30 reg add 'HKCU\Environment' /v TEMP /d 'C:\temp dir with blanks' /f >/dev/null
wrun 30 reg add 'HKCU\Environment' /v TMP /d 'C:\temp dir with blanks' /f >/dev/null
mkdir -p "$WINEPREFIX/drive_c/temp dir with blanks"
expect "$(driver folder temp)" 'C:\temp dir with blanks\' "the temporary folder has blanks"

for root in 'C:\My Games' 'C:\Größe'; do
  forget_entry
  install_into "$root"
  expect "$(tree_listing "$(unixpath "$root")")" "$(package_listing)" "the tree under $root"
done
[ -f "$WINEPREFIX/drive_c/temp dir with blanks/orbela.7z" ] || fail "the package was not written to the temporary folder"
echo "ok: the package went to the temporary folder with blanks"
