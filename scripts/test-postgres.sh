#!/usr/bin/env bash
# A throw-away PostgreSQL 15 server for the archive tests.
#   eval "$(scripts/test-postgres.sh start)"   starts one in a temporary folder and prints
#                                               export VELOMYRA_TEST_POSTGRES=postgresql://...
#   scripts/test-postgres.sh stop FOLDER       stops it and removes the folder
# As root the server runs as the unprivileged user velomyra-test (created when missing):
# the server refuses to run as root.
set -euo pipefail

bin=/usr/lib/postgresql/15/bin
user=$(id -un)
run_as=()
if [[ $(id -u) -eq 0 ]]; then
    user=velomyra-test
    id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
    run_as=(runuser -u "$user" --)
fi

case "${1:-}" in
start)
    folder=$(mktemp -d /tmp/velomyra-postgres.XXXXXX)
    chmod 755 "$folder"
    [[ ${#run_as[@]} -gt 0 ]] && chown "$user" "$folder"
    # A free TCP port on the loopback address; the tests connect through the socket.
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    "${run_as[@]}" "$bin/initdb" -D "$folder/data" -U "$user" --auth=trust -E UTF8 --locale=C.UTF-8 \
        >"$folder/initdb.log" 2>&1 || { cat "$folder/initdb.log" >&2; exit 1; }
    "${run_as[@]}" "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
        -o "-k $folder -p $port -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null ||
        { cat "$folder/server.log" >&2; exit 1; }
    "${run_as[@]}" "$bin/createdb" -h "$folder" -p "$port" -U "$user" velomyra_test
    echo "export VELOMYRA_TEST_POSTGRES='postgresql://$user@/velomyra_test?host=$folder&port=$port'"
    echo "export VELOMYRA_TEST_POSTGRES_FOLDER='$folder'"
    ;;
stop)
    folder=${2:?the folder that start printed}
    [[ $folder == /tmp/velomyra-postgres.* ]] || { echo "not a test server folder: $folder" >&2; exit 1; }
    if [[ -f $folder/data/postmaster.pid ]]; then
        "${run_as[@]}" "$bin/pg_ctl" -D "$folder/data" -m immediate -w stop >/dev/null || true
    fi
    rm -rf "$folder"
    ;;
*)
    echo "usage: $0 start | stop FOLDER" >&2
    exit 2
    ;;
esac
