#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, then all of them again sanitized.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages
build_launcher
fuzz/run-fuzzers.sh 5
ctest --test-dir build --output-on-failure --parallel 2
# The same suite again, end-to-end plays included, with every memory error, leak and undefined
# behaviour made a failure.
build_sanitized
ctest --test-dir build-sanitized --output-on-failure --parallel 2
