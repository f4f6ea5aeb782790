#!/usr/bin/env bash
# <folder>: a CUPS scheduler on <folder>/cups.sock with a cups-pdf queue QuillmarkPDF writing to <folder>/pdf;
# says "ready", stops when its input closes. Root: cups-pdf.conf is bound over /etc's in a mount namespace.
set -eu
d=$1
unshare -m --propagation private true 2>/dev/null || { echo "no mount namespace for a private CUPS"; exit; }
mkdir -p "$d"/{etc,cache,state,spool,pdf}
printf '%s\n' "Listen $d/cups.sock" 'Browsing No' '<Policy default>' '<Limit All>' \
  'Order deny,allow' '</Limit>' '</Policy>' >"$d/etc/cupsd.conf"
printf '%s\n' "ServerRoot $d/etc" "CacheDir $d/cache" "StateDir $d/state" "RequestRoot $d/spool" \
  "ErrorLog $d/log" "AccessLog $d/log" "PageLog $d/log" 'SystemGroup root' >"$d/etc/cups-files.conf"
printf '%s\n' "Out $d/pdf" "AnonDirName $d/pdf" "Spool $d/spool" "Log $d" >"$d/etc/cups-pdf.conf"
chmod -R a+rX "$d" # the filters run as lp
unshare -m --propagation private sh -c 'mount --bind "$1/etc/cups-pdf.conf" /etc/cups/cups-pdf.conf &&
  exec cupsd -f -c "$1/etc/cupsd.conf" -s "$1/etc/cups-files.conf"' sh "$d" </dev/null >"$d/cupsd.out" 2>&1 &
trap 'kill $!; wait $!' EXIT
export CUPS_SERVER=$d/cups.sock
for _ in $(seq 100); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
lpstat -r 2>/dev/null | grep -q 'is running' || { cat "$d/cupsd.out" >&2; exit 1; }
lpadmin -p QuillmarkPDF -E -v cups-pdf:/ -m "$(lpinfo -m | awk '/CUPS-PDF_opt/ { print $1; exit }')"
echo ready
cat >/dev/null
