#include "app/edit_box.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPalette>

#include <algorithm>
#include <limits>
#include <string>

#include "app/gbk_codec.h"
#include "core/numeric_text.h"

namespace velquist {
namespace {

// Control characters are editing keys, not characters anyone types: X11
// gives Delete and Shift+Delete the text U+007F, BackSpace U+0008, and the C1
// range has no key of its own. Only printable characters are judged.
constexpr bool IsControlCharacter(char16_t code) {
  return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

// Ctrl and Ctrl+Shift combinations are editing shortcuts (copy, paste, undo,
// select all): QLineEdit never inserts their text, whatever the key event
// carries, so they are not typed characters. Invisible formatting marks are
// the exception QLineEdit makes, and so they are tested like any character.
bool IsShortcut(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  const bool control =
      modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
  return control && event.text().front().category() != QChar::Other_Format;
}

}  // namespace

EditBox::EditBox(EditInputMode mode, QWidget* parent) : QLineEdit(parent), mode_(mode) {
  setMaxLength(std::numeric_limits<int>::max());
  setReadOnly(mode_ == EditInputMode::ReadOnly);
  // QLineEdit keeps the selection, and paints it in the inactive colours,
  // while another window is active; these boxes hide it whenever they are
  // unfocused, and an unfocused box in an active window has no selection.
  QPalette colours = palette();
  colours.setColor(QPalette::Inactive, QPalette::Highlight,
                   colours.color(QPalette::Inactive, QPalette::Base));
  colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   colours.color(QPalette::Inactive, QPalette::Text));
  setPalette(colours);
}

void EditBox::ReplaceText(const QString& text) {
  setText(text);
  setCursorPosition(0);
}

bool EditBox::Accepts(QChar c) const {
  const char16_t code = c.unicode();
  if (IsControlCharacter(code)) return true;
  const bool digit = code >= u'0' && code <= u'9';
  switch (mode_) {
    case EditInputMode::IntegerText: return digit || code == u'-';
    case EditInputMode::DoubleNumber: return digit || code == u'-' || code == u'.';
    case EditInputMode::ReadOnly: break;
  }
  return false;
}

QString EditBox::Filtered(const QString& typed) const {
  QString kept;
  kept.reserve(typed.size());
  for (const QChar c : typed) {
    if (Accepts(c)) kept += c;
  }
  return kept;
}

void EditBox::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  if (mode_ == EditInputMode::ReadOnly || typed.isEmpty() || IsShortcut(*event)) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const QString kept = Filtered(typed);
  if (kept.size() == typed.size()) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (kept.isEmpty()) {
    event->accept();  // dropped without a sound, and not handed on to the window
    return;
  }
  QKeyEvent narrowed(event->type(), event->key(), event->modifiers(), kept, event->isAutoRepeat(),
                     static_cast<quint16>(event->count()));
  QLineEdit::keyPressEvent(&narrowed);
  event->setAccepted(true);
}

void EditBox::inputMethodEvent(QInputMethodEvent* event) {
  const QString committed = event->commitString();
  if (committed.isEmpty()) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  // A read-only QLineEdit still inserts input-method commits, so a result
  // box must refuse them itself.
  const QString kept = mode_ == EditInputMode::ReadOnly ? QString() : Filtered(committed);
  if (kept.size() == committed.size()) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  // The commit is taken character by character, as if typed: the refused
  // ones drop out and the rest go in. A commit refused entirely replaces
  // nothing either, but the composition still ends.
  QInputMethodEvent narrowed(event->preeditString(), event->attributes());
  if (kept.isEmpty()) {
    narrowed.setCommitString(QString());
  } else {
    narrowed.setCommitString(kept, event->replacementStart(), event->replacementLength());
  }
  QLineEdit::inputMethodEvent(&narrowed);
  event->setAccepted(narrowed.isAccepted());
}

void EditBox::focusOutEvent(QFocusEvent* event) {
  // The standard context menu is a child of the box; while it is open the
  // box keeps its text and selection, so that the menu's paste goes in there.
  const QWidget* popup = QApplication::activePopupWidget();
  const bool toOwnMenu =
      event->reason() == Qt::PopupFocusReason && popup != nullptr && popup->parentWidget() == this;
  if (mode_ == EditInputMode::DoubleNumber && !toOwnMenu) RewriteAsNumber();
  QLineEdit::focusOutEvent(event);
}

void EditBox::RewriteAsNumber() {
  const QString current = text();
  const std::string old = ToGbk(current);
  std::string number = DoubleToText(ParseNumber(old));
  if (number == "0") number.clear();
  if (number == old) return;

  const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
  const QString rewritten =
      QString::fromLatin1(number.data(), static_cast<qsizetype>(number.size()));
  setText(rewritten);
  // Placing the caret clears the selection; QLineEdit scrolls to it.
  setCursorPosition(std::min(caret, static_cast<int>(rewritten.size())));
}

}  // namespace velquist
