// The main window's single-line edit boxes with their input rules.
#pragma once

#include <QLineEdit>

class QFocusEvent;
class QInputMethodEvent;
class QKeyEvent;

namespace velquist {

enum class EditInputMode {
  ReadOnly,      // the user cannot change the text; still a tab stop
  IntegerText,   // typing takes only "0"-"9" and "-"
  DoubleNumber,  // typing takes only "0"-"9", "-" and "."; rewritten as a number on focus loss
};

// Typed printable characters, from the keyboard or committed by an input
// method, are tested one by one against the mode and dropped silently when
// refused; control characters (U+0000-U+001F, U+007F-U+009F: Delete,
// Backspace and the like) and the editing shortcuts always pass.
// Pasting and dropping are not filtered, and the text has no length limit.
//
// A DoubleNumber box rewrites its text when it loses the focus, except to
// its own context menu (so that a paste from that menu stays possible): the
// GBK text is read as a number and written back with thirteen significant
// digits, zero as the empty text. When that changes the text, the caret lands
// where the old selection (or the caret) began, nothing selected.
class EditBox : public QLineEdit {
  Q_OBJECT

 public:
  explicit EditBox(EditInputMode mode, QWidget* parent = nullptr);

  EditInputMode mode() const { return mode_; }

  // Replaces the whole text as a program write does: neither filtered nor
  // rewritten, in any mode, with the caret at the start and nothing selected.
  void ReplaceText(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool Accepts(QChar c) const;
  QString Filtered(const QString& typed) const;
  void RewriteAsNumber();

  const EditInputMode mode_;
};

}  // namespace velquist
