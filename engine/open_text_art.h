// Existing text art opened as a drawing, the one way every face opens it: a
// page file gives its pages and one is chosen, other text is read as UTF-8
// when it reads as UTF-8 and else as Shift-JIS, a file with no text is
// refused rather than opened as a blank canvas, and the text becomes the ink
// and rows a session lays (ideographs the face lacks kept as text).
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "errors/result.h"
#include "glyphs/mona_font.h"
#include "io/page_format.h"
#include "render/text_art_cells.h"

namespace fudeline {

// Text art files are small; a page collection may be large but never this.
inline constexpr std::size_t kMaxTextArtFileBytes = std::size_t{64} << 20;

// Which page of a page file of several pages to open (from 0), or nothing to
// open none. A choice past the last page is refused as no such page.
using TextArtPageChoice = std::function<std::optional<std::size_t>(const PageFile& file)>;

// The pages' labels as a list shows them, in UTF-8 (empty where a label has
// no Unicode form).
std::vector<std::string> PageChoiceLabels(const PageFile& file);

// A page's text (Shift-JIS) drawn as the canvas shows text, for a list's
// picture of it: a canvas's rows at most (a long page's rest is not read).
Image PagePicture(std::string_view sjisText, const MonaFont& face);

// How text that is not a page file is read: UTF-8 when it reads as UTF-8
// (Shift-JIS art rarely does), else Shift-JIS.
TextEncoding GuessTextEncoding(std::string_view text);

// Opens `bytes`, named `name` (a file name or path: it says whether the text
// is a page file, and errors carry it). A page file is one named .mlt or .ast
// or starting as an AST file does; of its pages the only one is opened, or
// `choose` picks among several. Gives nothing, and no error, when `choose`
// picks none.
Result<std::optional<TextArtDrawing>> OpenTextArt(std::string_view bytes, const std::string& name,
                                                  const TextArtPageChoice& choose,
                                                  const MonaFont& face);

}  // namespace fudeline
