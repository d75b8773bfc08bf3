#include "app/engine_resources.h"

#include "glyphs/catalog_loader.h"
#include "glyphs/exe_dir.h"

namespace fudeline {

Result<EngineResources> LoadEngineResources() {
    const Result<std::string> dir = LocateDataDirectory(kSingleByteCatalogName);
    if (!dir) return dir.error();
    Result<GlyphCatalog> catalog = LoadGlyphCatalog(*dir);
    if (!catalog) return catalog.error();
    Result<std::unique_ptr<MonaFont>> font = MonaFont::Open(FindMonaFontPath());
    if (!font) return font.error();
    EngineResources resources;
    resources.catalog = std::move(*catalog);
    resources.font = std::move(*font);
    return resources;
}

}  // namespace fudeline
