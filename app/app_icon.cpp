#include "app/app_icon.h"

#include <QImage>
#include <QPixmap>

#include "app/app_icon_data.h"

namespace velquist {

QIcon VelquistIcon() {
  // Every rendering the build made, whatever sizes it chose. The images
  // borrow the program's own copy of the pixels, and as these already have
  // the format Qt stores pixmaps with transparency in, each pixmap shares
  // them too: nothing is decoded, converted or copied here.
  QIcon icon;
  for (std::size_t i = 0; i < kIconRenderingCount; ++i) {
    const IconRendering& r = kIconRenderings[i];
    const QImage image(reinterpret_cast<const uchar*>(r.pixels), r.side, r.side,
                       r.side * static_cast<int>(sizeof(std::uint32_t)),
                       QImage::Format_ARGB32_Premultiplied);
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace velquist
