#!/usr/bin/env bash
# Builds the release packages: build/packages/vizmoria-<version>-x86.zip and -x64.zip, each with
# that architecture's vizmoria.exe, its help pages vizmoria-help.html and vizmoria-help-en.html
# (opened from the version page) and the README as README.txt (UTF-8, CRLF line ends).
#   bash scripts/package.sh              install what is missing, build both programs, pack
#   bash scripts/package.sh --no-build   pack the programs already built
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != --no-build ]; then
  bash scripts/install-deps.sh
  bash scripts/build.sh --target vizmoria
fi
version=$(sed -n 's/^project(vizmoria VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no project version in CMakeLists.txt" >&2; exit 1; }

out=build/packages
rm -rf "$out"
mkdir -p "$out"
for arch in x86 x64; do
  exe=build/win-$arch/vizmoria.exe
  [ -f "$exe" ] || { echo "package: $exe is missing (build it first)" >&2; exit 1; }
  stage=$out/stage-$arch
  mkdir -p "$stage"
  cp "$exe" "$stage/vizmoria.exe"
  cp res/vizmoria-help.html "$stage/vizmoria-help.html"
  cp res/vizmoria-help-en.html "$stage/vizmoria-help-en.html"
  # A byte-order mark and CRLF line ends, so that every Windows editor shows the text right.
  { printf '\xef\xbb\xbf'; sed 's/$/\r/' README.md; } > "$stage/README.txt"
  zip="vizmoria-$version-$arch.zip"
  (cd "$stage" && zip -X -q -9 "../$zip" ./*)
  rm -rf "$stage"
  echo "package: $out/$zip"
done
