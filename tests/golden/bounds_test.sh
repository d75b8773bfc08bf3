#!/bin/sh
# bounds_test.sh CASE CLI GOLDEN_DIR: one case of fudeline-cli refusing an
# input larger than it can use (a font, a catalogue, a page file, a script)
# with a reason, before it spends the time and memory such an input would
# take, while the real inputs of that kind still work. Run in a private
# temporary folder; prints what went wrong and exits 1.
set -u
case_name=$1
cli=$2
golden=$(cd "$3" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

fail() { echo "FAIL: $*"; exit 1; }
# expect_refusal MESSAGE COMMAND...: exit status 2 and MESSAGE on stderr.
expect_refusal() {
  message=$1; shift
  "$@" >out 2>err; rc=$?
  [ $rc -eq 2 ] || fail "$*: exit status $rc, expected 2: $(cat err)"
  grep -qF "$message" err || fail "$*: expected \"$message\", got: $(cat err)"
}
# bdf WIDTH: a BDF face of 'A' (WIDTH pixels wide, an advance of 8), 'B' and
# U+3042, enough for both catalogue files.
bdf() {
  awk -v w="$1" 'BEGIN {
    print "STARTFONT 2.1"; print "FONT -test-wide-medium-r-normal--16-160-72-72-c-80-iso10646-1"
    print "SIZE 16 72 72"; print "FONTBOUNDINGBOX " w " 16 0 -2"
    print "STARTPROPERTIES 4"; print "FONT_ASCENT 14"; print "FONT_DESCENT 2"
    print "CHARSET_REGISTRY \"ISO10646\""; print "CHARSET_ENCODING \"1\""; print "ENDPROPERTIES"
    print "CHARS 3"
    print "STARTCHAR A"; print "ENCODING 65"; print "SWIDTH 500 0"; print "DWIDTH 8 0"
    print "BBX " w " 16 0 -2"; print "BITMAP"
    n = int((w + 7) / 8); row = ""; for (i = 0; i < n; i++) row = row "FF"
    for (r = 0; r < 16; r++) print row
    print "ENDCHAR"
    print "STARTCHAR B"; print "ENCODING 66"; print "SWIDTH 500 0"; print "DWIDTH 8 0"
    print "BBX 8 16 0 -2"; print "BITMAP"; for (r = 0; r < 16; r++) print "81"; print "ENDCHAR"
    print "STARTCHAR hiragana_a"; print "ENCODING 12354"; print "SWIDTH 500 0"; print "DWIDTH 16 0"
    print "BBX 16 16 0 -2"; print "BITMAP"; for (r = 0; r < 16; r++) print "8001"; print "ENDCHAR"
    print "ENDFONT" }'
}

case $case_name in
  # A glyph's bitmap wider than any glyph a line can use is refused with the
  # file's name (it was clipped to its advance in silence, and rendering a
  # 65,535-pixel one for every character mapped to it took minutes).
  font_glyph_too_wide)
    bdf 8 >narrow.bdf
    "$cli" catalogue --font narrow.bdf --out narrow 2>err || fail "a narrow face: $(cat err)"
    bdf 30000 >wide.bdf
    expect_refusal "cannot open font wide.bdf: glyph U+0041 is wider than 64 pixels" \
      "$cli" catalogue --font wide.bdf --out wide
    [ ! -e wide ] || fail "a catalogue was written from the wide face"
    ;;
  # A font file above 32 MB, or packed to unpack above it (whatever size the
  # packing records), is refused before FreeType reads it; the Mona face
  # (237 KB packed) is read, and gives the catalogue the build made.
  font_file_too_large)
    truncate -s 33M large.pcf
    expect_refusal "cannot open font large.pcf: larger than 32 MB" \
      "$cli" catalogue --font large.pcf --out large
    head -c 40000000 /dev/zero | gzip >packed.pcf.gz
    expect_refusal "cannot open font packed.pcf.gz: the packed font unpacks to more than 32 MB" \
      "$cli" catalogue --font packed.pcf.gz --out packed
    # The size a gzip member records (its last four bytes) may lie: the
    # unpacking itself stops at the limit.
    head -c $(($(wc -c <packed.pcf.gz) - 4)) packed.pcf.gz >lying.pcf.gz
    printf '\001\002\000\000' >>lying.pcf.gz
    expect_refusal "cannot open font lying.pcf.gz: the packed font unpacks to more than 32 MB" \
      "$cli" catalogue --font lying.pcf.gz --out lying
    { printf 'FUDELINE MONA16\n'; printf '\000\000\000\001'; } >large.glyphs
    truncate -s 33M large.glyphs
    expect_refusal "cannot open font large.glyphs: larger than 32 MB" \
      "$cli" catalogue --font large.glyphs --out large
    mona=/usr/share/fonts/X11/misc/monau16.pcf.gz
    if [ -f $mona ]; then
      "$cli" catalogue --font $mona --out mona 2>err || fail "the Mona face: $(cat err)"
      for f in mona/*.dat; do
        cmp -s "$f" "$(dirname "$cli")/$(basename "$f")" || fail "the Mona face gave another $(basename "$f")"
      done
    fi
    ;;
  # A baked face whose header claims 100 M glyphs in 1,000 bytes is refused
  # before a table is sized by the claim (it took 803 MB: under this memory
  # limit it ran out).
  baked_face_count_beyond_its_bytes)
    { printf 'FUDELINE MONA16\n'; printf '\000\341\365\005'; head -c 1000 /dev/zero; } >count.glyphs
    # A sanitizer build cannot start under the limit; the refusal holds without it.
    ( [ -n "${FUDELINE_SANITIZED:-}" ] || ulimit -v 400000
      expect_refusal "cannot open font count.glyphs: the baked font claims 100000000 glyphs, more than its 1000 bytes can hold" \
        "$cli" catalogue --font count.glyphs --out count ) || exit 1
    ;;
  # Out of memory while a font is read names the font (it named standard
  # input): a baked face of 6 M empty glyphs, 30 MB, under a memory limit.
  out_of_memory_names_the_font)
    command -v python3 >/dev/null || exit 77
    [ -z "${FUDELINE_SANITIZED:-}" ] || exit 77  # no sanitizer build starts under a memory limit
    python3 -c 'import struct, sys
n = 6000000
sys.stdout.buffer.write(b"FUDELINE MONA16\n" + struct.pack("<I", n) +
                        b"".join(struct.pack("<IB", i, 0) for i in range(n)))' >many.glyphs
    ( ulimit -v 200000
      expect_refusal "cannot run catalogue many.glyphs: too large for the memory available" \
        "$cli" catalogue --font many.glyphs --out many ) || exit 1
    ;;
  # A catalogue line longer than a 64 x 16 glyph's pixels could make is
  # refused with its number (a million pixels took 17 s to match); the
  # catalogue the build makes has lines of at most 1.4 KB.
  catalogue_line_too_long)
    cp -r "$golden/tiny-catalogue" long
    awk 'BEGIN { line = "126, 0, 8, 3000"; for (i = 0; i < 3000; i++) line = line ", 1, 1"
                 print "45, 0, 8, 4, 0, 8, 1, 8, 2, 8, 3, 8"; print line; print "end, 2" }' \
      >long/0021t00df.dat
    expect_refusal "long/0021t00df.dat: line 2 is longer than the 16384 bytes a glyph of at most 64 x 16 pixels takes" \
      "$cli" replay "$golden/tiny.replay" --cells --catalogue-dir long
    "$cli" replay "$golden/tiny.replay" --cells --catalogue-dir "$golden/tiny-catalogue" >/dev/null 2>err ||
      fail "the tiny catalogue: $(cat err)"
    ;;
  # A page file over 64 MB is refused once that much is read, from a pipe as
  # from a file; one just under it is listed.
  page_file_too_large)
    expect_refusal "cannot list the pages of standard input: larger than 64 MB" \
      sh -c "head -c 80000000 /dev/zero | tr '\\0' a | \"\$0\" pages -" "$cli"
    head -c 67108864 /dev/zero | tr '\0' a >book.mlt
    "$cli" pages book.mlt >list 2>err || fail "64 MB of pages: $(cat err)"
    ;;
  # An append reads the file's pages as views, not copies: 8 million empty
  # pages (64 MB, as many as `pages` lists) take a page in bounded memory, and
  # a file of more than 10 million is refused before any page is made.
  page_count_bounded)
    printf 'x\r\n' >page.txt
    yes '[SPLIT]' | head -n 10000000 >many.mlt
    expect_refusal "cannot add the page to many.mlt: the file holds more than 10000000 pages" \
      "$cli" convert --from-text page.txt --append many.mlt -o /dev/null
    yes '[SPLIT]' | head -n 8000000 >book.mlt
    ( [ -n "${FUDELINE_SANITIZED:-}" ] || ulimit -v 600000
      "$cli" convert --from-text page.txt --append book.mlt -o /dev/null ) 2>err ||
      fail "an append to 8 million pages: $(cat err)"
    [ "$("$cli" pages book.mlt | tail -n 1 | cut -f 1)" = 8000002 ] || fail "the page was not added"
    ;;
  # Text with a NUL byte is refused at that byte, with its place: /dev/zero
  # piped in is refused at once instead of after 64 MB.
  page_file_nul)
    expect_refusal "cannot list the pages of standard input: byte 0 (line 1) is a NUL byte" \
      sh -c 'head -c 100000000 /dev/zero | "$0" pages -' "$cli"
    printf 'ab\r\n[SPLIT]\r\ncd\000e' >nul.mlt
    expect_refusal "cannot list the pages of nul.mlt: byte 15 (line 3) is a NUL byte" "$cli" pages nul.mlt
    ;;
  # A script over 1 MB (40,000 strokes across the canvas, 2 s of playing) is
  # refused before its first stroke when its size is known, and once 1 MB is
  # read from a pipe; the bench's scripts play.
  replay_script_too_large)
    awk 'BEGIN { for (i = 0; i < 40000; i++) printf "down 40 %d\nmove 790 %d\nup\n", 40 + i % 470, 500 - i % 460 }' \
      >long.replay
    expect_refusal "cannot read script long.replay: larger than 1 MB" "$cli" replay long.replay
    expect_refusal "cannot read script standard input: larger than 1 MB" \
      sh -c 'cat long.replay | "$0" replay -' "$cli"
    for script in "$golden"/../../bench/data/*.replay; do
      "$cli" replay "$script" >/dev/null 2>err || fail "$script: $(cat err)"
    done
    ;;
  *) echo "unknown case $case_name"; exit 1 ;;
esac
echo "PASS $case_name"
