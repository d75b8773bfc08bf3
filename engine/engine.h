// The conversion engine every face shares: the glyph catalogue and the row
// matcher over it, the Mona face and the painter that draws with it, and the
// fine decoders, loaded or made once. A face (the window, the command line,
// the page, the benchmarks) builds one Engine, reads its input, and shows
// what the engine's pieces give; a new option or decoder is added here once.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "errors/result.h"
#include "fine/fine_decoder.h"
#include "glyphs/glyph.h"
#include "glyphs/mona_font.h"
#include "match/row_matcher.h"
#include "pixels/image.h"
#include "render/text_painter.h"
#include "text/spacing.h"
#include "text/text_cell.h"

namespace fudeline {

// Where the data files are. An empty path means the usual places: the
// catalogue in the first of `DataDirectories()` that holds it, the face where
// `FindMonaFontPath()` finds it.
struct EngineSources {
    std::string catalogueDir;
    std::string facePath;
};

// How rows become text: the row matcher, or the fine decoder spelling its
// gaps with `spacing` (Spaces is "no fillers"). The row matcher always places
// fillers, so `spacing` means nothing to it.
struct DecoderOptions {
    bool fine = false;
    Spacing spacing = Spacing::Fillers;
};

class Engine {
  public:
    // Nothing is loaded yet: a face that needs only part of the engine (the
    // text drawn as a picture needs no catalogue) loads only that part, and
    // reports each failure as what it was doing.
    explicit Engine(EngineSources sources = {});

    // The catalogue, then the face: what the window and the page need before
    // they open. Fails as the first that fails.
    static Result<Engine> Load(EngineSources sources = {});

    // Loads the catalogue and builds the row matcher over it; once loaded,
    // later calls do nothing. Fails naming the file or folder and why.
    Status LoadCatalogue();
    // Opens the face and makes the painter and the Unicode spaces measured in
    // it; once open, later calls do nothing. Fails naming the file and why.
    Status OpenFace();

    bool catalogueLoaded() const { return matcher_ != nullptr; }
    bool faceOpen() const { return painter_ != nullptr; }

    // Once the catalogue is loaded.
    const GlyphCatalog& catalog() const { return *catalog_; }
    const RowMatcher& matcher() const { return *matcher_; }

    // Once the face is open. The painter is the session's: how it draws gaps
    // (TextPainter::SetBlankGaps) is the session's choice.
    const MonaFont& face() const { return *face_; }
    TextPainter& painter() { return *painter_; }
    const TextPainter& painter() const { return *painter_; }
    const UnicodeSpaces& unicodeSpaces() const { return *unicodeSpaces_; }

    // The decoder a session converts with for `options`: null for the row
    // matcher, else the fine decoder for the spacing, made on first use and
    // kept, so that asking again gives the same decoder. The fine decoder
    // needs the catalogue and the face.
    const FineDecoder* Decoder(DecoderOptions options);

    // The rows of `ink`'s black pixels as a session converts them (needs the
    // catalogue, and the face for the fine decoder).
    TextRows Convert(const Image& ink, DecoderOptions options);

  private:
    EngineSources sources_;
    // Behind pointers so that the engine moves while what points into it
    // (the matcher into the catalogue, the decoders into the face) stays put.
    std::unique_ptr<GlyphCatalog> catalog_;
    std::unique_ptr<RowMatcher> matcher_;
    std::unique_ptr<MonaFont> face_;
    std::unique_ptr<TextPainter> painter_;
    std::unique_ptr<UnicodeSpaces> unicodeSpaces_;
    std::array<std::unique_ptr<FineDecoder>, 3> fine_;  // by Spacing
};

}  // namespace fudeline
