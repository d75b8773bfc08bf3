// What the window needs before it can open: the glyph catalogue and the text face.
#pragma once

#include <memory>

#include "glyphs/glyph.h"
#include "glyphs/mona_font.h"
#include "pixels/result.h"

namespace fudeline {

struct EngineResources {
    GlyphCatalog catalog;
    std::unique_ptr<MonaFont> font;
};

// Loads the catalogue (beside the executable, or the installed data directory)
// and the Mona face; an error names the file and the problem.
Result<EngineResources> LoadEngineResources();

}  // namespace fudeline
