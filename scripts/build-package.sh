#!/usr/bin/env bash
# Builds the Debian package rsim-launcher_VERSION_ARCH.deb into BUILD_DIR (build-package by
# default) with Debian's hardening flags, without the tests and benchmarks, and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" --log-level=WARNING >/dev/null
cmake --build "$build" --target package --parallel "$(nproc)" >/dev/null
ls "$build"/rsim-launcher_*.deb
