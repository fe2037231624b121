#include "app/messages.h"
#include "app/messages_testing.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QList>
#include <QScreen>

#include <algorithm>
#include <utility>

#include "app/window_opening.h"

namespace velquist {
namespace {

using testing::MessageResponder;
using testing::ShownMessage;

using Button = QMessageBox::StandardButton;

MessageResponder& Responder() {
  static MessageResponder responder;
  return responder;
}

// The buttons of each Windows button set, in the order the box shows them;
// the default-button bits count along this order.
QList<Button> ButtonsOf(std::int32_t style) {
  switch (style & 0xF) {
    case 1: return {Button::Ok, Button::Cancel};
    case 2: return {Button::Abort, Button::Retry, Button::Ignore};
    case 3: return {Button::Yes, Button::No, Button::Cancel};
    case 4: return {Button::Yes, Button::No};
    case 5: return {Button::Retry, Button::Cancel};
    default: return {Button::Ok};
  }
}

QMessageBox::Icon IconOf(std::int32_t style) {
  switch (style & 0xF0) {
    case 0x10: return QMessageBox::Critical;
    case 0x20: return QMessageBox::Question;
    case 0x30: return QMessageBox::Warning;
    case 0x40: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// Beside the caption a title bar holds the window's icon and up to three
// buttons (minimise, maximise, close), each of them about 24 pixels wide in
// the window managers' usual themes, and the padding between them.
constexpr int kTitleBarButtonsRoom = 4 * 24 + 32;

// QMessageBox fixes its size to its contents whenever it is shown or its
// layout, font or style changes, leaving only about 50 pixels beside the
// caption; the caption's room is given back after each of those.
class CaptionFittingMessageBox : public QMessageBox {
 protected:
  // The dialog places itself while it is shown, centred at its narrower
  // width; widened, it moves left by half the difference to stay centred.
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    const int placedWidth = width();
    FitCaption();
    if (width() != placedWidth) move(x() - (width() - placedWidth) / 2, y());
  }

  bool event(QEvent* event) override {
    const bool handled = QMessageBox::event(event);
    switch (event->type()) {
      case QEvent::LayoutRequest:
      case QEvent::FontChange:
      case QEvent::StyleChange:
      case QEvent::WindowTitleChange: FitCaption(); break;
      default: break;
    }
    return handled;
  }

 private:
  void FitCaption() {
    int least = MinimumMessageBoxWidth(windowTitle());
    // A caption wider than the screen is cut by the title bar anyway.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      least = std::min(least, screen->availableGeometry().width());
    }
    if (width() < least) setFixedWidth(least);
  }
};

}  // namespace

int MinimumMessageBoxWidth(const QString& caption) {
  const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::TitleFont));
  return metrics.horizontalAdvance(caption) + kTitleBarButtonsRoom;
}

std::unique_ptr<QMessageBox> BuildMessageBox(const QString& text, std::int32_t style,
                                             const std::optional<QString>& title) {
  std::unique_ptr<QMessageBox> box = std::make_unique<CaptionFittingMessageBox>();
  box->setWindowTitle(title.value_or(kDefaultMessageCaption));
  // The calculators' texts are plain; "<" must never turn into markup.
  box->setTextFormat(Qt::PlainText);
  box->setText(text);
  box->setIcon(IconOf(style));

  const QList<Button> buttons = ButtonsOf(style);
  QMessageBox::StandardButtons set;
  for (Button b : buttons) set |= b;
  box->setStandardButtons(set);
  const qsizetype chosen = (style >> 8) & 0xF;
  box->setDefaultButton(buttons.value(chosen, buttons.front()));

  // Task-modal without owner: no parent, and every window of the program
  // takes no input while the box is up.
  box->setWindowModality(Qt::ApplicationModal);
  // A caption with a close box only, as on the system's own box: without the
  // minimise and maximise hints Qt leaves both out of the Motif functions and
  // decorations it gives an X11 window manager. Set after the modality, which
  // drops the customising hint of a message box.
  box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  return box;
}

ButtonCode ButtonCodeOf(QMessageBox::StandardButton button) {
  switch (button) {
    case Button::Ok: return ButtonCode::Ok;
    case Button::Cancel: return ButtonCode::Cancel;
    case Button::Abort: return ButtonCode::Abort;
    case Button::Retry: return ButtonCode::Retry;
    case Button::Ignore: return ButtonCode::Ignore;
    case Button::Yes: return ButtonCode::Yes;
    case Button::No: return ButtonCode::No;
    default: return ButtonCode::Ok;
  }
}

ButtonCode ShowMessage(const QString& text, std::int32_t style,
                       const std::optional<QString>& title) {
  if (const MessageResponder& responder = Responder()) {
    return responder(ShownMessage{text, title.value_or(kDefaultMessageCaption), style});
  }
  std::unique_ptr<QMessageBox> box = BuildMessageBox(text, style, title);
  // Without an owner, but stacked above the window the user was working in,
  // so that no window manager or compositor lets that window cover it.
  HoldAbove(box.get(), ActiveProgramWindow());
  box->exec();
  // A box closed by Esc or its close box reports its escape button.
  return ButtonCodeOf(box->standardButton(box->clickedButton()));
}

void testing::SetMessageResponder(MessageResponder responder) {
  Responder() = std::move(responder);
}

}  // namespace velquist
