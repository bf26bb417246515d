#!/usr/bin/env bash
# The main job: builds the library for 64-bit hosts and runs a short host session on a SQLite file.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -eq 0 ]; then
    scripts/install-deps.sh
fi
cmake --preset release64 -DORVANTA_BUILD_TESTS=OFF >/dev/null
cmake --build --preset release64 --target orvanta-host

database="${1:-/tmp/orvanta-demo.db}"
rm -f "${database}"
build/release64/tools/host/orvanta-host --library build/release64/exports/liborvanta64.so \
    "Provider=SQLite;Data Source=${database}" \
    "CREATE TABLE fruit(id INTEGER PRIMARY KEY, name TEXT, price REAL)" \
    "INSERT INTO fruit(name, price) VALUES ('apple', 0.5), ('pear, ripe', 0.75), ('plum', 1.25)" \
    "UPDATE fruit SET price = price * 2 WHERE price < 1" \
    "DELETE FROM fruit WHERE name = 'plum'" \
    "SELECT id, name, price, date('2026-12-11') FROM fruit ORDER BY id"
