#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and be tested, when missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-charts-dev libqt6opengl6-dev libgl-dev libsqlite3-dev
  qt6-qpa-plugins qt6-translations-l10n
  libcups2-dev cups printer-driver-cups-pdf
  poppler-utils xvfb xauth fonts-liberation fonts-dejavu-core
  postgresql python3 python3-aiosmtpd
  libcurl4-openssl-dev libgmime-3.0-dev dovecot-imapd openssl
  pxlib-dev
  dpkg-dev file lintian desktop-file-utils appstream
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
