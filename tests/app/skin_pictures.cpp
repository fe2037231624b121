// Takes pictures of the skinned main window's controls in their states and
// of a real balloon tip, from the screen of a running X server:
//   skin_pictures OUTPUT_FOLDER
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTest>

#include "app/balloon_tooltip_testing.h"
#include "app/main_window.h"
#include "app/window_opening.h"
#include "app/window_opening_testing.h"

using namespace velquist;
using velquist::testing::OpenedWindow;

namespace {

// The screen's pixels around `widget`, grown by `margin`, so that a tip
// window lying over it is in the picture too.
bool Save(QWidget* widget, const QString& file, QMargins margin = {}) {
  const QRect area = QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()).marginsAdded(margin);
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                    area.width(), area.height());
  return shot.save(file);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    qCritical("usage: skin_pictures OUTPUT_FOLDER");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
  // Opened the way the program opens it: its size, skin and tips included.
  if (!OpenWindow(WindowDefinition::MainWindow, false)) return 1;
  auto& window = *static_cast<MainWindow*>(OpenedWindow(WindowDefinition::MainWindow));
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  window.activateWindow();
  QTest::qWait(500);

  QWidget* group = window.Control(control::圆周率小数点编辑框)->parentWidget();
  auto* button = window.Control<QPushButton>(control::圆计算);
  const QPoint away = window.mapToGlobal(QPoint(window.width() - 10, window.height() - 10));
  bool ok = true;

  QCursor::setPos(button->mapToGlobal(button->rect().center()));
  QTest::qWait(400);
  ok &= Save(group, out + "skin-button-hover.png");

  QCursor::setPos(away);
  button->setDown(true);
  QTest::qWait(400);
  ok &= Save(group, out + "skin-button-pressed.png");

  button->setDown(false);
  button->setFocus();
  QTest::qWait(400);
  ok &= Save(group, out + "skin-button-focused.png");

  // "周长" starts selected; the focus goes back to the box the window starts in.
  window.Control(control::圆周率小数点编辑框)->setFocus();
  QTest::qWait(400);
  ok &= Save(group, out + "skin-radio-selected.png");

  QWidget* diameter = window.Control(control::圆直径编辑框);
  QCursor::setPos(diameter->mapToGlobal(QPoint(30, 10)));
  const int wait = 3 * app.style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay);
  QTest::qWait(wait);
  if (testing::TooltipInspector::Host() == nullptr ||
      !testing::TooltipInspector::Host()->isVisible()) {
    qCritical("the diameter box's tip did not show");
    return 1;
  }
  ok &= Save(group, out + "skin-balloon.png", QMargins(0, 0, 200, 40));
  QCursor::setPos(away);
  return ok ? 0 : 1;
}
