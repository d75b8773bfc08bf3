#include "convert/row_matcher.h"

#include "convert/reference_matcher.h"

namespace fudeline {

RowMatcher::RowMatcher(const GlyphCatalog& catalog) : catalog_(catalog) {}

TextRow RowMatcher::MatchRow(const Image& ink, int row, int inkMinX, int inkMaxX) const {
    return MatchRowReference(catalog_, ink, row, inkMinX, inkMaxX);
}

}  // namespace fudeline
