#!/usr/bin/env bash
# The Debian package, as a user would get it: cpack makes it from a built
# tree, dpkg-deb extracts it into a temporary folder (nothing is installed
# on the machine), and the programs are started from there.
#   package_test.sh BUILD_DIR SOURCE_DIR
set -u
build=${1:?build folder}
src=${2:?source folder}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_session.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/quorv-package.XXXXXX")
trap 'x_cleanup; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

(cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }
deb=$(ls "$work"/out/quorv_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "cpack made no quorv_*.deb"
echo "package: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB)"

dpkg-deb --info "$deb" >"$work/info.txt" || fail "dpkg-deb --info cannot read the package"
grep -q '^ Depends:.*libqt6widgets6' "$work/info.txt" || fail "the package does not depend on Qt's widgets library"
root="$work/root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
for file in usr/bin/quorvik usr/bin/quorvane usr/bin/quorv-batch \
            usr/share/applications/quorvik.desktop usr/share/applications/quorvane.desktop \
            usr/share/icons/hicolor/48x48/apps/quorvik.png usr/share/icons/hicolor/256x256/apps/quorvane.png \
            usr/share/man/man1/quorv-batch.1.gz; do
  [ -e "$root/$file" ] || fail "the package lacks /$file"
done
zcat "$root/usr/share/man/man1/quorv-batch.1.gz" | grep -q '^\.SH OPTIONS' ||
  fail "the manual page has no OPTIONS section"

# The batch tool from the package analyses the worked example.
"$root/usr/bin/quorv-batch" summary "$src/examples/batch/worked_controls_summary.txt" \
  "$src/examples/batch/worked_pairs.txt" >"$work/batch.csv" 2>"$work/program.log" ||
  fail "the packaged quorv-batch failed on the worked example"
grep -q ',-1.8856' "$work/batch.csv" || fail "the packaged quorv-batch did not give t = -1.8856: $(cat "$work/batch.csv")"
echo "packaged quorv-batch: ok"

# Each windowed program starts from the package and waits for the user.
for program in quorvik quorvane; do
  start_offscreen_and_close "$root/usr/bin/$program" "$work/home-$program"
  echo "packaged $program starts and waits: ok"
done
echo PASS
