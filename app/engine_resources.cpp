#include "app/engine_resources.h"

#include "glyphs/catalog_loader.h"
#include "glyphs/exe_dir.h"

namespace fudeline {

std::optional<EngineResources> LoadEngineResources(std::string* error) {
    EngineResources resources;
    CatalogLoadError loadError;
    if (!LoadGlyphCatalog(FindDataDirectory(kSingleByteCatalogName), resources.catalog,
                          &loadError)) {
        if (error)
            *error = "Cannot read the glyph catalogue " + loadError.path + ": " + loadError.reason;
        return std::nullopt;
    }
    const std::string fontPath = FindMonaFontPath();
    std::string why;
    resources.font = MonaFont::Open(fontPath, &why);
    if (!resources.font) {
        if (error) *error = "Cannot open the font " + fontPath + ": " + why;
        return std::nullopt;
    }
    return resources;
}

}  // namespace fudeline
