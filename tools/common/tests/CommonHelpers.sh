# The setup helpers' tables and their system-facing checks (processes, links,
# registry, HTTP against the stand-in), then the VM probes' handler check.
wrun 120 "$WIN_BIN/common_tests.exe" || fail "common_tests.exe"

status=0
output=$(wrun 30 "$WIN_BIN/vm_probe_then_fault.exe") || status=$?
expect "$output" "vpc=0 vmware=0" "VM probes answer false outside a virtual machine"
# With no debugger in the prefix an unhandled fault ends the process with 5.
expect "$status" 5 "an access violation after the probes still ends the process"

# The tree removal never follows a link: a Unix symbolic link to a folder in
# drive_c is a reparse point to Wine (attributes 0x410); it is never entered.
# Wine 8 cannot remove such a link (RemoveDirectoryW looks through it and
# answers ERROR_DIR_NOT_EMPTY; Windows removes the link itself), so the
# removal reports the path as left, the link stays and so does every file of
# its target. (Wine 8 shows a link to a file as a plain file, so those are not
# rows here.)
sentinels=$WINEPREFIX/drive_c/sentinels
mkdir -p "$sentinels"
echo keep > "$sentinels/keep.txt"
tree=$WINEPREFIX/drive_c/tree
mkdir -p "$tree/inner"
echo x > "$tree/own.txt"
echo x > "$tree/inner/own.txt"
ln -s "$sentinels" "$tree/inner/folder-link"
ln -s "$sentinels" "$WINEPREFIX/drive_c/top-link"
# name|path|what stays besides the target
rows=(
  "a tree holding a link|C:\\tree|./inner/folder-link"
  "a link as the path itself|C:\\top-link|"
)
for row in "${rows[@]}"; do
  IFS='|' read -r name path stays <<<"$row"
  expect "$(wrun 30 "$WIN_BIN/HelperProbe.exe" remove "$path" || true)" left "$name: reported as left"
  expect "$(cat "$sentinels/keep.txt")" keep "$name: the target's file is kept"
done
expect "$(cd "$tree" && find . -mindepth 1 ! -type d -o -type l | sort | tr '\n' ' ')" "./inner/folder-link " "the tree's own files are gone, the link is left"
[ -L "$WINEPREFIX/drive_c/top-link" ] || fail "the top link is gone"
