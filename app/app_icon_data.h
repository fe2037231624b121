// The icon's renderings as the build bakes them into the program.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velquist {

// One square rendering: side × side pixels, row after row, each a QRgb with
// premultiplied alpha (QImage::Format_ARGB32_Premultiplied), which is the
// form Qt keeps a pixmap with transparency in.
struct IconRendering {
  int side;
  const std::uint32_t* pixels;
};

// Made at build time from the PNG renderings of packaging/velquist.svg.
extern const IconRendering kIconRenderings[];
extern const std::size_t kIconRenderingCount;

}  // namespace velquist
