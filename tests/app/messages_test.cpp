// The message boxes: how a style word becomes a box, which code each button
// gives, and the seam the other window tests answer boxes through.
#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "app/messages.h"
#include "app/messages_testing.h"
#include "app/window_opening.h"
#include "app/window_opening_testing.h"
#include "tests/app/ui_test_support.h"

using velquist::ButtonCode;
using velquist::WindowDefinition;
using Button = QMessageBox::StandardButton;

Q_DECLARE_METATYPE(QMessageBox::Icon)
Q_DECLARE_METATYPE(QMessageBox::StandardButton)
Q_DECLARE_METATYPE(QMessageBox::StandardButtons)
Q_DECLARE_METATYPE(velquist::ButtonCode)
Q_DECLARE_METATYPE(velquist::WindowDefinition)

namespace {

// What a shown box looked like, taken while it is up.
struct SeenBox {
  QSize size;
  int centreX = 0;
  Qt::WindowFlags flags;
  QWindow* transientParent = nullptr;
};

SeenBox ShowAndLook(const QString& text, const std::optional<QString>& title) {
  SeenBox seen;
  velquist::testing::WhenModalShown([&](QWidget* modal) {
    seen.size = modal->size();
    seen.centreX = modal->frameGeometry().center().x();
    seen.flags = modal->windowFlags();
    seen.transientParent = modal->windowHandle()->transientParent();
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  velquist::ShowMessage(text, velquist::kStyleOk, title);
  return seen;
}

}  // namespace

class MessagesTest : public QObject {
  Q_OBJECT

 private slots:
  void styleWordChoosesButtonsIconAndDefault_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QMessageBox::StandardButtons>("buttons");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QMessageBox::StandardButton>("defaultButton");

    const QMessageBox::StandardButtons ok = Button::Ok;
    // clang-format off
    QTest::newRow("0: OK, no icon") << 0 << ok << QMessageBox::NoIcon << Button::Ok;
    QTest::newRow("0x10: stop") << 0x10 << ok << QMessageBox::Critical << Button::Ok;
    QTest::newRow("0x20: question") << 0x20 << ok << QMessageBox::Question << Button::Ok;
    QTest::newRow("0x30: exclamation") << 0x30 << ok << QMessageBox::Warning << Button::Ok;
    QTest::newRow("0x40: information") << 0x40 << ok << QMessageBox::Information << Button::Ok;
    QTest::newRow("0x50: no such icon") << 0x50 << ok << QMessageBox::NoIcon << Button::Ok;
    QTest::newRow("1: OK/Cancel") << 1 << (Button::Ok | Button::Cancel) << QMessageBox::NoIcon
                                  << Button::Ok;
    QTest::newRow("0x101: second default") << 0x101 << (Button::Ok | Button::Cancel)
                                           << QMessageBox::NoIcon << Button::Cancel;
    QTest::newRow("0x232: third default, exclamation")
        << 0x232 << (Button::Abort | Button::Retry | Button::Ignore) << QMessageBox::Warning
        << Button::Ignore;
    QTest::newRow("0x103: Yes/No/Cancel, No default")
        << 0x103 << (Button::Yes | Button::No | Button::Cancel) << QMessageBox::NoIcon
        << Button::No;
    QTest::newRow("0x224: Yes/No, default beyond the buttons")
        << 0x224 << (Button::Yes | Button::No) << QMessageBox::Question << Button::Yes;
    QTest::newRow("5: Retry/Cancel") << 5 << (Button::Retry | Button::Cancel)
                                     << QMessageBox::NoIcon << Button::Retry;
    QTest::newRow("7: no such button set") << 7 << ok << QMessageBox::NoIcon << Button::Ok;
    QTest::newRow("0x1040: system-modal bit") << 0x1040 << ok << QMessageBox::Information
                                              << Button::Ok;
    // clang-format on
  }

  void styleWordChoosesButtonsIconAndDefault() {
    QFETCH(int, style);
    QFETCH(QMessageBox::StandardButtons, buttons);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QMessageBox::StandardButton, defaultButton);

    const auto box = velquist::BuildMessageBox(QStringLiteral("x"), style, std::nullopt);
    QCOMPARE(box->standardButtons(), buttons);
    QCOMPARE(box->icon(), icon);
    QCOMPARE(box->standardButton(box->defaultButton()), defaultButton);
    // Task-modal and without owner, whatever the modality bits say.
    QCOMPARE(box->windowModality(), Qt::ApplicationModal);
    QCOMPARE(box->parentWidget(), nullptr);
  }

  void captionIsTheTitleOrTheDefault() {
    QCOMPARE(velquist::BuildMessageBox(QStringLiteral("x"), 0, std::nullopt)->windowTitle(),
             QStringLiteral("信息："));
    QCOMPARE(velquist::BuildMessageBox(QStringLiteral("x"), velquist::kStyleInformation,
                                       QStringLiteral("计算结果"))
                 ->windowTitle(),
             QStringLiteral("计算结果"));
  }

  void textIsShownAsItStands() {
    const QString text = QStringLiteral("<b>1 & 2</b>");
    const auto box = velquist::BuildMessageBox(text, 0, std::nullopt);
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(box->text(), text);
  }

  // The real box, shown and dismissed as a user would.
  void realBoxShowsCaptionIconAndButton_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QMessageBox::Icon>("icon");
    // clang-format off
    QTest::newRow("missing input") << int{velquist::kStyleOk} << QString() << QStringLiteral("信息：")
                                   << QMessageBox::NoIcon;
    QTest::newRow("perimeter note") << int{velquist::kStyleInformation} << QStringLiteral("计算结果")
                                    << QStringLiteral("计算结果") << QMessageBox::Information;
    // clang-format on
  }

  void realBoxShowsCaptionIconAndButton() {
    QFETCH(int, style);
    QFETCH(QString, title);
    QFETCH(QString, caption);
    QFETCH(QMessageBox::Icon, icon);

    QString seenCaption;
    QString seenText;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QList<QAbstractButton*> seenButtons;
    QWidget* seenParent = reinterpret_cast<QWidget*>(1);
    velquist::testing::WhenModalShown([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box != nullptr);
      seenCaption = box->windowTitle();
      seenText = box->text();
      seenIcon = box->icon();
      seenButtons = box->buttons();
      seenParent = box->parentWidget();
      QTest::mouseClick(box->button(Button::Ok), Qt::LeftButton);
    });
    const std::optional<QString> given = title.isNull() ? std::nullopt : std::optional(title);
    const ButtonCode code = velquist::ShowMessage(QStringLiteral("请输入圆的直径"), style, given);

    QCOMPARE(code, ButtonCode::Ok);
    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenText, QStringLiteral("请输入圆的直径"));
    QCOMPARE(seenIcon, icon);
    QCOMPARE(seenButtons.size(), 1);
    QCOMPARE(seenParent, nullptr);
  }

  // The box takes the width its contents need, but never less than its
  // caption needs in a title bar; widened, it stays centred where Qt puts it.
  void boxIsWideEnoughForItsCaption_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("widened");  // beyond the width Qt alone gives it
    const QString shortText = QStringLiteral("请输入圆的直径");
    // clang-format off
    QTest::newRow("default caption") << shortText << QString() << true;
    QTest::newRow("note caption") << QStringLiteral("三角形周长等于三条边之和")
                                  << QStringLiteral("计算结果") << true;
    QTest::newRow("long text, short caption") << QString(60, QChar(u'长')) << QString() << false;
    QTest::newRow("long caption") << shortText << QString(30, QChar(u'题')) << true;
    // Qt itself widens such a box to the width of the screen, and no further.
    QTest::newRow("caption wider than the screen") << shortText << QString(400, QChar(u'题'))
                                                   << false;
    // clang-format on
  }

  void boxIsWideEnoughForItsCaption() {
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(bool, widened);
    const std::optional<QString> given = title.isNull() ? std::nullopt : std::optional(title);
    const QString caption = given.value_or(velquist::kDefaultMessageCaption);

    // The same box as Qt alone sizes and places it.
    QMessageBox plain;
    plain.setWindowTitle(caption);
    plain.setTextFormat(Qt::PlainText);
    plain.setText(text);
    plain.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    const int plainWidth = plain.width();
    const int plainCentreX = plain.frameGeometry().center().x();
    plain.close();

    const SeenBox seen = ShowAndLook(text, given);
    const int screenWidth = QGuiApplication::primaryScreen()->availableGeometry().width();
    const int captionWidth = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::TitleFont))
                                 .horizontalAdvance(caption);
    // Room for at least an icon and three buttons of 16 pixels beside the caption.
    QVERIFY(seen.size.width() >= std::min(captionWidth + 4 * 16, screenWidth));
    QVERIFY(seen.size.width() <= std::max(plainWidth, screenWidth));
    QCOMPARE(seen.size.width() > plainWidth, widened);
    QCOMPARE(
        seen.size.width(),
        std::max(plainWidth, std::min(velquist::MinimumMessageBoxWidth(caption), screenWidth)));
    QVERIFY2(std::abs(seen.centreX - plainCentreX) <= 1,
             qPrintable(QStringLiteral("centre %1, Qt's %2").arg(seen.centreX).arg(plainCentreX)));
  }

  void boxFrameHasACloseBoxOnly() {
    const Qt::WindowFlags flags = ShowAndLook(QStringLiteral("x"), std::nullopt).flags;
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    // Only with the customised frame does Qt leave out of the window
    // manager's hints what the flags leave out.
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
  }

  // Stacked above the program's window that was active when it opened, never
  // above an invisible one; with no window of the program open there is
  // nothing to stack above.
  void boxIsHeldAboveTheActiveWindow_data() {
    QTest::addColumn<bool>("mainOpen");
    QTest::addColumn<bool>("formulaOpen");
    QTest::addColumn<WindowDefinition>("active");
    QTest::newRow("main active") << true << true << WindowDefinition::MainWindow;
    QTest::newRow("formula active") << true << true << WindowDefinition::FormulaWindow;
    QTest::newRow("formula alone") << false << true << WindowDefinition::FormulaWindow;
    QTest::newRow("main alone") << true << false << WindowDefinition::MainWindow;
  }

  void boxIsHeldAboveTheActiveWindow() {
    QFETCH(bool, mainOpen);
    QFETCH(bool, formulaOpen);
    QFETCH(WindowDefinition, active);
    if (mainOpen) QVERIFY(velquist::OpenWindow(WindowDefinition::MainWindow, false));
    if (formulaOpen) QVERIFY(velquist::OpenWindow(WindowDefinition::FormulaWindow, false));
    QWidget* activeWindow = velquist::testing::OpenedWindow(active);
    activeWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(activeWindow));

    const SeenBox seen = ShowAndLook(QStringLiteral("请输入圆的直径"), std::nullopt);
    QCOMPARE(seen.transientParent, activeWindow->windowHandle());
    // Nothing of the other windows' state is touched by the link.
    QVERIFY(activeWindow->isEnabled());
    velquist::testing::CloseEverything();
  }

  void boxWithoutAnyWindowHasNoParent() {
    QCOMPARE(ShowAndLook(QStringLiteral("x"), std::nullopt).transientParent, nullptr);
  }

  void buttonPressedGivesItsCode_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QMessageBox::StandardButton>("press");
    QTest::addColumn<ButtonCode>("code");
    QTest::newRow("OK") << 0 << Button::Ok << ButtonCode::Ok;
    QTest::newRow("Cancel") << 1 << Button::Cancel << ButtonCode::Cancel;
    QTest::newRow("Abort") << 2 << Button::Abort << ButtonCode::Abort;
    QTest::newRow("Retry") << 2 << Button::Retry << ButtonCode::Retry;
    QTest::newRow("Ignore") << 2 << Button::Ignore << ButtonCode::Ignore;
    QTest::newRow("Yes") << 3 << Button::Yes << ButtonCode::Yes;
    QTest::newRow("No") << 4 << Button::No << ButtonCode::No;
  }

  void buttonPressedGivesItsCode() {
    QFETCH(int, style);
    QFETCH(QMessageBox::StandardButton, press);
    QFETCH(ButtonCode, code);
    velquist::testing::WhenModalShown([press](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box != nullptr && box->button(press) != nullptr);
      QTest::mouseClick(box->button(press), Qt::LeftButton);
    });
    QCOMPARE(velquist::ShowMessage(QStringLiteral("x"), style), code);
  }

  void escapeOnTheOkBoxGivesOk() {
    velquist::testing::WhenModalShown(
        [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QCOMPARE(velquist::ShowMessage(QStringLiteral("x"), velquist::kStyleOk), ButtonCode::Ok);
  }

  void anythingButTheSevenButtonsGivesZero() {
    QCOMPARE(velquist::ButtonCodeOf(Button::Close), ButtonCode::Ok);
    QCOMPARE(velquist::ButtonCodeOf(Button::NoButton), ButtonCode::Ok);
  }

  void responderAnswersInsteadOfABox() {
    velquist::testing::ShownMessage seen{};
    velquist::testing::SetMessageResponder([&](const velquist::testing::ShownMessage& m) {
      seen = m;
      // No box may be up meanwhile.
      return QApplication::activeModalWidget() == nullptr ? ButtonCode::Retry : ButtonCode::Ok;
    });
    const ButtonCode code = velquist::ShowMessage(QStringLiteral("暂停"), velquist::kStyleOk);
    velquist::testing::SetMessageResponder(nullptr);
    QCOMPARE(code, ButtonCode::Retry);
    QCOMPARE(seen.text, QStringLiteral("暂停"));
    QCOMPARE(seen.caption, QStringLiteral("信息："));
    QCOMPARE(seen.style, velquist::kStyleOk);
  }

  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
  void cleanup() { QVERIFY(QApplication::activeModalWidget() == nullptr); }
};

QTEST_MAIN(MessagesTest)
#include "messages_test.moc"
