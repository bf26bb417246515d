#!/usr/bin/env bash
# Builds both libraries and the sanitizer build, and passes every test of each.
#   scripts/test.sh [PRESET...]     presets: release64 i386 sanitize (default: all three)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -eq 0 ]; then
    scripts/install-deps.sh
fi

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(release64 i386 sanitize)

for preset in "${presets[@]}"; do
    echo "=== ${preset}: build"
    cmake --preset "${preset}" >/dev/null
    cmake --build --preset "${preset}"
    echo "=== ${preset}: test"
    ctest --preset "${preset}"
done
echo "=== all tests passed: ${presets[*]}"
