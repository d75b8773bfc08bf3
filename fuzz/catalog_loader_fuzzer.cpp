// Catalogue files of any content: the loader and its whole-file check must
// neither crash nor trust a count beyond the fields present, and whatever
// catalogue it accepts, the fast scorer must choose what the per-pixel scorer
// chooses.
#include <cstdio>

#include "match/glyph_bits.h"
#include "match/reference_matcher.h"
#include "fuzz_input.h"
#include "glyphs/catalog_loader.h"

using namespace fudeline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const CatalogKind kind = input.Byte() & 1 ? CatalogKind::DoubleByte : CatalogKind::SingleByte;
    // A window to score against, from the next bytes.
    InkWindow window;
    for (int r = 0; r < kWindowRows; ++r) {
        window.rows[static_cast<std::size_t>(r)] =
            (static_cast<std::uint32_t>(input.Byte()) * 0x10101u) & 0xFFFFFFu;
    }
    const std::string_view file = input.Rest();
    // A file in the original format (no end line) that the whole-file check
    // accepts stays whole with a line break added. A file with an end line is
    // held to its count, which a further line break changes.
    if (file.find("end, ") == std::string_view::npos && CheckCatalogWhole(file, kind)) {
        fuzz::Check(static_cast<bool>(CheckCatalogWhole(std::string(file) + "\n", kind)));
    }
    std::FILE* stream = fmemopen(const_cast<char*>(file.data()), file.size(), "r");
    if (!stream) return 0;
    GlyphCatalog catalog;
    ReadCatalogStream(stream, kind, catalog);
    std::fclose(stream);
    TrimGlyphPatterns(catalog);
    for (const Glyph& glyph : catalog) {
        fuzz::Check(glyph.width > 0 && !glyph.pixels.empty());
        fuzz::Check(glyph.pixels.size() <= file.size());
    }
    WindowBits bits;
    bits.Build(window);
    const int expected = BestGlyphReference(catalog, window);
    for (ScorerIsa isa :
         {ScorerIsa::Portable, ScorerIsa::Sse2, ScorerIsa::Avx2, ScorerIsa::Avx512}) {
        if (IsaSupported(isa)) fuzz::Check(GlyphBits(catalog, isa).BestGlyph(bits) == expected);
    }
    return 0;
}
