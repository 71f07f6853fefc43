#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root and runs the
# unpacked program from an empty directory: it must find its own data set and
# render the same frames as the build. lintian must report no errors; the
# AppStream metainfo and the desktop entry must validate.
#   deb_test.sh BUILD_DIR VOKDEMO DATA_DIR WORK_DIR
# VOK_DEB_ARCH names the package's architecture (amd64 unless set); the
# installed program runs under VOK_EMULATOR when set (for example qemu-aarch64),
# and VOKDEMO may then be this machine's own build, whose frames it must equal.
set -euo pipefail
build=$1 vokdemo=$2 data=$3 work=$4
arch=${VOK_DEB_ARCH:-amd64}
read -r -a run <<<"${VOK_EMULATOR:-}"
fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$work" && mkdir -p "$work/root" "$work/empty"
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1796688000} cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/out/vokdemo_*_"$arch".deb) || fail "no vokdemo_VERSION_$arch.deb in $work/out"
dpkg-deb --field "$deb" Depends | grep -q libsdl2 || fail "the package does not depend on SDL2"
dpkg -x "$deb" "$work/root"

installed=$work/root/usr/games/vokdemo
[ -x "$installed" ] || fail "no /usr/games/vokdemo in the package"
(cd "$work/empty" && "${run[@]}" "$installed" --help) | grep -q "Data files: .*/usr/share/games/vokdemo (the installed data set)" ||
  fail "--help does not name the installed data set"
(cd "$work/empty" && "${run[@]}" "$installed" --render --fps 10 --hash) >"$work/installed.txt" 2>"$work/installed.err" ||
  fail "the installed program failed: $(cat "$work/installed.err")"
"$vokdemo" --data "$data" --render --fps 10 --hash >"$work/build.txt" 2>/dev/null
[ "$(grep -c '^frame ' "$work/build.txt")" -gt 900 ] || fail "the build rendered too few frames"
cmp -s "$work/build.txt" "$work/installed.txt" || fail "the installed program's frames differ from the build's"
[ ! -s "$work/installed.err" ] || fail "the installed program complained: $(cat "$work/installed.err")"
# The frame table is installed with the data set (under an emulator the
# whole-show check is the arm64 suite's own case).
[ -s "$work/root/usr/share/games/vokdemo/frames.sha256" ] || fail "no frames.sha256 beside the installed data set"
if [ -z "${VOK_EMULATOR:-}" ]; then
  (cd "$work/empty" && "$installed" --verify) >"$work/verify.txt" 2>&1 || fail "--verify: $(cat "$work/verify.txt")"
  grep -q '^verified: [0-9]* frames identical$' "$work/verify.txt" || fail "--verify said: $(cat "$work/verify.txt")"
fi

# What software centres read: the metainfo and the desktop entry, valid, and
# the metainfo's sentence on flashes as the package's verdict has it.
metainfo=$(ls "$work"/root/usr/share/metainfo/*.metainfo.xml) || fail "no AppStream metainfo in the package"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.txt" 2>&1 || fail "appstreamcli: $(cat "$work/appstream.txt")"
desktop-file-validate "$work/root/usr/share/applications/vokdemo.desktop" || fail "desktop-file-validate"
case $(head -n 1 "$work/root/usr/share/games/vokdemo/flashes.txt") in
  pass) says=passes ;;
  fail) says=fails ;;
  *) fail "the package's flashes.txt is not a verdict" ;;
esac
grep -q "$says the photosensitive-flash check" "$metainfo" || fail "the metainfo does not say the show $says the check"

# lintian refuses to look at a package as root only with a warning; errors are 'E:' lines.
lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1 || true
if grep -q '^E:' "$work/lintian.txt"; then fail "lintian: $(grep '^E:' "$work/lintian.txt")"; fi
echo "ok: $(basename "$deb") installs and renders the build's frames; lintian: no errors"
