#!/usr/bin/env bash
# A private CUPS scheduler with one cups-pdf queue, QuillmarkPDF, for a test that
# prints: private-cups.sh <folder>. Programs reach it with
# CUPS_SERVER=<folder>/cups.sock and every job lands as a PDF under <folder>/pdf.
# Says "ready" once the queue takes jobs and stops the scheduler when its
# standard input closes, however the test ends. cups-pdf reads only
# /etc/cups/cups-pdf.conf, so the scheduler runs in a mount namespace of its own
# with a private copy bound over that file. Needs root.
set -eu
dir=$1
mkdir -p "$dir"/{etc,cache,state,spool/tmp,log,pdf,cups-pdf}
cat >"$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
Browsing No
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
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
SystemGroup root
CONF
cat >"$dir/etc/cups-pdf.conf" <<CONF
Out $dir/pdf
AnonDirName $dir/pdf
Spool $dir/cups-pdf
GSTmp $dir/spool/tmp
Log $dir/log
CONF
# The filters run as lp.
chmod -R a+rX "$dir"
chmod 1777 "$dir/spool/tmp" "$dir/cups-pdf"
unshare --mount --propagation private -- sh -c 'mount --bind "$1/etc/cups-pdf.conf" /etc/cups/cups-pdf.conf && exec cupsd -f -c "$1/etc/cupsd.conf" -s "$1/etc/cups-files.conf"' \
  sh "$dir" </dev/null >"$dir/log/cupsd.out" 2>&1 &
trap 'kill $!; wait $!' EXIT
export CUPS_SERVER=$dir/cups.sock
for _ in $(seq 100); do
  lpstat -r 2>/dev/null | grep -q 'is running' && break
  sleep 0.1
done
lpadmin -p QuillmarkPDF -E -v cups-pdf:/ -m "$(lpinfo -m | awk '/CUPS-PDF_opt/ { print $1; exit }')"
echo ready
cat >/dev/null
