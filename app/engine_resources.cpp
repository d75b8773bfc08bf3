#include "app/engine_resources.h"

#include "glyphs/catalog_loader.h"
#include "glyphs/exe_dir.h"

namespace fudeline {

std::optional<EngineResources> LoadEngineResources(std::string* error) {
    auto fail = [&](const std::string& what, const Error& why) {
        if (error) *error = what + why.Message();
        return std::nullopt;
    };
    const Result<std::string> dir = LocateDataDirectory(kSingleByteCatalogName);
    if (!dir) return fail("Cannot find the glyph catalogue ", dir.error());
    Result<GlyphCatalog> catalog = LoadGlyphCatalog(*dir);
    if (!catalog) return fail("Cannot read the glyph catalogue ", catalog.error());
    Result<std::unique_ptr<MonaFont>> font = MonaFont::Open(FindMonaFontPath());
    if (!font) return fail("Cannot open the font ", font.error());
    EngineResources resources;
    resources.catalog = std::move(*catalog);
    resources.font = std::move(*font);
    return resources;
}

}  // namespace fudeline
