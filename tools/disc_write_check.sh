#!/usr/bin/env bash
# Burns a small set of awkward files with disc_write.exe and reads the session back
# with isoinfo: volume ids, size, Joliet names, unique primary names, file bytes.
#   disc_write_check.sh BUILD_DIR
set -euo pipefail
# Checks read text through here-strings: with pipefail, "echo | grep -q" fails when
# grep stops reading before echo has written everything.
build=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$build/disc_write_check
rm -rf "$work"
mkdir -p "$work/src" "$work/drive"
src=$work/src

names=("A very long file name that goes well beyond thirty characters.jpg"
       "MixedCase.Jpg" "Fotó été.jpg" "clash a.jpg" "clash+a.jpg"
       "empty.bin" "one block.bin" "block and one.bin")
sizes=(5000 300 4097 10 11 0 2048 2049)
for i in "${!names[@]}"; do
  head -c "${sizes[$i]}" /dev/urandom > "$src/${names[$i]}"
done

winpath() { echo "Z:${1//\//\\}"; }
args=()
for n in "${names[@]}"; do args+=("$(winpath "$src/$n")"); done
out=$("$root/scripts/wine-run" --prefix "$build/wine" -- "$build/bin/disc_write.exe" \
      "$(winpath "$work/drive")" "Korvalo Test" "${args[@]}")
echo "$out"
blocks=$(echo "$out" | tr -d '\r' | sed -n 's/^blocks=//p' | tail -1)
iso=$work/drive/session1.iso
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$iso" ] || fail "no session1.iso"

pvd=$(isoinfo -d -i "$iso")
grep -q "^Volume id: KORVALO_TEST$" <<< "$pvd" || fail "primary volume id: $(echo "$pvd" | grep 'Volume id')"
grep -q "^Volume size is: $blocks$" <<< "$pvd" || fail "volume size is not $blocks blocks"
grep -q "Joliet with UCS level 3 found" <<< "$pvd" || fail "no Joliet descriptor"
[ $(( $(stat -c %s "$iso") / 2048 )) -eq "$blocks" ] || fail "file holds $(stat -c %s "$iso") bytes, not $blocks blocks"
# The Joliet descriptor (block 17) keeps the label as typed, in UCS-2 at offset 40.
jvol=$(dd if="$iso" bs=1 skip=$((17 * 2048 + 40)) count=32 status=none | iconv -f UTF-16BE -t utf-8 | sed 's/ *$//')
[ "$jvol" = "Korvalo Test" ] || fail "Joliet volume id: '$jvol'"

listing=$(isoinfo -f -J -j iso8859-1 -i "$iso" | iconv -f latin1 -t utf-8)
# Joliet names are cut to 64 characters, keeping the extension.
joliet=("${names[@]}")
joliet[0]="A very long file name that goes well beyond thirty character.jpg"
for i in "${!names[@]}"; do
  j=${joliet[$i]}
  grep -qxF "/Korvalo/$j" <<< "$listing" || fail "Joliet name missing: $j"
  isoinfo -J -j iso8859-1 -i "$iso" -x "$(echo "/Korvalo/$j" | iconv -f utf-8 -t latin1)" > "$work/extracted" \
    || fail "cannot extract $j"
  cmp -s "$work/extracted" "$src/${names[$i]}" || fail "bytes differ: $j"
done

primary=$(isoinfo -f -i "$iso" | grep '^/KORVALO/')
[ "$(echo "$primary" | wc -l)" -eq "${#names[@]}" ] || fail "primary names: $primary"
[ "$(echo "$primary" | sort -u | wc -l)" -eq "${#names[@]}" ] || fail "primary names not unique: $primary"
grep -Eqv '^/KORVALO/[A-Z0-9_]{1,30}\.[A-Z0-9_]*;1$' <<< "$primary" && fail "primary name not level 2: $primary"

# A file of 4 GiB - 1 bytes (sparse) is the largest a disc takes: its size is printed
# whole. It does not fit the stand-in's disc, so the write itself is refused.
big=$work/big
mkdir -p "$big/drive"
truncate -s 4294967295 "$big/largest.bin"
out=$("$root/scripts/wine-run" --prefix "$build/wine" -- "$build/bin/disc_write.exe" \
      "$(winpath "$big/drive")" "Big" "$(winpath "$big/largest.bin")" || true)
out=$(tr -d '\r' <<< "$out")
grep -qx "added largest.bin 4294967295" <<< "$out" || fail "size of 4 GiB - 1 printed as: $(grep added <<< "$out")"
rm -f "$big/largest.bin"
echo "disc_write_check: ${#names[@]} files, $blocks blocks, all checks passed"
