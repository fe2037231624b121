#include "app/skin.h"

#include <QApplication>
#include <QString>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include "app/balloon_tooltip.h"
#include "app/skin_style.h"

namespace velquist {

namespace {

// The style the program had before the skin, by name, so that turning the
// skin off (or on again) starts from the system look and not from a skin.
QString SystemStyleName() {
  const QStyle* current = QApplication::style();
  if (const auto* skin = qobject_cast<const SkinStyle*>(current)) {
    return skin->baseStyle()->name();
  }
  return current->name();
}

QStyle* CreateSystemStyle(const QString& name) {
  if (QStyle* style = QStyleFactory::create(name)) return style;
  return QStyleFactory::create(QStringLiteral("Fusion"));
}

}  // namespace

bool SetVisualStyle(int scheme) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
  const bool on = scheme >= 1 && scheme <= 3;
  const bool skinned = qobject_cast<const SkinStyle*>(QApplication::style()) != nullptr;
  if (!on && !skinned) return false;
  const QString system = SystemStyleName();
  // The application owns the style it is given, and repolishes and redraws
  // every widget of every window with it; later windows take it by default.
  if (on) {
    QApplication::setStyle(new SkinStyle(scheme, CreateSystemStyle(system)));
  } else {
    QApplication::setStyle(CreateSystemStyle(system));
  }
  return on;
}

void AttachTooltip(QWidget* control, const QString& text, TooltipShape shape,
                   TooltipPlacement placement) {
  if (control == nullptr) return;
  if (TooltipHost* host = TooltipHost::Instance(shape == TooltipShape::Balloon)) {
    host->AddTool(control, text, placement == TooltipPlacement::BelowCentre);
  }
}

}  // namespace velquist
