#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Formulario7301 and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
# Qt WebEngine refuses to start its sandbox as root.
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
exec build/app/formulario7301 "$@"
