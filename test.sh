#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages
build_launcher
fuzz/run-fuzzers.sh 5
ctest --test-dir build --output-on-failure --parallel 2
