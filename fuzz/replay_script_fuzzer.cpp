// Replay scripts of any content, played on a drawing session: no crash, and
// the inked extent stays inside the canvas whatever the coordinates.
#include "match/row_matcher.h"
#include "export/export_text.h"
#include "fuzz_input.h"
#include "glyphs/catalog_loader.h"
#include "session/art_state.h"
#include "session/replay_player.h"
#include "session/replay_script.h"

#include <cstdio>

using namespace fudeline;

namespace {

// A dash and a bar: enough glyphs to place cells without loading files.
const GlyphCatalog& SmallCatalog() {
    static const GlyphCatalog catalog = [] {
        const std::string text =
            "124, 0, 3, 3, 0, 0, 0, 5, 0, 10\n"
            "45, 0, 8, 4, 0, 8, 1, 8, 2, 8, 3, 8\n";
        GlyphCatalog c;
        std::FILE* stream = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
        ReadCatalogStream(stream, CatalogKind::SingleByte, c);
        std::fclose(stream);
        TrimGlyphPatterns(c);
        return c;
    }();
    return catalog;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto events = ParseReplayScript(text);
    if (!events) {
        fuzz::Check(events.error().Reason().rfind("line ", 0) == 0);
        return 0;
    }
    static const RowMatcher matcher(SmallCatalog());
    ArtState state(matcher, nullptr);
    PlayReplayEvents(*events, state, [](const ArtState& after) {
        fuzz::Check(after.inkMinX() >= 0 && after.inkMinX() <= 799);
        fuzz::Check(after.inkMaxX() >= 0 && after.inkMaxX() <= 799);
    });
    const std::string exported = ComposeExportText(state.rows(), true);
    fuzz::Check(exported.size() < 2 || exported.compare(exported.size() - 2, 2, "\r\n") != 0);
    return 0;
}
