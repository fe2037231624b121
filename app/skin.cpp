#include "app/skin.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStyle>
#include <QStyleFactory>
#include <QToolTip>
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

// The kinds of control the skin draws.
bool IsSkinnedKind(const QWidget* widget) {
  return qobject_cast<const QPushButton*>(widget) || qobject_cast<const QRadioButton*>(widget) ||
         qobject_cast<const QGroupBox*>(widget) || qobject_cast<const QLineEdit*>(widget);
}

}  // namespace

void PrepareVisualStyle() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return;
  if (qobject_cast<const SkinStyle*>(QApplication::style()) != nullptr) return;
  QApplication::setStyle(new SkinStyle(0, CreateSystemStyle(SystemStyleName())));
}

void UseStyleColours() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return;
  const QPalette colours = QApplication::style()->standardPalette();
  // Setting the application's palette also drops the palettes a theme gave
  // single classes of control; the tooltips' palette is kept apart.
  QApplication::setPalette(colours);
  QToolTip::setPalette(colours);
}

bool SetVisualStyle(int scheme) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
  const bool on = scheme >= 1 && scheme <= 3;
  auto* style = qobject_cast<SkinStyle*>(QApplication::style());
  if (on && style != nullptr && !style->IsOn()) {
    // The prepared skin: the controls are told that their style changed, as
    // a new style would tell them, but nothing else is, and nothing polished
    // with the system look has to be polished again.
    style->TurnOn(scheme);
    for (QWidget* widget : QApplication::allWidgets()) {
      if (!IsSkinnedKind(widget)) continue;
      if (widget->testAttribute(Qt::WA_WState_Polished)) style->polish(widget);
      QEvent change(QEvent::StyleChange);
      QCoreApplication::sendEvent(widget, &change);
      widget->update();
    }
    return true;
  }
  const bool skinned = style != nullptr && style->IsOn();
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
