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
  echo $! > "$dir/cupsd.pid"
  export CUPS_SERVER="$dir/cups.sock"
  for _ in $(seq 100); do
    lpstat -r >/dev/null 2>&1 && break
    sleep 0.1
  done
  if ! lpstat -r >/dev/null 2>&1; then
    echo "print-queue: the scheduler did not start:" >&2
    cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
    exit 1
  fi
  ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
  lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd" 2>/dev/null
  cupsenable "$queue"
  cupsaccept "$queue"
  lpadmin -d "$queue"
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
