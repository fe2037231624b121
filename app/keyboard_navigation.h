// Tab, Shift+Tab, the arrow keys and Enter for one window, following the
// window's own fixed sequence of controls instead of Qt's focus chain.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QEvent;
class QKeyEvent;
class QRadioButton;

namespace velquist {

// While a control of `window` has the focus:
// - Tab and Shift+Tab move to the next or previous control of `tabSequence`
//   that is visible, enabled and a tab stop, wrapping at both ends; with no
//   control focused they do nothing.
// - On a radio button, Right and Down move to the next radio button of the
//   same parent in the sequence, Left and Up to the previous one, wrapping
//   within that group; the button reached takes the focus, becomes selected
//   and raises its clicked signal. On a push button the arrows do nothing;
//   in an edit box they move the caret as usual.
// - Enter and Return do nothing: the window has no default button.
// Space is left to the buttons, which click on it.
// The object belongs to `window` and watches the whole application, so that
// keys reach it before any control or Qt's own focus chain sees them.
class KeyboardNavigation : public QObject {
  Q_OBJECT

 public:
  KeyboardNavigation(QWidget* window, QList<QWidget*> tabSequence);
  ~KeyboardNavigation() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool HandleKey(QWidget* focused, const QKeyEvent& key);
  void MoveAlongSequence(qsizetype from, int step, Qt::FocusReason reason);
  void MoveWithinGroup(qsizetype from, int step);
  bool TakesPart(const QWidget* control) const;

  QPointer<QWidget> window_;
  QList<QPointer<QWidget>> sequence_;
};

}  // namespace velquist
