# The helper probe posts the statistics report for each status; the stand-in
# judges its field order and sign, and the machine fields match what other
# sources say about this prefix and host.
probe=$WIN_BIN/HelperProbe.exe

expect "$(driver reg DisplayVersion)" missing "no uninstall entry yet"
wrun 30 "$probe" report install >/dev/null || fail "install report"
wrun 30 "$probe" report uninstall >/dev/null || fail "uninstall report"
wrun 30 "$probe" report update 1.1.2.0 >/dev/null || fail "update report"

expect "$(hits_field verdict | tr '\n' ' ')" "ok ok ok " "the stand-in's verdict on each report"
expect "$(hits_field status | tr '\n' ' ')" "install uninstall update " "statuses"
expect "$(hits_field new_version | tr '\n' ' ')" "<absent> <absent> 1.1.2.0 " "only the update carries its versions"
expect "$(hits_field vm_type | tr '\n' ' ')" "<absent> <absent> <absent> " "no vm_type outside a virtual machine"
expect "$(hits_field pc_type | sed -n 1p)" "desktop:1/128/255%" "power text"

# Machine fields against sources read apart.
# (sed -n 1p reads to the end: a reader that stops early would fail the pipeline.)
user=$(ls "$WINEPREFIX/drive_c/users" | grep -vx Public | sed -n 1p)
expect "$(hits_field user_name | sed -n 1p)" "$user" "user name is the prefix's user"
build=$(sed -n 's/^"CurrentBuildNumber"="\(.*\)"/\1/p' "$WINEPREFIX/system.reg" | sed -n 1p)
os=$(hits_field os | sed -n 1p)
case "$os" in
  "Microsoft "*"(build $build)"*) echo "ok: os text names this prefix's build ($os)" ;;
  *) fail "os text '$os' does not name build $build" ;;
esac
# The kernel's "model name" may differ from the processor's own brand text, so
# the brand is read natively from cpuid by a small program built here.
cc -O -o "$WORK/cpu-brand" "$(dirname "${BASH_SOURCE[0]}")/CpuBrand.c" || fail "the native cpuid reader did not build"
cpu=$("$WORK/cpu-brand") || fail "the native cpuid reader failed"
expect "$(hits_field cpu | sed -n 1p | sed 's/^ *//; s/ *$//')" "$(printf '%s' "$cpu" | sed 's/^ *//; s/ *$//')" "cpu is the processor's brand"
expect "$(hits_field gpu | sed -n 1p)" "$(wrun 30 "$probe" machine | sed -n 's/^gpu=//p')" "gpu text"
grep -q '"path":"/hits".*"sign":"[0-9a-f]\{32\}"' "$STANDIN_LOG" || fail "no signed report in the log"
echo "--- a report as the stand-in logged it:"
grep '"path":"/hits"' "$STANDIN_LOG" | sed -n 1p

# The wizards' manifest names no Windows 8.1 or 10: on a prefix that plays
# Windows 10 they read version 6.2, which the OS text names "Windows 10".
wrun 30 reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null || fail "could not make the prefix play Windows 10"
os10=$(wrun 30 "$probe" machine | sed -n 's/^os=//p')
case "$os10" in
  "Microsoft Windows 10 "*"(build 9200)"*) echo "ok: under Windows 10 the OS text reads 6.2 ($os10)" ;;
  *) fail "under Windows 10 the OS text is '$os10'" ;;
esac
