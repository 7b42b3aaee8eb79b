#!/usr/bin/env bash
# Installs from Debian's packages what building and testing need; does nothing when all is there.
set -euo pipefail
packages=(
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 fonts-wine
  xvfb xdotool x11-xkb-utils imagemagick
  locales fonts-liberation fonts-dejavu-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  sox nsis unzip
  python3
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q "${missing[@]}"
fi
# Wine takes its ANSI code page from the locale: both must exist.
for locale in en_US.UTF-8 ru_RU.UTF-8; do
  if ! locale -a 2>/dev/null | grep -qi "^${locale/UTF-8/utf8}$"; then
    sed -i "s/^# *\(${locale} UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${locale} UTF-8" /etc/locale.gen || echo "${locale} UTF-8" >> /etc/locale.gen
    need_locale_gen=1
  fi
done
if [ "${need_locale_gen:-0}" = 1 ]; then locale-gen >/dev/null; fi
