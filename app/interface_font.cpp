#include "app/interface_font.h"

#include <QApplication>

namespace velquist {

QFont InterfaceFont(const QFont& desktop) {
  // Only the family is taken over: a default QFont would carry the weight
  // and slant of the application font it was copied from.
  QFont font(desktop.families().isEmpty() ? QStringList{desktop.family()} : desktop.families());
  font.setPixelSize(kInterfaceFontPixels);
  font.setWeight(QFont::Normal);
  font.setStyle(QFont::StyleNormal);
  return font;
}

void UseInterfaceFont() {
  // Setting the application font also drops the theme's per-class fonts, so
  // that a message box or a tooltip cannot take a size of its own.
  QApplication::setFont(InterfaceFont(QApplication::font()));
}

}  // namespace velquist
