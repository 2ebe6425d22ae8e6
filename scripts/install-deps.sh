#!/usr/bin/env bash
# Installs what the project needs on Debian 12 and is not there yet:
# Debian packages with apt-get, npm packages from the lock file.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-webengine-dev qt6-webchannel-dev libqt6webenginecore6-bin
  libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth chromium fonts-dejavu-core
  libcsv-dev nlohmann-json3-dev libsqlite3-dev nettle-dev qt6-translations-l10n
  qt6-tools-dev qt6-l10n-tools
  libqpdf-dev qt6-pdf-dev poppler-utils
  dpkg-dev fakeroot lintian desktop-file-utils appstream
)
# Node.js may come from elsewhere than Debian; its npm then conflicts with
# Debian's, so Debian's are installed only where none is on the PATH.
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing Debian packages: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -d node_modules/playwright-core ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
  npm ci --no-audit --no-fund
fi
