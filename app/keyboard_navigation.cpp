#include "app/keyboard_navigation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QRadioButton>

namespace velquist {
namespace {

Qt::KeyboardModifiers Plain(const QKeyEvent& key) { return key.modifiers() & ~Qt::KeypadModifier; }

}  // namespace

KeyboardNavigation::KeyboardNavigation(QWidget* window, QList<QWidget*> tabSequence)
    : QObject(window), window_(window) {
  sequence_.reserve(tabSequence.size());
  for (QWidget* control : tabSequence) sequence_.append(control);
  qApp->installEventFilter(this);
}

KeyboardNavigation::~KeyboardNavigation() {
  if (qApp != nullptr) qApp->removeEventFilter(this);
}

bool KeyboardNavigation::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || window_ == nullptr || !watched->isWidgetType())
    return false;
  auto* receiver = static_cast<QWidget*>(watched);
  if (receiver->window() != window_) return false;
  // A key that a control ignores travels on to its parents; it is judged
  // once, where it was first delivered: at the focused control, or at the
  // window itself when nothing in it has the focus.
  QWidget* focused = window_->focusWidget();
  if (focused != nullptr && focused != window_) {
    if (receiver != focused) return false;
  } else if (receiver != window_) {
    return false;
  } else {
    focused = nullptr;
  }
  return HandleKey(focused, *static_cast<QKeyEvent*>(event));
}

bool KeyboardNavigation::HandleKey(QWidget* focused, const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = Plain(key);
  const bool tab = (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) &&
                   (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier);
  const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;

  qsizetype index = -1;
  if (focused != nullptr) {
    for (qsizetype i = 0; i < sequence_.size(); ++i) {
      if (sequence_[i] == focused) {
        index = i;
        break;
      }
    }
    // A control outside the sequence keeps Qt's own handling.
    if (index < 0) return false;
  }
  if (index < 0) return tab || enter;

  if (tab) {
    const bool backwards = key.key() == Qt::Key_Backtab || modifiers == Qt::ShiftModifier;
    MoveAlongSequence(index, backwards ? -1 : 1,
                      backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    return true;
  }
  if (enter) return true;

  if (modifiers != Qt::NoModifier) return false;
  int step = 0;
  switch (key.key()) {
    case Qt::Key_Right:
    case Qt::Key_Down: step = 1; break;
    case Qt::Key_Left:
    case Qt::Key_Up: step = -1; break;
    default: return false;
  }
  if (qobject_cast<QRadioButton*>(focused) != nullptr) {
    MoveWithinGroup(index, step);
    return true;
  }
  // Qt would walk its own focus chain from a push button.
  return qobject_cast<QAbstractButton*>(focused) != nullptr;
}

bool KeyboardNavigation::TakesPart(const QWidget* control) const {
  if (control == nullptr || control->window() != window_ || !control->isVisible() ||
      !control->isEnabled()) {
    return false;
  }
  // Qt takes the tab stop away from every radio button of a group but the
  // focused one, for its own chain; here each radio button is a stop, so
  // only a radio button that refuses the focus altogether stays out.
  if (qobject_cast<const QRadioButton*>(control) != nullptr)
    return control->focusPolicy() != Qt::NoFocus;
  return (control->focusPolicy() & Qt::TabFocus) != 0;
}

void KeyboardNavigation::MoveAlongSequence(qsizetype from, int step, Qt::FocusReason reason) {
  const qsizetype count = sequence_.size();
  for (qsizetype n = 1; n <= count; ++n) {
    QWidget* candidate = sequence_[((from + step * n) % count + count) % count];
    if (TakesPart(candidate)) {
      candidate->setFocus(reason);
      return;
    }
  }
}

void KeyboardNavigation::MoveWithinGroup(qsizetype from, int step) {
  const QWidget* group = sequence_[from]->parentWidget();
  const qsizetype count = sequence_.size();
  for (qsizetype n = 1; n <= count; ++n) {
    QWidget* candidate = sequence_[((from + step * n) % count + count) % count];
    auto* radio = qobject_cast<QRadioButton*>(candidate);
    if (radio == nullptr || radio->parentWidget() != group || !radio->isVisible() ||
        !radio->isEnabled()) {
      continue;
    }
    radio->setFocus(Qt::TabFocusReason);
    // click() selects an automatic radio button (a selected one stays so)
    // and raises clicked, as a mouse click would.
    radio->click();
    return;
  }
}

}  // namespace velquist
