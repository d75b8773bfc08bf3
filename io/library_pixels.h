// Debian's decoders as the pixel source (libpng, libjpeg, libwebp, giflib):
// the desktop's, which the window and the command line pass to every reader
// of pictures and drawings. The page has the browser's instead and is built
// without these libraries.
#pragma once

#include "io/pixel_source.h"

namespace fudeline {

const PixelSource& LibraryPixels();

}  // namespace fudeline
