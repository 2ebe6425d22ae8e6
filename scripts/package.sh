#!/usr/bin/env bash
# Builds the Debian package build/package/formulario7301_<version>_amd64.deb
# and checks it: lintian (no error), desktop-file-validate and appstreamcli.
# With --install, then installs it with apt-get.
set -euo pipefail
install=false
case "${1:-}" in
  --install) install=true ;;
  "") ;;
  *) echo "usage: scripts/package.sh [--install]" >&2; exit 64 ;;
esac
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh

rm -rf build/package
# fakeroot: the files in the package belong to root whoever builds it.
fakeroot cpack -G DEB --config build/CPackConfig.cmake >/dev/null
deb=$(ls build/package/formulario7301_*_amd64.deb)
echo "== $deb"
dpkg-deb --field "$deb"

echo "== lintian"
# Errors fail the build; warnings and notes (I:) are shown.
lintian --fail-on error --display-info "$deb"

echo "== desktop-file-validate and appstreamcli validate"
contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb --extract "$deb" "$contents"
desktop-file-validate "$contents"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml
echo "package ok: $deb"

if $install; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  # --reinstall: a rebuilt package of the same version replaces the installed one.
  (cd build/package && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --reinstall \
    ./formulario7301_*.deb)
  echo "installed: $(dpkg-query -W -f='${Package} ${Version}' formulario7301)"
fi
