#!/usr/bin/env bash
# A throw-away CUPS server with one cups-pdf queue, for the tests that print through the system's
# print queue. Everything lives in STATE_DIR: the server's configuration, its socket, spool and
# logs, and the folder receiving the queue's PDF files; the server listens on a free loopback port.
#   cupsserver.sh start STATE_DIR QUEUE   starts the server and adds QUEUE, the default printer
#                                         (its paper Letter);
#                                         prints the server's address for CUPS_SERVER
#   cupsserver.sh stop STATE_DIR          stops the server and removes the queue's configuration
#   cupsserver.sh kill STATE_DIR          kills the server at once, as when it crashes
#   cupsserver.sh queue STATE_DIR QUEUE stopped|rejecting|refused|removed|ready
#                                         refused: the user "orvane-refused" may not print;
#                                         ready after removed adds the queue again
# The server and its backend must run as root (the cups-pdf backend is root's only).
set -euo pipefail

usage='usage: cupsserver.sh start|stop|kill|queue STATE_DIR [QUEUE [stopped|rejecting|refused|removed|ready]]'
command=${1:?$usage}
state=${2:?$usage}

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

server_pid() {
  [ -f "$state/cupsd.pid" ] && cat "$state/cupsd.pid"
}

# cups-pdf reads its settings only from /etc/cups: the queue's own file there, named after the
# queue's device, is the one thing written outside STATE_DIR.
pdf_conf() {
  echo "/etc/cups/cups-pdf-$(cat "$state/device").conf"
}

stop_server() {
  local pid
  pid=$(server_pid || true)
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$state/cupsd.pid"
  fi
  [ -f "$state/device" ] && rm -f "$(pdf_conf)"
  return 0
}

start_server() {
  local queue=${1:?$usage}
  if [ "$(id -u)" -ne 0 ]; then
    echo "the test CUPS server and its cups-pdf backend need root" >&2
    exit 1
  fi
  for tool in cupsd lpadmin; do
    command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || {
      echo "CUPS is not installed: apt-get install cups printer-driver-cups-pdf" >&2; exit 1; }
  done
  [ -x /usr/lib/cups/backend/cups-pdf ] || { echo "cups-pdf is not installed: apt-get install printer-driver-cups-pdf" >&2; exit 1; }
  stop_server
  mkdir -p "$state"/{conf,spool,cache,run,log,tmp,pdf,pdfspool}
  # The filters run as lp: they must reach the spool.
  chmod 755 "$state" "$state/run"
  chgrp lp "$state/spool" "$state/tmp" "$state/cache"
  chmod 0770 "$state/spool" "$state/tmp" "$state/cache"
  local port
  port=$(free_port)
  echo "orvanetest$$$RANDOM" >"$state/device"
  cat >"$state/conf/cups-files.conf" <<EOF
ServerRoot $state/conf
RequestRoot $state/spool
CacheDir $state/cache
StateDir $state/run
TempDir $state/tmp
ErrorLog $state/log/error_log
AccessLog $state/log/access_log
PageLog $state/log/page_log
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
ServerBin /usr/lib/cups
User lp
Group lp
SystemGroup root
Printcap $state/run/printcap
Sandboxing relaxed
EOF
  cat >"$state/conf/cupsd.conf" <<EOF
LogLevel warn
Listen 127.0.0.1:$port
Listen $state/run/cups.sock
Browsing No
DefaultAuthType None
WebInterface No
ErrorPolicy stop-printer
<Location />
  Order allow,deny
  Allow localhost
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  cat >"$(pdf_conf)" <<EOF
Out $state/pdf
Spool $state/pdfspool
AnonDirName $state/pdf
Label 0
Grp root
Log $state/log
EOF
  /usr/sbin/cupsd -f -c "$state/conf/cupsd.conf" -s "$state/conf/cups-files.conf" >"$state/log/cupsd.out" 2>&1 &
  echo $! >"$state/cupsd.pid"
  for _ in $(seq 100); do [ -S "$state/run/cups.sock" ] && break; sleep 0.1; done
  [ -S "$state/run/cups.sock" ] || { cat "$state/log/cupsd.out" "$state/log/error_log" >&2 2>/dev/null; exit 1; }
  add_queue "$queue"
  echo "127.0.0.1:$port"
}

# The cups-pdf queue, the server's default printer. Its own paper is Letter: the program asks for
# A4 whatever the queue's default. It takes PostScript: cairo's rendering of the program's PDF keeps
# the text readable by pdftotext (the default renderers draw it as glyphs without their characters).
add_queue() {
  local queue=$1 socket="$state/run/cups.sock"
  sed -E 's/^\*Default(PageSize|PageRegion|ImageableArea|PaperDimension): A4/*Default\1: Letter/' \
    /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >"$state/conf/letter.ppd"
  /usr/sbin/lpadmin -h "$socket" -p "$queue" -v "cups-pdf:/$(cat "$state/device")" \
    -P "$state/conf/letter.ppd" -o pdftops-renderer-default=pdftocairo \
    -E 2>"$state/log/lpadmin.out" \
    || { cat "$state/log/lpadmin.out" >&2; exit 1; }
  /usr/sbin/lpadmin -h "$socket" -d "$queue" 2>>"$state/log/lpadmin.out"
}

set_queue() {
  local queue=${1:?$usage} socket="$state/run/cups.sock"
  case "${2:?$usage}" in
    stopped) /usr/sbin/cupsdisable -h "$socket" "$queue" ;;
    rejecting) /usr/sbin/cupsreject -h "$socket" "$queue" ;;
    refused) /usr/sbin/lpadmin -h "$socket" -p "$queue" -u deny:orvane-refused ;;
    removed) /usr/sbin/lpadmin -h "$socket" -x "$queue" ;;
    ready)
      lpstat -h "$socket" -p "$queue" >/dev/null 2>&1 || add_queue "$queue"
      /usr/sbin/cupsenable -h "$socket" "$queue" && /usr/sbin/cupsaccept -h "$socket" "$queue" \
        && /usr/sbin/lpadmin -h "$socket" -p "$queue" -u allow:all ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
}

case "$command" in
  start) start_server "${3:-}" ;;
  stop) stop_server ;;
  kill) pid=$(server_pid || true)
    [ -n "$pid" ] && kill -9 "$pid"
    # Gone only once its process is: a print asked before then would still be answered.
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done ;;
  queue) set_queue "${3:-}" "${4:-}" ;;
  *) echo "$usage" >&2; exit 2 ;;
esac
