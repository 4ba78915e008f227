#!/bin/bash
# Installs the Debian packages the project needs, only those missing; silent when all are present.
set -euo pipefail
packages=(g++ cmake ninja-build qt6-base-dev qt6-translations-l10n libicu-dev zlib1g-dev
          libgtest-dev libbenchmark-dev fonts-dejavu-core clang libclang-rt-14-dev clang-format
          clang-tidy libx11-dev xvfb xauth librsvg2-bin desktop-file-utils appstream libexiv2-dev
          libexif-dev libavformat-dev libavcodec-dev qt6-image-formats-plugins git dpkg-dev mmv rename
          pkg-config file mmdebstrap lintian libtag1-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
