#!/usr/bin/env bash
# Makes the update package the stand-in offers: a 7z archive with the client's
# files at its top level (an update unpacks straight into the client folder).
#   MakeUpdatePackage.sh OUT.7z CLIENT_EXE UPDATE_EXE UNINSTALL_EXE
# It also carries "UpdateNotes.txt", a file an installation lacks, so a test
# sees that the update's own files arrive.
set -euo pipefail
out=$1 client=$2 updater=$3 uninstaller=$4
stage=$out.stage
rm -rf "$stage" "$out"
mkdir -p "$stage"
cp "$client" "$stage/Orbela.exe"
cp "$updater" "$stage/Update.exe"
cp "$uninstaller" "$stage/Uninstall.exe"
printf 'Orbela 1.1.1.82\r\n' > "$stage/UpdateNotes.txt"
(cd "$stage" && 7z a -t7z -bd -y "$out.part" Orbela.exe Update.exe Uninstall.exe UpdateNotes.txt >/dev/null)
mv "$out.part" "$out"
rm -rf "$stage"
