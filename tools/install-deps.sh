#!/usr/bin/env bash
# Installs the Debian 12 packages the workstation needs to build, run and be tested.
# Only packages that are missing are installed; running it again is cheap.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang clang-format
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libqt6svg6
  libgl1-mesa-dev
  libsqlite3-dev sqlite3
  libturbojpeg0-dev libjpeg62-turbo-dev libjpeg-turbo-progs
  libsane-dev sane-utils libsane1
  libpq-dev postgresql
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qpdf poppler-utils
  libvips-tools poppler-data img2pdf mupdf-tools hyperfine
  fonts-ipafont-gothic fonts-ipafont-mincho
  xvfb xauth
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The PDF writer's tests run once more under a German locale, whose decimal point is a comma.
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$'; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  if [ -f /etc/locale.gen ]; then
    "${sudo_cmd[@]}" sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo_cmd[@]}" locale-gen >/dev/null
  fi
fi
