#!/usr/bin/env bash
# Installs what is missing, builds, and starts the launcher on the sample installation.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages
build_launcher
exec build/sample-installation/rsim-launcher
