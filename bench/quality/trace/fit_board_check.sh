#!/bin/sh
# --fit-board 2ch on 20 pictures: fits, and one step larger does not.
cli=${1:-build/bin/fudeline-cli}
for p in $(ls bench/data/vector-art/*-1x.png | head -14) bench/data/line-art/*-1x.png; do
  start=$(date +%s.%N)
  said=$($cli trace "$p" --fit-board 2ch 2>&1 >/dev/null); rc=$?
  end=$(date +%s.%N)
  scale=$(echo "$said" | sed -n 's/.* at --scale //p')
  post=$(echo "$said" | sed -n 's/.*post for 2ch: //p')
  # one step: 1 % of the canvas fit
  w=$(file "$p" | sed -n 's/.*, \([0-9]*\) x \([0-9]*\).*/\1 \2/p')
  step=$(echo "$w" | awk '{a=800/$1; d=522/$2; f=(a<d?a:d)*100; print f/100}')
  larger=$(echo "$scale $step" | awk '{printf "%.2f", $1+$2}')
  $cli trace "$p" --scale "$larger" --board 2ch >/dev/null 2>/tmp/ul/l.err; lrc=$?
  printf "%-40s rc=%s scale=%-6s %s | +1 step %s rc=%s %.1fs\n" "$(basename $p)" $rc "$scale" "$post" "$larger" $lrc $(echo "$end - $start" | bc)
done
