#!/usr/bin/env bash
# A private CUPS scheduler with one cups-pdf queue, for tests that print.
#
#   private-cups.sh start <folder> [owner-pid]
#   private-cups.sh stop <folder>
#
# Everything lives in <folder>: configuration, spool, cache, logs, the socket
# <folder>/cups.sock (programs reach the scheduler with CUPS_SERVER set to it)
# and <folder>/pdf, where the queue "QuillmarkPDF" writes each job as a PDF.
# With an owner pid, the scheduler is also stopped once that process is gone.
#
# The machine's own scheduler, printers and configuration are never touched:
# cups-pdf only reads its settings from /etc/cups/cups-pdf.conf, so the private
# scheduler runs in its own mount namespace, where a private copy is bound over
# that file. Needs root (the cups-pdf backend runs only as root) and unshare.
set -euo pipefail

queue=QuillmarkPDF

die() {
  echo "private-cups: $*" >&2
  exit 1
}

write_config() {
  local dir=$1
  mkdir -p "$dir"/{etc,cache,state,spool/tmp,log,pdf,cups-pdf/spool,cups-pdf/anonymous,cups-pdf/tmp}
  cat >"$dir/etc/cupsd.conf" <<CONF
LogLevel warn
Listen $dir/cups.sock
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat >"$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
CacheDir $dir/cache
StateDir $dir/state
RequestRoot $dir/spool
TempDir $dir/spool/tmp
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
User lp
Group lp
SystemGroup root
FileDevice No
CONF
  cat >"$dir/etc/cups-pdf.conf" <<CONF
Out $dir/pdf
AnonDirName $dir/cups-pdf/anonymous
Spool $dir/cups-pdf/spool
GSTmp $dir/cups-pdf/tmp
Log $dir/log
LogType 1
CONF
  # Filters run as lp: every folder on the way must be reachable by it.
  chmod 755 "$dir" "$dir"/{etc,cache,state,log,pdf,cups-pdf}
  chmod 1777 "$dir/spool/tmp" "$dir/cups-pdf/tmp"
}

wait_until_running() {
  local dir=$1 pid=$2
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || return 1
    if [ -S "$dir/cups.sock" ] && CUPS_SERVER="$dir/cups.sock" lpstat -r 2>/dev/null | grep -q 'is running'; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}

cups_pdf_driver() {
  local dir=$1
  CUPS_SERVER="$dir/cups.sock" lpinfo -m 2>/dev/null | awk '/CUPS-PDF_opt/ { print $1; exit }'
}

start() {
  local dir=$1 owner=${2:-}
  [ "$(id -u)" -eq 0 ] || die "needs root: the cups-pdf backend runs only as root"
  command -v cupsd >/dev/null || die "cupsd is not installed"
  [ -x /usr/lib/cups/backend/cups-pdf ] || die "the cups-pdf backend is not installed"
  [ -e /etc/cups/cups-pdf.conf ] || die "/etc/cups/cups-pdf.conf is missing"
  [ ! -e "$dir/cupsd.pid" ] || die "already started in $dir"
  dir=$(cd "$dir" && pwd)
  write_config "$dir"

  unshare --mount --propagation private -- sh -c \
    'mount --bind "$1/etc/cups-pdf.conf" /etc/cups/cups-pdf.conf && exec cupsd -f -c "$1/etc/cupsd.conf" -s "$1/etc/cups-files.conf"' \
    sh "$dir" </dev/null >"$dir/log/cupsd.out" 2>&1 &
  local pid=$!
  echo "$pid" >"$dir/cupsd.pid"
  if ! wait_until_running "$dir" "$pid"; then
    stop "$dir"
    die "cupsd did not start: $(tail -n 5 "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null | tr '\n' ' ')"
  fi

  local driver
  driver=$(cups_pdf_driver "$dir")
  [ -n "$driver" ] || { stop "$dir"; die "no cups-pdf driver found by lpinfo -m"; }
  if ! CUPS_SERVER="$dir/cups.sock" lpadmin -p "$queue" -E -v cups-pdf:/ -m "$driver" 2>"$dir/log/lpadmin.err"; then
    stop "$dir"
    die "lpadmin failed: $(cat "$dir/log/lpadmin.err")"
  fi

  if [ -n "$owner" ]; then
    (while kill -0 "$owner" 2>/dev/null && kill -0 "$pid" 2>/dev/null; do sleep 1; done
     kill "$pid" 2>/dev/null || true) </dev/null >/dev/null 2>&1 &
  fi
  echo "$dir/cups.sock"
}

stop() {
  local dir=$1
  [ -e "$dir/cupsd.pid" ] || return 0
  local pid
  pid=$(cat "$dir/cupsd.pid")
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  rm -f "$dir/cupsd.pid"
}

case "${1:-}" in
  start) [ $# -ge 2 ] || die "usage: $0 start <folder> [owner-pid]"; start "$2" "${3:-}" ;;
  stop) [ $# -eq 2 ] || die "usage: $0 stop <folder>"; stop "$2" ;;
  *) die "usage: $0 start <folder> [owner-pid] | stop <folder>" ;;
esac
