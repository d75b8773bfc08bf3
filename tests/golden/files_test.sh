#!/bin/sh
# files_test.sh CASE CLI GOLDEN_DIR: one case of how fudeline-cli treats the
# files it writes and reads, run in a private temporary folder. Prints what
# went wrong and exits 1; exits 77 when the case cannot be run here.
set -u
case_name=$1
cli=$2
golden=$3
drawing=$golden/minus.pbm
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

fail() { echo "FAIL: $*"; exit 1; }
# A page file of 30 pages, about 20 KB.
make_book() {
  : >"$1"
  i=1
  while [ $i -le 30 ]; do
    [ $i -eq 1 ] || printf '\r\n[SPLIT]\r\n' >>"$1"
    j=0
    while [ $j -lt 20 ]; do printf 'page %d, a line of text art to fill the page\r\n' $i >>"$1"; j=$((j + 1)); done
    printf 'end of page %d' $i >>"$1"
    i=$((i + 1))
  done
}
pages() { "$cli" pages "$1" | wc -l; }
append() { "$cli" convert "$drawing" --append "$@"; }
no_temporaries() {
  left=$(find . -name '.fdl*')
  [ -z "$left" ] || fail "temporaries left behind: $left"
}

case $case_name in
  # A write through a link that fails part-way (a file-size limit) leaves the
  # file whole and the link a link; SIGXFSZ does not end the process silently.
  link_size_limit)
    make_book book.mlt
    cp book.mlt saved.mlt
    ln -s book.mlt link.mlt
    ln -s "$work/book.mlt" absolute.mlt
    for link in link.mlt absolute.mlt; do
      ( ulimit -f 4; append "$link" -o /dev/null 2>err ); rc=$?
      [ $rc -eq 2 ] || fail "$link: exit status $rc, expected 2"
      grep -q "File too large" err || fail "$link: no reason given: $(cat err)"
      cmp -s book.mlt saved.mlt || fail "$link: the page file changed"
      [ -L $link ] || fail "$link is no longer a link"
    done
    # A picture through a link, under a limit smaller than the picture.
    printf 'old picture' >picture.png
    ln -s picture.png picture-link.png
    ( ulimit -f 1; "$cli" render "$golden/face.utf8.txt" -o picture-link.png 2>err ); rc=$?
    [ $rc -eq 2 ] && grep -q "File too large" err || fail "render: status $rc: $(cat err)"
    [ "$(cat picture.png)" = "old picture" ] && [ -L picture-link.png ] || fail "render: the picture changed"
    no_temporaries
    # Without the limit the page lands in the file the links lead to.
    append link.mlt -o /dev/null || fail "append through the link failed"
    [ -L link.mlt ] && [ "$(pages book.mlt)" -eq 31 ] || fail "the page did not land"
    ;;
  # Appends running at once each land.
  concurrent_appends)
    i=0
    while [ $i -lt 20 ]; do append book.mlt -o /dev/null 2>>err & i=$((i + 1)); done
    wait
    [ ! -s err ] || fail "$(cat err)"
    [ "$(pages book.mlt)" -eq 20 ] || fail "$(pages book.mlt) pages of 20 landed"
    no_temporaries
    ;;
  # A command that fails adds no page, whichever output failed.
  failed_output_adds_no_page)
    make_book book.mlt
    cp book.mlt saved.mlt
    append book.mlt -o missing/out.txt 2>/dev/null && fail "-o into a missing folder succeeded"
    append book.mlt >/dev/full 2>/dev/null && fail "a full standard output succeeded"
    "$cli" trace "$golden/../../bench/data/line-art/house-1x.png" --append book.mlt --save-ink missing/ink.png \
      -o /dev/null 2>/dev/null && fail "--save-ink into a missing folder succeeded"
    cmp -s book.mlt saved.mlt || fail "a failed command added a page"
    append new.mlt -o missing/out.txt 2>/dev/null
    [ ! -e new.mlt ] || fail "a failed command left a new page file"
    no_temporaries
    ;;
  # The page file is not also an output, by its name, through a link or as
  # the standard output.
  output_is_the_page_file)
    make_book book.mlt
    cp book.mlt saved.mlt
    ln -s book.mlt link.txt
    for output in book.mlt link.txt; do
      append book.mlt -o $output 2>err && fail "-o $output succeeded"
      grep -q "it is the page file --append adds to" err || fail "-o $output: $(cat err)"
    done
    cmp -s book.mlt saved.mlt || fail "the page file changed"
    append book.mlt >>book.mlt 2>err && fail "standard output into the page file succeeded"
    grep -q "standard output: it is the page file" err || fail "$(cat err)"
    ;;
  # What the user may not write is refused, as the shell refuses it.
  read_only_refused)
    if [ "$(id -u)" -eq 0 ]; then
      command -v setpriv >/dev/null || exit 77
      as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
      chmod 777 "$work"
    else
      as_user=
    fi
    make_book book.mlt
    echo old >out.txt
    cp book.mlt saved.mlt
    [ -z "$as_user" ] || chown 65534:65534 book.mlt out.txt
    chmod 444 book.mlt out.txt
    $as_user "$cli" convert "$drawing" --append book.mlt -o /dev/null 2>err && fail "--append to a 0444 file succeeded"
    grep -q "book.mlt: Permission denied" err || fail "$(cat err)"
    $as_user "$cli" convert "$drawing" -o out.txt 2>err && fail "-o to a 0444 file succeeded"
    grep -q "out.txt: Permission denied" err || fail "$(cat err)"
    cmp -s book.mlt saved.mlt && [ "$(cat out.txt)" = old ] || fail "a read-only file changed"
    ;;
  # Root may write anything, and a file it replaces keeps its owner, group and mode.
  owner_kept)
    [ "$(id -u)" -eq 0 ] || exit 77
    make_book book.mlt
    chown 65534:65534 book.mlt
    chmod 640 book.mlt
    append book.mlt -o /dev/null || fail "append failed"
    [ "$(stat -c %u:%g:%a book.mlt)" = 65534:65534:640 ] || fail "now $(stat -c %u:%g:%a book.mlt)"
    ;;
  # A file with several names is refused: replacing it would part them.
  hard_link_refused)
    make_book book.mlt
    ln book.mlt other.mlt
    append book.mlt -o /dev/null 2>err && fail "append to a hard link succeeded"
    grep -q "2 names (hard links)" err || fail "$(cat err)"
    ;;
  # Names of 249-255 bytes are written whole.
  long_names)
    for length in 249 252 255; do
      stem=$(printf "%0$((length - 4))d" 0)
      "$cli" convert "$drawing" -o "$stem.txt" 2>err || fail "-o, $length bytes: $(cat err)"
      append "$stem.mlt" -o /dev/null 2>err || fail "--append, $length bytes: $(cat err)"
      [ -s "$stem.txt" ] && [ "$(pages "$stem.mlt")" -eq 1 ] || fail "$length bytes: not written"
    done
    no_temporaries
    ;;
  # Named pipes are refused where a file is read whole, never waited on.
  fifo_refused)
    mkfifo pipe pipe.mlt
    mkdir catalogue
    mkfifo catalogue/0021t00df.dat
    printf '33088, 0, 16, 1, 0, 0\n' >catalogue/8141t84be.dat
    printf 'down 100 100\nup\n' >stroke.replay
    for command in "pages pipe" "convert --from-text pipe" "render pipe -o out.png" \
                   "convert $drawing --append pipe.mlt" "catalogue --font pipe --out out" \
                   "replay --catalogue-dir catalogue stroke.replay"; do
      timeout 20 "$cli" $command 2>err; rc=$?
      [ $rc -eq 2 ] || fail "$command: exit status $rc"
      grep -q "\(pipe\|0021t00df.dat\).*: a named pipe, not a regular file" err || fail "$command: $(cat err)"
    done
    ;;
  # A catalogue pair cut apart (a power cut between the two renames leaves a
  # new file beside an old one) is refused by the stamps both files carry.
  catalogue_pair_cut_apart)
    built=$(dirname "$cli")
    mkdir new mixed
    cp "$built/0021t00df.dat" "$built/8141t84be.dat" new/
    cp "$built/0021t00df.dat" mixed/
    sed 's/^end, \([0-9]*\), .*/end, \1, 0000000000000001/' "$built/8141t84be.dat" >mixed/8141t84be.dat
    cmp -s mixed/8141t84be.dat new/8141t84be.dat && fail "the stamp was not changed"
    printf 'down 100 100\nmove 200 120\nup\n' >stroke.replay
    "$cli" replay --catalogue-dir new stroke.replay >/dev/null || fail "the pair of one writing was refused"
    "$cli" replay --catalogue-dir mixed stroke.replay >out.txt 2>err; rc=$?
    [ $rc -eq 2 ] || fail "a mixed pair: exit status $rc"
    grep -q "mixed.*not from one writing" err || fail "a mixed pair: $(cat err)"
    [ ! -s out.txt ] || fail "a mixed pair: text written"
    ;;
  # The folder's sync after the rename failing (an I/O error injected) is
  # the write's failure, as the file's own sync is.
  folder_sync_failure_reported)
    # Where tracing is not allowed (some containers), the case cannot run.
    strace -o /dev/null true 2>/dev/null || exit 77
    # The leak checker of a sanitizer build cannot run under a tracer.
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
    export ASAN_OPTIONS
    strace -f -o /dev/null -e trace=fsync -e inject=fsync:error=EIO:when=1 \
      "$cli" convert "$drawing" -o plain.txt 2>err && fail "a failed file sync reported success"
    strace -f -o /dev/null -e trace=fsync -e inject=fsync:error=EIO:when=2 \
      "$cli" convert "$drawing" -o out.txt 2>err; rc=$?
    [ $rc -eq 2 ] || fail "a failed folder sync: exit status $rc"
    grep -q "out.txt: Input/output error" err || fail "a failed folder sync: $(cat err)"
    ;;
  # A command's outputs are renamed into place as one: a rename that fails
  # (an I/O error injected into the first, then the second) or a page that
  # cannot be added puts back every output renamed before it, old or new.
  outputs_together)
    strace -o /dev/null true 2>/dev/null || exit 77
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
    export ASAN_OPTIONS
    renames=rename,renameat,renameat2
    make_book book.mlt
    cp book.mlt saved.mlt
    for when in 1 2; do
      printf 'old ink' >ink.png
      printf 'old text' >trace.txt
      strace -f -o /dev/null -e trace=$renames -e inject=$renames:error=EIO:when=$when \
        "$cli" trace "$golden/minus.png" --save-ink ink.png -o trace.txt 2>err; rc=$?
      [ $rc -eq 2 ] || fail "trace, rename $when failing: exit status $rc"
      [ "$(cat ink.png)" = "old ink" ] || fail "trace, rename $when failing: a new ink beside the old text"
      [ "$(cat trace.txt)" = "old text" ] || fail "trace, rename $when failing: the text changed"
      grep -q "Input/output error" err || fail "trace, rename $when failing: $(cat err)"
      for old in new old; do
        rm -f out.txt
        [ $old = new ] || printf 'old text' >out.txt
        strace -f -o /dev/null -e trace=$renames -e inject=$renames:error=EIO:when=$when \
          "$cli" convert "$drawing" -o out.txt --append book.mlt 2>err; rc=$?
        [ $rc -eq 2 ] || fail "append, rename $when failing: exit status $rc"
        cmp -s book.mlt saved.mlt || fail "append, rename $when failing: the page file changed"
        if [ $old = new ]; then
          [ ! -e out.txt ] || fail "append, rename $when failing: out.txt written, no page added"
        else
          [ "$(cat out.txt)" = "old text" ] || fail "append, rename $when failing: out.txt changed"
        fi
      done
    done
    no_temporaries
    # Nothing failing: every output new, and nothing kept of the old ones.
    "$cli" trace "$golden/minus.png" --save-ink ink.png -o trace.txt --append book.mlt || fail "trace failed"
    [ "$(cat ink.png)" != "old ink" ] && [ "$(cat trace.txt)" != "old text" ] || fail "an output not written"
    [ "$(pages book.mlt)" -eq 31 ] || fail "the page not added"
    no_temporaries
    ;;
  # An append whose result the reader would refuse is refused.
  unreadable_result_refused)
    : >empty.txt
    append empty.txt -o /dev/null 2>err && fail "append to an empty .txt succeeded"
    grep -q "empty and not named .mlt or .ast" err || fail "$(cat err)"
    [ ! -s empty.txt ] || fail "empty.txt changed"
    : >empty.mlt
    append empty.mlt -o /dev/null && [ "$(pages empty.mlt)" -eq 1 ] || fail "append to an empty .mlt"
    ;;
  # A signal that comes once the page has landed (its rename held back 1 s
  # by strace) ends the command when its outputs are done, with success: a
  # failing status would have a retry add the page again.
  signal_after_the_page_landed)
    strace -o /dev/null true 2>/dev/null || exit 77
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
    export ASAN_OPTIONS
    make_book book.mlt
    expected=30
    for signal in TERM INT HUP QUIT; do
      rm -f out.txt
      # env: a background command of a shell script would start with SIGINT and SIGQUIT ignored.
      strace -f -o /dev/null -e trace=rename,renameat,renameat2 \
        -e inject=rename,renameat,renameat2:delay_exit=1000000 \
        env --default-signal "$cli" convert "$drawing" --append book.mlt -o out.txt 2>err &
      tracer=$!
      expected=$((expected + 1))
      tries=0
      until [ "$(pages book.mlt)" -eq $expected ]; do
        tries=$((tries + 1)); [ $tries -lt 200 ] || fail "SIG$signal: the page did not land"
        sleep 0.1
      done
      command=$(pgrep -P $tracer)
      [ -n "$command" ] || fail "SIG$signal: the traced command is gone"
      kill -$signal $command
      wait $tracer; rc=$?
      [ $rc -eq 0 ] || fail "SIG$signal after the page landed: exit status $rc: $(cat err)"
      [ -s out.txt ] || fail "SIG$signal: the text was not written"
      [ "$(pages book.mlt)" -eq $expected ] || fail "SIG$signal: $(pages book.mlt) pages"
    done
    no_temporaries
    ;;
  # A run killed outright (SIGKILL) while its new page file is being written
  # leaves a temporary but no page file, empty or not; the next run in the
  # folder removes the temporary.
  killed_write_cleaned_up)
    strace -o /dev/null true 2>/dev/null || exit 77
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
    export ASAN_OPTIONS
    make_book book.mlt
    cp book.mlt saved.mlt
    for target in new.mlt book.mlt; do
      strace -f -o /dev/null -e trace=fsync -e inject=fsync:delay_enter=5000000:when=1 \
        "$cli" convert "$drawing" --append $target -o /dev/null 2>/dev/null &
      tracer=$!
      tries=0
      until [ -n "$(find . -name '.fdl*')" ] && command=$(pgrep -P $tracer); do
        tries=$((tries + 1)); [ $tries -lt 200 ] || fail "$target: no temporary was made"
        sleep 0.1
      done
      kill -KILL $command
      wait $tracer
      [ -n "$(find . -name '.fdl*')" ] || fail "$target: the killed run left no temporary"
      if [ $target = new.mlt ]; then
        [ ! -e new.mlt ] || fail "the killed run left new.mlt, $(wc -c <new.mlt) bytes"
      fi
      cmp -s book.mlt saved.mlt || fail "the killed run changed book.mlt"
      append $target -o /dev/null || fail "$target: the next run failed"
      no_temporaries
    done
    [ "$(pages new.mlt)" -eq 1 ] && [ "$(pages book.mlt)" -eq 31 ] || fail "the pages did not land"
    ;;
  # An append behind a stopped holder of the page file's lock gives up after
  # the wait (shortened here), naming the file and the holder.
  stopped_lock_holder)
    make_book book.mlt
    cp book.mlt saved.mlt
    flock book.mlt sleep 60 &
    holder=$!
    tries=0
    while flock -n book.mlt true; do
      tries=$((tries + 1)); [ $tries -lt 200 ] || fail "the holder took no lock"
      sleep 0.05
    done
    sleeper=$(pgrep -P $holder)
    kill -STOP $holder
    FUDELINE_LOCK_WAIT=0.5 timeout 20 "$cli" convert "$drawing" --append book.mlt -o out.txt 2>err; rc=$?
    kill -KILL $holder $sleeper
    [ $rc -eq 2 ] || fail "behind a stopped holder: exit status $rc"
    grep -q "book.mlt: process $holder has held the file locked for more than 0.5 s" err || fail "$(cat err)"
    cmp -s book.mlt saved.mlt || fail "the page file changed"
    [ ! -e out.txt ] || fail "the text was written though no page was added"
    ;;
  *) echo "unknown case $case_name"; exit 1 ;;
esac
echo "PASS $case_name"
