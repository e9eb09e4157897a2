#!/usr/bin/env bash
# source_folders.sh up|down DIR: source folders of scans that Windows programs cannot
# make, for the cataloguing screen's tests.
#  - DIR/twins-rename and DIR/twins-copy each hold two different pages, Case.pdf and
#    case.pdf: the Linux disk allows both, Wine finds either under both names.
#    DIR/twins-stamped holds Twin.pdf and twin.pdf of one size and one time stamp, as
#    files copied with their times kept.
#  - DIR/mount is a read-only bind mount holding ro.pdf, and DIR/links holds link.pdf,
#    a link to it: under Wine a delete there answers success and the file stays. Where
#    the machine allows no mount they are left out and the test that needs them skips.
# Either way the set-up itself passes.
set -u
action=$1 dir=${2:?folder}
umount "$dir/mount" 2>/dev/null
rm -rf "$dir"
[ "$action" = up ] || exit 0
for twins in twins-rename twins-copy; do
  mkdir -p "$dir/$twins"
  printf '%%PDF-1.4\n%%upper\n%%%%EOF\n' > "$dir/$twins/Case.pdf"
  printf '%%PDF-1.4\n%%lower\n%%%%EOF\n' > "$dir/$twins/case.pdf"
done
mkdir -p "$dir/twins-stamped"
printf '%%PDF-1.4\n%%upper\n%%%%EOF\n' > "$dir/twins-stamped/Twin.pdf"
printf '%%PDF-1.4\n%%lower\n%%%%EOF\n' > "$dir/twins-stamped/twin.pdf"
touch -d '2026-11-02 10:30:00' "$dir/twins-stamped/Twin.pdf" "$dir/twins-stamped/twin.pdf"
mkdir -p "$dir/files" "$dir/mount" "$dir/links"
printf '%%PDF-1.4\n%%%%EOF\n' > "$dir/files/ro.pdf"
if mount --bind "$dir/files" "$dir/mount" 2>/dev/null && mount -o remount,bind,ro "$dir/mount" 2>/dev/null &&
   ! touch "$dir/mount/writable" 2>/dev/null; then
  ln -s "$dir/mount/ro.pdf" "$dir/links/link.pdf"
  echo "read-only source folder at $dir/mount"
else
  umount "$dir/mount" 2>/dev/null
  rm -rf "$dir/files" "$dir/mount" "$dir/links"
  echo "no read-only mount on this machine: the test that needs one skips"
fi
exit 0
