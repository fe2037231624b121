// The edit boxes' input rules, driven through key presses, input-method
// commits, the clipboard and focus changes as a user would cause them.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <memory>

#include "app/edit_box.h"

using velquist::EditBox;
using velquist::EditInputMode;

Q_DECLARE_METATYPE(velquist::EditInputMode)

namespace {

// Sends each character (a surrogate pair as one) as a key press and release
// carrying that text, the way a keyboard layout delivers it.
void Type(QWidget* target, const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    QString unit(text[i]);
    if (text[i].isHighSurrogate() && i + 1 < text.size()) unit += text[++i];
    const char16_t code = unit[0].unicode();
    Qt::Key key = Qt::Key_unknown;
    if (code == u'\b') {
      key = Qt::Key_Backspace;
    } else if (code > u' ' && code < 0x7F) {
      key = static_cast<Qt::Key>(QChar(code).toUpper().unicode());
    } else if (code == u' ') {
      key = Qt::Key_Space;
    }
    QTest::sendKeyEvent(QTest::Press, target, key, unit, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, target, key, unit, Qt::NoModifier);
  }
}

void Commit(QWidget* target, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(target, &event);
}

void Paste(QWidget* target, const QString& text) {
  QApplication::clipboard()->setText(text);
  QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
}

// A window with one box of each mode and a button to click away to.
struct Form {
  Form() {
    number = new EditBox(EditInputMode::DoubleNumber, &window);
    integer = new EditBox(EditInputMode::IntegerText, &window);
    result = new EditBox(EditInputMode::ReadOnly, &window);
    button = new QPushButton(QStringLiteral("计算"), &window);
    number->setGeometry(8, 8, 104, 20);
    integer->setGeometry(8, 32, 104, 20);
    result->setGeometry(8, 56, 104, 20);
    button->setGeometry(8, 80, 64, 24);
    window.resize(200, 120);
  }
  EditBox* Box(EditInputMode mode) const {
    switch (mode) {
      case EditInputMode::DoubleNumber: return number;
      case EditInputMode::IntegerText: return integer;
      case EditInputMode::ReadOnly: break;
    }
    return result;
  }

  QWidget window;
  EditBox* number;
  EditBox* integer;
  EditBox* result;
  QPushButton* button;
};

}  // namespace

class EditBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    form_ = std::make_unique<Form>();
    form_->window.show();
    QVERIFY(QTest::qWaitForWindowActive(&form_->window));
  }
  void cleanup() {
    other_.reset();
    form_.reset();
  }

  void typing_data() {
    QTest::addColumn<EditInputMode>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    const auto number = EditInputMode::DoubleNumber;
    const auto integer = EditInputMode::IntegerText;
    // clang-format off
    QTest::newRow("number drops a, e and +") << number << QStringLiteral("1a2e3+4") << QStringLiteral("1234");
    QTest::newRow("number keeps any order of - and .") << number << QStringLiteral("--1..2-") << QStringLiteral("--1..2-");
    QTest::newRow("number drops space") << number << QStringLiteral(" 7") << QStringLiteral("7");
    QTest::newRow("number drops chinese") << number << QStringLiteral("1中2") << QStringLiteral("12");
    QTest::newRow("number drops full-width digit") << number << QStringLiteral("１2") << QStringLiteral("2");
    QTest::newRow("number drops emoji") << number << QStringLiteral("😀5") << QStringLiteral("5");
    QTest::newRow("backspace passes") << number << QStringLiteral("123\b") << QStringLiteral("12");
    QTest::newRow("integer drops .") << integer << QStringLiteral("1.5") << QStringLiteral("15");
    QTest::newRow("integer keeps -") << integer << QStringLiteral("-3-") << QStringLiteral("-3-");
    QTest::newRow("integer drops a, e and +") << integer << QStringLiteral("a2e+") << QStringLiteral("2");
    QTest::newRow("result box takes nothing") << EditInputMode::ReadOnly << QStringLiteral("12") << QString();
    // clang-format on
  }
  void typing() {
    QFETCH(EditInputMode, mode);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    EditBox* box = form_->Box(mode);
    box->setFocus();
    Type(box, typed);
    QCOMPARE(box->text(), shown);
  }

  // A real keyboard gives editing keys a control character as their text:
  // X11 sends U+007F with Delete, Shift+Delete and the keypad's Delete.
  void editingKeyWithControlText_data() {
    QTest::addColumn<EditInputMode>("mode");
    QTest::addColumn<int>("caret");  // -1: the whole text selected
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("clipboard");
    const auto number = EditInputMode::DoubleNumber;
    const auto integer = EditInputMode::IntegerText;
    const QString del(QChar(0x7F));
    const int none = Qt::NoModifier;
    const QString untouched = QStringLiteral("clipboard");
    // clang-format off
    QTest::newRow("Delete, number box") << number << 2 << int(Qt::Key_Delete) << none << del
                                        << QStringLiteral("1245") << untouched;
    QTest::newRow("Delete, decimal-places box") << integer << 0 << int(Qt::Key_Delete) << none << del
                                                << QStringLiteral("2345") << untouched;
    QTest::newRow("Delete over a selection") << number << -1 << int(Qt::Key_Delete) << none << del
                                             << QString() << untouched;
    QTest::newRow("keypad Delete") << number << 0 << int(Qt::Key_Delete) << int(Qt::KeypadModifier)
                                   << del << QStringLiteral("2345") << untouched;
    QTest::newRow("Shift+Delete cuts") << number << -1 << int(Qt::Key_Delete) << int(Qt::ShiftModifier)
                                       << del << QString() << QStringLiteral("12345");
    QTest::newRow("Backspace") << integer << 5 << int(Qt::Key_Backspace) << none << QStringLiteral("\b")
                               << QStringLiteral("1234") << untouched;
    QTest::newRow("a C1 control inserts nothing") << number << 5 << int(Qt::Key_unknown) << none
                                                  << QString(QChar(0x85)) << QStringLiteral("12345")
                                                  << untouched;
    // clang-format on
  }
  void editingKeyWithControlText() {
    QFETCH(EditInputMode, mode);
    QFETCH(int, caret);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(QString, clipboard);
    QApplication::clipboard()->setText(QStringLiteral("clipboard"));
    EditBox* box = form_->Box(mode);
    box->ReplaceText(QStringLiteral("12345"));
    box->setFocus();
    if (caret < 0) {
      box->selectAll();
    } else {
      box->setCursorPosition(caret);
    }
    const auto mods = static_cast<Qt::KeyboardModifiers>(modifiers);
    QTest::sendKeyEvent(QTest::Press, box, static_cast<Qt::Key>(key), text, mods);
    QTest::sendKeyEvent(QTest::Release, box, static_cast<Qt::Key>(key), text, mods);
    QCOMPARE(box->text(), shown);
    QCOMPARE(QApplication::clipboard()->text(), clipboard);
  }

  // A commit is taken as if its characters were typed one by one.
  void inputMethodCommit_data() {
    QTest::addColumn<EditInputMode>("mode");
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("shown");
    const auto number = EditInputMode::DoubleNumber;
    // clang-format off
    QTest::newRow("chinese into number") << number << QStringLiteral("中文") << QString();
    QTest::newRow("chinese into integer") << EditInputMode::IntegerText << QStringLiteral("二") << QString();
    QTest::newRow("digits pass") << number << QStringLiteral("12") << QStringLiteral("12");
    QTest::newRow("mixed keeps the allowed") << number << QStringLiteral("1中.2") << QStringLiteral("1.2");
    QTest::newRow("full-width digits refused") << number << QStringLiteral("３") << QString();
    // A read-only QLineEdit would insert a commit on its own.
    QTest::newRow("result box takes no commit") << EditInputMode::ReadOnly << QStringLiteral("12中") << QString();
    // clang-format on
  }
  void inputMethodCommit() {
    QFETCH(EditInputMode, mode);
    QFETCH(QString, committed);
    QFETCH(QString, shown);
    EditBox* box = form_->Box(mode);
    box->setFocus();
    Commit(box, committed);
    QCOMPARE(box->text(), shown);
  }

  void refusedCommitKeepsTheSelection() {
    form_->number->ReplaceText(QStringLiteral("45"));
    form_->number->setFocus();
    form_->number->selectAll();
    Commit(form_->number, QStringLiteral("中"));
    QCOMPARE(form_->number->text(), QStringLiteral("45"));
    QCOMPARE(form_->number->selectedText(), QStringLiteral("45"));
  }

  // Pasting is not filtered; what a number box cannot read goes on leaving.
  void pasteThenLeave_data() {
    QTest::addColumn<EditInputMode>("mode");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("afterLeaving");
    const auto number = EditInputMode::DoubleNumber;
    // clang-format off
    QTest::newRow("letters into number") << number << QStringLiteral("abc") << QString();
    QTest::newRow("full-width digits are not folded") << number << QStringLiteral("１２") << QString();
    QTest::newRow("exponent into number") << number << QStringLiteral("+1e5") << QStringLiteral("100000");
    QTest::newRow("letters into integer stay") << EditInputMode::IntegerText << QStringLiteral("1.5x") << QStringLiteral("1.5x");
    // clang-format on
  }
  void pasteThenLeave() {
    QFETCH(EditInputMode, mode);
    QFETCH(QString, pasted);
    QFETCH(QString, afterLeaving);
    EditBox* box = form_->Box(mode);
    box->setFocus();
    Paste(box, pasted);
    QCOMPARE(box->text(), pasted);
    form_->button->setFocus(Qt::TabFocusReason);
    QCOMPARE(box->text(), afterLeaving);
  }

  void resultBoxRefusesPasteButTakesWrites() {
    EditBox* box = form_->result;
    box->setFocus();
    QVERIFY(box->hasFocus());
    Paste(box, QStringLiteral("9"));
    QCOMPARE(box->text(), QString());
    box->ReplaceText(QStringLiteral("31.4"));
    QCOMPARE(box->text(), QStringLiteral("31.4"));
  }

  void pasteHasNoLengthLimit() {
    const QString longText(40000, QLatin1Char('7'));
    form_->integer->setFocus();
    Paste(form_->integer, longText);
    QCOMPARE(form_->integer->text().size(), longText.size());
  }

  void dropIsNotFiltered() {
    QMimeData mime;
    mime.setText(QStringLiteral("x中"));
    const QPoint inside = form_->number->rect().center();
    QDragEnterEvent enter(inside, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_->number, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(inside), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_->number, &drop);
    QCOMPARE(form_->number->text(), QStringLiteral("x中"));
  }

  void numberRewrittenOnLeaving_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rewritten");
    const QString empty;
    // clang-format off
    QTest::newRow("leading zero") << QStringLiteral("010") << QStringLiteral("10");
    QTest::newRow("trailing zero") << QStringLiteral("1.50") << QStringLiteral("1.5");
    QTest::newRow("bare point") << QStringLiteral("3.") << QStringLiteral("3");
    QTest::newRow("second sign stops") << QStringLiteral("1-2") << QStringLiteral("1");
    QTest::newRow("second point stops") << QStringLiteral("2.5.1") << QStringLiteral("2.5");
    QTest::newRow("thirteen digits") << QStringLiteral("3.14159265358979") << QStringLiteral("3.14159265359");
    QTest::newRow("zero") << QStringLiteral("0") << empty;
    QTest::newRow("zero with fraction") << QStringLiteral("0.000") << empty;
    QTest::newRow("negative zero") << QStringLiteral("-0") << empty;
    QTest::newRow("minus alone") << QStringLiteral("-") << empty;
    QTest::newRow("point alone") << QStringLiteral(".") << empty;
    QTest::newRow("leading space skipped") << QStringLiteral(" 5") << QStringLiteral("5");
    QTest::newRow("exponent form") << QStringLiteral("1234567890123456") << QStringLiteral("1.234567890123e+015");
    QTest::newRow("overflow") << QStringLiteral("-1e999") << QStringLiteral("-1.#INF");
    QTest::newRow("unencodable ends the number") << QStringLiteral("1😀2") << QStringLiteral("1");
    QTest::newRow("already a number") << QStringLiteral("-7.5") << QStringLiteral("-7.5");
    // clang-format on
  }
  void numberRewrittenOnLeaving() {
    QFETCH(QString, text);
    QFETCH(QString, rewritten);
    form_->number->ReplaceText(text);
    form_->number->setFocus();
    QTest::keyClick(form_->number, Qt::Key_Tab);
    QVERIFY(!form_->number->hasFocus());
    QCOMPARE(form_->number->text(), rewritten);
  }

  void integerAndResultBoxesAreNeverRewritten() {
    for (EditBox* box : {form_->integer, form_->result}) {
      box->ReplaceText(QStringLiteral("-"));
      box->setFocus();
      form_->button->setFocus(Qt::TabFocusReason);
      QCOMPARE(box->text(), QStringLiteral("-"));
    }
  }

  // The rewriting runs for every way the focus can go, except into the box's
  // own context menu.
  void leavingBy_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("shown");
    QTest::newRow("tab") << QStringLiteral("tab") << QStringLiteral("10");
    QTest::newRow("mouse on button") << QStringLiteral("click") << QStringLiteral("10");
    QTest::newRow("other window") << QStringLiteral("window") << QStringLiteral("10");
    QTest::newRow("own context menu") << QStringLiteral("menu") << QStringLiteral("010");
  }
  void leavingBy() {
    QFETCH(QString, way);
    QFETCH(QString, shown);
    EditBox* box = form_->number;
    box->ReplaceText(QStringLiteral("010"));
    box->setFocus();
    QVERIFY(box->hasFocus());
    if (way == QLatin1String("tab")) {
      QTest::keyClick(box, Qt::Key_Tab);
    } else if (way == QLatin1String("click")) {
      QTest::mouseClick(form_->button, Qt::LeftButton);
      QVERIFY(form_->button->hasFocus());
    } else if (way == QLatin1String("window")) {
      ActivateOtherWindow();
    } else {
      QMenu* menu = OpenContextMenu(box);
      QVERIFY(menu != nullptr);
      QCOMPARE(box->text(), shown);
      menu->close();
    }
    QCOMPARE(box->text(), shown);
  }

  void buttonClickReadsTheRewrittenText() {
    QString seen;
    connect(form_->button, &QPushButton::clicked, this, [&] { seen = form_->number->text(); });
    form_->number->setFocus();
    Type(form_->number, QStringLiteral("0"));
    QTest::mouseClick(form_->button, Qt::LeftButton);
    QCOMPARE(seen, QString());
  }

  void pasteFromOwnContextMenuThenLeave() {
    EditBox* box = form_->number;
    box->ReplaceText(QStringLiteral("2."));
    box->setFocus();
    box->end(false);
    QApplication::clipboard()->setText(QStringLiteral("50"));
    QMenu* menu = OpenContextMenu(box);
    QVERIFY(menu != nullptr);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions()) {
      if (action->text().startsWith(QLatin1String("&Paste"))) paste = action;
    }
    QVERIFY(paste != nullptr);
    paste->trigger();
    menu->close();
    QCOMPARE(box->text(), QStringLiteral("2.50"));
    QVERIFY(box->hasFocus());
    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(box->text(), QStringLiteral("2.5"));
  }

  // The caret lands where the selection, or the caret, began; never past the
  // new end; nothing stays selected; and the box shows the caret.
  void caretAfterRewriting_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("rewritten");
    QTest::addColumn<int>("caretAfter");
    // clang-format off
    QTest::newRow("caret inside") << QStringLiteral("007.50") << 2 << 2 << QStringLiteral("7.5") << 2;
    QTest::newRow("caret past new end") << QStringLiteral("007.50") << 6 << 6 << QStringLiteral("7.5") << 3;
    QTest::newRow("selection forwards") << QStringLiteral("1.2345000") << 1 << 8 << QStringLiteral("1.2345") << 1;
    QTest::newRow("selection backwards") << QStringLiteral("1.2345000") << 8 << 2 << QStringLiteral("1.2345") << 2;
    QTest::newRow("emptied") << QStringLiteral("0.000") << 3 << 3 << QString() << 0;
    QTest::newRow("long text scrolled far") << QString(300, QLatin1Char('1')) + QStringLiteral("x") << 301 << 301
                                            << QStringLiteral("1.111111111111e+299") << 19;
    // clang-format on
  }
  void caretAfterRewriting() {
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, rewritten);
    QFETCH(int, caretAfter);
    EditBox* box = form_->number;
    box->ReplaceText(text);
    box->setFocus();
    box->setSelection(anchor, caret - anchor);
    box->grab();  // lets the box scroll to the old caret first
    QTest::mouseClick(form_->button, Qt::LeftButton);
    QCOMPARE(box->text(), rewritten);
    QCOMPARE(box->cursorPosition(), caretAfter);
    QVERIFY(!box->hasSelectedText());
    box->grab();
    QVERIFY(box->rect().contains(box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center()));
  }

  void unchangedTextKeepsCaretAndSelection() {
    EditBox* box = form_->number;
    box->ReplaceText(QStringLiteral("12.5"));
    box->setFocus();
    box->setSelection(1, 2);
    QSignalSpy changes(box, &QLineEdit::textChanged);
    QVERIFY(changes.isValid());
    ActivateOtherWindow();
    QCOMPARE(changes.count(), 0);
    QCOMPARE(box->selectionStart(), 1);
    QCOMPARE(box->selectedText(), QStringLiteral("2."));
  }

  void writeLeavesCaretAtStart() {
    form_->integer->ReplaceText(QStringLiteral("2"));
    QCOMPARE(form_->integer->cursorPosition(), 0);
    QVERIFY(!form_->integer->hasSelectedText());
  }

  void readOnlyBoxIsStillATabStop() {
    QVERIFY(form_->result->isReadOnly());
    QVERIFY((form_->result->focusPolicy() & Qt::TabFocus) != 0);
  }

  // A box that keeps its selection while another window is active does not
  // show it; with the focus it does.
  void selectionHiddenWhileUnfocused() {
    EditBox* box = form_->number;
    box->ReplaceText(QStringLiteral("888"));
    box->setFocus();
    box->selectAll();
    const QImage focusedSelected = box->grab().toImage();
    ActivateOtherWindow();
    QVERIFY(box->hasSelectedText());
    const QImage unfocusedSelected = box->grab().toImage();
    box->deselect();
    const QImage unfocusedPlain = box->grab().toImage();
    QCOMPARE(unfocusedSelected, unfocusedPlain);
    QVERIFY(focusedSelected != unfocusedPlain);
  }

 private:
  void ActivateOtherWindow() {
    other_ = std::make_unique<QWidget>();
    other_->resize(100, 50);
    other_->show();
    other_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(other_.get()));
  }

  static QMenu* OpenContextMenu(QWidget* box) {
    const QPoint inside = box->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, inside, box->mapToGlobal(inside));
    QApplication::sendEvent(box, &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
  }

  std::unique_ptr<Form> form_;
  std::unique_ptr<QWidget> other_;
};

QTEST_MAIN(EditBoxTest)
#include "edit_box_test.moc"
