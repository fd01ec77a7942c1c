# A Chinese root with the Chinese code page: the tree lands exactly there.
. "$(dirname "${BASH_SOURCE[0]}")/InstallerSteps.sh"
require_code_page 936
root='C:\游戏\奥贝拉'
install_into "$root"
expect "$(tree_listing "$(unixpath "$root")")" "$(package_listing)" "the tree under $root"
expect "$(driver lnk "$(driver folder desktop)\\Orbela.lnk")" "$root\\Orbela\\Orbela.exe" "the desktop link"
