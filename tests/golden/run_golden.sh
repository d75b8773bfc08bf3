#!/usr/bin/env bash
# run_golden.sh EXPECTED CLI ARGS...
# With EXPECTED=ERROR the run must fail with status 2 and print nothing on
# stdout (stderr is echoed for the test's pass expression); otherwise stdout
# must equal the EXPECTED file byte for byte.
set -u
expected=$1
shift
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
"$@" >"$out" 2>"$err"
rc=$?
if [ "$expected" = ERROR ]; then
  cat "$err"
  [ "$rc" -eq 2 ] || { echo "expected exit status 2, got $rc"; exit 1; }
  [ ! -s "$out" ] || { echo "expected nothing on stdout"; exit 1; }
  exit 0
fi
[ "$rc" -eq 0 ] || { echo "exit status $rc"; cat "$err"; exit 1; }
cmp "$out" "$expected" || { echo "output differs from $expected"; exit 1; }
