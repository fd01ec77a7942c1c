# The helpers that meet texts and file names, under code page 936 (Chinese
# Windows): OEM text in GBK, links with Chinese names.
require_code_page 936
echo "ok: the wizards see code page 936"
wrun 60 "$WIN_BIN/common_tests.exe" --gtest_filter='MachineTextTest.*:ShortcutTest.*:SystemFilesTest.*:StatisticsFormTest.Report*' \
  || fail "common_tests.exe under code page 936"
