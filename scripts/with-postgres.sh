#!/usr/bin/env bash
# Runs CMD against a private, throwaway PostgreSQL cluster:
#   scripts/with-postgres.sh CMD [ARGS...]
# The cluster lives in a new temporary folder and listens only on a unix socket there, so
# several runs on one machine never meet. CMD sees TAV_PG_URL (postgresql://tav@<socket>:<port>/tav,
# superuser "tav", no password); the cluster is stopped and its folder removed when CMD ends,
# also when it fails or is interrupted. The exit code is CMD's.
set -euo pipefail

if (($# == 0)); then
  echo "usage: $0 CMD [ARGS...]" >&2
  exit 2
fi

bindir=""
if command -v pg_config >/dev/null 2>&1 && [ -x "$(pg_config --bindir)/initdb" ]; then
  bindir=$(pg_config --bindir)
else
  # Debian keeps the server programs out of PATH, one folder per major version.
  for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V); do bindir=$d; done
fi
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "with-postgres: no PostgreSQL server installed (initdb not found; scripts/deps.sh installs it)" >&2
  exit 127
fi

# PostgreSQL refuses to run as root: run the server as an unprivileged system user.
as_server=()
if [ "$(id -u)" -eq 0 ]; then
  server_user=postgres
  if ! id "$server_user" >/dev/null 2>&1; then
    server_user=tavpg
    id "$server_user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$server_user"
  fi
  as_server=(runuser -u "$server_user" --)
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/tavpg.XXXXXX")
[ ${#as_server[@]} -gt 0 ] && chown "$server_user" "$dir"
chmod 700 "$dir"
port=5432  # only names the socket file inside $dir; no TCP port is opened

cleanup() {
  "${as_server[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

"${as_server[@]}" "$bindir/initdb" --no-sync -D "$dir/data" -U tav --auth=trust --encoding=UTF8 --locale=C.UTF-8 --lc-collate=C \
  >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
# A throwaway cluster: durability settings off, enough connections for the many-clients tests.
# With WAL kept to the minimum, rows loaded into a table created in the same transaction, and the
# indexes built on it, are written once, not also into the WAL.
"${as_server[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start \
  -o "-c listen_addresses='' -k $dir -p $port -c fsync=off -c synchronous_commit=off \
      -c full_page_writes=off -c wal_level=minimal -c max_wal_senders=0 -c max_connections=60" >/dev/null ||
  { cat "$dir/server.log" >&2; exit 1; }
"$bindir/psql" -X -q -h "$dir" -p "$port" -U tav -d postgres -c "CREATE DATABASE tav" >/dev/null

socket=$(printf '%s' "$dir" | sed 's|/|%2F|g')
export TAV_PG_URL="postgresql://tav@${socket}:${port}/tav"
export TAV_PG_LOG="$dir/server.log"

set +e
"$@"
status=$?
set -e
exit $status
