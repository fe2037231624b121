// Tab, Shift+Tab, the arrow keys, Enter and Space on a small window whose
// fixed sequence differs from the order in which its controls were created,
// so that Qt's own focus chain cannot pass for it.
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <span>
#include <string_view>

#include "app/edit_box.h"
#include "app/keyboard_navigation.h"
#include "app/main_window.h"

using velquist::EditBox;
using velquist::EditInputMode;
using velquist::KeyboardNavigation;

namespace control = velquist::control;

namespace {

template <typename Button>
Button* AddButton(QWidget* parent, const char* name, int x, int y, const QString& text) {
  auto* button = new Button(text, parent);
  button->setObjectName(QLatin1String(name));
  button->move(x, y);
  return button;
}

EditBox* AddBox(QWidget* parent, const char* name, EditInputMode mode, int x, int y) {
  auto* box = new EditBox(mode, parent);
  box->setObjectName(QLatin1String(name));
  box->setGeometry(x, y, 104, 20);
  return box;
}

// A dialog on purpose: there Qt's own Enter handling would click a button.
struct Fixture {
  Fixture() {
    auto* first = new QGroupBox(QStringLiteral("第一组"), &window);
    first->setGeometry(8, 8, 208, 120);
    a1 = AddButton<QRadioButton>(first, "a1", 8, 24, QStringLiteral("甲"));
    a2 = AddButton<QRadioButton>(first, "a2", 64, 24, QStringLiteral("乙"));
    a3 = AddButton<QRadioButton>(first, "a3", 120, 24, QStringLiteral("丙"));
    number = AddBox(first, "number", EditInputMode::DoubleNumber, 8, 56);
    calc1 = AddButton<QPushButton>(first, "calc1", 120, 56, QStringLiteral("计算"));
    a1->setChecked(true);

    auto* second = new QGroupBox(QStringLiteral("第二组"), &window);
    second->setGeometry(8, 136, 208, 120);
    b1 = AddButton<QRadioButton>(second, "b1", 8, 24, QStringLiteral("丁"));
    b2 = AddButton<QRadioButton>(second, "b2", 64, 24, QStringLiteral("戊"));
    result = AddBox(second, "result", EditInputMode::ReadOnly, 8, 56);
    calc2 = AddButton<QPushButton>(second, "calc2", 120, 56, QStringLiteral("计算"));
    b1->setChecked(true);
    new QLabel(QStringLiteral("说明"), &window);

    sequence = {result, number, calc1, a2, a1, b1, calc2, a3, b2};
    new KeyboardNavigation(&window, sequence);
    window.resize(230, 270);
  }

  QDialog window;
  QRadioButton* a1;
  QRadioButton* a2;
  QRadioButton* a3;
  QRadioButton* b1;
  QRadioButton* b2;
  EditBox* number;
  EditBox* result;
  QPushButton* calc1;
  QPushButton* calc2;
  QList<QWidget*> sequence;
};

// clang-format off
constexpr std::string_view kMainWindowSequence[] = {
    control::圆计算结果编辑框, control::圆直径编辑框, control::圆周率小数点编辑框, control::圆计算, control::圆面积,
    control::圆周长, control::矩形计算结果, control::矩形高, control::矩形宽, control::矩形计算, control::矩形面积,
    control::矩形周长, control::三角形计算结果, control::三角形高, control::三角形底, control::三角型计算, control::三角形面积,
    control::三角形周长, control::平行四边形计算结果, control::平行四边形高, control::平行四边形底, control::三角型计算1,
    control::平行四边形面积, control::平行四边形周长, control::梯形计算结果, control::梯形下底, control::梯形上底,
    control::三角型计算2, control::梯形面积, control::梯形周长, control::梯形高, control::圆柱计算结果, control::圆柱高,
    control::圆柱底面半径, control::三角型计算3, control::圆柱体积, control::圆柱表面积, control::圆锥计算结果, control::圆锥高,
    control::圆锥底, control::三角型计算4, control::圆锥体积, control::圆锥表面积, control::三角形计算结果5,
    control::三角型计算5, control::三角形面积5, control::三角形周长5, control::圆直径编辑框1, control::圆周率小数点编辑框1,
    control::圆周率小数点编辑框2, control::圆周率小数点编辑框3, control::矩形体积, control::矩形长, control::矩形表面积,
};
// clang-format on

}  // namespace

class KeyboardNavigationTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    f_ = std::make_unique<Fixture>();
    f_->window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f_->window));
  }
  void cleanup() { f_.reset(); }

  void tabFollowsTheSequenceAndWraps_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("step");
    QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << 1;
    QTest::newRow("Shift+Tab as Backtab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << -1;
    QTest::newRow("Shift+Tab as Tab") << int(Qt::Key_Tab) << int(Qt::ShiftModifier) << -1;
  }
  void tabFollowsTheSequenceAndWraps() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, step);
    const auto& sequence = f_->sequence;
    const qsizetype count = sequence.size();
    sequence[0]->setFocus();
    for (qsizetype n = 1; n <= count + 1; ++n) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
      QWidget* expected = sequence[((n * step) % count + count) % count];
      QVERIFY2(
          QApplication::focusWidget() == expected,
          qPrintable(QStringLiteral("press %1: %2 instead of %3")
                         .arg(n)
                         .arg(QApplication::focusWidget()->objectName(), expected->objectName())));
    }
  }

  void tabSkipsControlsThatCannotTakePart_data() {
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QString>("how");
    QTest::newRow("disabled radio") << 4 << QStringLiteral("disabled");
    QTest::newRow("hidden button") << 6 << QStringLiteral("hidden");
    QTest::newRow("radio that takes no focus") << 5 << QStringLiteral("no focus");
    QTest::newRow("button without tab focus") << 2 << QStringLiteral("click focus");
    QTest::newRow("disabled edit at the end wraps") << 0 << QStringLiteral("disabled");
  }
  void tabSkipsControlsThatCannotTakePart() {
    QFETCH(int, skipped);
    QFETCH(QString, how);
    const auto& sequence = f_->sequence;
    const qsizetype count = sequence.size();
    QWidget* control = sequence[skipped];
    if (how == QLatin1String("disabled")) control->setEnabled(false);
    if (how == QLatin1String("hidden")) control->hide();
    if (how == QLatin1String("no focus")) control->setFocusPolicy(Qt::NoFocus);
    if (how == QLatin1String("click focus")) control->setFocusPolicy(Qt::ClickFocus);
    QWidget* before = sequence[(skipped + count - 1) % count];
    QWidget* after = sequence[(skipped + 1) % count];
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);
    QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), before);
  }

  void keysDoNothingWithoutAFocusedControl_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Tab") << int(Qt::Key_Tab);
    QTest::newRow("Backtab") << int(Qt::Key_Backtab);
    QTest::newRow("Return") << int(Qt::Key_Return);
  }
  void keysDoNothingWithoutAFocusedControl() {
    QFETCH(int, key);
    f_->calc1->setFocus();
    f_->calc1->clearFocus();
    QCOMPARE(QApplication::focusWidget(), nullptr);
    QSignalSpy clicks(f_->calc1, &QPushButton::clicked);
    QTest::keyClick(&f_->window, Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), nullptr);
    QCOMPARE(clicks.count(), 0);
    QVERIFY(f_->window.isVisible());
  }

  void tabOutOfANumberBoxRewritesIt() {
    f_->number->setFocus();
    QTest::keyClicks(f_->number, QStringLiteral("007.50"));
    QTest::keyClick(f_->number, Qt::Key_Tab);
    QCOMPARE(f_->number->text(), QStringLiteral("7.5"));
    QCOMPARE(QApplication::focusWidget(), f_->calc1);
  }

  // In the sequence the first group's radios come as a2, a1, a3.
  void arrowsMoveWithinTheGroup_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("disabled");
    // clang-format off
    QTest::newRow("Right to the next") << "a2" << int(Qt::Key_Right) << "a1" << QString();
    QTest::newRow("Down to the next") << "a1" << int(Qt::Key_Down) << "a3" << QString();
    QTest::newRow("Right wraps") << "a3" << int(Qt::Key_Right) << "a2" << QString();
    QTest::newRow("Left wraps") << "a2" << int(Qt::Key_Left) << "a3" << QString();
    QTest::newRow("Up to the previous") << "a3" << int(Qt::Key_Up) << "a1" << QString();
    QTest::newRow("Right skips a disabled radio") << "a2" << int(Qt::Key_Right) << "a3" << "a1";
    QTest::newRow("second group, across other controls") << "b1" << int(Qt::Key_Down) << "b2" << QString();
    QTest::newRow("second group wraps") << "b2" << int(Qt::Key_Right) << "b1" << QString();
    // clang-format on
  }
  void arrowsMoveWithinTheGroup() {
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    QFETCH(QString, disabled);
    auto* start = f_->window.findChild<QRadioButton*>(from);
    auto* target = f_->window.findChild<QRadioButton*>(to);
    QVERIFY(start != nullptr && target != nullptr);
    if (!disabled.isEmpty()) f_->window.findChild<QWidget*>(disabled)->setEnabled(false);
    start->setFocus();
    start->setChecked(true);
    const bool otherGroupFirst = f_->b1->isChecked();
    const bool otherGroupSecond = f_->a1->isChecked();

    QSignalSpy clicks(target, &QAbstractButton::clicked);
    QVERIFY(clicks.isValid());
    QTest::keyClick(start, Qt::Key(key));

    QCOMPARE(QApplication::focusWidget(), target);
    QVERIFY(target->isChecked());
    QVERIFY(!start->isChecked());
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toBool(), true);
    // The other group box keeps its selection.
    if (start->parentWidget() == f_->a1->parentWidget()) {
      QCOMPARE(f_->b1->isChecked(), otherGroupFirst);
    } else {
      QCOMPARE(f_->a1->isChecked(), otherGroupSecond);
    }
  }

  void arrowsInAnEditBoxMoveTheCaret() {
    f_->number->setFocus();
    QTest::keyClicks(f_->number, QStringLiteral("123"));
    QTest::keyClick(f_->number, Qt::Key_Left);
    QTest::keyClick(f_->number, Qt::Key_Left);
    QTest::keyClick(f_->number, Qt::Key_Right);
    QCOMPARE(f_->number->cursorPosition(), 2);
    QTest::keyClick(f_->number, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), f_->number);
  }

  void arrowsOnAPushButtonDoNothing() {
    f_->calc1->setFocus();
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up}) {
      QTest::keyClick(f_->calc1, key);
      QCOMPARE(QApplication::focusWidget(), f_->calc1);
    }
  }

  void enterDoesNothing_data() {
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("key");
    for (const char* name : {"calc1", "a2", "number"}) {
      QTest::addRow("Return on %s", name) << QString::fromLatin1(name) << int(Qt::Key_Return);
      QTest::addRow("Enter on %s", name) << QString::fromLatin1(name) << int(Qt::Key_Enter);
    }
  }
  void enterDoesNothing() {
    QFETCH(QString, focused);
    QFETCH(int, key);
    auto* control = f_->window.findChild<QWidget*>(focused);
    control->setFocus();
    QSignalSpy first(f_->calc1, &QPushButton::clicked);
    QSignalSpy second(f_->calc2, &QPushButton::clicked);
    QSignalSpy radio(f_->a2, &QRadioButton::clicked);
    QTest::keyClick(control, Qt::Key(key),
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(QApplication::focusWidget(), control);
    QCOMPARE(first.count() + second.count() + radio.count(), 0);
    QVERIFY(f_->window.isVisible());
  }

  void spaceClicks_data() {
    QTest::addColumn<QString>("focused");
    QTest::newRow("push button") << "calc2";
    QTest::newRow("radio button") << "a3";
  }
  void spaceClicks() {
    QFETCH(QString, focused);
    auto* button = f_->window.findChild<QAbstractButton*>(focused);
    button->setFocus();
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(clicks.count(), 1);
    if (button->isCheckable()) QVERIFY(button->isChecked());
  }

  // The calculator's own window, against the sequence as its definition
  // lists it, written out here independently of the window's code.
  void mainWindowTabRoundTrip_data() {
    QTest::addColumn<int>("step");
    QTest::newRow("Tab") << 1;
    QTest::newRow("Shift+Tab") << -1;
  }
  void mainWindowTabRoundTrip() {
    QFETCH(int, step);
    const std::span<const std::string_view> expected(kMainWindowSequence);
    velquist::MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.Control(control::圆计算结果编辑框)->setFocus();
    const auto count = static_cast<qsizetype>(expected.size());
    for (qsizetype n = 1; n <= count; ++n) {
      QWidget* focused = QApplication::focusWidget();
      if (step > 0) {
        QTest::keyClick(focused, Qt::Key_Tab);
      } else {
        QTest::keyClick(focused, Qt::Key_Backtab, Qt::ShiftModifier);
      }
      const std::string_view name = expected[((n * step) % count + count) % count];
      QVERIFY2(
          QApplication::focusWidget() == window.Control(name),
          qPrintable(
              QStringLiteral("press %1 should reach %2").arg(n).arg(velquist::ObjectNameOf(name))));
    }
  }

  void mainWindowTabOutOfRectangleLength() {
    velquist::MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget* length = window.Control(control::矩形长);
    length->setFocus();
    QTest::keyClicks(length, QStringLiteral("007.50"));
    QTest::keyClick(length, Qt::Key_Tab);
    QCOMPARE(static_cast<EditBox*>(length)->text(), QStringLiteral("7.5"));
    QCOMPARE(QApplication::focusWidget(), window.Control(control::矩形表面积));
  }

  // The rectangle's radios come in the sequence as 面积, 周长, 体积, 表面积;
  // the one reached runs its side effect like a click.
  void mainWindowArrowRunsTheRadioSideEffect() {
    velquist::MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* height = window.Control<EditBox>(control::矩形高);
    QCOMPARE(height->text(), QStringLiteral("1"));
    QWidget* perimeter = window.Control(control::矩形周长);
    perimeter->setFocus();
    QTest::keyClick(perimeter, Qt::Key_Right);
    QCOMPARE(QApplication::focusWidget(), window.Control(control::矩形体积));
    QVERIFY(window.Control<QRadioButton>(control::矩形体积)->isChecked());
    QCOMPARE(height->text(), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), window.Control(control::矩形面积));
    QCOMPARE(height->text(), QStringLiteral("1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(QApplication::focusWidget(), window.Control(control::矩形表面积));
    QCOMPARE(height->text(), QStringLiteral("1"));
  }

  void otherWindowsKeepQtsOwnTab() {
    QWidget other;
    auto* left = new QLineEdit(&other);
    auto* right = new QLineEdit(&other);
    right->move(0, 30);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    left->setFocus();
    QTest::keyClick(left, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), right);
  }

 private:
  std::unique_ptr<Fixture> f_;
};

QTEST_MAIN(KeyboardNavigationTest)
#include "keyboard_navigation_test.moc"
