#!/usr/bin/env bash
# Tests the release package of one architecture as a user gets it: unpacks
# build/packages/vizmoria-<version>-<arch>.zip into a fresh folder, then, under Wine on a private
# Xvfb, checks the program's version and architecture against the package's name, starts it there
# and checks that it writes vizmoria.bin beside itself at exit.
#   bash scripts/test-package.sh x64|x86     (after scripts/package.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:?usage: test-package.sh x86|x64}
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
viz_use_arch "$arch"

shopt -s nullglob
zips=(build/packages/vizmoria-*-"$arch".zip)
[ ${#zips[@]} -eq 1 ] || { echo "test-package: expected one $arch package in build/packages" >&2; exit 1; }
zip=${zips[0]}
version=${zip##*/vizmoria-}
version=${version%-"$arch".zip}

dir=$(mktemp -d)
# Runs at exit with the script's status: nothing here may change it (under set -e a failing
# command in an exit trap would end the script with status 1 and no word of why).
cleanup() {
  local rc=$?
  set +e
  viz_wine_stop
  viz_xvfb_stop
  rm -rf "$dir" || echo "test-package: could not remove $dir" >&2
  exit "$rc"
}
trap cleanup EXIT
unzip -q "$zip" -d "$dir"
echo "== package $arch: $zip unpacked into $dir: $(cd "$dir" && ls | tr '\n' ' ')"

viz_wine_stop
viz_xvfb_start
viz_prefix_init
export VIZ_PACKAGE_DIR=$dir VIZ_PACKAGE_VERSION=$version VIZ_PACKAGE_ARCH=$arch
export VIZ_SHOT_DIR=$PWD/build/shots-$arch
mkdir -p "$VIZ_SHOT_DIR"
log=$(mktemp)
rc=0
bash scripts/wine-run.sh "$VIZ_WIN_BUILD/e2e_tests.exe" --gtest_filter='PackageTest.*' | tee "$log" || rc=$?
# A skipped test (the variables not reaching it) is a failure here.
if [ $rc -eq 0 ] && { ! grep -q '^\[  PASSED  \] 1 test' "$log" || grep -q 'SKIPPED' "$log"; }; then
  echo "test-package: the package test did not run" >&2
  rc=1
fi
rm -f "$log"
exit $rc
