#include "app/messages.h"

#include <QAbstractButton>
#include <QList>

#include <utility>

namespace velquist {
namespace {

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

}  // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(const QString& text, std::int32_t style,
                                             const std::optional<QString>& title) {
  auto box = std::make_unique<QMessageBox>();
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
  box->exec();
  // A box closed by Esc or its close box reports its escape button.
  return ButtonCodeOf(box->standardButton(box->clickedButton()));
}

void SetMessageResponderForTesting(MessageResponder responder) {
  Responder() = std::move(responder);
}

}  // namespace velquist
