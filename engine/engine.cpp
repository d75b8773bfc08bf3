#include "engine/engine.h"

#include <utility>

#include "glyphs/catalog_loader.h"
#include "glyphs/exe_dir.h"
#include "session/art_state.h"

namespace fudeline {

Engine::Engine(EngineSources sources) : sources_(std::move(sources)) {}

Result<Engine> Engine::Load(EngineSources sources) {
    Engine engine(std::move(sources));
    if (Status loaded = engine.LoadCatalogue(); !loaded) return std::move(loaded).error();
    if (Status opened = engine.OpenFace(); !opened) return std::move(opened).error();
    return engine;
}

Status Engine::LoadCatalogue() {
    if (catalogueLoaded()) return {};
    std::string dir = sources_.catalogueDir;
    if (dir.empty()) {
        Result<std::string> found = LocateDataDirectory(kSingleByteCatalogName);
        if (!found) return std::move(found).error();
        dir = std::move(*found);
    }
    Result<GlyphCatalog> loaded = LoadGlyphCatalog(dir);
    if (!loaded) return std::move(loaded).error();
    catalog_ = std::make_unique<GlyphCatalog>(std::move(*loaded));
    matcher_ = std::make_unique<RowMatcher>(*catalog_);
    return {};
}

Status Engine::OpenFace() {
    if (faceOpen()) return {};
    Result<std::unique_ptr<MonaFont>> opened =
        MonaFont::Open(sources_.facePath.empty() ? FindMonaFontPath() : sources_.facePath);
    if (!opened) return std::move(opened).error();
    face_ = std::move(*opened);
    unicodeSpaces_ = std::make_unique<UnicodeSpaces>();
    painter_ = std::make_unique<TextPainter>(*face_);
    return {};
}

const FineDecoder* Engine::Decoder(DecoderOptions options) {
    if (!options.fine) return nullptr;
    std::unique_ptr<FineDecoder>& decoder = fine_[static_cast<std::size_t>(options.spacing)];
    if (!decoder) {
        decoder = std::make_unique<FineDecoder>(
            *catalog_, *face_,
            FineOptions{options.spacing == Spacing::Spaces,
                        options.spacing == Spacing::Unicode ? unicodeSpaces_.get() : nullptr});
    }
    return decoder.get();
}

TextRows Engine::Convert(const Image& ink, DecoderOptions options) {
    ArtState state(*matcher_, nullptr);
    state.SetFineDecoder(Decoder(options));
    state.LayInk(ink);
    return state.rows();
}

}  // namespace fudeline
