// The core's reasons in Japanese, as the window words them (app/core_reasons.cpp):
// by the error's kind, %1 ... its arguments. A reason of another kind, or any
// reason on the English page, stays as the core words it.
"use strict";

const FudelineReasons = (function () {
  const japanese = {
    LineTooLong: "%1 行目が %2 バイトより長くなっています",
    TooManyLines: "テキストは %1 行あります。キャンバスに入るのは %2 行までです",
    LineTooWide: "%1 行目の幅は %2 ピクセルです。キャンバスに入るのは %3 ピクセルまでです（この行の %4 文字まで入ります）",
    NotInFont: "%1 行目の %2 文字目: %3 は Mona フォントにありません",
    NotUtf8: "%1 行目の %2 文字目: バイト %3 は UTF-8 ではありません",
    NotShiftJis: "%1 行目の %2 文字目: %3 は Shift-JIS ではありません",
    PageFileNotShiftJis: "%1 行目に Shift-JIS でないところ（%2）があります",
    NotAstFile: "AST ファイルではありません。最初の行が「[AA][名前]」ではありません",
    NeitherPageFormat: "MLT ファイルでも AST ファイルでもありません（名前が .mlt でなく [SPLIT] の行もなく、最初に [AA][名前] の行もありません）",
    EmptyPage: "テキストが空なので、ページとして追加するものがありません",
    PageNameLineBreak: "ページの名前に改行は入れられません",
    SplitLineInPage: "テキストに「[SPLIT]」の行があり、ページが分かれてしまいます",
    AstHeadInPage: "テキストに「[AA][...]」の行があり、新しいページが始まってしまいます",
    AppendToUnknownFormat: "空のファイルで名前が .mlt でも .ast でもないので、ページを追加すると MLT とも AST とも読めなくなります",
    PageNameControl: "ページの名前に制御文字は入れられません",
    NoText: "テキストがありません（空のファイルです）",
    NoPages: "ページがありません",
    NoSuchPage: "%1 ページ目はありません。ファイルには %2 ページあります",
    PageNameNotShiftJis: "ページの名前を Shift-JIS で書けません",
    LargerThanMegabytes: "%1 MB より大きいファイルです",
    NotAPicture: "対応している形式（PNG・JPEG・WebP・GIF・BMP・PNM）の画像ではありません",
    PictureTooLarge: "画像が大きすぎます（%1 x %2 ピクセル）",
  };
  return {
    text(module, english, result) {
      if (english || result.kind === undefined) return result.error;
      for (const [name, text] of Object.entries(japanese)) {
        if (module.ErrorKind[name] && module.ErrorKind[name].value === result.kind) {
          return text.replace(/%([1-9])/g, (m, n) => result.args[n - 1] ?? m);
        }
      }
      return result.error;
    },
  };
})();
