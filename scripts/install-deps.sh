#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine (run as root).
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps.sh: run as root" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi

apt-get update -qq

# Build and the 64-bit library with every provider.
packages=(
    build-essential cmake ninja-build pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libsqlite3-dev sqlite3
    libpq-dev postgresql
    unixodbc unixodbc-dev libsqliteodbc odbc-postgresql
    locales python3
    # 32-bit library: multilib compiler, i386 twins of the libraries, user-mode emulator for its tests
    g++-multilib qemu-user
    libsqlite3-dev:i386 libpq5:i386 unixodbc-dev:i386
    # ODBC drivers that the 32-bit ODBC tests load (Debian co-installs them with the 64-bit ones)
    libsqliteodbc:i386 odbc-postgresql:i386
)
apt-get install -y -qq --no-install-recommends "${packages[@]}"

# Locales that the currency tests switch to (ja_JP: a currency without fraction digits).
for locale in en_US.UTF-8 de_DE.UTF-8 ja_JP.UTF-8; do
    if ! locale -a 2>/dev/null | grep -qi "^${locale%.*}\.utf-\?8$"; then
        sed -i "s/^# *\(${locale} UTF-8\)/\1/" /etc/locale.gen
        need_locale_gen=1
    fi
done
if [ "${need_locale_gen:-0}" = 1 ]; then
    locale-gen >/dev/null
fi
