# The setup helpers' tables and their system-facing checks (processes, links,
# registry, HTTP against the stand-in), then the VM probes' handler check.
wrun 120 "$WIN_BIN/common_tests.exe" || fail "common_tests.exe"

status=0
output=$(wrun 30 "$WIN_BIN/vm_probe_then_fault.exe") || status=$?
expect "$output" "vpc=0 vmware=0" "VM probes answer false outside a virtual machine"
# With no debugger in the prefix an unhandled fault ends the process with 5.
expect "$status" 5 "an access violation after the probes still ends the process"

# The tree removal never follows a link. A Unix symbolic link in drive_c is
# one Wine shows as a reparse point when it leads to a folder (attributes
# 0x410), and as a plain file when it leads to a file (0x20, reparse tag 0);
# deleting either through its name acts on the target (Wine 8's
# RemoveDirectoryW removes an empty target folder and keeps the link). The
# removal takes an entry only when a handle opened on it is named by the entry
# itself, so each of these is left, reported as left, and every target keeps
# what it holds.
sentinels=$WINEPREFIX/drive_c/sentinels
empty_target=$WINEPREFIX/drive_c/empty-target
mkdir -p "$sentinels" "$empty_target"
echo keep > "$sentinels/keep.txt"
tree=$WINEPREFIX/drive_c/tree
mkdir -p "$tree/inner"
echo x > "$tree/own.txt"
echo x > "$tree/inner/own.txt"
ln -s "$sentinels" "$tree/inner/folder-link"
ln -s "$sentinels/keep.txt" "$tree/inner/file-link"
ln -s "$empty_target" "$tree/empty-link"
ln -s "$sentinels" "$WINEPREFIX/drive_c/top-link"
ln -s "$sentinels/keep.txt" "$WINEPREFIX/drive_c/top-file-link"
ln -s "$empty_target" "$WINEPREFIX/drive_c/top-empty-link"
# name|path
rows=(
  "a tree holding links to a folder, a file and an empty folder|C:\\tree"
  "a link to a folder as the path itself|C:\\top-link"
  "a link to a file as the path itself|C:\\top-file-link"
  "a link to an empty folder as the path itself|C:\\top-empty-link"
)
for row in "${rows[@]}"; do
  IFS='|' read -r name path <<<"$row"
  expect "$(wrun 30 "$WIN_BIN/HelperProbe.exe" remove "$path" || true)" left "$name: reported as left"
  expect "$(cat "$sentinels/keep.txt")" keep "$name: the target file is kept"
  [ -d "$empty_target" ] || fail "$name: the empty target folder is gone"
done
expect "$(cd "$tree" && find . -mindepth 1 ! -type d -o -type l | sort | tr '\n' ' ')" \
  "./empty-link ./inner/file-link ./inner/folder-link " "the tree's own files are gone, the links are left"
for link in top-link top-file-link top-empty-link; do
  [ -L "$WINEPREFIX/drive_c/$link" ] || fail "$link is gone"
done
echo "ok: the links given as the path are left"
