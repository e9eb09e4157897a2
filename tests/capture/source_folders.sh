#!/usr/bin/env bash
# readonly_source.sh up|down DIR: a source folder of scans that the move cannot empty,
# for the cataloguing screen's test: DIR/mount is a read-only bind mount holding
# ro.pdf, DIR/links holds link.pdf, a link to it. Under Wine a delete there answers
# success and the file stays. Where the machine allows no mount, "up" leaves DIR
# without them and the test skips; either way the set-up itself passes.
set -u
action=$1 dir=${2:?folder}
umount "$dir/mount" 2>/dev/null
rm -rf "$dir"
[ "$action" = up ] || exit 0
mkdir -p "$dir/files" "$dir/mount" "$dir/links"
printf '%%PDF-1.4\n%%%%EOF\n' > "$dir/files/ro.pdf"
if mount --bind "$dir/files" "$dir/mount" 2>/dev/null && mount -o remount,bind,ro "$dir/mount" 2>/dev/null &&
   ! touch "$dir/mount/writable" 2>/dev/null; then
  ln -s "$dir/mount/ro.pdf" "$dir/links/link.pdf"
  echo "read-only source folder at $dir/mount"
else
  umount "$dir/mount" 2>/dev/null
  rm -rf "$dir"
  echo "no read-only mount on this machine: the test that needs one skips"
fi
exit 0
