<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Board</name>
    <message>
        <source>2ちゃんねる互換 (2048バイト・24行)</source>
        <translation>2ch-compatible (2048 bytes, 24 lines)</translation>
    </message>
    <message>
        <source>したらば (4096バイト)</source>
        <translation>Shitaraba (4096 bytes)</translation>
    </message>
</context>
<context>
    <name>CoreReason</name>
    <message>
        <source>テキストは %1 行あります。キャンバスに入るのは %2 行までです</source>
        <translation>the text has %1 lines; the canvas holds %2</translation>
    </message>
    <message>
        <source>%1 行目の幅は %2 ピクセルです。キャンバスに入るのは %3 ピクセルまでです（この行の %4 文字まで入ります）</source>
        <translation>line %1 is %2 pixels wide; the canvas holds %3 (%4 characters of this line fit)</translation>
    </message>
    <message>
        <source>%1 行目の %2 文字目: %3 は Mona フォントにありません</source>
        <translation>line %1, column %2: %3 is not in the Mona font</translation>
    </message>
    <message>
        <source>%1 行目の %2 文字目: バイト %3 は UTF-8 ではありません</source>
        <translation>line %1, column %2: byte %3 is not UTF-8</translation>
    </message>
    <message>
        <source>%1 行目の %2 文字目: %3 は Shift-JIS ではありません</source>
        <translation>line %1, column %2: %3 is not Shift-JIS</translation>
    </message>
    <message>
        <source>%1 行目が %2 バイトより長くなっています</source>
        <translation>line %1 is longer than %2 bytes</translation>
    </message>
    <message>
        <source>AST ファイルではありません。最初の行が「[AA][名前]」ではありません</source>
        <translation>not an AST file: it does not start with a line &quot;[AA][name]&quot;</translation>
    </message>
    <message>
        <source>MLT ファイルでも AST ファイルでもありません（名前が .mlt でなく [SPLIT] の行もなく、最初に [AA][名前] の行もありません）</source>
        <translation>neither an MLT file (no .mlt name, no [SPLIT] line) nor an AST file (no [AA][name] line at its start)</translation>
    </message>
    <message>
        <source>MLT のページには名前を付けられません。名前は AST ファイルで付けてください</source>
        <translation>MLT pages have no names; name pages in an AST file</translation>
    </message>
    <message>
        <source>テキストが空なので、ページとして追加するものがありません</source>
        <translation>the text is empty: there is nothing to add as a page</translation>
    </message>
    <message>
        <source>ページの名前に改行は入れられません</source>
        <translation>a page name cannot hold a line break</translation>
    </message>
    <message>
        <source>テキストに「[SPLIT]」の行があり、ページが分かれてしまいます</source>
        <translation>the text holds a line &quot;[SPLIT]&quot;, which would split the page</translation>
    </message>
    <message>
        <source>テキストに「[AA][...]」の行があり、新しいページが始まってしまいます</source>
        <translation>the text holds a line &quot;[AA][...]&quot;, which would start a new page</translation>
    </message>
    <message>
        <source>新しいページファイルの名前は .mlt か .ast で終えてください</source>
        <translation>a new page file must be named .mlt or .ast</translation>
    </message>
    <message>
        <source>%1 MB より大きいファイルです</source>
        <translation>larger than %1 MB</translation>
    </message>
    <message>
        <source>%1 バイトより大きいファイルです</source>
        <translation>larger than %1 bytes</translation>
    </message>
    <message>
        <source>隣に一時ファイル %1 を作れません: %2</source>
        <translation>cannot create the temporary file %1 beside it: %2</translation>
    </message>
    <message>
        <source>ファイルがありません</source>
        <translation>No such file or directory</translation>
    </message>
    <message>
        <source>読み書きが許されていません</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>フォルダです</source>
        <translation>Is a directory</translation>
    </message>
    <message>
        <source>ディスクに空きがありません</source>
        <translation>No space left on device</translation>
    </message>
    <message>
        <source>読み取り専用のファイルシステムです</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます</source>
        <translation>File too large</translation>
    </message>
    <message>
        <source>入出力エラーが起きました</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>ブロックデバイスで、通常のファイルではありません</source>
        <translation>a block device, not a regular file</translation>
    </message>
    <message>
        <source>ソケットで、通常のファイルではありません</source>
        <translation>a socket, not a regular file</translation>
    </message>
    <message>
        <source>特殊なファイルで、通常のファイルではありません</source>
        <translation>a special file, not a regular file</translation>
    </message>
    <message>
        <source>ページを追加するとファイルが %1 バイトより大きくなり、ページファイルとして読めなくなります</source>
        <translation>with the page the file would be larger than %1 bytes, more than a page file is read</translation>
    </message>
    <message>
        <source>ページの名前に制御文字は入れられません</source>
        <translation>a page name cannot hold a control character</translation>
    </message>
    <message>
        <source>名前付きパイプで、通常のファイルではありません</source>
        <translation>a named pipe, not a regular file</translation>
    </message>
    <message>
        <source>デバイスで、通常のファイルではありません</source>
        <translation>a character device, not a regular file</translation>
    </message>
    <message>
        <source>このファイルには %1 個の名前（ハードリンク）があります。丸ごと置き換えると他の名前に古い内容が残るので、書き込みません</source>
        <translation>the file has %1 names (hard links); replacing it whole would leave the other names with the old content, so it is not written</translation>
    </message>
    <message>
        <source>このファイルは他のユーザーかグループのもので、置き換えるとその持ち主を保てないので、書き込みません</source>
        <translation>the file belongs to another user or group, which its replacement could not keep, so it is not written</translation>
    </message>
    <message>
        <source>空のファイルで名前が .mlt でも .ast でもないので、ページを追加すると MLT とも AST とも読めなくなります</source>
        <translation>the file is empty and not named .mlt or .ast: a page added to it would read as neither format</translation>
    </message>
    <message>
        <source>ファイルのページが %1 を超えていて、ページファイルとして読めません</source>
        <translation>the file holds more than %1 pages, more than a page file is read with</translation>
    </message>
    <message>
        <source>ページを追加するとファイルが %1 MB より大きくなり、ページファイルとして読めなくなります</source>
        <translation>with the page the file would be larger than %1 MB, more than a page file is read</translation>
    </message>
    <message>
        <source>ロックしようとする間にファイルが置き換えられ続けました</source>
        <translation>the file kept being replaced while it was being locked</translation>
    </message>
    <message>
        <source>プロセス %1 が %2 秒を超えてファイルをロックしたままです（Ctrl+Z などで止まっているのかもしれません）。ファイルはそのままにします</source>
        <translation>process %1 has held the file locked for more than %2 s (it may be stopped, as Ctrl+Z stops it), so the file is left as it is</translation>
    </message>
    <message>
        <source>ほかのプロセスが %1 秒を超えてファイルをロックしたままです（Ctrl+Z などで止まっているのかもしれません）。ファイルはそのままにします</source>
        <translation>another process has held the file locked for more than %1 s (it may be stopped, as Ctrl+Z stops it), so the file is left as it is</translation>
    </message>
    <message>
        <source>テキストがありません（空のファイルです）</source>
        <translation>there is no text (the file is empty)</translation>
    </message>
    <message>
        <source>ページがありません</source>
        <translation>the file has no pages</translation>
    </message>
    <message>
        <source>%1 ページ目はありません。ファイルには %2 ページあります</source>
        <translation>no page %1; the file has %2</translation>
    </message>
    <message>
        <source>ページの名前を Shift-JIS で書けません</source>
        <translation>the page name has no Shift-JIS form</translation>
    </message>
    <message>
        <source>対応している形式（PNG・JPEG・WebP・GIF・BMP・PNM）の画像ではありません</source>
        <translation>not a picture in a known format (PNG, JPEG, WebP, GIF, BMP or PNM)</translation>
    </message>
    <message>
        <source>画像が大きすぎます（%1 x %2 ピクセル）</source>
        <translation>the picture is too large (%1 x %2 pixels)</translation>
    </message>
    <message>
        <source>黒いインクがありません</source>
        <translation>the picture holds no black ink</translation>
    </message>
    <message>
        <source>テキストが %1 行を超えています。キャンバスに入るのは %1 行までです</source>
        <translation>the text has more than %1 lines; the canvas holds %1</translation>
    </message>
    <message>
        <source>MLT と AST のファイルは Shift-JIS です。--input-encoding utf8 ではそのページを読めません</source>
        <translation>MLT and AST files are Shift-JIS; --input-encoding utf8 cannot read a page of one</translation>
    </message>
    <message>
        <source>画像にできる %1 行を超えています</source>
        <translation>more than the %1 lines a picture may have</translation>
    </message>
    <message>
        <source>%1 行目の幅は %2 ピクセルで、画像にできる %3 ピクセルを超えています</source>
        <translation>line %1 is %2 pixels wide, more than the %3 a picture may have</translation>
    </message>
    <message>
        <source>画像が少なくとも %1 x %2 ピクセルになり、全部で %3 ピクセルを超えます</source>
        <translation>the picture would be at least %1 x %2 pixels, more than %3 pixels in all</translation>
    </message>
    <message>
        <source>PNG は端末には出せません。-o FILE を指定するか、出力をリダイレクトしてください</source>
        <translation>a PNG is not for a terminal; give -o FILE or redirect the output</translation>
    </message>
    <message>
        <source>そこにはテキストが出ます。--save-ink にファイルを指定するか、テキストに -o FILE を指定してください</source>
        <translation>the text goes there already; give --save-ink a file or the text -o FILE</translation>
    </message>
    <message>
        <source>PNG は端末には出せません。--save-ink にファイルを指定するか、出力をリダイレクトしてください</source>
        <translation>a PNG is not for a terminal; give --save-ink a file or redirect the output</translation>
    </message>
    <message>
        <source>--no-fillers は --spacing spaces のことなので、--spacing %1 とは一緒に使えません</source>
        <translation>--no-fillers is --spacing spaces; it cannot go with --spacing %1</translation>
    </message>
    <message>
        <source>--spacing spaces には --fine が要ります。間隔を選ぶのはきれいな変換だけです</source>
        <translation>--spacing spaces needs --fine: only the fine decoder chooses its gaps</translation>
    </message>
    <message>
        <source>--append でページを追加するファイルです</source>
        <translation>it is the page file --append adds to</translation>
    </message>
    <message>
        <source>使えるメモリに対して大きすぎます</source>
        <translation>too large for the memory available</translation>
    </message>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>%1 行目の %2 文字目: 制御文字 %3%4 は何も描きません</source>
        <translation>line %1, column %2: control character %3%4 draws nothing</translation>
    </message>
    <message>
        <source>%1 行目の %2 文字目: %3 は Shift-JIS で書けません</source>
        <translation>line %1, column %2: %3 has no Shift-JIS form</translation>
    </message>
    <message>
        <source>%1 行目: 文字参照の %2 は Shift-JIS で書けません</source>
        <translation>line %1: a character reference stands for %2, which has no Shift-JIS form</translation>
    </message>
    <message>
        <source>%1 行目の %2 文字目: 文字参照の制御文字 %3%4 は何も描きません</source>
        <translation>line %1, column %2: a character reference stands for control character %3%4, which draws nothing</translation>
    </message>
    <message>
        <source>描画ファイルに、書いたまま残す行がありません</source>
        <translation>the rows kept in the drawing file are not there</translation>
    </message>
    <message>
        <source>描画ファイルに残した行が、どの行のものか書かれていません</source>
        <translation>the rows kept in the drawing file do not say which rows they are</translation>
    </message>
    <message>
        <source>描画ファイルに残した行が、どのインクのものか書かれていません</source>
        <translation>the rows kept in the drawing file do not say which ink they belong to</translation>
    </message>
    <message>
        <source>描画ファイルに残した行が壊れています</source>
        <translation>the rows kept in the drawing file are damaged</translation>
    </message>
    <message>
        <source>描画ファイルに残した行に、残す印のない行があります</source>
        <translation>the rows kept in the drawing file hold a row not marked as kept</translation>
    </message>
    <message>
        <source>%1 行目: 「行番号&lt;タブ&gt;セル」の形ではありません</source>
        <translation>line %1: not ROW&lt;TAB&gt;cells</translation>
    </message>
    <message>
        <source>%1 行目: 行番号が正しくありません</source>
        <translation>line %1: bad row number</translation>
    </message>
    <message>
        <source>%1 行目: 同じ行が二度あります</source>
        <translation>line %1: row given twice</translation>
    </message>
    <message>
        <source>%1 行目: セルが「間隔:幅:バイト」の形ではありません</source>
        <translation>line %1: a cell is not gap:width:bytes</translation>
    </message>
    <message>
        <source>%1 行目: 間隔が正しくありません</source>
        <translation>line %1: bad gap</translation>
    </message>
    <message>
        <source>%1 行目: 幅が正しくありません</source>
        <translation>line %1: bad width</translation>
    </message>
    <message>
        <source>%1 行目: 文字のバイトが正しくありません</source>
        <translation>line %1: bad character bytes</translation>
    </message>
    <message>
        <source>フォントを %1 ピクセルにできません</source>
        <translation>the font cannot be set to %1 pixels</translation>
    </message>
    <message>
        <source>フォントに %1 ピクセルのビットマップがありません</source>
        <translation>the font has no %1-pixel bitmap strike</translation>
    </message>
    <message>
        <source>フォントに %1 ピクセルのビットマップがありません（あるのは %2）</source>
        <translation>the font has no %1-pixel bitmap strike (it has %2)</translation>
    </message>
    <message>
        <source>フォントの大きさは 1 から %1 ピクセル（テキストの行の高さ）までです</source>
        <translation>a font size must be 1 to %1 pixels, the height of a text line</translation>
    </message>
    <message>
        <source>FreeType を始められませんでした</source>
        <translation>FreeType could not start</translation>
    </message>
    <message>
        <source>FreeType で読めるフォントではありません</source>
        <translation>not a font FreeType can read</translation>
    </message>
    <message>
        <source>グリフ %1 の幅が %2 ピクセルを超えています</source>
        <translation>glyph %1 is wider than %2 pixels</translation>
    </message>
    <message>
        <source>グリフ %1 は白黒でなく灰色で描かれます</source>
        <translation>glyph %1 renders in grey, not in black and white</translation>
    </message>
    <message>
        <source>フォントにどの文字のグリフもありません</source>
        <translation>the font has no glyph for any character</translation>
    </message>
    <message>
        <source>焼き込んだフォントは 16 ピクセルのグリフだけです。元のフォントを指定してください</source>
        <translation>a baked face holds 16-pixel glyphs only; give the font it was baked from</translation>
    </message>
    <message>
        <source>フォルダで、カタログファイルではありません</source>
        <translation>is a directory, not a catalogue file</translation>
    </message>
    <message>
        <source>読み込みに失敗しました</source>
        <translation>read error</translation>
    </message>
    <message>
        <source>途中で切れています（最後の行が欠けています）。fudeline-cli catalogue で作り直してください</source>
        <translation>cut short: its last line is incomplete; make it again with fudeline-cli catalogue</translation>
    </message>
    <message>
        <source>最後の行が壊れています。fudeline-cli catalogue で作り直してください</source>
        <translation>its end line is damaged; make it again with fudeline-cli catalogue</translation>
    </message>
    <message>
        <source>グリフの行が %1 行ありますが、最後の行には %2 行とあります。fudeline-cli catalogue で作り直してください</source>
        <translation>holds %1 glyph lines where its end line says %2; make it again with fudeline-cli catalogue</translation>
    </message>
    <message>
        <source>途中で切れています（%1 行目の数がピクセル数 %2 に足りません）。fudeline-cli catalogue で作り直してください</source>
        <translation>cut short: line %1 holds fewer numbers than its count of %2 pixels says; make it again with fudeline-cli catalogue</translation>
    </message>
    <message>
        <source>途中で切れています（%1 行目に 2 バイト文字の 1 バイト目だけがあります）。fudeline-cli catalogue で作り直してください</source>
        <translation>cut short: line %1 holds the first byte of a two-byte code without a valid second one; make it again with fudeline-cli catalogue</translation>
    </message>
    <message>
        <source>カタログファイル %1 と %2 は同じときに書かれたものではありません（片方だけが置き換えられています）。fudeline-cli catalogue で作り直してください</source>
        <translation>the catalogue files %1 and %2 are not from one writing (one was replaced and the other not); make them again with fudeline-cli catalogue</translation>
    </message>
    <message>
        <source>カタログファイル %1 と %2 に使えるグリフがありません</source>
        <translation>the catalogue files %1 and %2 hold no usable glyph</translation>
    </message>
    <message>
        <source>フォルダで、フォントファイルではありません</source>
        <translation>is a directory, not a font file</translation>
    </message>
    <message>
        <source>fudeline_bake_font で作ったフォントではありません</source>
        <translation>not a font baked by fudeline_bake_font</translation>
    </message>
    <message>
        <source>フォントがグリフの途中で終わっています</source>
        <translation>the baked font ends inside a glyph</translation>
    </message>
    <message>
        <source>フォントに幅の広すぎるグリフがあります</source>
        <translation>a baked glyph is wider than any glyph</translation>
    </message>
    <message>
        <source>フォントの最後のグリフの後に余分なバイトがあります</source>
        <translation>the baked font has bytes after its last glyph</translation>
    </message>
    <message>
        <source>%1 バイト目（%2 行目）が NUL バイトで、Shift-JIS のテキストではありません</source>
        <translation>byte %1 (line %2) is a NUL byte: the file is not Shift-JIS text</translation>
    </message>
    <message>
        <source>フォントは %1 個のグリフがあると言いますが、%2 バイトには収まりません</source>
        <translation>the baked font claims %1 glyphs, more than its %2 bytes can hold</translation>
    </message>
    <message>
        <source>%1 行目が 64 x 16 ピクセルまでのグリフの %2 バイトより長くなっています。fudeline-cli catalogue で作り直してください</source>
        <translation>line %1 is longer than the %2 bytes a glyph of at most 64 x 16 pixels takes; make it again with fudeline-cli catalogue</translation>
    </message>
    <message>
        <source>グリフ %1 の高さが %2 ピクセルを超えています</source>
        <translation>glyph %1 is taller than %2 pixels</translation>
    </message>
    <message>
        <source>圧縮されたフォントは展開すると %1 MB を超えます</source>
        <translation>the packed font unpacks to more than %1 MB</translation>
    </message>
    <message>
        <source>見つかりません（探した場所: %1）</source>
        <translation>not found; looked in %1</translation>
    </message>
    <message>
        <source>テキストが正しい UTF-8 ではありません</source>
        <translation>the text is not valid UTF-8</translation>
    </message>
    <message>
        <source>Shift-JIS で書けない文字があります</source>
        <translation>a character has no Shift-JIS form</translation>
    </message>
    <message>
        <source>ファイル名が空です</source>
        <translation>a file name cannot be empty</translation>
    </message>
    <message>
        <source>%1 行目に NUL バイトがあり、Shift-JIS のテキストではありません</source>
        <translation>line %1 holds a NUL byte: the file is not Shift-JIS text</translation>
    </message>
    <message>
        <source>%1 行目の %2 は CP932 にない文字で、Shift-JIS のテキストではありません</source>
        <translation>line %1 holds %2, which CP932 does not define: the file is not Shift-JIS text</translation>
    </message>
    <message>
        <source>%1 行目に途中で切れた 2 バイト文字があり、Shift-JIS のテキストではありません</source>
        <translation>line %1 holds a two-byte character cut short: the file is not Shift-JIS text</translation>
    </message>
    <message>
        <source>%1 行目のバイト %2 は Shift-JIS のテキストにはありません</source>
        <translation>line %1 holds byte %2: the file is not Shift-JIS text</translation>
    </message>
    <message>
        <source>この範囲の文字を一つも描けませんでした</source>
        <translation>no character of this range could be drawn</translation>
    </message>
    <message>
        <source>PNG を作れませんでした（メモリが足りません）</source>
        <translation>PNG encoding failed: not enough memory</translation>
    </message>
    <message>
        <source>PNG を作れませんでした（%1）</source>
        <translation>PNG encoding failed: %1</translation>
    </message>
    <message>
        <source>空の画像は PNG にできません</source>
        <translation>an empty picture cannot be written as PNG</translation>
    </message>
    <message>
        <source>PNG のテキストチャンクにはこのキーかテキストを入れられません</source>
        <translation>a PNG text chunk cannot carry this key or text</translation>
    </message>
    <message>
        <source>PNG に画像の終わりがないので、テキストを書き込めません</source>
        <translation>the PNG has no image end to write text before</translation>
    </message>
    <message>
        <source>画像にピクセルがありません</source>
        <translation>the picture has no pixels</translation>
    </message>
    <message>
        <source>%1 画像にピクセルがありません</source>
        <translation>the %1 picture has no pixels</translation>
    </message>
    <message>
        <source>%1 画像が途中で切れています</source>
        <translation>the %1 picture is truncated</translation>
    </message>
    <message>
        <source>%1 画像が途中で切れているか壊れています</source>
        <translation>the %1 picture is truncated or damaged</translation>
    </message>
    <message>
        <source>%1 画像が壊れています</source>
        <translation>the %1 picture is damaged</translation>
    </message>
    <message>
        <source>%1 画像が壊れています（%2）</source>
        <translation>the %1 picture is damaged: %2</translation>
    </message>
    <message>
        <source>%1 画像が壊れています（%2 の読む大きさがヘッダーと違います）</source>
        <translation>the %1 picture is damaged: %2 reads another size than its header</translation>
    </message>
    <message>
        <source>%1 画像を読むにはメモリが足りません</source>
        <translation>not enough memory to read the %1 picture</translation>
    </message>
    <message>
        <source>読める PNG 画像ではありません（%1）</source>
        <translation>not a readable PNG picture: %1</translation>
    </message>
    <message>
        <source>PNG 画像に正しいヘッダーがありません</source>
        <translation>the PNG picture has no valid header</translation>
    </message>
    <message>
        <source>PNG 画像に正しい幅と高さがありません</source>
        <translation>the PNG picture has no valid width and height</translation>
    </message>
    <message>
        <source>JPEG 画像が壊れています（フレームヘッダーがありません）</source>
        <translation>the JPEG picture is damaged: no frame header</translation>
    </message>
    <message>
        <source>JPEG 画像のフレームヘッダーに大きさがありません</source>
        <translation>the JPEG picture has no size in its frame header</translation>
    </message>
    <message>
        <source>JPEG 画像が壊れています（スキャンが多すぎます）</source>
        <translation>the JPEG picture is damaged: too many scans</translation>
    </message>
    <message>
        <source>JPEG 画像が壊れています（読むのにメモリが要りすぎます）</source>
        <translation>the JPEG picture is damaged: it needs too much memory</translation>
    </message>
    <message>
        <source>読める WebP 画像ではありません</source>
        <translation>not a readable WebP picture</translation>
    </message>
    <message>
        <source>動く WebP 画像には対応していません</source>
        <translation>animated WebP pictures are not supported</translation>
    </message>
    <message>
        <source>GIF 画像が壊れています（画面の大きさがありません）</source>
        <translation>the GIF picture is damaged: no screen size</translation>
    </message>
    <message>
        <source>GIF 画像に色の表がありません</source>
        <translation>the GIF picture has no colour table</translation>
    </message>
    <message>
        <source>GIF のフレームの大きさがありえない値です</source>
        <translation>the GIF frame has an impossible size</translation>
    </message>
    <message>
        <source>GIF のフレームが大きすぎます（%1 x %2 ピクセル）</source>
        <translation>the GIF frame is too large (%1 x %2 pixels)</translation>
    </message>
    <message>
        <source>GIF 画像にフレームがありません</source>
        <translation>the GIF picture has no frame</translation>
    </message>
    <message>
        <source>BMP のヘッダーが知らない種類です</source>
        <translation>the BMP header is of an unknown kind</translation>
    </message>
    <message>
        <source>BMP 画像が壊れています（%1 ビットのピクセルのランレングス符号化）</source>
        <translation>the BMP picture is damaged: run-length encoding of %1-bit pixels</translation>
    </message>
    <message>
        <source>圧縮方式 %1 の BMP 画像には対応していません</source>
        <translation>BMP pictures compressed by method %1 are not supported</translation>
    </message>
    <message>
        <source>%1 ビットの BMP 画像には対応していません</source>
        <translation>BMP pictures of %1 bits are not supported</translation>
    </message>
    <message>
        <source>PNM のヘッダーに正しい大きさか最大値がありません</source>
        <translation>the PNM header has no valid size or maximum value</translation>
    </message>
    <message>
        <source>PNG・JPEG・WebP のどれの画像でもありません</source>
        <translation>not a PNG, JPEG or WebP picture</translation>
    </message>
    <message>
        <source>ブラウザがこの %1 画像を読めません</source>
        <translation>the browser cannot read this %1 picture</translation>
    </message>
    <message>
        <source>読める画像ではありません（読めるのは PBM（P1・P4）と PNG です）</source>
        <translation>not an image this tool reads: PBM (P1 or P4) or PNG</translation>
    </message>
    <message>
        <source>PBM 画像（P1・P4）ではありません</source>
        <translation>not a PBM image (P1 or P4)</translation>
    </message>
    <message>
        <source>PNG 画像ではありません</source>
        <translation>not a PNG image</translation>
    </message>
    <message>
        <source>PBM のヘッダーに正しい幅と高さがありません</source>
        <translation>PBM header has no valid width and height</translation>
    </message>
    <message>
        <source>PBM 画像が途中で切れています</source>
        <translation>PBM image is truncated</translation>
    </message>
    <message>
        <source>PBM 画像に 0 でも 1 でもないバイトがあります</source>
        <translation>PBM image holds a byte that is not 0 or 1</translation>
    </message>
    <message>
        <source>PNG 画像が大きすぎます（%1 x %2）</source>
        <translation>PNG image is too large (%1 x %2)</translation>
    </message>
    <message>
        <source>%1 行目: %2 には X と Y が要ります</source>
        <translation>line %1: %2 needs X and Y</translation>
    </message>
    <message>
        <source>%1 行目: 座標は -32768 から 32767 までの整数です</source>
        <translation>line %1: coordinates must be integers from -32768 to 32767</translation>
    </message>
    <message>
        <source>%1 行目: %2 には引数を付けられません</source>
        <translation>line %1: %2 takes no arguments</translation>
    </message>
    <message>
        <source>%1 行目: clear の後には何もないか「no」だけです</source>
        <translation>line %1: clear takes nothing or &quot;no&quot;</translation>
    </message>
    <message>
        <source>%1 行目: 「%2」という出来事はありません</source>
        <translation>line %1: unknown event &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1 行目: %2 の後は X と Y、その後は何もないか「shift」だけです</source>
        <translation>line %1: %2 takes X, Y and nothing or &quot;shift&quot;</translation>
    </message>
    <message>
        <source>%1 行目: stabilizer の後は off・weak・strong のどれかです</source>
        <translation>line %1: stabilizer takes off, weak or strong</translation>
    </message>
    <message>
        <source>%1 行目: eraser の後は small・medium・large のどれかです</source>
        <translation>line %1: eraser takes small, medium or large</translation>
    </message>
    <message>
        <source>この操作は許されていません</source>
        <translation>Operation not permitted</translation>
    </message>
    <message>
        <source>途中の名前がフォルダではありません</source>
        <translation>Not a directory</translation>
    </message>
    <message>
        <source>ファイル名が長すぎます</source>
        <translation>File name too long</translation>
    </message>
    <message>
        <source>シンボリックリンクが多すぎます</source>
        <translation>Too many levels of symbolic links</translation>
    </message>
    <message>
        <source>ファイルがすでにあります</source>
        <translation>File exists</translation>
    </message>
    <message>
        <source>ディスクの割り当てを超えました</source>
        <translation>Disk quota exceeded</translation>
    </message>
    <message>
        <source>開いているファイルが多すぎます</source>
        <translation>Too many open files</translation>
    </message>
    <message>
        <source>メモリが足りません</source>
        <translation>Cannot allocate memory</translation>
    </message>
    <message>
        <source>ほかで使われています</source>
        <translation>Device or resource busy</translation>
    </message>
    <message>
        <source>書き込み先が閉じられました</source>
        <translation>Broken pipe</translation>
    </message>
    <message>
        <source>%1 行目の幅が %2 ピクセルになります。キャンバスに入るのは %3 ピクセルまでです</source>
        <translation>row %1 would be %2 pixels wide; the canvas holds %3</translation>
    </message>
    <message>
        <source>%1 は Mona フォントにありません</source>
        <translation>%1 is not in the Mona font</translation>
    </message>
    <message>
        <source>%1 行目: type の後には -32768 から 32767 までの整数の X と Y、その後に文字が要ります</source>
        <translation>line %1: type needs X and Y, integers from -32768 to 32767, then the text</translation>
    </message>
    <message>
        <source>%1 行目: 打つ文字が UTF-8 ではありません</source>
        <translation>line %1: the text to type is not UTF-8</translation>
    </message>
    <message>
        <source>%1 行目: history の後は single か steps です</source>
        <translation>line %1: history takes single or steps</translation>
    </message>
    <message>
        <source>文字を打つ場所がありません。先にキャンバスをクリックしてください</source>
        <translation>no place to type at: click the canvas first</translation>
    </message>
    <message>
        <source>最後の行の下には打てる行がありません</source>
        <translation>no row below the last one to type in</translation>
    </message>
    <message>
        <source>線が残るどの大きさでも掲示板の制限を超えます</source>
        <translation>the picture&apos;s text is over the board&apos;s limits at every size that shows its lines</translation>
    </message>
    <message>
        <source>%1 行目: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>グリフ %1 はペンを後ろへ戻します（送り幅 %2 ピクセル）</source>
        <translation>glyph %1 moves the pen back (an advance of %2 pixels)</translation>
    </message>
</context>
<context>
    <name>FrameDialog</name>
    <message>
        <source>吹き出し</source>
        <translation>Speech Frame</translation>
    </message>
    <message>
        <source>吹き出しの中の言葉(&amp;W):</source>
        <translation>&amp;Words in the frame:</translation>
    </message>
    <message>
        <source>角の丸い枠</source>
        <translation>Rounded frame</translation>
    </message>
    <message>
        <source>四角い枠</source>
        <translation>Box</translation>
    </message>
    <message>
        <source>置く場所を選ぶ</source>
        <translation>Choose Where</translation>
    </message>
</context>
<context>
    <name>PageDialogs</name>
    <message>
        <source>テキストアートを開く</source>
        <translation>Open Text Art</translation>
    </message>
    <message>
        <source>開くページ:</source>
        <translation>Page to open:</translation>
    </message>
    <message>
        <source>ページとして追加</source>
        <translation>Add as a Page</translation>
    </message>
    <message>
        <source>ページの名前（空でも構いません）:</source>
        <translation>Name of the page (may be empty):</translation>
    </message>
</context>
<context>
    <name>PictureLibrary</name>
    <message>
        <source>ファイルがありません</source>
        <translation>The file does not exist</translation>
    </message>
    <message>
        <source>ファイルを読めません</source>
        <translation>The file cannot be read</translation>
    </message>
    <message>
        <source>画像の形式が分かりません</source>
        <translation>The picture format is not known</translation>
    </message>
    <message>
        <source>画像のデータが壊れているか、途中で切れています</source>
        <translation>The picture data is damaged or cut short</translation>
    </message>
    <message>
        <source>画像を読めません</source>
        <translation>The picture cannot be read</translation>
    </message>
    <message>
        <source>画像ではなくフォルダです</source>
        <translation>It is a folder, not a picture</translation>
    </message>
    <message>
        <source>画像が大きすぎます (%1 x %2 ピクセル)</source>
        <translation>The picture is too large (%1 x %2 pixels)</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>使い方: fudeline [--help] [--version] [Qt のオプション]

マウスで描いた線を、Mona 16 ピクセルの文字で書いたテキストアートに変えるウィンドウを開きます。
描画の保存と読み込み、テキストの書き出し、投稿の長さの確認もできます。
画面のない環境では fudeline-cli を使ってください。

  --help     この説明を表示して終わります
  --version  版数を表示して終わります
</source>
        <translation>usage: fudeline [--help] [--version] [Qt options]

Opens a window that turns lines drawn with the mouse into text art written in the characters of the Mona 16-pixel font.
Drawings can be saved and opened, the text exported, and the length of a post checked.
Without a display, use fudeline-cli.

  --help     show this help and exit
  --version  show the version and exit
</translation>
    </message>
    <message>
        <source>fudeline: ウィンドウを開く画面がありません（DISPLAY も WAYLAND_DISPLAY も設定されていません）。
画面なしで変換するには fudeline-cli を使ってください。
</source>
        <translation>fudeline: there is no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set).
Use fudeline-cli to convert without a display.
</translation>
    </message>
    <message>
        <source>Fudeline を起動できません。必要なファイルを読み込めませんでした。
%1
（%2）</source>
        <translation>Fudeline cannot start: a file it needs could not be read.
%1
(%2)</translation>
    </message>
</context>
<context>
    <name>fudeline::BackgroundMenu</name>
    <message>
        <source>キャンバスに合わせる</source>
        <translation>Fit the canvas</translation>
    </message>
    <message>
        <source>画像を指定(&amp;I)...</source>
        <translation>Choose &amp;picture...</translation>
    </message>
    <message>
        <source>表示(&amp;S)</source>
        <translation>&amp;Show</translation>
    </message>
    <message>
        <source>淡く表示(&amp;F)</source>
        <translation>Show &amp;faint</translation>
    </message>
    <message>
        <source>サイズ(&amp;Z)</source>
        <translation>Si&amp;ze</translation>
    </message>
    <message>
        <source>線を取り込む(&amp;L)</source>
        <translation>Take in the &amp;lines</translation>
    </message>
    <message>
        <source>ボードに合わせて線を取り込む(&amp;B)</source>
        <translation>Take in the lines to fit the &amp;board</translation>
    </message>
</context>
<context>
    <name>fudeline::CanvasWidget</name>
    <message>
        <source>キャンバス</source>
        <translation>Canvas</translation>
    </message>
</context>
<context>
    <name>fudeline::MainWindow</name>
    <message>
        <source>部品(&amp;B)</source>
        <translation>&amp;Parts</translation>
    </message>
    <message>
        <source>部品集を開く(&amp;L)...</source>
        <translation>Open Parts &amp;Library...</translation>
    </message>
    <message>
        <source>吹き出しを置く(&amp;W)...</source>
        <translation>Speech &amp;Frame...</translation>
    </message>
    <message>
        <source>キャンバスの置きたい所をクリックしてください: %1</source>
        <translation>Click the canvas where it goes: %1</translation>
    </message>
    <message>
        <source>吹き出し</source>
        <translation>speech frame</translation>
    </message>
    <message>
        <source>部品集を開く</source>
        <translation>Open Parts Library</translation>
    </message>
    <message>
        <source>部品集 (*.mlt *.ast)</source>
        <translation>Parts libraries (*.mlt *.ast)</translation>
    </message>
    <message>
        <source>「%1」を部品集として開けませんでした。</source>
        <translation>Could not open “%1” as a parts library.</translation>
    </message>
    <message>
        <source>ファイルを作れません（フォルダがないか、書き込みが許されていません）</source>
        <translation>The file cannot be created (the folder is missing or writing there is not allowed)</translation>
    </message>
    <message>
        <source>ディスクがいっぱいです</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>書き込めませんでした</source>
        <translation>The file could not be written</translation>
    </message>
    <message>
        <source>画像 (%1)</source>
        <translation>Pictures (%1)</translation>
    </message>
    <message>
        <source>すべてのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>すべてクリア</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>クリップボードにコピー</source>
        <translation>Copy to clipboard</translation>
    </message>
    <message>
        <source>コピー時&lt;BR&gt;タグを追加</source>
        <translation>Copy with &lt;BR&gt;</translation>
    </message>
    <message>
        <source>行ラインを表示</source>
        <translation>Show row lines</translation>
    </message>
    <message>
        <source>背景...</source>
        <translation>Background...</translation>
    </message>
    <message>
        <source>ファイル...</source>
        <translation>File...</translation>
    </message>
    <message>
        <source>すべて消去します。

よろしいですか？</source>
        <translation>Everything will be erased.

Are you sure?</translation>
    </message>
    <message>
        <source>「%1」に保存できませんでした。</source>
        <translation>Could not save “%1”.</translation>
    </message>
    <message>
        <source>描画を保存</source>
        <translation>Save drawing</translation>
    </message>
    <message>
        <source>描画 (*.png)</source>
        <translation>Drawings (*.png)</translation>
    </message>
    <message>
        <source>PNG を作れませんでした</source>
        <translation>The PNG picture could not be made</translation>
    </message>
    <message>
        <source>描画を開く</source>
        <translation>Open drawing</translation>
    </message>
    <message>
        <source>描画 (*.png *.pbm)</source>
        <translation>Drawings (*.png *.pbm)</translation>
    </message>
    <message>
        <source>「%1」を開けませんでした。</source>
        <translation>Could not open “%1”.</translation>
    </message>
    <message>
        <source>ファイルではなくフォルダです</source>
        <translation>It is a folder, not a file</translation>
    </message>
    <message>
        <source>ファイルがないか、読むことが許されていません</source>
        <translation>The file does not exist or reading it is not allowed</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます</source>
        <translation>The file is too large</translation>
    </message>
    <message>
        <source>PNG または PBM の描画として読めません</source>
        <translation>It cannot be read as a PNG or PBM drawing</translation>
    </message>
    <message>
        <source>テキストを書き出す</source>
        <translation>Export text</translation>
    </message>
    <message>
        <source>Shift-JIS テキスト (*.txt)</source>
        <translation>Shift-JIS text (*.txt)</translation>
    </message>
    <message>
        <source>UTF-8 テキスト (*.txt)</source>
        <translation>UTF-8 text (*.txt)</translation>
    </message>
    <message>
        <source>テキストを画像で保存</source>
        <translation>Save text as picture</translation>
    </message>
    <message>
        <source>PNG 画像 (*.png)</source>
        <translation>PNG pictures (*.png)</translation>
    </message>
    <message>
        <source>背景画像を指定してください</source>
        <translation>Choose the background picture</translation>
    </message>
    <message>
        <source>背景画像「%1」を読み込めませんでした。</source>
        <translation>Could not load the background picture “%1”.</translation>
    </message>
    <message>
        <source>このシステムでは Shift-JIS を UTF-8 に変換できません</source>
        <translation>This system cannot convert Shift-JIS to UTF-8</translation>
    </message>
    <message>
        <source>描画が保存されていません。

閉じる前に保存しますか？</source>
        <translation>The drawing has not been saved.

Save it before closing?</translation>
    </message>
    <message>
        <source>きれいに変換</source>
        <translation>Fine conversion</translation>
    </message>
    <message>
        <source>行ごとに線をなぞる文字の並びを選びます（少し遅くなります）</source>
        <translation>Chooses, row by row, the characters that follow the lines best (a little slower)</translation>
    </message>
    <message>
        <source>フィラーなし</source>
        <translation>No fillers</translation>
    </message>
    <message>
        <source>すき間を空白だけで埋め、線のない所に点を置きません</source>
        <translation>Fills gaps with spaces only, so no dots appear where nothing is drawn</translation>
    </message>
    <message>
        <source>背景画像に線が見つかりませんでした</source>
        <translation>No lines were found in the background picture</translation>
    </message>
    <message>
        <source>背景画像の線を取り込めませんでした。</source>
        <translation>Could not take in the background picture&apos;s lines.</translation>
    </message>
    <message>
        <source>線を %1% で取り込みました（ボードに収まる大きさ）</source>
        <translation>Lines taken in at %1%, the size that fits the board</translation>
    </message>
    <message>
        <source>背景画像の線を取り込んでいます...</source>
        <translation>Taking in the lines of the background picture...</translation>
    </message>
    <message>
        <source>Unicode空白</source>
        <translation>Unicode spaces</translation>
    </message>
    <message>
        <source>すき間を Unicode の空白でぴったり埋めます（文字参照の使える板向け）</source>
        <translation>Fill gaps exactly with Unicode spaces (for boards that take character references)</translation>
    </message>
    <message>
        <source>テキストアートを開く</source>
        <translation>Open Text Art</translation>
    </message>
    <message>
        <source>テキストアート (*.txt *.mlt *.ast)</source>
        <translation>Text art (*.txt *.mlt *.ast)</translation>
    </message>
    <message>
        <source>「%1」をテキストアートとして開けませんでした。</source>
        <translation>Could not open &quot;%1&quot; as text art.</translation>
    </message>
    <message>
        <source>ページとして追加</source>
        <translation>Add as a Page</translation>
    </message>
    <message>
        <source>MLT ファイル (*.mlt)</source>
        <translation>MLT files (*.mlt)</translation>
    </message>
    <message>
        <source>AST ファイル (*.ast)</source>
        <translation>AST files (*.ast)</translation>
    </message>
    <message>
        <source>「%1」にページを追加できませんでした。</source>
        <translation>Could not add a page to &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>「%1」にページを追加しました</source>
        <translation>Added a page to &quot;%1&quot;</translation>
    </message>
    <message>
        <source>「%1」は MLT でも AST でもない名前です。

「%2」に追加しますか？</source>
        <translation>&quot;%1&quot; is not named as an MLT or AST file.

Add the page to &quot;%2&quot;?</translation>
    </message>
    <message>
        <source>%1 行 %2 文字目の「%3」</source>
        <translation>&quot;%3&quot; on line %1, character %2</translation>
    </message>
    <message>
        <source>フォントにない文字はテキストのまま残しました（絵にはなりません）: %1</source>
        <translation>Characters the font lacks are kept as text (they are not drawn): %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>黒いインクがありません（写真などの絵は「背景」から線を取り込めます）</source>
        <translation>it holds no black ink (the lines of a photo or other picture can be taken in from &quot;Background&quot;)</translation>
    </message>
    <message>
        <source>描画ファイルに残されたテキストは壊れているか、絵と合わないので使わず、絵から変換しました</source>
        <translation>The text kept in the drawing file is damaged or does not fit the drawing, so the drawing was converted from its ink instead</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>0,000 / 2,048 バイト&#x3000;00 / 24 行</source>
        <translation>0,000 / 2,048 bytes   00 / 24 lines</translation>
    </message>
    <message>
        <source>描画を開く(&amp;O)...</source>
        <translation>&amp;Open drawing...</translation>
    </message>
    <message>
        <source>描画を保存(&amp;S)...</source>
        <translation>&amp;Save drawing...</translation>
    </message>
    <message>
        <source>テキストを書き出す(&amp;E)...</source>
        <translation>&amp;Export text...</translation>
    </message>
    <message>
        <source>テキストを画像で保存(&amp;P)...</source>
        <translation>Save text as &amp;picture...</translation>
    </message>
    <message>
        <source>テキストアートを開く(&amp;T)...</source>
        <translation>Open &amp;Text Art...</translation>
    </message>
    <message>
        <source>ページとして追加(&amp;A)...</source>
        <translation>&amp;Add as a Page...</translation>
    </message>
    <message>
        <source>閉じる(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>テキストをクリップボードにコピー(&amp;Y)</source>
        <translation>Cop&amp;y text to clipboard</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>選択範囲を削除(&amp;D)</source>
        <translation>&amp;Delete selection</translation>
    </message>
    <message>
        <source>すべて選択(&amp;A)</source>
        <translation>Select &amp;all</translation>
    </message>
    <message>
        <source>選択を解除(&amp;N)</source>
        <translation>Select &amp;none</translation>
    </message>
    <message>
        <source>左に寄せる(&amp;L)</source>
        <translation>Move to the &amp;left edge</translation>
    </message>
    <message>
        <source>絵全体を左端まで動かし、各行の左の余白を減らします</source>
        <translation>Moves the whole drawing to the left edge, so every line has less margin</translation>
    </message>
    <message>
        <source>すべてクリア(&amp;K)</source>
        <translation>Clear all (&amp;K)</translation>
    </message>
    <message>
        <source>1段階の元に戻す(&amp;1)</source>
        <translation>Single-step undo (&amp;1)</translation>
    </message>
    <message>
        <source>元に戻すを1段階だけにし、もう一度押すとやり直します</source>
        <translation>Undo takes back one step only; pressed again, it redoes</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>拡大(&amp;I)</source>
        <translation>Zoom &amp;in</translation>
    </message>
    <message>
        <source>縮小(&amp;O)</source>
        <translation>Zoom &amp;out</translation>
    </message>
    <message>
        <source>等倍 (100%)(&amp;A)</source>
        <translation>&amp;Actual size (100%)</translation>
    </message>
    <message>
        <source>全体を表示(&amp;F)</source>
        <translation>&amp;Fit the whole canvas</translation>
    </message>
    <message>
        <source>行ラインを表示(&amp;R)</source>
        <translation>Show &amp;row lines</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ペン(&amp;P)</source>
        <translation>&amp;Pen</translation>
    </message>
    <message>
        <source>消しゴム(&amp;E)</source>
        <translation>&amp;Eraser</translation>
    </message>
    <message>
        <source>範囲選択(&amp;S)</source>
        <translation>&amp;Select</translation>
    </message>
    <message>
        <source>ツール(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>背景(&amp;B)</source>
        <translation>&amp;Background</translation>
    </message>
    <message>
        <source>キー操作の一覧(&amp;K)</source>
        <translation>&amp;Keyboard shortcuts</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>選択範囲をコピーしました（貼り付けは Ctrl+V）</source>
        <translation>The selection was copied (Ctrl+V pastes it)</translation>
    </message>
    <message>
        <source>絵はもう左端にあります</source>
        <translation>The drawing is at the left edge already</translation>
    </message>
    <message>
        <source>表示 %1%</source>
        <translation>Zoom %1%</translation>
    </message>
    <message>
        <source>矢印キー</source>
        <translation>Arrow keys</translation>
    </message>
    <message>
        <source>選択範囲を1ドット動かす（選択がなければ表示を動かす）</source>
        <translation>Move the selection a pixel (without a selection, scroll the view)</translation>
    </message>
    <message>
        <source>Shift+矢印キー</source>
        <translation>Shift+arrow keys</translation>
    </message>
    <message>
        <source>選択範囲を1文字分（横に11ドット、縦に1行）動かす</source>
        <translation>Move the selection a character cell (11 pixels across, a row down or up)</translation>
    </message>
    <message>
        <source>Ctrl+ホイール</source>
        <translation>Ctrl+wheel</translation>
    </message>
    <message>
        <source>ポインタの位置を中心に拡大・縮小</source>
        <translation>Zoom in or out about the pointer</translation>
    </message>
    <message>
        <source>Space+ドラッグ / 中ボタンでドラッグ</source>
        <translation>Space+drag / middle-button drag</translation>
    </message>
    <message>
        <source>表示を動かす</source>
        <translation>Move the view</translation>
    </message>
    <message>
        <source>Tab / Shift+Tab</source>
        <translation>Tab / Shift+Tab</translation>
    </message>
    <message>
        <source>ボタンやチェックボックスを順に選ぶ</source>
        <translation>Go through the buttons and boxes in turn</translation>
    </message>
    <message>
        <source>Alt+下線の文字</source>
        <translation>Alt+underlined letter</translation>
    </message>
    <message>
        <source>メニューを開く</source>
        <translation>Open a menu</translation>
    </message>
    <message>
        <source>キー操作の一覧</source>
        <translation>Keyboard Shortcuts</translation>
    </message>
    <message>
        <source>テキストをクリップボードにコピーしました</source>
        <translation>The text was copied to the clipboard</translation>
    </message>
    <message>
        <source>手ぶれ補正:</source>
        <translation>Stabilizer:</translation>
    </message>
    <message>
        <source>消しゴムの太さ(&amp;W)</source>
        <translation>Eraser &amp;Width</translation>
    </message>
    <message>
        <source>細い(&amp;1)</source>
        <translation>Small (&amp;1)</translation>
    </message>
    <message>
        <source>普通(&amp;2)</source>
        <translation>Medium (&amp;2)</translation>
    </message>
    <message>
        <source>太い(&amp;3)</source>
        <translation>Large (&amp;3)</translation>
    </message>
    <message>
        <source>細く(&amp;N)</source>
        <translation>&amp;Narrower</translation>
    </message>
    <message>
        <source>太く(&amp;W)</source>
        <translation>&amp;Wider</translation>
    </message>
    <message>
        <source>消しゴムの太さ: %1 ピクセル</source>
        <translation>Eraser width: %1 pixels</translation>
    </message>
    <message>
        <source>線を少し遅れて追わせ、手のふるえをならします（Shift を押しながら描くと直線）</source>
        <translation>The pen follows a little behind the mouse, evening out a shaky hand (hold Shift while drawing for a straight line)</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>弱</source>
        <translation>Weak</translation>
    </message>
    <message>
        <source>強</source>
        <translation>Strong</translation>
    </message>
    <message>
        <source>文字</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>クリックした所に文字を打ちます (%1)</source>
        <translation>Type words where you click (%1)</translation>
    </message>
    <message>
        <source>文字(&amp;T)</source>
        <translation>&amp;Text</translation>
    </message>
    <message>
        <source>文字: Enter / Backspace / 矢印キー / Esc</source>
        <translation>Text: Enter / Backspace / arrow keys / Esc</translation>
    </message>
    <message>
        <source>次の行へ / 前の文字を消す / カーソルを動かす / 打ち終える</source>
        <translation>Next row / erase the character before / move the caret / stop typing</translation>
    </message>
</context>
<context>
    <name>fudeline::PartsPalette</name>
    <message>
        <source>部品</source>
        <translation>Parts</translation>
    </message>
    <message>
        <source>部品集を開く(&amp;O)...</source>
        <translation>&amp;Open Library...</translation>
    </message>
    <message>
        <source>MLT や AST のファイルのページを部品として並べます</source>
        <translation>Lists the pages of MLT and AST files as parts</translation>
    </message>
    <message>
        <source>すべて閉じる</source>
        <translation>Close All</translation>
    </message>
    <message>
        <source>名前か1行目で探す</source>
        <translation>Search by name or first line</translation>
    </message>
    <message>
        <source>部品を選んでから、キャンバスの置きたい所をクリックします</source>
        <translation>Choose a part, then click the canvas where it goes</translation>
    </message>
    <message>
        <source>部品集がありません。「部品集を開く」で MLT や AST のファイルを開きます</source>
        <translation>No parts libraries: “Open Library” opens MLT and AST files</translation>
    </message>
    <message>
        <source>%1 件のうち %2 件を表示しています。探す言葉で絞り込めます</source>
        <translation>Showing %2 of %1 parts; search to narrow them</translation>
    </message>
    <message>
        <source>%1 件</source>
        <translation>%1 parts</translation>
    </message>
</context>
<context>
    <name>fudeline::PenIndicator</name>
    <message>
        <source>ペンと消しゴムを切り替えます (P / E)</source>
        <translation>Switches between pen and eraser (P / E)</translation>
    </message>
</context>
<context>
    <name>fudeline::PostStatus</name>
    <message>
        <source>掲示板の上限</source>
        <translation>Board limits</translation>
    </message>
    <message>
        <source>0 にした項目は上限なしになります。</source>
        <translation>0 means no limit.</translation>
    </message>
    <message>
        <source>上限なし</source>
        <translation>No limit</translation>
    </message>
    <message>
        <source>バイト数:</source>
        <translation>Bytes:</translation>
    </message>
    <message>
        <source>行数:</source>
        <translation>Lines:</translation>
    </message>
    <message>
        <source>1行のバイト数:</source>
        <translation>Bytes per line:</translation>
    </message>
    <message numerus="yes">
        <source>%nバイト</source>
        <translation>
            <numerusform>%n byte</numerusform>
            <numerusform>%n bytes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n行</source>
        <translation>
            <numerusform>%n line</numerusform>
            <numerusform>%n lines</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>1行%nバイト</source>
        <translation>
            <numerusform>%n byte a line</numerusform>
            <numerusform>%n bytes a line</numerusform>
        </translation>
    </message>
    <message>
        <source>カスタム (%1)</source>
        <translation>Custom (%1)</translation>
    </message>
    <message>
        <source>・</source>
        <translation>, </translation>
    </message>
    <message>
        <source>カスタム...</source>
        <translation>Custom...</translation>
    </message>
    <message>
        <source>%1 バイト&#x3000;%2 行</source>
        <translation>%1 bytes   %2 lines</translation>
    </message>
    <message>
        <source>バイト数</source>
        <translation>bytes</translation>
    </message>
    <message>
        <source>行数</source>
        <translation>lines</translation>
    </message>
    <message>
        <source>1行の長さ (最長 %1 バイト)</source>
        <translation>line length (longest %1 bytes)</translation>
    </message>
    <message>
        <source>&#x3000;上限を超えています: %1</source>
        <translation>   Over the limit: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>&#x3000;左に寄せると %1 バイト</source>
        <translation>   %1 bytes at the left edge</translation>
    </message>
</context>
</TS>
