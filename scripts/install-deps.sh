#!/usr/bin/env bash
# Installs what building and testing needs on Debian 12 (run as root). Idempotent: packages that
# are already present are skipped, so a second run costs only the dpkg queries.
# Both Wine loaders are installed: wine32 installs on hosts that cannot execute 32-bit code too,
# where the scripts then run only the x64 program (wine-env.sh finds out which loader starts).
set -euo pipefail

pkgs=(cmake make g++ clang libclang-rt-14-dev googletest
      g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
      wine wine32:i386 wine64 xvfb xauth fonts-ipafont-gothic locales imagemagick xdotool
      zip unzip
      xserver-xephyr libxinerama1 libxinerama1:i386)  # two monitors: Wine reads them through Xinerama
[ "${VIZ_WITH_BENCH:-0}" = 1 ] && pkgs+=(xzoom)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "install-deps: missing packages (${missing[*]}); run as root" >&2
    exit 1
  fi
  echo "install-deps: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The locales the tests run in: Japanese makes Wine's UI language 0x0411 and its ANSI code page
# 932, as on a Japanese Windows; English (0x0409) and German (0x0407) give code page 1252 and the
# program's English texts.
missing_locales=()
for loc in ja_JP en_US de_DE; do
  locale -a 2>/dev/null | grep -qix "$loc\.utf8" || missing_locales+=("$loc")
done
if [ ${#missing_locales[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "install-deps: locales ${missing_locales[*]} (UTF-8) missing; run as root" >&2
    exit 1
  fi
  for loc in "${missing_locales[@]}"; do
    sed -i "s/^# *$loc.UTF-8 UTF-8/$loc.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" >> /etc/locale.gen
  done
  locale-gen >/dev/null
fi
