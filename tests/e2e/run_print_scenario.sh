#!/usr/bin/env bash
# Runs the "print" scenario against a real print queue and checks what came
# out of it.
#
#   run_print_scenario.sh <driver.exe> <probe.dll> <nonaro.exe> <results dir>
#
# A private CUPS daemon (own configuration, socket, spool and logs in a
# temporary folder; no network port) gets one queue on the CUPS-PDF backend.
# Wine reaches it through CUPS_SERVER, so a system cupsd, if one runs, is not
# touched. CUPS-PDF reads its settings only from /etc/cups: the queue's own
# settings file, cups-pdf-<name>.conf, is written there for the run and
# removed afterwards; the system's cups-pdf.conf is left alone.
#
# Once the driver has printed, the PDF must hold the grid as played and the
# solution once for each copy the driver asked for in the dialog, in the
# order it wrote them down in expected-pages.txt (titles and digits), in the
# serif face. The PDF and the daemon's logs are kept in
# <results dir>/print-output.
#
# Exits 77 (skipped) when not run as root: CUPS runs the CUPS-PDF backend
# only as root, and only root may write its settings file.
set -uo pipefail

driver="$1" probe="$2" game="$3" results="$4"
here="$(cd "$(dirname "$0")" && pwd)"
queue=NonaroPDF
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
backend=/usr/lib/cups/backend/cups-pdf
output="$results/print-output"
work="$results/print"

if [ "$(id -u)" -ne 0 ]; then
  echo "e2e print queue: skipped, the CUPS-PDF backend runs only as root"
  exit 77
fi
missing=()
for tool in cupsd lpadmin lpstat pdfinfo pdftotext pdffonts; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
[ -x "$backend" ] || missing+=("$backend")
[ -f "$ppd" ] || missing+=("$ppd")
if [ ${#missing[@]} -gt 0 ]; then
  echo "e2e print queue: missing ${missing[*]} (tools/setup.sh installs cups, printer-driver-cups-pdf, poppler-utils)"
  exit 1
fi

# A run killed before its cleanup leaves its folder and settings file behind;
# its daemon is gone with it.
for old in /tmp/nonaro-cups.*; do
  [ -d "$old" ] || continue
  pid="$(cat "$old/cupsd.pid" 2>/dev/null || true)"
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then continue; fi
  [ -n "$(find "$old" -maxdepth 0 -mmin +10)" ] || continue
  rm -f "/etc/cups/cups-pdf-$(basename "$old" | tr . -).conf"
  rm -rf "$old"
done

cups="$(mktemp -d /tmp/nonaro-cups.XXXXXX)"
# The queue's name for CUPS-PDF, which finds its settings file by it.
tag="$(basename "$cups" | tr . -)"
settings="/etc/cups/cups-pdf-$tag.conf"
socket="$cups/cups.sock"
cupsd_pid=""

cleanup() {
  if [ -n "$cupsd_pid" ]; then
    kill "$cupsd_pid" 2>/dev/null
    wait "$cupsd_pid" 2>/dev/null
  fi
  rm -f "$settings"
  mkdir -p "$output"
  cp -r "$cups/pdf/." "$output/" 2>/dev/null
  cp -r "$cups/log" "$output/logs" 2>/dev/null
  rm -rf "$cups"
}
trap cleanup EXIT
# So that a stopped run still takes its daemon and settings file away.
trap 'exit 143' TERM INT HUP

rm -rf "$output"
# The filters run as the daemon's unprivileged user and must reach the spool.
chmod 755 "$cups"
mkdir -p "$cups/conf" "$cups/spool/tmp" "$cups/cache" "$cups/state" "$cups/log" "$cups/pdf" "$cups/pdf-spool"
cat >"$cups/conf/cups-files.conf" <<EOF
ServerRoot $cups/conf
RequestRoot $cups/spool
TempDir $cups/spool/tmp
CacheDir $cups/cache
StateDir $cups/state
Printcap $cups/state/printcap
AccessLog $cups/log/access_log
ErrorLog $cups/log/error_log
PageLog $cups/log/page_log
SystemGroup root
EOF
cat >"$cups/conf/cupsd.conf" <<EOF
Listen $socket
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
EOF
cat >"$settings" <<EOF
Out $cups/pdf
AnonDirName $cups/pdf
Spool $cups/pdf-spool
Log $cups/log
EOF

cupsd -f -c "$cups/conf/cupsd.conf" -s "$cups/conf/cups-files.conf" >"$cups/log/cupsd.txt" 2>&1 &
cupsd_pid=$!
echo "$cupsd_pid" >"$cups/cupsd.pid"
export CUPS_SERVER="$socket"
for _ in $(seq 1 100); do
  lpstat -r 2>/dev/null | grep -q 'is running' && break
  sleep 0.2
done
if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  echo "e2e print queue: the private CUPS daemon did not start"
  cat "$cups/log/cupsd.txt" "$cups/log/error_log" 2>/dev/null | tail -n 20
  exit 1
fi
# lpadmin warns that PPD drivers are deprecated; the queue works all the same.
if ! lpadmin -p "$queue" -v "cups-pdf:/$tag" -E -P "$ppd" 2>"$cups/log/lpadmin.txt" || ! lpadmin -d "$queue"; then
  echo "e2e print queue: the queue $queue could not be set up"
  cat "$cups/log/lpadmin.txt"
  exit 1
fi
echo "e2e print queue: queue $queue on a private CUPS daemon ($socket)"

bash "$here/run_scenario.sh" "$driver" "$probe" "$game" print "$results" --printer "$queue"
verdict=$?

# The document reaches the queue inside the print command; CUPS-PDF then
# needs a few seconds of Ghostscript.
pdfs=()
for _ in $(seq 1 120); do
  pdfs=("$cups"/pdf/*.pdf)
  [ -e "${pdfs[0]}" ] && [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && break
  sleep 0.5
done
[ -e "${pdfs[0]}" ] || pdfs=()

failures=0
check() {  # <condition result> <message>
  if [ "$1" -eq 0 ]; then
    echo "ok: $2"
  else
    echo "FAILED: $2"
    failures=$((failures + 1))
  fi
}

# What the queue itself counted for the job ("total" pages).
echo "the queue's page log: $(cat "$cups/log/page_log" 2>/dev/null)"
left="$(lpstat -o "$queue" 2>/dev/null)"
[ -z "$left" ]; check $? "no job is left in the queue${left:+ ($left)}"
[ ${#pdfs[@]} -eq 1 ]; check $? "one document printed, the cancelled dialog printed nothing (${#pdfs[@]} PDF files)"
if [ ${#pdfs[@]} -ge 1 ]; then
  pdf="${pdfs[0]}"
  info="$(pdfinfo "$pdf" 2>/dev/null)"
  name="$(sed -n 's/^Title: *//p' <<<"$info")"
  [ "$name" = "Impression NONARO" ]; check $? "the document is named \"Impression NONARO\" (\"$name\")"
  # Each page as the driver wrote it down, in the order of print: "title:rows".
  expected=()
  mapfile -t expected < <(tr -d '\r' <"$work/expected-pages.txt" 2>/dev/null)
  pages="$(sed -n 's/^Pages: *//p' <<<"$info")"
  [ -n "$pages" ] && [ "$pages" = "${#expected[@]}" ]
  check $? "the document has the ${#expected[@]} pages of the copies asked for (pdfinfo: ${pages:-none})"

  for page in $(seq 1 "${#expected[@]}"); do
    title="${expected[page - 1]%%:*}" digits="${expected[page - 1]#*:}"
    text="$(pdftotext -layout -f "$page" -l "$page" "$pdf" - 2>/dev/null)"
    grep -qF "$title" <<<"$text"
    check $? "page $page is titled \"$title\""
    # The grid's lines are the lines of nothing but digits; the blanks between
    # them follow the layout and are dropped.
    rows="$(grep -E '^[ 0-9]+$' <<<"$text" | tr -d ' ' | grep -v '^$' | paste -sd ' ')"
    [ "$rows" = "$digits" ]
    check $? "page $page shows the digits row by row: \"$rows\" (expected \"$digits\")"
  done
  # The face asked for is "Times New Roman", which Wine's prefixes replace by
  # Liberation Serif; without the replacement Wine falls back to a sans face.
  fonts="$(pdffonts "$pdf" 2>/dev/null | awk 'NR > 2 { sub(/^[A-Z]+\+/, "", $1); print $1 }' | sort -u | paste -sd ' ')"
  grep -qw 'LiberationSerif-Bold' <<<"$fonts" && ! grep -q 'LiberationSans' <<<"$fonts"
  check $? "the digits and titles are in Liberation Serif bold (pdffonts: ${fonts:-none})"
  # Millimetres on paper, whatever the printer's resolution: where the title
  # starts (this queue's device origin is the corner of the sheet), and how
  # far apart the centres of the outer digits of the solution lie.
  geometry="$(pdftotext -bbox -f 2 -l 2 "$pdf" - 2>/dev/null | awk -F'"' '
    /<word / {
      text = $9; gsub(/^>|<\/word>.*$/, "", text)
      if (title == "") title = $2
      if (text ~ /^[1-9]$/) { n++; x[n] = ($2 + $6) / 2; y[n] = ($4 + $8) / 2 }
    }
    END { mm = 25.4 / 72; if (n == 81) printf "%.1f %.1f %.1f", title * mm, (x[9] - x[1]) * mm, (y[73] - y[1]) * mm }')"
  awk -v g="$geometry" 'BEGIN { split(g, v, " "); ok = v[1] > 49.5 && v[1] < 50.5
    for (i = 2; i <= 3; i++) ok = ok && v[i] > 79.5 && v[i] < 80.5
    exit !ok }'
  check $? "the title starts 50 mm from the left, the outer digits lie 80 mm apart across and down (mm: ${geometry:-none})"
  if [ "$failures" -gt 0 ]; then
    echo "--- text of the document:"
    pdftotext -layout "$pdf" - 2>/dev/null
  fi
fi

if [ "$verdict" -ne 0 ] || [ "$failures" -gt 0 ]; then
  echo "e2e print queue: FAIL (driver $verdict, $failures failed checks of the document; output in $output)"
  exit 1
fi
echo "e2e print queue: PASS"
exit 0
