#include "engine/document.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine_errors.h"
#include "export/cells_format.h"
#include "io/io_errors.h"
#include "io/library_pixels.h"
#include "io/png_text.h"
#include "io/png_writer.h"
#include "pixels/geometry.h"
#include "render/render_errors.h"
#include "render/text_art_picture.h"
#include "test_catalogs.h"
#include "test_engine.h"

namespace fudeline {
namespace {

Engine& Loaded() { return testing::LoadedEngine(); }

// Text art whose rows the decoders would spell otherwise (kanji, a gap of
// spaces, a half-width start): opened, it is kept as written.
constexpr std::string_view kArt =
    "\xE3\x80\x80 \xE3\x80\x80 \xEF\xBC\x8F\xEF\xBF\xA3\r\n"                         // 　 　 ／￣
    " |\xE7\xAD\x86\xE3\x81\xA7\xE6\x8F\x8F\xE3\x81\x84\xE3\x81\x9F\r\n"            //  |筆で描いた
    "\r\n"
    "\xEF\xBE\x86\xEF\xBD\xAC\xEF\xBD\xB0 \xE2\x97\x8F";                             // ﾆｬｰ ●

// `text` from its first line that is not empty on: a drawing's empty top
// rows are not written.
std::string FromFirstLine(std::string text) {
    while (text.rfind("\r\n", 0) == 0) text.erase(0, 2);
    return text;
}

// Strokes over three rows, with gaps between marks the spacing spells.
Image Strokes() {
    Image ink(kCanvasWidth, kInkHeight);
    for (int x = 20; x < 140; ++x) ink.SetPixel(x, 8, kBlack);
    for (int y = 20; y < 44; ++y) ink.SetPixel(200, y, kBlack);
    for (int y = 20; y < 44; ++y) ink.SetPixel(263, y, kBlack);
    return ink;
}

// A fresh document per test with the choices the window starts with; the
// painter's blank gaps, shared through the engine, are put back.
class DocumentTest : public ::testing::Test {
  protected:
    void TearDown() override { document_.SetDecoder({}); }

    std::string Text(TextFormat format = TextFormat::ShiftJis) {
        Result<std::string> text = document_.Text(format);
        EXPECT_TRUE(text) << text.error().Message();
        return text.value_or("");
    }
    void OpenArt(std::string_view art = kArt) {
        ASSERT_TRUE(document_.OpenText(art, TextEncoding::Utf8));
    }
    std::string InkPng() {
        document_.Settle();
        return EncodeInkPng(document_.state().inkLayer()).value();
    }
    std::string Saved() { return document_.DrawingFile(InkPng()).value(); }

    Document document_{Loaded()};
};

// --- The text as the choices write it.
TEST_F(DocumentTest, ChoicesWriteTheTextAsEveryFaceCopiesIt) {
    const struct {
        const char* what;
        DecoderOptions decoder;
        std::string board;
        bool br;
        TextFormat format;
        bool hasBr, hasReference, hasUnicodeSpace;
    } cases[] = {
        {"row matcher", {false, Spacing::Fillers}, "2ch", false, TextFormat::Utf8, false, false, false},
        {"<BR> chosen", {false, Spacing::Fillers}, "2ch", true, TextFormat::Utf8, true, false, false},
        {"<BR> in Shift-JIS", {true, Spacing::Fillers}, "", true, TextFormat::ShiftJis, true, false, false},
        // A board whose software is known takes Unicode spaces as references,
        // in UTF-8 too; custom limits name no software.
        {"Unicode on 2ch", {true, Spacing::Unicode}, "2ch", false, TextFormat::Utf8, false, true, false},
        {"Unicode on custom limits", {true, Spacing::Unicode}, "3000:30", false, TextFormat::Utf8, false, false, true},
        {"Unicode in Shift-JIS", {false, Spacing::Unicode}, "3000", false, TextFormat::ShiftJis, false, true, false},
        {"cells know no <BR>", {false, Spacing::Fillers}, "2ch", true, TextFormat::Cells, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        document_.SetDecoder(c.decoder);
        document_.SetBoard(c.board);
        document_.SetBr(c.br);
        document_.state().ReplaceInk(Strokes());
        const std::string text = Text(c.format);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.find("<BR>\r\n") != std::string::npos, c.hasBr);
        EXPECT_EQ(text.find("&#") != std::string::npos, c.hasReference);
        // U+2002-U+200A in UTF-8.
        EXPECT_EQ(text.find("\xE2\x80") != std::string::npos, c.hasUnicodeSpace);
        if (c.format == TextFormat::Cells) {
            EXPECT_EQ(text, FormatCells(document_.state().rows()));
        }
    }
}

TEST_F(DocumentTest, OpenedTextCopiesBackAsWrittenInEitherDecoder) {
    for (const bool fine : {false, true}) {
        SCOPED_TRACE(fine ? "fine" : "row matcher");
        document_.SetDecoder({fine, Spacing::Fillers});
        OpenArt();
        EXPECT_EQ(Text(TextFormat::Utf8), kArt);
    }
}

// The picture shows the text as a board shows it: no tags, references drawn
// as their characters, whatever board and <BR> are chosen.
TEST_F(DocumentTest, TextPictureIsTheTextAsABoardShowsIt) {
    document_.SetDecoder({true, Spacing::Unicode});
    document_.state().ReplaceInk(Strokes());
    document_.SetBoard("3000");
    const Image plain = document_.TextPicture().value();
    EXPECT_GT(plain.height(), kRowHeight);
    for (const auto& [board, br] : {std::pair{"2ch", true}, std::pair{"2ch", false}, std::pair{"3000", true}}) {
        SCOPED_TRACE(std::string(board) + (br ? " with <BR>" : ""));
        document_.SetBoard(board);
        document_.SetBr(br);
        EXPECT_EQ(document_.TextPicture().value(), plain);
    }
}

// --- Page files: the page holds the art without tags; the bytes a face
// downloads and the file a face writes are one.
TEST_F(DocumentTest, PagesAreAddedByTheOneRuleToBytesAndFiles) {
    OpenArt("A\r\nB");
    document_.SetBr(true);
    const std::string page = "A\r\nB";
    const auto dir = testing::MakeTempDir("document-pages");
    const struct {
        const char* what;
        std::optional<std::string> existing;
        std::string name;
        std::string pageName;
        std::string expected;  // the whole file, or empty when refused
        const ErrorKind* refusal;
    } cases[] = {
        {"new MLT", std::nullopt, "new.mlt", "", page, nullptr},
        {"MLT ending in a line break", "X\r\n", "old.mlt", "", "X\r\n[SPLIT]\r\n" + page, nullptr},
        {"MLT without one", "X", "plain.mlt", "", "X\r\n[SPLIT]\r\n" + page, nullptr},
        {"AST named", "[AA][x]\r\nX\r\n", "old.ast", "\xE9\xA1\x94",  // 顔
         "[AA][x]\r\nX\r\n[AA][\x8A\xE7]\r\n" + page, nullptr},
        {"name without Shift-JIS", "[AA][x]\r\nX", "old.ast", "\xF0\x9F\x98\x80", "",
         &kinds::PageNameNotShiftJis},
        {"empty file of no format", "", "empty.txt", "", "", &kinds::AppendToUnknownFormat},
        {"new file of no format", std::nullopt, "new.txt", "", "", &kinds::NewPageFileName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = (dir / c.name).string();
        const std::optional<std::string_view> existing =
            c.existing ? std::optional<std::string_view>(*c.existing) : std::nullopt;
        const Result<std::string> bytes = document_.PageFileWithText(existing, path, c.pageName);
        if (c.expected.empty()) {
            ASSERT_FALSE(bytes);
            EXPECT_EQ(bytes.error().kind, c.refusal);
            EXPECT_NE(bytes.error().path.find(c.name), std::string::npos);
            continue;
        }
        ASSERT_TRUE(bytes) << bytes.error().Message();
        EXPECT_EQ(*bytes, c.expected);
        // The window and the command line write the file the page downloads.
        if (c.existing) testing::WriteFile(path, *c.existing);
        Result<StagedPage> staged = document_.StagePage(path, c.pageName);
        ASSERT_TRUE(staged) << staged.error().Message();
        ASSERT_TRUE(staged->Commit());
        std::ifstream written(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), c.expected);
    }
    std::filesystem::remove_all(dir);
}

// --- Drawing files keep the rows the user opened.
TEST_F(DocumentTest, SavedOpenedTextOpensAgainAsWrittenByteForByte) {
    for (const DecoderOptions decoder : {DecoderOptions{false, Spacing::Fillers},
                                         DecoderOptions{true, Spacing::Spaces}}) {
        SCOPED_TRACE(decoder.fine ? "fine" : "row matcher");
        document_.SetDecoder(decoder);
        OpenArt();
        // A stroke in a row of its own: matched, not kept, yet the same again.
        document_.state().BeginStroke({300, 480});
        document_.state().ExtendStroke({360, 490});
        document_.state().EndStroke();
        document_.Settle();
        const std::string text = Text(), cells = Text(TextFormat::Cells);
        const std::string file = Saved();
        EXPECT_TRUE(PngText(file, kKeptRowsKey));

        Document reopened(Loaded());
        reopened.SetDecoder(decoder);
        const Result<KeptRowsFound> found = reopened.OpenDrawing(file, LibraryPixels());
        ASSERT_TRUE(found) << found.error().Message();
        EXPECT_EQ(*found, KeptRowsFound::Taken);
        EXPECT_EQ(reopened.Text(TextFormat::ShiftJis).value(), text);
        EXPECT_EQ(reopened.Text(TextFormat::Cells).value(), cells);
        EXPECT_EQ(reopened.state().openedRows(), document_.state().openedRows());
        // Opening is one undoable step.
        reopened.state().ExchangeWithUndo();
        EXPECT_EQ(reopened.Text(TextFormat::Cells).value(), "");
    }
}

// The empty lines a piece begins with are its text: they come back from the
// export, after a save and reopen and after undo and redo, whatever line
// breaks it was written with; a drawing's own empty top rows stay dropped.
TEST_F(DocumentTest, OpenedTextKeepsTheEmptyLinesItBeginsWith) {
    const struct {
        const char* what;
        std::string_view text;
        std::string_view back;
    } cases[] = {
        {"none", "ab\ncd", "ab\r\ncd"},
        {"none, final break", "ab\ncd\n", "ab\r\ncd"},
        {"one", "\nab", "\r\nab"},
        {"one, final CRLF", "\r\nab\r\n", "\r\nab"},
        {"three", "\n\n\nab\ncd", "\r\n\r\n\r\nab\r\ncd"},
        {"three, CRLF", "\r\n\r\n\r\nab\r\ncd\r\n", "\r\n\r\n\r\nab\r\ncd"},
        {"three, one of spaces", "\n\xE3\x80\x80\n\nab", "\r\n\r\n\r\nab"},
        {"three, empty lines inside", "\n\n\nab\n\ncd\n\n", "\r\n\r\n\r\nab\r\n\r\ncd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Document document(Loaded());
        document.SetUndoMode(UndoMode::Steps);
        ASSERT_TRUE(document.ImportLines(Strokes()));
        const std::string drawn = document.Text(TextFormat::Utf8).value();
        ASSERT_TRUE(document.OpenText(c.text, TextEncoding::Utf8));
        EXPECT_EQ(document.Text(TextFormat::Utf8).value(), c.back);
        document.Settle();
        const std::string file =
            document.DrawingFile(EncodeInkPng(document.state().inkLayer()).value()).value();
        Document reopened(Loaded());
        ASSERT_EQ(reopened.OpenDrawing(file, LibraryPixels()).value(), KeptRowsFound::Taken);
        EXPECT_EQ(reopened.Text(TextFormat::Utf8).value(), c.back);

        ASSERT_TRUE(document.Undo());
        EXPECT_EQ(document.Text(TextFormat::Utf8).value(), drawn);
        ASSERT_TRUE(document.Redo());
        EXPECT_EQ(document.Text(TextFormat::Utf8).value(), c.back);
        document.state().ClearCanvas();
        ASSERT_TRUE(document.ImportLines(Strokes()));
        EXPECT_EQ(document.Text(TextFormat::Utf8).value(), drawn);
    }
}

// Strokes below empty rows start the text at their first row, as always.
TEST_F(DocumentTest, ADrawingsEmptyTopRowsAreNotWritten) {
    Image low(kCanvasWidth, kInkHeight);
    for (int x = 20; x < 140; ++x) low.SetPixel(x, 3 * kInkRowHeight + 8, kBlack);
    ASSERT_TRUE(document_.ImportLines(low));
    const std::string text = Text(TextFormat::Utf8);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find("\r\n"), std::string::npos) << text;
}

// A drawing with nothing opened is saved as the plain ink PNG it always was.
TEST_F(DocumentTest, DrawingsWithoutOpenedTextSaveThePlainInk) {
    document_.state().ReplaceInk(Strokes());
    const std::string png = InkPng();
    EXPECT_EQ(document_.DrawingFile(png).value(), png);
}

// Kept rows the file cannot vouch for are passed over: the ink opens with
// its rows matched anew, and the face is told why.
TEST_F(DocumentTest, KeptRowsThatDoNotFitTheirInkArePassedOver) {
    OpenArt();
    const std::string saved = Saved();
    const std::string keptText = PngText(saved, kKeptRowsKey).value();
    document_.state().ReplaceInk(Strokes());
    const std::string otherInk = InkPng();
    const auto withText = [](const std::string& png, const std::string& text) {
        return WithPngText(png, kKeptRowsKey, text).value();
    };
    std::string flipped = saved;
    const std::size_t inText = flipped.find("opened ");
    flipped[inText + 8] ^= 1;  // a mark changed under an unchanged CRC
    const struct {
        const char* what;
        std::string file;
        KeptRowsFound found;
    } cases[] = {
        {"chunk CRC broken", flipped, KeptRowsFound::Damaged},
        {"not our format", withText(InkPng(), "hello"), KeptRowsFound::Damaged},
        {"rows without their marks",
         withText(InkPng(), "opened " + std::string(29, '0') + "\nink 00000000\n3\t0:16:8140\n"),
         KeptRowsFound::Damaged},
        {"drawn over elsewhere", withText(otherInk, keptText), KeptRowsFound::OtherInk},
        {"a plain PNG", otherInk, KeptRowsFound::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Document opened(Loaded());
        const Result<KeptRowsFound> found = opened.OpenDrawing(c.file, LibraryPixels());
        ASSERT_TRUE(found) << found.error().Message();
        EXPECT_EQ(*found, c.found);
        // As the ink alone converts.
        Document inkOnly(Loaded());
        inkOnly.state().LayInk(opened.state().inkLayer());
        EXPECT_EQ(opened.state().rows(), inkOnly.state().rows());
    }
}

TEST_F(DocumentTest, DrawingFilesThatCannotOpenLeaveTheDrawing) {
    document_.state().ReplaceInk(Strokes());
    const std::string cells = Text(TextFormat::Cells);
    const struct {
        const char* what;
        std::string bytes;
        Document::Blank blank;
        const ErrorKind* refusal = nullptr;  // nothing: opens
    } cases[] = {
        {"no ink", EncodeInkPng(Image(40, 20)).value(), Document::Blank::Refused, &kinds::NoInk},
        {"no ink, converted anyway", "P1\n2 1\n0 0\n", Document::Blank::Opened, nullptr},
        {"not a drawing", "GIF89a", Document::Blank::Refused, &kinds::NotInkImage},
        {"a PBM", "P1\n2 1\n1 1\n", Document::Blank::Refused, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result<KeptRowsFound> found =
            document_.OpenDrawing(c.bytes, LibraryPixels(), c.blank);
        if (!c.refusal) {
            ASSERT_TRUE(found) << found.error().Message();
            EXPECT_EQ(*found, KeptRowsFound::None);
            document_.state().ExchangeWithUndo();
        } else {
            ASSERT_FALSE(found);
            EXPECT_EQ(found.error().kind, c.refusal);
        }
        EXPECT_EQ(Text(TextFormat::Cells), cells);
    }
}

// --- Lines taken from a picture, and a stroke given up.
TEST_F(DocumentTest, ImportedLinesAreOneStepAndNoLinesChangeNothing) {
    EXPECT_FALSE(document_.ImportLines(Image(kCanvasWidth, kInkHeight)));
    EXPECT_EQ(Text(TextFormat::Cells), "");
    ASSERT_TRUE(document_.ImportLines(Strokes()));
    EXPECT_NE(Text(TextFormat::Cells), "");
    document_.state().ExchangeWithUndo();
    EXPECT_EQ(Text(TextFormat::Cells), "");
}

TEST_F(DocumentTest, ACancelledStrokeIsGoneForUndoToo) {
    OpenArt();
    const std::string text = Text();
    document_.state().BeginStroke({100, 60});
    document_.state().ExtendStroke({300, 70});
    EXPECT_TRUE(document_.CancelStroke());
    EXPECT_EQ(Text(), text);
    document_.state().ExchangeWithUndo();
    EXPECT_EQ(Text(), text);
}

// --- Editing: "左に寄せる" and the selection.

// The counter's figure for "左に寄せる" is the text AlignLeft leaves, to the
// byte: for strokes, for opened text with strokes over it, in each decoder
// and spacing.
TEST_F(DocumentTest, TheAlignedLeftCountIsTheTextAlignLeftLeaves) {
    struct Case {
        const char* name;
        DecoderOptions decoder;
        bool art;
    };
    const BoardLimits limits = kDefaultBoard.limits;
    for (const Case& c : {Case{"strokes", {}, false}, Case{"strokes, fine", {true, Spacing::Fillers}, false},
                          Case{"opened text and strokes", {}, true},
                          Case{"opened text and strokes, fine, Unicode spaces", {true, Spacing::Unicode}, true}}) {
        SCOPED_TRACE(c.name);
        Document document(Loaded());
        document.SetDecoder(c.decoder);
        document.SetUndoMode(UndoMode::Steps);
        if (c.art) {
            // Every line three full-width spaces in.
            const std::string indent = "\xE3\x80\x80\xE3\x80\x80\xE3\x80\x80";
            std::string indented = indent;
            for (const char c : kArt) indented += c == '\n' ? "\n" + indent : std::string(1, c);
            ASSERT_TRUE(document.OpenText(indented, TextEncoding::Utf8));
        }
        for (int i = 0; i < 3; ++i) {
            document.state().BeginStroke({250 + 40 * i, 100 + 30 * i});
            document.state().ExtendStroke({300 + 40 * i, 160 + 30 * i});
            document.state().ExtendStroke({420, 130});
            document.state().EndStroke();
        }
        const std::optional<PostCount> predicted = document.CountPostAlignedLeft(limits);
        ASSERT_TRUE(predicted);
        const PostCount before = document.CountPost(limits);
        EXPECT_LT(predicted->bytes, before.bytes);
        ASSERT_TRUE(document.AlignLeft());
        EXPECT_EQ(document.CountPost(limits).bytes, predicted->bytes);
        EXPECT_EQ(document.CountPost(limits).lines, predicted->lines);
        EXPECT_FALSE(document.CountPostAlignedLeft(limits));
        ASSERT_TRUE(document.Undo());
        EXPECT_EQ(document.CountPost(limits).bytes, before.bytes);
        document.SetDecoder({});
    }
}

TEST_F(DocumentTest, CutAndPasteMoveWhatTheSelectionHolds) {
    document_.SetUndoMode(UndoMode::Steps);
    ASSERT_TRUE(document_.ImportLines(Strokes()));
    const std::string drawn = Text(TextFormat::Cells);
    EXPECT_FALSE(document_.CutSelection());  // nothing selected
    EXPECT_FALSE(document_.Paste());         // nothing copied
    document_.Select(InkRect{-10, -10, 2000, 2000});
    EXPECT_EQ(document_.selection(), kWholeInk);  // kept within the canvas
    ASSERT_TRUE(document_.CutSelection());
    EXPECT_EQ(Text(TextFormat::Cells), "");
    ASSERT_TRUE(document_.Paste());
    EXPECT_EQ(Text(TextFormat::Cells), drawn);
    // The pasted drawing floats, selected: arrows move it as one.
    ASSERT_TRUE(document_.MoveSelection(0, 32));
    ASSERT_TRUE(document_.MoveSelection(0, -32));
    EXPECT_EQ(Text(TextFormat::Cells), drawn);
    for (int step = 0; step < 3; ++step) ASSERT_TRUE(document_.Undo());
    EXPECT_EQ(Text(TextFormat::Cells), "");
    document_.Select(std::nullopt);
    EXPECT_FALSE(document_.MoveSelection(1, 0));
    EXPECT_FALSE(document_.DeleteSelection());
}

// A part lands where it is clicked as the same text opened there would lie,
// floating and selected, one step; what cannot lie on the canvas is refused.
TEST_F(DocumentTest, APartLiesWhereItsTextOpenedThereWould) {
    document_.SetUndoMode(UndoMode::Steps);
    // The text the same art gives opened a number of rows down and
    // full-width spaces across, from its first line on.
    auto openedAt = [](int rows, int spaces) {
        std::string shifted(static_cast<std::size_t>(rows), '\n');
        std::string_view rest = kArt;
        while (true) {
            const std::size_t end = rest.find("\r\n");
            const std::string_view line = rest.substr(0, end);
            for (int i = 0; i < spaces && !line.empty(); ++i) shifted += "\xE3\x80\x80";  // 　
            shifted += line;
            if (end == std::string_view::npos) break;
            shifted += "\r\n";
            rest.remove_prefix(end + 2);
        }
        Document opened(Loaded());
        EXPECT_TRUE(opened.OpenText(shifted, TextEncoding::Utf8));
        return FromFirstLine(opened.Text(TextFormat::Utf8).value_or(""));
    };
    const struct {
        PenPoint at;
        int rows, spaces;
    } kPlaces[] = {
        {{0, 0}, 0, 0},
        {{22, 36}, 2, 2},    // canvas rows of 18: the third row
        {{33, 53}, 2, 3},    // anywhere in the row
        {{0, 521}, 25, 0},   // the bottom: moved up until it fits
    };
    for (const auto& place : kPlaces) {
        SCOPED_TRACE(::testing::Message() << place.at.x << ", " << place.at.y);
        document_.state().ClearCanvas();
        ASSERT_TRUE(document_.PlacePart(kArt, TextEncoding::Utf8, place.at));
        EXPECT_EQ(Text(TextFormat::Utf8), openedAt(place.rows, place.spaces));
        ASSERT_TRUE(document_.selection().has_value());
        // Floating: moved a row down it is the text a row lower.
        ASSERT_TRUE(document_.MoveSelection(0, kInkRowHeight));
        if (place.rows < 25) {
            EXPECT_EQ(Text(TextFormat::Utf8), openedAt(place.rows + 1, place.spaces));
        }
        ASSERT_TRUE(document_.Undo());
        ASSERT_TRUE(document_.Undo());
        EXPECT_EQ(Text(TextFormat::Cells), "") << "one step";
        document_.Select(std::nullopt);
    }
    // Clicked a few pixels from where spaces reach, it stands there: no
    // filler's dot before it. At the right edge it is moved left until it fits.
    const struct {
        int x, left;
    } kNudged[] = {{25, 27}, {21, 22}, {799, kCanvasWidth - 19}};
    for (const auto& nudged : kNudged) {
        ASSERT_TRUE(document_.PlacePart("\xEF\xBC\x8F", TextEncoding::Utf8, {nudged.x, 0}));  // ／
        EXPECT_EQ(document_.selection()->left, nudged.left) << nudged.x;
        EXPECT_LE(document_.selection()->right(), kCanvasWidth);
        ASSERT_TRUE(document_.Undo());
    }

    std::string tallLines;
    for (int i = 0; i <= kRowCount; ++i) tallLines += "|\r\n";
    std::string wide;
    for (int i = 0; i < 60; ++i) wide += "\xE2\x96\xA0";  // ■, wider than the canvas
    const struct {
        std::string text;
        const ErrorKind* kind;
    } kRefused[] = {{tallLines, &kinds::TooManyLines}, {wide, &kinds::LineTooWide}, {"\r\n\r\n", &kinds::NoText}};
    const std::string before = Text(TextFormat::Cells);
    for (const auto& refused : kRefused) {
        const Status placed = document_.PlacePart(refused.text, TextEncoding::Utf8, {0, 0});
        ASSERT_FALSE(placed);
        EXPECT_TRUE(placed.error().Is(*refused.kind)) << placed.error().Message();
        EXPECT_EQ(Text(TextFormat::Cells), before);
    }
}

// Words in a frame are laid as the framed text would be; no words, no frame.
TEST_F(DocumentTest, FramedWordsAreLaidAsTheirFramedText) {
    const std::string words = "\xE3\x81\xB5\xE3\x81\x8D\xE3\x81\xA0\xE3\x81\x97\nok";  // ふきだし
    for (const FrameStyle style : {FrameStyle::Rounded, FrameStyle::Box}) {
        document_.state().ClearCanvas();
        ASSERT_TRUE(document_.PlaceFramedWords(words, style, {0, 0}));
        Document framed(Loaded());
        ASSERT_TRUE(framed.OpenText(FramedText(words, style, Loaded().face()).value(), TextEncoding::Utf8));
        EXPECT_EQ(Text(TextFormat::Utf8), framed.Text(TextFormat::Utf8).value());
    }
    const Status none = document_.PlaceFramedWords(" \n", FrameStyle::Box, {0, 0});
    ASSERT_FALSE(none);
    EXPECT_TRUE(none.error().Is(kinds::NoText));
}

// Steadied or a Shift line, a cancelled stroke leaves nothing: not its lag,
// not its line (which is never inked).
TEST_F(DocumentTest, ACancelledSteadiedStrokeOrShiftLineLeavesNothing) {
    OpenArt();
    const std::string text = Text();
    for (const Stabilizer stabilizer : {Stabilizer::Weak, Stabilizer::Strong}) {
        for (const bool straight : {false, true}) {
            document_.SetStabilizer(stabilizer);
            EXPECT_EQ(document_.stabilizer(), stabilizer);
            document_.state().BeginStroke({100, 60}, straight);
            for (int x = 110; x <= 300; x += 10) {
                document_.state().ExtendStroke({x, 60 + x / 20}, straight);
            }
            EXPECT_TRUE(document_.CancelStroke());
            EXPECT_FALSE(document_.state().strokeActive());
            EXPECT_EQ(Text(), text) << StabilizerName(stabilizer) << (straight ? ", Shift" : "");
            document_.state().ExchangeWithUndo();
            EXPECT_EQ(Text(), text);
            document_.state().ExchangeWithUndo();
        }
    }
}

// --- The kept rows' own format.
TEST(KeptRowsFormat, ReadsBackWhatItWritesAndRefusesTheRest) {
    KeptRows kept;
    kept.opened[2] = kept.opened[5] = true;
    kept.rows[2] = {TextCell{0, "\x81\x40", 11}};
    kept.inkCheck = 0x0123abcd;
    const std::string text = FormatKeptRows(kept);
    const Result<KeptRows> back = ParseKeptRows(text);
    ASSERT_TRUE(back) << back.error().Message();
    EXPECT_EQ(back->rows, kept.rows);
    EXPECT_EQ(back->opened, kept.opened);
    EXPECT_EQ(back->inkCheck, kept.inkCheck);
    EXPECT_EQ(back->topLines, 0);
    // The empty lines opened text began with are kept when there are any;
    // files written before (with no such line) read as none.
    kept.topLines = 3;
    const Result<KeptRows> top = ParseKeptRows(FormatKeptRows(kept));
    ASSERT_TRUE(top) << top.error().Message();
    EXPECT_EQ(top->topLines, 3);
    EXPECT_EQ(top->rows, kept.rows);

    const std::string marks = "opened " + FormatOpenedMarks(kept.opened) + "\n";
    for (const std::string& bad : {
             std::string(""),
             std::string("opened 0101\nink 0123abcd\n"),
             marks,
             marks + "ink 123abcd\n",
             marks + "ink 0123abcz\n",
             marks + "ink 0123abcd\n7\t0:16:8140\n",
             marks + "ink 0123abcd\n2\t0:16:8\n",
             marks + "ink 0123abcd\ntop 0\n",
             marks + "ink 0123abcd\ntop -1\n",
             marks + "ink 0123abcd\ntop 29\n",
             marks + "ink 0123abcd\ntop 3x\n",
             marks + "ink 0123abcd\ntop \n",
         }) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseKeptRows(bad));
    }
}

}  // namespace
}  // namespace fudeline
