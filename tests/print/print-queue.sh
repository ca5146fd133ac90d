#!/usr/bin/env bash
# A private print scheduler with a PDF queue for the print tests.
#
#   tests/print/print-queue.sh start DIR   starts it in DIR (a fresh folder) and
#                                           writes DIR/env, the variables the tests need
#   tests/print/print-queue.sh stop DIR    stops it
#
# The scheduler has its own configuration, spool and log in DIR and listens on
# a socket in DIR only, so it never meets the system's scheduler. Its queue
# "ZorvTestPDF" prints through the PDF backend, which writes where
# /etc/cups/cups-pdf.conf says (by default ~/PDF of the user who prints).
# The PDF backend runs as root, so the tests that print need root.
set -euo pipefail
cmd=${1:-}
dir=${2:-}
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 start|stop DIR" >&2; exit 2; }
queue=ZorvTestPDF

case "$cmd" in
start)
  # The tools below answer in English, so that what they say can be read.
  export LC_ALL=C
  mkdir -p "$dir"/{etc,spool,tmp,cache,state,log}
  chmod 0755 "$dir" "$dir"/etc "$dir"/cache "$dir"/state "$dir"/log
  chmod 0710 "$dir"/spool
  chmod 1777 "$dir"/tmp
  filter_user=lp
  [ "$(id -u)" -eq 0 ] || filter_user=$(id -un)
  cat > "$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
Printcap $dir/printcap
User $filter_user
Group $(id -gn "$filter_user")
SystemGroup $(id -gn)
CONF
  cat > "$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel info
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
  /usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
  cupsd_pid=$!
  echo "$cupsd_pid" > "$dir/cupsd.pid"
  export CUPS_SERVER="$dir/cups.sock"

  # What went wrong, with the scheduler's own words.
  fail() {
    echo "print-queue: $1" >&2
    for log in "$dir/log/cupsd.out" "$dir/log/error_log"; do
      [ -s "$log" ] && { echo "--- $log" >&2; tail -n 30 "$log" >&2; }
    done
    exit 1
  }
  # `lpstat -r` ends with 0 whether the scheduler runs or not: read what it
  # says. A busy machine can take seconds to start it: wait up to a minute,
  # and stop waiting when it has ended.
  running() { [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]; }
  for _ in $(seq 600); do
    running && break
    kill -0 "$cupsd_pid" 2>/dev/null || break
    sleep 0.1
  done
  running || fail "the scheduler did not start"
  # Each administration request is tried up to six times, a little longer
  # apart each time (a scheduler that has just started may still refuse or
  # time out); the last error is printed when every try failed.
  admin() {
    local what=$1 out='' try
    shift
    for try in 1 2 3 4 5 6; do
      if out=$("$@" 2>&1); then
        return 0
      fi
      kill -0 "$cupsd_pid" 2>/dev/null || fail "the scheduler ended while $what: $out"
      sleep "$try"
    done
    fail "$what failed six times: $out"
  }
  ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
  [ -r "$ppd" ] || fail "$ppd is missing (package printer-driver-cups-pdf)"
  admin "adding the queue $queue" lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd"
  admin "enabling $queue" cupsenable "$queue"
  admin "letting $queue accept jobs" cupsaccept "$queue"
  admin "making $queue the default" lpadmin -d "$queue"
  # The queue as the tests will find it: there, enabled and the default.
  state=$(lpstat -p "$queue" 2>&1) || fail "the queue $queue is not there: $state"
  case "$state" in *disabled*) fail "the queue $queue is disabled: $state" ;; esac
  [ "$(lpstat -d 2>&1)" = "system default destination: $queue" ] ||
    fail "the queue $queue is not the default: $(lpstat -d 2>&1)"
  {
    echo "CUPS_SERVER=$dir/cups.sock"
    echo "ZL_TEST_PRINTER=$queue"
  } > "$dir/env"
  ;;
stop)
  if [ -f "$dir/cupsd.pid" ]; then
    pid=$(cat "$dir/cupsd.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    rm -f "$dir/cupsd.pid"
  fi
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac
