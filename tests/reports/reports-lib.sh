# The printer and the mail client of a run that prints and e-mails its
# report, and what they received. Sourced by report-scenario and
# tests/e2e/lab-scenario-test.

# reports_printer <state-dir>: a private cups-pdf printer "PDF" for this run
# (exported CUPS_SERVER), set to 600 dpi in the session before kavlo starts:
# Wine's default for the printer is 300 dpi whatever the PPD says, and an
# office printer prints at 600 (tests/print_lab/cups-pdf-printer tells why
# it matters). The caller stops it (reports_stop_printer).
reports_printer() {
  local server
  server=$("$root/tests/print_lab/cups-pdf-printer" start "$1") || return 1
  export "${server##*$'\n'}"
  rm -f "$1"/pdf/*.pdf
  export KAVLO_E2E_BEFORE=$build/tests/printer_quality.exe KAVLO_E2E_BEFORE_ARGS="PDF 600"
}
reports_stop_printer() { "$root/tests/print_lab/cups-pdf-printer" stop "$1"; }

# reports_mail_client <out-dir> <answer>: the mail stand-in as the default
# mail client, keeping what it receives in <out-dir>/mail and answering
# <answer> to MAPISendMail.
reports_mail_client() {
  mkdir -p "$1/mail"
  export KAVLO_E2E_MAIL_CLIENT=$build/tests/mail_stand_in.dll
  export KAVLO_MAIL_OUT=$1/mail KAVLO_MAIL_RESULT=$2
}

# reports_collect <out-dir> <state-dir or ""> <prefix>: after the run, what
# check-report reads: printed.pdf, printed.txt (pdftotext -layout),
# printed-info.txt, printed-fonts.txt (pdffonts), printed.png, pdf-count,
# report.html (the attachment) and report-files (KavloReport.html files left
# in the prefix).
reports_collect() {
  local out=$1 state=$2 prefix=$3 pdfs
  if [ -n "$state" ]; then
    mapfile -t pdfs < <("$root/tests/print_lab/cups-pdf-printer" wait "$state" 1 120)
    echo "${#pdfs[@]}" >"$out/pdf-count"
    if [ "${#pdfs[@]}" -ge 1 ]; then
      cp "${pdfs[-1]}" "$out/printed.pdf"
      pdftotext -layout "$out/printed.pdf" "$out/printed.txt"
      pdfinfo "$out/printed.pdf" >"$out/printed-info.txt" 2>&1
      pdffonts "$out/printed.pdf" >"$out/printed-fonts.txt" 2>&1
      pdftoppm -png -r 100 -singlefile "$out/printed.pdf" "$out/printed"
    fi
  fi
  [ -f "$out/mail/attachment-0" ] && cp "$out/mail/attachment-0" "$out/report.html"
  find "$prefix/drive_c/users" -name KavloReport.html >"$out/report-files" 2>/dev/null
  return 0
}
