#include "app/skin.h"

#include <QString>
#include <QWidget>

namespace velquist {

bool SetVisualStyle(int scheme) { return scheme >= 1 && scheme <= 3; }

void AttachTooltip(QWidget* control, const QString& text, bool /*balloon*/, bool /*centred*/) {
  if (control == nullptr) return;
  QString plain = text;
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  control->setToolTip(plain);
}

}  // namespace velquist
