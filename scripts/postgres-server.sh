#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests: a fresh cluster in a temporary folder, listening on
# a free loopback port, with a role that logs in by password (scram, so a wrong one is refused).
#   eval "$(scripts/postgres-server.sh start)"   starts one and prints the variables to export:
#       ORVANTA_TEST_POSTGRESQL   the connection string the tests use
#       ORVANTA_POSTGRES_DIR      the cluster's folder, which `env` and `stop` need
#   scripts/postgres-server.sh env               prints the variables again
#   scripts/postgres-server.sh stop              stops the server and removes its folder
# As root the cluster belongs to the `postgres` user, since initdb refuses to run as root.
set -euo pipefail

readonly role=orvanta
readonly password=orvanta-test-password
readonly database=orvanta

bindir() {
    local dir
    dir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
    if [ -z "${dir}" ] || [ ! -x "${dir}/initdb" ]; then
        echo "postgres-server.sh: no PostgreSQL server installed (run scripts/install-deps.sh)" >&2
        exit 1
    fi
    echo "${dir}"
}

# Runs a server program as the cluster's owner.
as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

state_dir() {
    local dir="${ORVANTA_POSTGRES_DIR:-}"
    if [ -z "${dir}" ] || [ ! -f "${dir}/env" ]; then
        echo "postgres-server.sh: ORVANTA_POSTGRES_DIR does not name a running test server" >&2
        exit 1
    fi
    echo "${dir}"
}

start() {
    local bin dir port
    bin="$(bindir)"
    dir="$(mktemp -d "${TMPDIR:-/tmp}/orvanta-postgres.XXXXXX")"
    chmod 755 "${dir}"
    mkdir "${dir}/data" "${dir}/socket"
    [ "$(id -u)" -ne 0 ] || chown postgres: "${dir}/data" "${dir}/socket"

    local superuser
    superuser="$(if [ "$(id -u)" -eq 0 ]; then echo postgres; else id -un; fi)"
    as_owner "${bin}/initdb" --pgdata="${dir}/data" --username="${superuser}" --encoding=UTF8 \
        --locale=C.UTF-8 --auth-local=peer --auth-host=scram-sha-256 >"${dir}/initdb.log" 2>&1 || {
        cat "${dir}/initdb.log" >&2
        exit 1
    }

    # A port can be taken between the probe and the start; a few tries make that harmless.
    local started=0
    for _ in 1 2 3 4 5; do
        port="$(free_port)"
        if as_owner "${bin}/pg_ctl" --pgdata="${dir}/data" --log="${dir}/data/server.log" --wait --timeout=60 \
            --options="-p ${port} -c listen_addresses=127.0.0.1 -k ${dir}/socket -c fsync=off \
                       -c synchronous_commit=off -c full_page_writes=off -c max_connections=60" \
            start >/dev/null 2>&1; then
            started=1
            break
        fi
    done
    if [ "${started}" -ne 1 ]; then
        cat "${dir}/data/server.log" >&2 || true
        exit 1
    fi

    as_owner "${bin}/psql" --quiet --no-psqlrc --host="${dir}/socket" --port="${port}" --username="${superuser}" \
        --dbname=postgres --set=ON_ERROR_STOP=1 >/dev/null <<SQL
CREATE ROLE ${role} LOGIN PASSWORD '${password}';
CREATE DATABASE ${database} OWNER ${role};
SQL

    cat >"${dir}/env" <<ENV
export ORVANTA_TEST_POSTGRESQL='Provider=PostgreSQL;Server=127.0.0.1;Port=${port};Database=${database};User ID=${role};Password=${password}'
export ORVANTA_POSTGRES_DIR='${dir}'
ENV
    cat "${dir}/env"
}

stop() {
    local dir
    dir="$(state_dir)"
    if [ -f "${dir}/data/postmaster.pid" ]; then
        as_owner "$(bindir)/pg_ctl" --pgdata="${dir}/data" --mode=fast --wait stop >/dev/null
    fi
    rm -rf "${dir}"
}

case "${1:-}" in
    start) start ;;
    env) cat "$(state_dir)/env" ;;
    stop) stop ;;
    *)
        echo "usage: $0 start|env|stop" >&2
        exit 2
        ;;
esac
