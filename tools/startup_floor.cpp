// The floor for start-up time and memory: a plain Qt Widgets program of
// velquist's shape, built with the same flags. A 721 × 590 main window with a
// menu bar and a status bar, and eight group boxes of two radio buttons, two
// labels, one line edit and one push button each, all in Chinese, so that the
// floor pays for the Chinese font path just as velquist does. It takes Qt's
// defaults for everything else: its own style, no icon, no translations.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "startup_floor.h"

namespace {

struct Group {
  const char16_t* title;
  const char16_t* first;
  const char16_t* second;
  const char16_t* quantity;
};

const Group kGroups[] = {
    {u"圆的周长面积", u"周长", u"面积", u"圆 的 直 径"},
    {u"矩形的**、长方体、正方体的**", u"周长", u"体积", u"矩 形 长"},
    {u"三角形的周长面积", u"周长", u"面积", u"三角形底"},
    {u"平行四边形的周长面积", u"周长", u"面积", u"平行四边形底"},
    {u"梯形的周长面积", u"周长", u"面积", u"梯形上底"},
    {u"圆柱的表面积体积", u"表面积", u"体积", u"圆柱底面半径"},
    {u"圆锥的表面积体积", u"表面积", u"体积", u"圆锥底面半径"},
    {u"球的表面积体积", u"表面积", u"体积", u"球 的 直 径"},
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QString::fromUtf8(kStartupFloorTitle));
  QMenu* help = window.menuBar()->addMenu(QStringLiteral("帮助"));
  help->addAction(QStringLiteral("查看运算公式"));
  help->addAction(QStringLiteral("关于"));
  window.statusBar()->showMessage(QStringLiteral("就绪"));

  auto* client = new QWidget(&window);
  window.setCentralWidget(client);
  for (int i = 0; i < 8; ++i) {
    const Group& g = kGroups[i];
    auto* box = new QGroupBox(QString::fromUtf16(g.title), client);
    box->setGeometry(24 + i / 3 * 224, 16 + i % 3 * 168, 208, 160);
    auto* first = new QRadioButton(QString::fromUtf16(g.first), box);
    first->setGeometry(8, 24, 60, 24);
    first->setChecked(true);
    (new QRadioButton(QString::fromUtf16(g.second), box))->setGeometry(72, 24, 48, 24);
    (new QPushButton(QStringLiteral("计算"), box))->setGeometry(128, 24, 64, 24);
    (new QLabel(QString::fromUtf16(g.quantity), box))->setGeometry(8, 56, 72, 20);
    (new QLineEdit(box))->setGeometry(88, 56, 104, 20);
    (new QLabel(QStringLiteral("计 算 结 果"), box))->setGeometry(8, 88, 184, 20);
  }
  window.setFixedSize(721, 590);
  window.show();
  return application.exec();
}
