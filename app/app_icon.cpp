#include "app/app_icon.h"

#include <QDirIterator>
#include <QString>

namespace velquist {

QIcon VelquistIcon() {
  // Every rendering the build embedded, whatever sizes it chose; QIcon reads
  // each file's size itself and scales the nearest one for other requests.
  QIcon icon;
  QDirIterator renderings(QStringLiteral(":/velquist/icons"), {QStringLiteral("*.png")},
                          QDir::Files, QDirIterator::Subdirectories);
  while (renderings.hasNext()) icon.addFile(renderings.next());
  return icon;
}

}  // namespace velquist
