// Existing text art opened as a drawing: its lines drawn with the Mona face
// into the ink layer, one 16-pixel ink row per line, every character at the x
// the face puts it, so that pen and eraser can touch it up and the rows are
// converted again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "errors/result.h"
#include "glyphs/mona_font.h"
#include "text/text_art_lines.h"
#include "text/text_cell.h"
#include "pixels/image.h"
#include "text/text_art_lines.h"

namespace fudeline {

// The widest line the drawing takes: ink goes into columns 0 to 798 only.
inline constexpr int kTextArtInkWidth = 799;

// The longest line, in bytes, that text art drawn as ink is decoded from: far
// more than any line that fits the canvas (799 pixels of characters written
// even as references), so a longer one is refused before it is decoded.
inline constexpr std::size_t kMaxTextArtInkLineBytes = std::size_t{64} << 10;

// The ink image (799 x 464, white with black ink) of `lines`, line i on ink
// rows 16 i to 16 i + 15. Trailing empty lines are ignored. The blank
// characters boards give fixed widths (BoardSpaceWidth) take those widths
// and draw nothing, whether the face holds them or not, and so does an
// ideograph the face lacks, at kIdeographWidth. More lines than the
// 29 rows, a line wider than 799 pixels, or another character the face
// cannot draw is refused, saying how much fits: nothing is silently cut.
Result<Image> DrawTextArtInk(const std::vector<std::u32string>& lines, const MonaFont& font);

// Both steps; a line longer than kMaxTextArtInkLineBytes is refused as too long.
Result<Image> DrawTextArtInk(std::string_view bytes, TextEncoding encoding, const MonaFont& font);

// The characters of `cells` (a row from column 0, as CellOfCharacter and
// TextArtRows write them) drawn black into `ink` with the top of their line
// at `top`, as DrawTextArtInk draws them, within columns `from` to `to` - 1
// only: blanks and ideographs the face lacks draw nothing. What lies there
// already stays; the caller whitens first what the cells replace.
void DrawCellsInk(Image& ink, int top, const TextRow& cells, int from, int to,
                  const MonaFont& font);

}  // namespace fudeline
