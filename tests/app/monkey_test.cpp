// A long random walk of user actions on the main window, with a model of
// what every edit box must hold after each action.
//
//   monkey_test [-actions N] [-seed S] [Qt Test options]
//
// N defaults to 20,000 actions; the walk is the same for the same seed. The
// actions: typing any character (Chinese, full-width forms, characters GBK
// cannot hold), committing short strings through the input method, pasting
// texts of up to 1 MB, clicking every button, radio button and edit box,
// Tab and Shift+Tab, the arrow keys, Backspace and select-all. Message boxes
// are answered through the message seam as they come.
//
// After every action:
// - every message shown is one of the program's own texts with its caption;
// - a result box changed only when its own button was clicked, and then to a
//   text in the number text style (the infinities and NaN included) or,
//   for the circle, emptied by its radio buttons;
// - the box that was typed or pasted into holds exactly the old text with
//   what its rules accept put in at the caret (over the selection);
// - a dimension box that lost the focus holds its rewriting, and every other
//   box its earlier text.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/edit_box.h"
#include "app/gbk_codec.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/messages_testing.h"
#include "app/window_opening.h"
#include "app/window_opening_testing.h"
#include "core/global_state.h"
#include "core/message_texts.h"
#include "tests/oracle/exact_decimal.h"

using velquist::EditBox;
using velquist::EditInputMode;

namespace control = velquist::control;
using velquist::ObjectNameOf;

namespace {

int g_actions = 20'000;
std::uint64_t g_seed = 5;

QString Gbk(std::string_view bytes) { return velquist::FromGbk(bytes); }

// What the calculators may say, with the caption and style each comes with.
struct KnownMessage {
  QString caption;
  std::int32_t style;
};

std::map<QString, KnownMessage> ProgramMessages() {
  namespace m = velquist::message;
  const KnownMessage plain{QStringLiteral("信息："), velquist::kStyleOk};
  const KnownMessage note{Gbk(m::kResultTitle), velquist::kStyleInformation};
  std::map<QString, KnownMessage> known;
  for (std::string_view text :
       {m::kEnterDecimalPlaces, m::kAtMost1000DecimalPlaces, m::kDecimalPlacesNotNegative,
        m::kEnterCircleDiameter, m::kEnterRectangleLength, m::kEnterRectangleWidth,
        m::kEnterRectangleHeight, m::kEnterTriangleBase, m::kEnterTriangleHeight,
        m::kEnterParallelogramBase, m::kEnterParallelogramHeight, m::kEnterTrapezoidUpperBase,
        m::kEnterTrapezoidLowerBase, m::kEnterTrapezoidHeight, m::kTrapezoidPerimeterNote,
        m::kPaused}) {
    known.emplace(Gbk(text), plain);
  }
  // Only these two notes come titled, with the information icon.
  for (std::string_view text : {m::kTrianglePerimeterNote, m::kParallelogramPerimeterNote}) {
    known.emplace(Gbk(text), note);
  }
  return known;
}

// The number text style with six significant digits, checked on its own
// terms (shape, digit count, which form for which exponent) and then by
// reading it back: a text FloatToText writes is the text of its own value.
bool InNumberTextStyle(const QString& text) {
  if (text == u"1.#INF" || text == u"-1.#INF" || text == u"1.#QNAN" || text == u"0") return true;
  static const QRegularExpression plain(
      QStringLiteral(R"(^-?(?:([1-9]\d*)(?:\.(\d*[1-9]))?|0\.(0*)([1-9]\d*))$)"));
  static const QRegularExpression exponent(
      QStringLiteral(R"(^-?[1-9](?:\.(\d*[1-9]))?e([+-])(\d{3})$)"));
  int digits = 0;
  if (const auto p = plain.match(text); p.hasMatch()) {
    if (p.capturedLength(1) > 0) {
      QString whole = p.captured(1);
      if (whole.size() > 6) return false;  // 10^6 and above take the exponent form
      while (whole.endsWith(u'0') && p.capturedLength(2) == 0) whole.chop(1);
      digits = static_cast<int>(whole.size() + p.capturedLength(2));
    } else {
      if (p.capturedLength(3) > 3) return false;  // below 10^-4: exponent form
      digits = static_cast<int>(p.capturedLength(4));
    }
  } else if (const auto e = exponent.match(text); e.hasMatch()) {
    const int x = e.captured(3).toInt() * (e.captured(2) == u"-" ? -1 : 1);
    if (x >= -4 && x < 6) return false;
    digits = 1 + static_cast<int>(e.capturedLength(1));
  } else {
    return false;
  }
  if (digits > 6) return false;
  const std::string bytes = velquist::ToGbk(text);
  const auto value = static_cast<float>(velquist::oracle::ReferenceParse(bytes));
  return velquist::oracle::ReferenceFloatText(value) == bytes;
}

// What leaving a dimension box must make of its text, from the reference, not
// from the functions the box itself uses.
QString Rewritten(const QString& text) {
  std::string number = velquist::oracle::ReferenceDoubleText(
      velquist::oracle::ReferenceParse(velquist::ToGbk(text)));
  if (number == "0") number.clear();
  return QString::fromLatin1(number.data(), static_cast<qsizetype>(number.size()));
}

bool Accepted(EditInputMode mode, QChar c) {
  const bool digit = c >= u'0' && c <= u'9';
  switch (mode) {
    case EditInputMode::IntegerText: return digit || c == u'-';
    case EditInputMode::DoubleNumber: return digit || c == u'-' || c == u'.';
    case EditInputMode::ReadOnly: return false;
  }
  return false;
}

// What an edit box must hold once `typed` went in at its caret, over its
// selection, keeping only what the box's rules accept.
QString AfterTyping(const EditBox& box, const QString& typed) {
  if (box.mode() == EditInputMode::ReadOnly) return box.text();
  QString kept;
  for (QChar c : typed) {
    if (Accepted(box.mode(), c)) kept += c;
  }
  if (kept.isEmpty()) return box.text();
  const QString old = box.text();
  const qsizetype start = box.hasSelectedText() ? box.selectionStart() : box.cursorPosition();
  const qsizetype length = box.hasSelectedText() ? box.selectedText().size() : 0;
  return old.left(start) + kept + old.mid(start + length);
}

// Whether `after` is `before` with one stretch of it taken out (Backspace).
bool IsOneCut(const QString& before, const QString& after) {
  if (after.size() > before.size()) return false;
  qsizetype prefix = 0;
  while (prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
  const qsizetype rest = after.size() - prefix;
  return QStringView(before).right(rest) == QStringView(after).right(rest);
}

class Walk {
 public:
  explicit Walk(std::uint64_t seed) : rng_(seed) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool OneIn(int n) { return Below(n) == 0; }

  // One character a user could type, weighted toward what the boxes take.
  QString Character() {
    const int kind = Below(100);
    if (kind < 35) return QString(QChar(u'0' + Below(10)));
    if (kind < 43) return QStringLiteral("-");
    if (kind < 50) return QStringLiteral(".");
    if (kind < 62) return QString(QChar(char16_t(0x20 + Below(0x5F))));  // printable ASCII
    if (kind < 72) {
      static const char16_t fullWidth[] = {u'０', u'５', u'９', u'．', u'－',
                                           u'＋', u'ｅ', u'　', u'。'};
      return QString(QChar(fullWidth[Below(std::size(fullWidth))]));
    }
    if (kind < 85) return QString(QChar(char16_t(0x4E00 + Below(0x5000))));  // CJK ideographs
    // Characters GBK cannot hold: an emoji (two UTF-16 units), a Hangul
    // syllable, Thai, a combining accent, invisible formatting marks.
    static const char32_t outside[] = {U'\U0001F600', U'\U0001F4A9', U'가',     U'ก',     U'\u0301',
                                       U'\u00AD',     U'\u200D',     U'\uFEFF', U'\u2603'};
    return QString::fromUcs4(&outside[Below(std::size(outside))], 1);
  }

  // A text to paste: empty, white space, full-width digits, special numbers,
  // mixed characters, or digits of any length up to 1 MB.
  QString PasteText() {
    switch (Below(10)) {
      case 0: return QString();
      case 1: return QString(1 + Below(4), OneIn(2) ? QChar(u' ') : QChar(u'\u3000'));
      case 2: return QStringLiteral("１２３．５");
      case 3: {
        static const char* special[] = {"1e308",  "1e309", "-1e309", "3.4028236e38", "1e-46",
                                        "1d3",    "0.000", "-",      "1e99999",      "  12",
                                        "007.50", "2.5.1", "1-2",    "1001",         "-3"};
        return QString::fromLatin1(special[Below(std::size(special))]);
      }
      case 4:
      case 5: {
        QString mixed;
        const int n = 1 + Below(12);
        for (int i = 0; i < n; ++i) mixed += Character();
        return mixed;
      }
      default: {
        // Lengths spread evenly over the decades 1 to 10^6.
        const double decades = std::uniform_real_distribution<double>(0.0, 6.0)(rng_);
        const auto length = static_cast<qsizetype>(std::pow(10.0, decades));
        QString digits;
        digits.reserve(length);
        for (qsizetype i = 0; i < length; ++i) digits += QChar(u'0' + Below(10));
        if (OneIn(2) && length > 2) digits[Below(static_cast<int>(length))] = u'.';
        if (OneIn(4)) digits.prepend(u'-');
        return digits;
      }
    }
  }

 private:
  std::mt19937_64 rng_;
};

}  // namespace

class MonkeyTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void randomActionsKeepEveryBoxInItsRules();
  void cleanupTestCase();

 private:
  struct Expectations {
    std::map<EditBox*, QString> exact;  // boxes whose text the action decides
    QString action;
  };

  void Act(Walk& walk, Expectations& expect);
  void TypeInto(QWidget* target, const QString& text, Expectations& expect);
  QString Check(const std::map<EditBox*, QString>& before, const Expectations& expect) const;

  velquist::MainWindow* window_ = nullptr;
  std::vector<EditBox*> boxes_;
  std::vector<QWidget*> clickables_;
  std::map<QString, KnownMessage> known_;
  std::map<QPushButton*, EditBox*> resultOf_;

  // Filled while an action runs.
  QSet<EditBox*> lostFocus_;
  std::optional<QRadioButton*> clickedRadio_;
  QSet<QPushButton*> clickedButtons_;
  QStringList messageFaults_;
  std::map<QString, int> messagesSeen_;
  int unexpectedModal_ = 0;
};

void MonkeyTest::initTestCase() {
  velquist::InitGlobalState();
  known_ = ProgramMessages();
  velquist::testing::SetMessageResponder([this](const velquist::testing::ShownMessage& shown) {
    const auto known = known_.find(shown.text);
    if (known == known_.end()) {
      messageFaults_ << QStringLiteral("unknown message \"%1\"").arg(shown.text);
    } else if (known->second.caption != shown.caption || known->second.style != shown.style) {
      messageFaults_ << QStringLiteral("\"%1\" with caption \"%2\" and style %3")
                            .arg(shown.text, shown.caption)
                            .arg(shown.style);
    }
    ++messagesSeen_[shown.text];
    return velquist::ButtonCode::Ok;
  });

  QVERIFY(velquist::OpenWindow(velquist::WindowDefinition::MainWindow, false));
  window_ = qobject_cast<velquist::MainWindow*>(
      velquist::testing::OpenedWindow(velquist::WindowDefinition::MainWindow));
  QVERIFY(window_ != nullptr);
  QVERIFY(QTest::qWaitForWindowActive(window_));

  boxes_ = {};
  for (EditBox* box : window_->findChildren<EditBox*>()) boxes_.push_back(box);
  QCOMPARE(boxes_.size(), std::size_t{28});
  for (QRadioButton* radio : window_->findChildren<QRadioButton*>()) {
    clickables_.push_back(radio);
    connect(radio, &QRadioButton::clicked, this, [this, radio] { clickedRadio_ = radio; });
  }
  for (QPushButton* button : window_->findChildren<QPushButton*>()) {
    clickables_.push_back(button);
    connect(button, &QPushButton::clicked, this,
            [this, button] { clickedButtons_.insert(button); });
  }
  QCOMPARE(clickables_.size(), std::size_t{18 + 8});
  for (EditBox* box : boxes_) clickables_.push_back(box);

  const std::pair<std::string_view, std::string_view> results[] = {
      {control::圆计算, control::圆计算结果编辑框},
      {control::矩形计算, control::矩形计算结果},
      {control::三角型计算, control::三角形计算结果},
      {control::三角型计算1, control::平行四边形计算结果},
      {control::三角型计算2, control::梯形计算结果},
  };
  for (const auto& [button, result] : results) {
    resultOf_[window_->Control<QPushButton>(button)] = window_->Control<EditBox>(result);
  }

  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget*) {
    if (auto* box = qobject_cast<EditBox*>(old)) lostFocus_.insert(box);
  });
}

void MonkeyTest::cleanupTestCase() {
  velquist::testing::SetMessageResponder(nullptr);
  if (window_ != nullptr) window_->close();
}

// Sends `text` as typed: as an input-method commit where several characters
// come at once and the target takes input-method text (as a platform's input
// method only commits there), otherwise as one key press per character.
void MonkeyTest::TypeInto(QWidget* target, const QString& text, Expectations& expect) {
  auto* box = qobject_cast<EditBox*>(target);
  if (box != nullptr) expect.exact[box] = AfterTyping(*box, text);
  const QList<uint> characters = text.toUcs4();
  if (characters.size() > 1 && target->inputMethodQuery(Qt::ImEnabled).toBool()) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(target, &commit);
    return;
  }
  for (const uint c : characters) {
    const auto code = static_cast<char32_t>(c);
    const Qt::Key key = c >= u'0' && c <= u'9' ? Qt::Key(Qt::Key_0 + (c - u'0')) : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Click, target, key, QString::fromUcs4(&code, 1), Qt::NoModifier);
  }
}

void MonkeyTest::Act(Walk& walk, Expectations& expect) {
  QWidget* focused = QApplication::focusWidget();
  QWidget* target = focused != nullptr ? focused : window_;
  auto* box = qobject_cast<EditBox*>(focused);
  const int kind = walk.Below(100);
  if (kind < 30) {
    const QString c = walk.Character();
    expect.action = QStringLiteral("type U+%1 into %2")
                        .arg(c.toUcs4().value(0), 4, 16, QChar(u'0'))
                        .arg(target->objectName());
    TypeInto(target, c, expect);
  } else if (kind < 36) {
    QString commit;
    const int n = 2 + walk.Below(3);
    for (int i = 0; i < n; ++i) commit += walk.Character();
    expect.action = QStringLiteral("commit \"%1\" into %2").arg(commit, target->objectName());
    TypeInto(target, commit, expect);
  } else if (kind < 42) {
    const QString text = walk.PasteText();
    expect.action = QStringLiteral("paste %1 characters (\"%2\") into %3")
                        .arg(text.size())
                        .arg(text.left(16), target->objectName());
    QApplication::clipboard()->setText(text);
    // Pasting is not filtered, and there is no length limit.
    if (box != nullptr && box->mode() != EditInputMode::ReadOnly) {
      const qsizetype start =
          box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
      const qsizetype length = box->hasSelectedText() ? box->selectedText().size() : 0;
      expect.exact[box] = box->text().left(start) + text + box->text().mid(start + length);
    } else if (box != nullptr) {
      expect.exact[box] = box->text();
    }
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
  } else if (kind < 72) {
    QWidget* control = clickables_[walk.Below(static_cast<int>(clickables_.size()))];
    const QPoint at(1 + walk.Below(control->width() - 2), control->height() / 2);
    expect.action = QStringLiteral("click %1").arg(control->objectName());
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier,
                      qobject_cast<EditBox*>(control) != nullptr ? at : control->rect().center());
  } else if (kind < 80) {
    expect.action = QStringLiteral("Tab from %1").arg(target->objectName());
    QTest::keyClick(target, Qt::Key_Tab);
  } else if (kind < 86) {
    expect.action = QStringLiteral("Shift+Tab from %1").arg(target->objectName());
    QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
  } else if (kind < 94) {
    static const Qt::Key arrows[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
    const Qt::Key arrow = arrows[walk.Below(4)];
    expect.action = QStringLiteral("arrow %1 on %2").arg(arrow, 0, 16).arg(target->objectName());
    if (box != nullptr) expect.exact[box] = box->text();
    QTest::keyClick(target, arrow);
  } else if (kind < 97) {
    expect.action = QStringLiteral("Backspace in %1").arg(target->objectName());
    QTest::keyClick(target, Qt::Key_Backspace);
  } else {
    expect.action = QStringLiteral("select all in %1").arg(target->objectName());
    if (box != nullptr) expect.exact[box] = box->text();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
  }
}

// Empty when the window holds what the action allows; otherwise what is wrong.
QString MonkeyTest::Check(const std::map<EditBox*, QString>& before,
                          const Expectations& expect) const {
  if (velquist::testing::OpenedWindow(velquist::WindowDefinition::MainWindow) != window_) {
    return QStringLiteral("the main window closed");
  }
  if (!messageFaults_.isEmpty()) return messageFaults_.join(u"; ");
  if (unexpectedModal_ != 0) return QStringLiteral("a modal window appeared");

  // The radio buttons' own writes come last in an action, so they decide.
  std::map<QString, QString> written;
  if (clickedRadio_) {
    const QString radio = (*clickedRadio_)->objectName();
    if (radio == ObjectNameOf(control::圆周长) || radio == ObjectNameOf(control::圆面积)) {
      written[ObjectNameOf(control::圆直径编辑框)] = QString();
      written[ObjectNameOf(control::圆计算结果编辑框)] = QString();
    } else if (radio == ObjectNameOf(control::矩形周长) ||
               radio == ObjectNameOf(control::矩形面积)) {
      written[ObjectNameOf(control::矩形高)] = QStringLiteral("1");
    } else if (radio == ObjectNameOf(control::矩形体积)) {
      written[ObjectNameOf(control::矩形高)] = QString();
    }
  }

  for (EditBox* box : boxes_) {
    const QString& old = before.at(box);
    const QString now = box->text();
    const QString name = box->objectName();
    auto differs = [&](const QString& expected) {
      return QStringLiteral("%1 holds \"%2\" (%3 characters), expected \"%4\" (%5 characters)")
          .arg(name, now.left(40))
          .arg(now.size())
          .arg(expected.left(40))
          .arg(expected.size());
    };
    if (const auto w = written.find(name); w != written.end()) {
      if (now != w->second) return differs(w->second);
      continue;
    }
    if (box->mode() == EditInputMode::ReadOnly) {
      if (now == old) continue;
      bool ownButton = false;
      for (QPushButton* button : clickedButtons_)
        ownButton |= resultOf_.count(button) && resultOf_.at(button) == box;
      if (!ownButton)
        return QStringLiteral("%1 changed to \"%2\" without its button").arg(name, now);
      if (!InNumberTextStyle(now)) return QStringLiteral("%1 shows \"%2\"").arg(name, now.left(40));
      continue;
    }
    if (const auto e = expect.exact.find(box); e != expect.exact.end()) {
      if (now != e->second) return differs(e->second);
      continue;
    }
    if (expect.action.startsWith(u"Backspace") && box == QApplication::focusWidget()) {
      if (!IsOneCut(old, now)) return differs(QStringLiteral("a cut of ") + old);
      continue;
    }
    if (lostFocus_.contains(box) && box->mode() == EditInputMode::DoubleNumber) {
      if (now != Rewritten(old)) return differs(Rewritten(old));
      continue;
    }
    if (now != old) return differs(old);
  }
  return QString();
}

void MonkeyTest::randomActionsKeepEveryBoxInItsRules() {
  // Nothing may ever block the walk: a modal window would be a fault of its
  // own, so it is counted and closed rather than waited for.
  QTimer watchdog;
  connect(&watchdog, &QTimer::timeout, this, [this] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      ++unexpectedModal_;
      modal->close();
    }
  });
  watchdog.start(200);

  Walk walk(g_seed);
  std::deque<QString> recent;
  int inf = 0, nan = 0;
  for (int i = 0; i < g_actions; ++i) {
    std::map<EditBox*, QString> before;
    for (EditBox* box : boxes_) before[box] = box->text();
    lostFocus_.clear();
    clickedRadio_.reset();
    clickedButtons_.clear();

    Expectations expect;
    Act(walk, expect);
    recent.push_back(expect.action);
    if (recent.size() > 12) recent.pop_front();
    const QString fault = Check(before, expect);
    if (!fault.isEmpty()) {
      QStringList log(recent.begin(), recent.end());
      QFAIL(qPrintable(QStringLiteral("action %1 of seed %2: %3\nlast actions:\n  %4")
                           .arg(i)
                           .arg(g_seed)
                           .arg(fault, log.join(u"\n  "))));
    }
    for (const auto& [button, result] : resultOf_) {
      if (!clickedButtons_.contains(button)) continue;
      inf += result->text().endsWith(u"#INF");
      nan += result->text() == u"1.#QNAN";
    }
  }
  int messages = 0;
  for (const auto& [text, count] : messagesSeen_) messages += count;
  qInfo("%d actions, %d messages answered (%zu different), %d infinite and %d NaN results",
        g_actions, messages, messagesSeen_.size(), inf, nan);
}

int main(int argc, char* argv[]) {
  // Our two options are taken out before Qt Test sees the rest.
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "-actions" || arg == "-seed") && i + 1 < argc) {
      if (arg == "-actions") {
        g_actions = std::atoi(argv[++i]);
      } else {
        g_seed = std::strtoull(argv[++i], nullptr, 10);
      }
      continue;
    }
    rest.push_back(argv[i]);
  }
  int restCount = static_cast<int>(rest.size());
  QApplication application(restCount, rest.data());
  MonkeyTest test;
  return QTest::qExec(&test, restCount, rest.data());
}

#include "monkey_test.moc"
