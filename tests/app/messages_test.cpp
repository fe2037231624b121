// The message boxes: how a style word becomes a box, which code each button
// gives, and the seam the other window tests answer boxes through.
#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include <optional>

#include "app/messages.h"
#include "tests/app/ui_test_support.h"

using velquist::ButtonCode;
using Button = QMessageBox::StandardButton;

Q_DECLARE_METATYPE(QMessageBox::Icon)
Q_DECLARE_METATYPE(QMessageBox::StandardButton)
Q_DECLARE_METATYPE(QMessageBox::StandardButtons)
Q_DECLARE_METATYPE(velquist::ButtonCode)

class MessagesTest : public QObject {
  Q_OBJECT

 private slots:
  void styleWordChoosesButtonsIconAndDefault_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QMessageBox::StandardButtons>("buttons");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QMessageBox::StandardButton>("defaultButton");

    const QMessageBox::StandardButtons ok = Button::Ok;
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
    QCOMPARE(velquist::BuildMessageBox(QStringLiteral("x"), 64, QStringLiteral("计算结果"))
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
    QTest::newRow("missing input") << 0 << QString() << QStringLiteral("信息：")
                                   << QMessageBox::NoIcon;
    QTest::newRow("perimeter note") << 64 << QStringLiteral("计算结果")
                                    << QStringLiteral("计算结果") << QMessageBox::Information;
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
    QCOMPARE(velquist::ShowMessage(QStringLiteral("x"), 0), ButtonCode::Ok);
  }

  void anythingButTheSevenButtonsGivesZero() {
    QCOMPARE(velquist::ButtonCodeOf(Button::Close), ButtonCode::Ok);
    QCOMPARE(velquist::ButtonCodeOf(Button::NoButton), ButtonCode::Ok);
  }

  void responderAnswersInsteadOfABox() {
    velquist::ShownMessage seen{};
    velquist::SetMessageResponderForTesting([&](const velquist::ShownMessage& m) {
      seen = m;
      // No box may be up meanwhile.
      return QApplication::activeModalWidget() == nullptr ? ButtonCode::Retry : ButtonCode::Ok;
    });
    const ButtonCode code = velquist::ShowMessage(QStringLiteral("暂停"), 0);
    velquist::SetMessageResponderForTesting(nullptr);
    QCOMPARE(code, ButtonCode::Retry);
    QCOMPARE(seen.text, QStringLiteral("暂停"));
    QCOMPARE(seen.caption, QStringLiteral("信息："));
    QCOMPARE(seen.style, 0);
  }

  void cleanup() { QVERIFY(QApplication::activeModalWidget() == nullptr); }
};

QTEST_MAIN(MessagesTest)
#include "messages_test.moc"
