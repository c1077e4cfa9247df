# Checks of a scenario's driver transcript ($t) and files ($out), sourced by
# the scenario tests. Each failed check prints "FAILED: ..." and counts in
# $failures; the results list itself is tests/e2e/lib/rows.tsv.
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
expect_line() {
  grep -qxF -- "$1" "$t" || fail "no line \"$1\""
}
expect_match() {
  grep -qE -- "$1" "$t" || fail "no line matches /$1/"
}
forbid_match() {
  if grep -qE -- "$1" "$t"; then
    fail "unexpected line \"$(grep -E -- "$1" "$t" | head -n 1)\""
  fi
}
field() { # the text after "<kind> | " of the first line of that kind
  grep -m 1 -F -- "$1 | " "$t" | sed "s/^[^|]*| //"
}
expect_screenshot() {
  [ -s "$out/$1.png" ] || fail "no screenshot $1.png"
}
exit_ms() { # how long kavlo took to end with exit code 0, or nothing
  sed -n 's/^EXIT 0 after \([0-9]*\) ms$/\1/p' "$t" | tail -n 1
}
timing() { sed -n "s/^TIMING $1 | \([0-9]*\)$/\1/p" "$t" | tail -n 1; }

row_names=() row_required=()
while IFS=$'\t' read -r name kind; do
  [[ -z $name || $name == \#* ]] && continue
  row_names+=("$name")
  row_required+=("$([ "$kind" = required ] && echo 1 || echo 0)")
done <"$(dirname "${BASH_SOURCE[0]}")/rows.tsv"

# All rows in table order, each with a letter; the verdict box (caption,
# text, icon) the required rows call for, which is left in $verdict; then
# Print and Email usable.
expect_rows_and_verdict() {
  local i line letter failed=0 more="  You may obtain more information by clicking on the items."
  expect_line "ROWS ${#row_names[@]}"
  for i in "${!row_names[@]}"; do
    line=$(grep -m 1 "^ROW $i | " "$t")
    letter=$(sed -n "s/^ROW $i | \([AFI]\) | .*/\1/p" <<<"$line")
    if [ -z "$letter" ] || [ "$(sed -n "s/^ROW $i | [AFI] | \([^|]*\) | .*/\1/p" <<<"$line")" != "${row_names[$i]}" ]; then
      fail "row $i is \"$line\", expected \"${row_names[$i]}\" with a letter"
    fi
    [ "$letter" = F ] && [ "${row_required[$i]}" = 1 ] && failed=1
  done
  forbid_match "^ROW ${#row_names[@]} "
  if [ $failed -eq 1 ]; then
    verdict=Failed
    expect_line "VERDICT Failed | Your computer did not pass one or more suitability tests.$more"
    expect_line "VERDICT_ICON stop"
  else
    verdict=Approved
    expect_line "VERDICT Approved | Your computer is suitable to run the Velmora Deposit software.$more"
    expect_line "VERDICT_ICON exclamation"
  fi
  expect_line "BUTTON Print enabled"
  expect_line "BUTTON Email enabled"
}

# After run-scenario: skipped where no network namespace can be made (its
# status 3); otherwise the driver must have ended with status 0 and END ok.
expect_driver_ok() { # <run-scenario's status>
  if [ "$1" -eq 3 ]; then
    echo "SKIPPED: no network namespace can be made on this machine"
    exit 77
  fi
  [ "$1" -eq 0 ] || fail "the driver ended with status $1"
  expect_line "END ok"
}

# Ends the scenario: passed, or failed with Wine's stderr (a crash shows only
# there, and CI keeps only this output), the transcript's lines that tell
# where the run went and the further files named.
end_scenario() { # <name> [file to show on failure...]
  local name=$1 file
  shift
  if [ "$failures" -eq 0 ]; then
    echo "$name: passed; transcript, screenshots and logs in $out"
    exit 0
  fi
  [ -s "$out/wine-stderr.txt" ] && { echo "--- wine stderr (last 40 lines)"; tail -n 40 "$out/wine-stderr.txt"; }
  echo "--- transcript (where the run went)"
  grep -E '^(CASE|TESTING|TIMING|ROW|VERDICT|BOX|ENDED|TIMEOUT|ERROR|EXIT|LEFT|END)' "$t" | tail -n 40
  for file; do [ -s "$file" ] && { echo "--- $(basename "$file")"; tail -n 40 "$file"; }; done
  echo "$name: $failures check(s) failed; transcript, screenshots and logs in $out"
  exit 1
}
