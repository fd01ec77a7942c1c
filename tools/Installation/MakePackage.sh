#!/usr/bin/env bash
# Makes the installer's package: a 7z archive whose top folder is "Orbela".
#   MakePackage.sh OUT.7z CLIENT_DIR FIXTURE_EXE EXTRACTOR_EXE PROGRAMS_DIR
# CLIENT_DIR (a Windows build of the client) is packed as it is when given;
# empty, the folder holds the fixture client as "Orbela.exe", the extractor
# as "Tools/7z.exe" and "Update.exe"/"Uninstall.exe" when PROGRAMS_DIR has them.
set -euo pipefail
out=$1 client=$2 fixture=$3 extractor=$4 programs=$5
stage=$out.stage
rm -rf "$stage" "$out"
mkdir -p "$stage"
if [ -n "$client" ]; then
  [ -f "$client/Orbela.exe" ] || { echo "MakePackage: $client has no Orbela.exe" >&2; exit 1; }
  # Hard links when the folder is on the same file system: no second copy.
  cp -al "$client" "$stage/Orbela" 2>/dev/null || { rm -rf "$stage/Orbela"; cp -a "$client" "$stage/Orbela"; }
else
  mkdir -p "$stage/Orbela/Tools"
  cp "$fixture" "$stage/Orbela/Orbela.exe"
  cp "$extractor" "$stage/Orbela/Tools/7z.exe"
  for program in Update.exe Uninstall.exe; do
    if [ -f "$programs/$program" ]; then cp "$programs/$program" "$stage/Orbela/$program"; fi
  done
fi
(cd "$stage" && 7z a -t7z -bd -y "$out.part" Orbela >/dev/null)
mv "$out.part" "$out"
rm -rf "$stage"
