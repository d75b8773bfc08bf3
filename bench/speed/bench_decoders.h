// The built catalogue, the face and the two decoders the speed benchmarks
// draw through, loaded once as the window loads them; throws when one cannot
// be read, so that no benchmark measures an empty catalogue.
#pragma once

#include <memory>
#include <stdexcept>

#include "fine/fine_decoder.h"
#include "glyphs/catalog_loader.h"
#include "glyphs/exe_dir.h"
#include "glyphs/mona_font.h"
#include "match/row_matcher.h"

namespace fudeline::bench {

struct BenchDecoders {
    GlyphCatalog catalog;
    std::unique_ptr<RowMatcher> matcher;
    std::unique_ptr<MonaFont> font;
    std::unique_ptr<FineDecoder> fine;

    BenchDecoders() {
        Result<GlyphCatalog> loaded = LoadGlyphCatalog(ExecutableDirectory());
        if (!loaded) throw std::runtime_error(loaded.error().Message());
        catalog = std::move(*loaded);
        matcher = std::make_unique<RowMatcher>(catalog);
        Result<std::unique_ptr<MonaFont>> face = MonaFont::Open(FindMonaFontPath());
        if (!face) throw std::runtime_error(face.error().Message());
        font = std::move(*face);
        fine = std::make_unique<FineDecoder>(catalog, *font);
    }
};

}  // namespace fudeline::bench
