#!/usr/bin/env bash
# A throw-away PostgreSQL cluster for the tests that run on the server engine.
#   pgcluster.sh start STATE_DIR   installs PostgreSQL when missing, starts a cluster on a free
#                                  loopback port and writes STATE_DIR/alias.ini to reach it
#   pgcluster.sh stop STATE_DIR    stops the cluster and removes its files
#   pgcluster.sh restart STATE_DIR restarts the running cluster (the tests of reconnection use it)
#   pgcluster.sh down STATE_DIR    stops the server and keeps its files; up starts it again
# The cluster runs as an unprivileged user: the current one, or "orvanetest" when run as root.
set -euo pipefail

usage='usage: pgcluster.sh start|stop|restart|down|up STATE_DIR'
command=${1:?$usage}
state=${2:?$usage}
owner=orvanetest
role=orvanetest

pg_bin() {
  local dir
  dir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
  [ -n "$dir" ] && [ -x "$dir/initdb" ] && echo "$dir"
}

install_postgresql() {
  [ -n "$(pg_bin)" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "PostgreSQL is not installed and installing it needs root: apt-get install postgresql" >&2
    exit 1
  fi
  echo "Installing postgresql"
  DEBIAN_FRONTEND=noninteractive apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends postgresql
}

# Runs a command as the cluster's owner.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u "$owner" -- "$@"
  else
    "$@"
  fi
}

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

stop_cluster() {
  [ -f "$state/cluster" ] || return 0
  local cluster bin
  cluster=$(cat "$state/cluster")
  bin=$(pg_bin || true)
  if [ -n "$bin" ] && [ -f "$cluster/data/postmaster.pid" ]; then
    as_owner "$bin/pg_ctl" -D "$cluster/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$cluster"
  rm -f "$state/cluster" "$state/alias.ini"
}

start_cluster() {
  install_postgresql
  mkdir -p "$state"
  stop_cluster
  local bin cluster port password
  bin=$(pg_bin)
  if [ "$(id -u)" -eq 0 ] && ! id "$owner" >/dev/null 2>&1; then
    useradd --system --no-create-home --shell /usr/sbin/nologin "$owner"
  fi
  # Outside the build folder, whose parents the cluster's owner may not be allowed to enter.
  cluster=$(mktemp -d /tmp/orvane-pgcluster.XXXXXX)
  echo "$cluster" >"$state/cluster"
  password="orvane-$RANDOM-$RANDOM"
  echo "$password" >"$cluster/password"
  chmod 755 "$cluster"
  [ "$(id -u)" -eq 0 ] && chown -R "$owner" "$cluster"
  as_owner "$bin/initdb" -D "$cluster/data" -U "$role" --pwfile="$cluster/password" \
    --auth=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$cluster/initdb.log" 2>&1 \
    || { cat "$cluster/initdb.log" >&2; exit 1; }
  port=$(free_port)
  # Nothing here needs to survive a crash: no flushing to disk.
  cat >>"$cluster/data/postgresql.conf" <<EOF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$cluster'
fsync = off
synchronous_commit = off
full_page_writes = off
shared_buffers = 32MB
max_connections = 200
EOF
  as_owner "$bin/pg_ctl" -D "$cluster/data" -l "$cluster/server.log" -w -t 60 start >/dev/null \
    || { cat "$cluster/server.log" >&2; exit 1; }
  cat >"$state/alias.ini" <<EOF
[orvane]
Driver=QPSQL
Host=127.0.0.1
Port=$port
Database=postgres
User=$role
Password=$password
EOF
  echo "PostgreSQL test cluster on 127.0.0.1:$port in $cluster"
}

# pg_ctl start, stop or restart on the cluster of the state folder.
control_server() {
  local cluster
  cluster=$(cat "$state/cluster")
  as_owner "$(pg_bin)/pg_ctl" -D "$cluster/data" -l "$cluster/server.log" -m fast -w -t 60 "$1" >/dev/null
}

case "$command" in
  start) start_cluster ;;
  stop) stop_cluster ;;
  restart) control_server restart ;;
  down) control_server stop ;;
  up) control_server start ;;
  *) echo "$usage" >&2; exit 2 ;;
esac
