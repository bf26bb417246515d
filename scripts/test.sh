#!/usr/bin/env bash
# Builds both libraries and the sanitizer build, and passes every test of each.
#   scripts/test.sh [PRESET...]     presets: release64 i386 sanitize (default: all three)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -eq 0 ]; then
    scripts/install-deps.sh
fi

# A throw-away PostgreSQL server for the provider tests, stopped however this script ends. Every
# provider's tests must run here: a missing server fails them instead of skipping them.
server_env="$(scripts/postgres-server.sh start)"
eval "${server_env}"
trap 'scripts/postgres-server.sh stop' EXIT
export ORVANTA_REQUIRE_ALL_PROVIDERS=1

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
