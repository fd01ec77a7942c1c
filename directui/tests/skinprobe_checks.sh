#!/usr/bin/env bash
# skinprobe as a child process, under Wine:
#   skinprobe_checks.sh WINE_TEST PREFIX SKINPROBE SKINS EXPECTED_DUMP
# - the sample skin's dump, tab click and wheel against the expected file;
# - every skin of the bad corpus exits as bad/corpus.txt says, with its
#   reason, under Wine's heap checking (but those of bad/large.txt), without
#   crash, hang or heap report, and its window holds at most 100,000 controls;
# - exit 2 for a bad command line or an unknown name, 3 from the watchdog.
set -uo pipefail
wine_test=$1 prefix=$2 probe=$3 skins=$4 expected=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

run_probe() { # output-file args...; prints the exit code
  local out=$1; shift
  local code=0
  "$wine_test" run "$prefix" 60 "$probe" "$@" >"$out" 2>"$out.err" || code=$?
  echo "$code"
}

# The sample skin: dump, a tab button click, the wheel over the scrolled page.
code=$(run_probe "$work/sample.txt" "$skins/sample.zip" --dump --click tab1 --wheel list down --dump --click tab3 --dump)
[ "$code" = 0 ] || fail "sample skin exited $code"
tr -d '\r' <"$work/sample.txt" >"$work/sample.lf"
if ! diff -u "$expected" "$work/sample.lf" >"$work/sample.diff"; then
  fail "sample dump differs from $expected"
  head -40 "$work/sample.diff"
fi

# The folder gives the same tree as the zip.
code=$(run_probe "$work/folder.txt" "$skins/sample" --dump)
[ "$code" = 0 ] || fail "sample folder exited $code"
head -n "$(wc -l <"$work/folder.txt")" "$work/sample.txt" | cmp -s - "$work/folder.txt" || fail "folder and zip dumps differ"

# The bad corpus, under heap checking but for the skins too large for it.
while read -r name want reason; do
  [ -n "$name" ] || continue
  heap=warn+heap
  if grep -qxF "$name" "$skins/bad/large.txt"; then heap=-all; fi
  code=$(ORBELA_WINEDEBUG=$heap run_probe "$work/bad.txt" "$skins/bad/$name" --dump --render "$work/bad.png")
  [ "$code" = "$want" ] || fail "$name exited $code, expected $want"
  grep -qF -- "$reason" "$work/bad.txt" || fail "$name: no \"$reason\" in: $(head -3 "$work/bad.txt")"
  if [ "$want" = 1 ]; then
    grep -q 'box "DirectUI": 加载资源文件失败' "$work/bad.txt" || fail "$name: the skin-load box was not shown"
  fi
  # Whatever a skin builds, through Includes and child layouts, one window holds
  # at most the builder's 100,000 controls (one dump line each).
  controls=$(grep -cE '^ *[A-Za-z]+UI "' "$work/bad.txt" || true)
  [ "$controls" -le 100000 ] || fail "$name: the window holds $controls controls, more than 100000"
  if grep -E ':(err|warn):heap' "$work/bad.txt.err" >/dev/null; then
    fail "$name: heap report"
    grep -E ':(err|warn):heap' "$work/bad.txt.err" | head -5
  fi
done <"$skins/bad/corpus.txt"

# Usage, unknown names and the watchdog.
for args in "" "--dump" "$skins/sample.zip --bogus" "$skins/sample.zip --size 0,5" "$skins/sample.zip --wheel list sideways"; do
  # shellcheck disable=SC2086
  code=$(run_probe "$work/usage.txt" $args)
  [ "$code" = 2 ] || fail "\"$args\" exited $code, expected 2"
  grep -q '^usage: skinprobe' "$work/usage.txt" || fail "\"$args\" printed no usage"
done
code=$(run_probe "$work/name.txt" "$skins/sample.zip" --click nosuchbutton)
[ "$code" = 2 ] || fail "an unknown name exited $code, expected 2"
grep -q 'no control named nosuchbutton' "$work/name.txt" || fail "the unknown name was not reported"
# A line longer than the output's room is cut where the room ends.
long=$(printf 'n%.0s' $(seq 5000))
code=$(run_probe "$work/long.txt" "$skins/sample.zip" --click "$long")
[ "$code" = 2 ] || fail "a very long unknown name exited $code, expected 2"
line=$(grep -a 'no control named' "$work/long.txt" | tr -d '\r')
[ "$line" = "skinprobe: no control named $(printf 'n%.0s' $(seq 4065))" ] ||
  fail "the long line was not cut cleanly: $(printf '%s' "$line" | wc -c) bytes"
tr -d '\0' <"$work/long.txt" | cmp -s - "$work/long.txt" || fail "NUL bytes in the output of a long line"
code=$(run_probe "$work/hung.txt" "$skins/sample.zip" --watchdog 1 --wait 30000)
[ "$code" = 3 ] || fail "the watchdog run exited $code, expected 3"
grep -q 'watchdog' "$work/hung.txt" || fail "the watchdog did not say so"

[ "$failures" = 0 ] && echo "skinprobe checks passed"
exit $((failures > 0))
