// What the window tests share: a record of the message boxes the program
// would show, a helper that answers a real modal box, and a watchdog, so that
// no test can ever block in a nested loop.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/gbk_codec.h"
#include "app/messages.h"
#include "app/messages_testing.h"
#include "app/window_opening.h"
#include "app/window_opening_testing.h"

namespace velquist::testing {

// Records every message instead of showing it, answering OK.
class MessageLog {
 public:
  MessageLog() {
    SetMessageResponder([this](const ShownMessage& m) {
      shown.push_back(m);
      return ButtonCode::Ok;
    });
  }
  ~MessageLog() { SetMessageResponder(nullptr); }
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  std::vector<ShownMessage> shown;
};

// Runs `act` on the first modal widget that becomes active within `timeoutMs`;
// a box that `act` leaves open is closed so that the test goes on and fails
// instead of hanging.
inline void WhenModalShown(std::function<void(QWidget*)> act, int timeoutMs = 5000) {
  // The timer deletes itself, and with it the lambda and its clock.
  auto* timer = new QTimer;
  QElapsedTimer clock;
  clock.start();
  QObject::connect(timer, &QTimer::timeout, [timer, clock, act = std::move(act), timeoutMs] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr && clock.elapsed() < timeoutMs) return;
    timer->stop();
    timer->deleteLater();
    if (modal == nullptr) return;
    QPointer<QWidget> guard = modal;
    act(modal);
    if (guard && guard->isVisible()) guard->close();
  });
  timer->start(10);
}

// Closes any modal window that stays up longer than `limitMs`, so that a
// test which forgot to answer one fails in cleanup() instead of hanging.
class ModalWatchdog {
 public:
  explicit ModalWatchdog(int limitMs = 10000) {
    QObject::connect(&timer_, &QTimer::timeout, [this, limitMs] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) {
        since_.invalidate();
        return;
      }
      if (!since_.isValid()) since_.start();
      if (since_.elapsed() < limitMs) return;
      fired_ = true;
      qWarning("watchdog: closing the modal window \"%s\"", qPrintable(modal->windowTitle()));
      modal->close();
      since_.invalidate();
    });
    timer_.start(100);
  }
  bool fired() const { return fired_; }

 private:
  QTimer timer_;
  QElapsedTimer since_;
  bool fired_ = false;
};

// The widgets Qt still counts as windows of the program, apart from the
// invisible application window and the tooltip host.
inline QList<QWidget*> OpenTopLevels() {
  QList<QWidget*> open;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->windowType() != Qt::ToolTip && w->windowType() != Qt::Tool) {
      open.append(w);
    }
  }
  return open;
}

// Closes every window of the program and lets the deferred deletions run.
inline void CloseEverything() {
  for (WindowDefinition d : {WindowDefinition::AboutWindow, WindowDefinition::FormulaWindow,
                             WindowDefinition::MainWindow}) {
    if (QWidget* w = OpenedWindow(d)) w->close();
  }
  QTRY_VERIFY(!AnyWindowOpen());
}

// What a window test function holds while it runs, made by init() and
// dropped by FinishWindowTest; the watchdog goes before the log.
struct WindowTestFixture {
  MessageLog messages;
  ModalWatchdog watchdog;
};

// The end of every window test function: closes every window, drops the
// fixture, and fails if a modal window was left up.
inline void FinishWindowTest(std::unique_ptr<WindowTestFixture>& fixture) {
  const bool modalLeftUp = fixture->watchdog.fired();
  CloseEverything();
  fixture.reset();
  QVERIFY2(!modalLeftUp, "a modal window was left up");
  QVERIFY(QApplication::activeModalWidget() == nullptr);
}

inline QString Unicode(std::string_view gbk) { return FromGbk(gbk); }

}  // namespace velquist::testing
