#!/usr/bin/env bash
# run_golden.sh [--stdin FILE] [--stdout-to full|closed-pipe] [--output-file PATH]
#               [--status N] EXPECTED CLI ARGS...
#
# EXPECTED is a file the output must equal byte for byte, ERROR (the run must
# fail with status 2 and print nothing on stdout) or STDOUT (the run must
# succeed). Only a run that passed these checks echoes what it printed (stderr
# for ERROR, stdout for STDOUT, stderr for an EXPECTED file), so a test's pass
# expression cannot match a failed run.
#   --stdin FILE           feed FILE on standard input
#   --stdout-to full       standard output is /dev/full: every write fails
#   --stdout-to closed-pipe  standard output is a pipe nobody reads any more
#   --output-file PATH     the output is expected in PATH (removed first), not on stdout
#   --status N             the exit status expected with an EXPECTED file (default 0)
set -u
stdin=/dev/null
stdout_to=
output_file=
status=0
while :; do
  case $1 in
    --stdin) stdin=$2; shift 2 ;;
    --stdout-to) stdout_to=$2; shift 2 ;;
    --output-file) output_file=$2; shift 2 ;;
    --status) status=$2; shift 2 ;;
    *) break ;;
  esac
done
expected=$1
shift
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
out=$tmp/out
err=$tmp/err
[ -z "$output_file" ] || rm -f "$output_file"

case $stdout_to in
  "") "$@" <"$stdin" >"$out" 2>"$err"; rc=$? ;;
  full) "$@" <"$stdin" >/dev/full 2>"$err"; rc=$?; : >"$out" ;;
  closed-pipe)
    # The reader closes its end before the writer starts, so the write cannot
    # race into the pipe's buffer: it must meet EPIPE.
    mkfifo "$tmp/ready"
    { read -r _ <"$tmp/ready"; "$@" <"$stdin" 2>"$err"; echo $? >"$tmp/rc"; } |
      { exec 0<&-; echo >"$tmp/ready"; }
    rc=$(cat "$tmp/rc")
    : >"$out" ;;
  *) echo "unknown --stdout-to $stdout_to"; exit 1 ;;
esac

case $expected in
  ERROR)
    [ "$rc" -eq 2 ] || { echo "expected exit status 2, got $rc"; exit 1; }
    [ ! -s "$out" ] || { echo "expected nothing on stdout"; exit 1; }
    [ -s "$err" ] || { echo "expected a message on stderr"; exit 1; }
    cat "$err"
    ;;
  STDOUT)
    [ "$rc" -eq 0 ] || { echo "exit status $rc"; cat "$err"; exit 1; }
    [ ! -s "$err" ] || { echo "expected nothing on stderr"; exit 1; }
    cat "$out"
    ;;
  *)
    [ "$rc" -eq "$status" ] || { echo "exit status $rc, expected $status"; cat "$err"; exit 1; }
    if [ -n "$output_file" ]; then
      [ ! -s "$out" ] || { echo "expected nothing on stdout"; exit 1; }
      cmp "$output_file" "$expected" || { echo "$output_file differs from $expected"; exit 1; }
    else
      cmp "$out" "$expected" || { echo "output differs from $expected"; exit 1; }
    fi
    cat "$err"
    ;;
esac
