#include "engine/document.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <utility>

#include "engine/engine_errors.h"
#include "export/board_references.h"
#include "export/cells_format.h"
#include "glyphs/cp932.h"
#include "io/ink_image.h"
#include "io/png_text.h"
#include "render/text_art_picture.h"
#include "session/selection.h"
#include "text/text_art_lines.h"

namespace fudeline {
namespace {

// What a drawing file keeps of the ink layer: the ink reader's limits.
constexpr int kFileInkWidth = kInkClipRight + 1;

constexpr std::string_view kOpenedField = "opened ";
constexpr std::string_view kInkField = "ink ";
constexpr std::string_view kTopLinesField = "top ";

bool AnyOpened(const OpenedRows& opened) {
    for (const bool row : opened) {
        if (row) return true;
    }
    return false;
}

// The next line of `text` (without its "\n"), moving past it.
std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

Error KeptRowsError(const ErrorKind& kind) {
    return Error{"", kind};
}

}  // namespace

std::string FormatOpenedMarks(const OpenedRows& opened) {
    std::string marks;
    for (const bool row : opened) marks += row ? '1' : '0';
    return marks;
}

std::optional<OpenedRows> ParseOpenedMarks(std::string_view marks) {
    if (marks.size() != static_cast<std::size_t>(kRowCount) ||
        marks.find_first_not_of("01") != std::string_view::npos) {
        return std::nullopt;
    }
    OpenedRows opened{};
    for (std::size_t row = 0; row < opened.size(); ++row) opened[row] = marks[row] == '1';
    return opened;
}

std::uint32_t InkCheck(const Image& ink) {
    // One bit a pixel, eight to a byte, so a viewer's pixels and the
    // session's compare as ink alone (the eraser's grey is paper).
    std::string bits;
    bits.reserve(static_cast<std::size_t>(kFileInkWidth + 7) / 8 * kInkHeight);
    for (int y = 0; y < kInkHeight; ++y) {
        unsigned char byte = 0;
        for (int x = 0; x < kFileInkWidth; ++x) {
            const bool black = x < ink.width() && y < ink.height() && ink.Pixel(x, y) == kBlack;
            byte = static_cast<unsigned char>(byte << 1 | (black ? 1 : 0));
            if (x % 8 == 7 || x + 1 == kFileInkWidth) {
                bits += static_cast<char>(byte);
                byte = 0;
            }
        }
    }
    return PngCrc(bits);
}

std::string FormatKeptRows(const KeptRows& kept) {
    TextRows opened;
    for (std::size_t row = 0; row < opened.size(); ++row) {
        if (kept.opened[row]) opened[row] = kept.rows[row];
    }
    char check[16];
    std::snprintf(check, sizeof check, "%08x", static_cast<unsigned>(kept.inkCheck));
    std::string text(kOpenedField);
    text.append(FormatOpenedMarks(kept.opened)).append("\n");
    text.append(kInkField).append(check).append("\n");
    // Written only when there are any, so that other files stay as they were.
    if (kept.topLines > 0) {
        text.append(kTopLinesField).append(std::to_string(kept.topLines)).append("\n");
    }
    return text + FormatCells(opened);
}

Result<KeptRows> ParseKeptRows(std::string_view text) {
    KeptRows kept;
    const std::string_view marks = NextLine(text);
    const std::optional<OpenedRows> opened =
        marks.starts_with(kOpenedField) ? ParseOpenedMarks(marks.substr(kOpenedField.size()))
                                        : std::nullopt;
    if (!opened) return KeptRowsError(kinds::KeptRowsUnmarked);
    kept.opened = *opened;
    const std::string_view check = NextLine(text);
    unsigned value = 0;
    int used = 0;
    if (!check.starts_with(kInkField) || check.size() != kInkField.size() + 8 ||
        std::sscanf(std::string(check.substr(kInkField.size())).c_str(), "%8x%n", &value, &used) != 1 ||
        used != 8) {
        return KeptRowsError(kinds::KeptRowsWithoutInk);
    }
    kept.inkCheck = value;
    if (text.starts_with(kTopLinesField)) {
        std::string_view rest = text;
        const std::string_view top = NextLine(rest).substr(kTopLinesField.size());
        int lines = 0;
        const auto [end, error] = std::from_chars(top.data(), top.data() + top.size(), lines);
        if (error != std::errc{} || end != top.data() + top.size() || top.empty() ||
            lines <= 0 || lines >= kRowCount) {
            return KeptRowsError(kinds::KeptRowsDamaged);
        }
        kept.topLines = lines;
        text = rest;
    }
    Result<TextRows> rows = ParseCells(text);
    if (!rows) return KeptRowsError(kinds::KeptRowsDamaged);
    for (std::size_t row = 0; row < rows->size(); ++row) {
        if (!kept.opened[row] && !(*rows)[row].empty()) {
            return KeptRowsError(kinds::KeptRowsUnkept);
        }
    }
    kept.rows = std::move(*rows);
    return kept;
}

Document::Document(Engine& engine, Canvas canvas)
    : engine_(engine),
      drawn_(canvas == Canvas::Drawn),
      state_(engine.matcher(), drawn_ ? &engine.painter() : nullptr) {}

void Document::SetDecoder(DecoderOptions decoder) {
    decoder_ = decoder;
    // Unicode spaces show blank: the canvas draws their gaps so.
    if (drawn_) {
        engine_.painter().SetBlankGaps(decoder.spacing == Spacing::Unicode ? &engine_.unicodeSpaces()
                                                                           : nullptr);
    }
    state_.SetFineDecoder(engine_.Decoder(decoder));
    if (drawn_) state_.RedrawText();
}

ExportOptions Document::exportOptions() const {
    const bool unicode = decoder_.spacing == Spacing::Unicode;
    return {br_, decoder_.spacing, unicode ? &engine_.unicodeSpaces() : nullptr,
            BoardNeedsReferences(board_), state_.openedTopLines()};
}

void Document::Select(std::optional<InkRect> rect) {
    if (rect) rect = rect->Clipped();
    if (rect && rect->Empty()) rect.reset();
    if (rect != selection_) state_.DropSelection();
    selection_ = rect;
}

bool Document::MoveSelection(int dx, int dy, ArtState::Step step) {
    if (!selection_ || (dx == 0 && dy == 0)) return false;
    Settle();
    // Kept as it lies, off the canvas too: moved back, the piece is whole.
    selection_ = state_.MoveSelection(*selection_, dx, dy, step);
    return true;
}

bool Document::CopySelection() {
    if (!selection_) return false;
    Settle();
    copied_ = state_.TakePiece(*selection_);
    return true;
}

bool Document::CutSelection() {
    return CopySelection() && DeleteSelection();
}

bool Document::Paste() {
    if (copied_.Empty()) return false;
    Settle();
    selection_ = state_.PasteSelection(copied_);
    return true;
}

bool Document::DeleteSelection() {
    if (!selection_) return false;
    Settle();
    state_.DeleteSelection(*selection_);
    return true;
}

bool Document::AlignLeft() {
    Settle();
    const int margin = state_.LeftMargin();
    if (!state_.AlignLeft()) return false;
    if (selection_) selection_ = selection_->Moved(-margin, 0).Clipped();
    if (selection_ && selection_->Empty()) selection_.reset();
    return true;
}

std::optional<PostCount> Document::CountPostAlignedLeft(const BoardLimits& limits) {
    Settle();
    if (state_.LeftMargin() == 0) return std::nullopt;
    // The same steps on a session of its own, from the same ink, opened
    // rows and scanned extent: the very rows AlignLeft would leave.
    ArtState aligned(engine_.matcher(), nullptr);
    aligned.SetFineDecoder(state_.fineDecoder());
    aligned.WidenInkExtent(state_.inkMinX());
    aligned.WidenInkExtent(state_.inkMaxX() - 1);
    aligned.LayInk(state_.inkLayer());
    aligned.KeepOpenedRows(state_.rows(), state_.openedRows(), state_.openedTopLines());
    aligned.AlignLeft();
    return fudeline::CountPost(ComposeExportText(aligned.rows(), exportOptions()), limits);
}

Result<KeptRowsFound> Document::OpenDrawing(std::string_view bytes, const PixelSource& pixels,
                                            Blank blank) {
    const Result<Image> decoded = DecodeInkImage(bytes, kFileInkWidth, kInkHeight, pixels);
    if (!decoded) return decoded.error();
    const Image& ink = *decoded;
    if (blank == Blank::Refused && !HoldsInk(ink)) return Error{"", kinds::NoInk};
    bool damaged = false;
    const std::optional<std::string> text = PngText(bytes, kKeptRowsKey, &damaged);
    KeptRowsFound found = damaged ? KeptRowsFound::Damaged : KeptRowsFound::None;
    Result<KeptRows> kept = KeptRowsError(kinds::KeptRowsMissing);
    if (text) {
        kept = ParseKeptRows(*text);
        // Drawn over elsewhere, the rows would no longer say what the ink shows.
        found = !kept                             ? KeptRowsFound::Damaged
                : kept->inkCheck != InkCheck(ink) ? KeptRowsFound::OtherInk
                                                  : KeptRowsFound::Taken;
    }
    state_.ReplaceInk(ink);  // one undoable step
    if (found == KeptRowsFound::Taken) state_.KeepOpenedRows(kept->rows, kept->opened, kept->topLines);
    return found;
}

std::optional<KeptRows> Document::Kept() const {
    if (!AnyOpened(state_.openedRows())) return std::nullopt;
    return KeptRows{state_.rows(), state_.openedRows(), InkCheck(state_.inkLayer()),
                    state_.openedTopLines()};
}

Result<std::string> Document::DrawingFile(std::string inkPng) {
    Settle();
    const std::optional<KeptRows> kept = Kept();
    if (!kept) return inkPng;
    return WithPngText(inkPng, kKeptRowsKey, FormatKeptRows(*kept));
}

Result<std::optional<TextArtDrawing>> Document::OpenTextArt(std::string_view bytes,
                                                            const std::string& name,
                                                            const TextArtPageChoice& choose) {
    Result<std::optional<TextArtDrawing>> opened =
        fudeline::OpenTextArt(bytes, name, choose, engine_.face());
    if (opened && *opened) state_.ReplaceWithText((*opened)->ink, (*opened)->rows, (*opened)->topLines);
    return opened;
}

Result<TextArtDrawing> Document::OpenText(std::string_view text, TextEncoding encoding) {
    Result<TextArtDrawing> drawing = ReadTextArtDrawing(text, encoding, engine_.face());
    if (drawing) state_.ReplaceWithText(drawing->ink, drawing->rows, drawing->topLines);
    return drawing;
}

namespace {

// How far a part may stand from where it was clicked so that its lines
// start at a width spaces alone spell: a half-width space either way.
constexpr int kPartNudge = 5;

// The column near `left` where most rows of the part `rows`, laid `row`
// rows down over the drawing's rows `drawn`, start at a gap spaces spell
// from what stands before them (no filler's dot before the part), the
// nearest among equals. The row's cells before the part stay where they
// are (laying a part changes no character the user drew).
int LeftSpelledBySpaces(const TextRows& rows, const TextRows& drawn, int row, int left, int width) {
    // Each of the part's lines: where it starts in the part, and where the
    // drawing's cells on its row end, left to right.
    struct Line {
        int lead;
        std::vector<int> ends;
    };
    std::vector<Line> lines;
    for (int r = 0; r < kRowCount && row + r < kRowCount; ++r) {
        const TextRow& cells = rows[static_cast<std::size_t>(r)];
        if (cells.empty()) continue;
        Line line{PositionedCells(r, cells).front().x, {}};
        for (const KeptCell& cell : PositionedCells(row + r, drawn[static_cast<std::size_t>(row + r)])) {
            line.ends.push_back(cell.x + cell.cell.width);
        }
        lines.push_back(std::move(line));
    }
    int best = left, fewestUnspelled = kRowCount + 1;
    for (int step = 0; step <= 2 * kPartNudge; ++step) {
        const int candidate = left + (step % 2 == 0 ? step / 2 : -(step + 1) / 2);
        if (candidate < 0 || candidate + width > kCanvasWidth) continue;
        int unspelled = 0;
        for (const Line& line : lines) {
            const int lead = candidate + line.lead;
            int before = 0;  // where the row's cells before the part end
            for (const int end : line.ends) {
                if (end <= lead) before = end;
            }
            unspelled += SpacingSpells(Spacing::Spaces, nullptr, lead - before, before == 0) ? 0 : 1;
        }
        if (unspelled < fewestUnspelled) {
            best = candidate;
            fewestUnspelled = unspelled;
        }
    }
    return best;
}

}  // namespace

Status Document::PlacePart(std::string_view text, TextEncoding encoding, PenPoint at) {
    Result<TextArtDrawing> part = ReadTextArtDrawing(text, encoding, engine_.face());
    if (!part) return part.error();
    // Text too wide or too long for the canvas is refused as it is read.
    const TextExtent extent = ExtentOf(part->rows);
    if (extent.rows == 0) return Error{"", kinds::NoText};
    const int row = static_cast<int>(std::clamp<std::int64_t>(InkRowOfCanvasY(at.y), 0, kRowCount - extent.rows));
    int left = std::clamp(at.x, 0, kCanvasWidth - extent.width);
    EndTyping();
    Settle();
    // Unicode spaces spell every column; otherwise a part clicked a few
    // pixels from where spaces reach moves there.
    if (decoder_.spacing != Spacing::Unicode) {
        left = LeftSpelledBySpaces(part->rows, state_.rows(), row, left, extent.width);
    }
    selection_ = state_.PasteSelection(TextPiece(part->ink, part->rows, left, row));
    return {};
}

Status Document::PlaceFramedWords(std::string_view words, FrameStyle style, PenPoint at) {
    const Result<std::string> framed = FramedText(words, style, engine_.face());
    if (!framed) return framed.error();
    if (framed->empty()) return Error{"", kinds::NoText};
    return PlacePart(*framed, TextEncoding::Utf8, at);
}

bool Document::ImportLines(const Image& ink) {
    if (!HoldsInk(ink)) return false;
    state_.AddInk(ink);
    return true;
}

Result<std::string> Document::Text(TextFormat format) const {
    switch (format) {
        case TextFormat::Cells:
            return FormatCells(state_.rows());
        case TextFormat::ShiftJis:
            return ComposeExportText(state_.rows(), exportOptions());
        case TextFormat::Utf8:
            break;
    }
    return ComposeExportUtf8(state_.rows(), exportOptions());
}

PostCount Document::CountPost(const BoardLimits& limits) const {
    // Counted as Copy puts it on the clipboard, whatever format is written.
    return fudeline::CountPost(ComposeExportText(state_.rows(), exportOptions()), limits);
}

Result<Image> Document::TextPicture() const {
    // A <BR> tag is for the board, not the eye, and a reference is drawn as
    // its character.
    ExportOptions options = exportOptions();
    options.addBrTag = false;
    options.references = false;
    const Result<std::string> utf8 = ComposeExportUtf8(state_.rows(), options);
    if (!utf8) return utf8.error();
    const Result<std::vector<std::u32string>> lines = DecodeTextArt(*utf8, TextEncoding::Utf8);
    if (!lines) return lines.error();
    return RenderTextArt(*lines, engine_.face());
}

std::string Document::PageText() const {
    // A page holds the art itself: <BR> tags are for posting.
    ExportOptions options = exportOptions();
    options.addBrTag = false;
    return ComposeExportText(state_.rows(), options);
}

Result<std::string> Document::PageName(const std::string& path,
                                       const std::string& pageName) const {
    // Typed in UTF-8; the file holds Shift-JIS.
    Result<std::string> name = Utf8ToCp932(pageName);
    if (!name) return Error{path, kinds::PageNameNotShiftJis};
    return name;
}

Result<std::string> Document::PageFileWithText(const std::optional<std::string_view>& existing,
                                               const std::string& path,
                                               const std::string& pageName) {
    const Result<std::string> name = PageName(path, pageName);
    if (!name) return name.error();
    Settle();
    return PageFileWithPage(existing, path, PageText(), *name);
}

Result<StagedPage> Document::StagePage(const std::string& path, const std::string& pageName) {
    const Result<std::string> name = PageName(path, pageName);
    if (!name) return name.error();
    Settle();
    return StagedPage::Stage(path, PageText(), *name);
}

}  // namespace fudeline
