// The program's message boxes.
#pragma once

#include <QMessageBox>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

#include "core/form_access.h"

namespace velquist {

// The caption of a box shown without a title.
inline const QString kDefaultMessageCaption = QStringLiteral("信息：");

// The style word of the box with which start-up gives up: OK and the stop
// icon. The calculators' words, kStyleOk and kStyleInformation, come with
// the core's form access.
inline constexpr std::int32_t kStyleStop = 0x10;

// Shows a task-modal box without owner window and waits until the user
// dismisses it. `style` has the Windows message-box layout: bits 0-3 the
// buttons (0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel,
// 4 Yes/No, 5 Retry/Cancel; any other value OK), bits 4-7 the icon (0x10
// stop, 0x20 question, 0x30 exclamation, 0x40 information, anything else
// none), bits 8-11 the default button (0 the first, 1 the second, ...; one
// beyond the buttons the box has falls back to the first). A box is always
// task-modal, whatever bits 12 and 13 say.
ButtonCode ShowMessage(const QString& text, std::int32_t style,
                       const std::optional<QString>& title = std::nullopt);

// The least width of a box with `caption`: the caption in the title-bar font
// and room for the window manager's icon and buttons beside it, so that the
// whole caption shows, as it does on the system's own message box.
int MinimumMessageBoxWidth(const QString& caption);

// The box ShowMessage shows, built but not shown; the caller owns it. It is
// never narrower than MinimumMessageBoxWidth of its caption, and its frame
// has a close box but neither a minimise nor a maximise box.
std::unique_ptr<QMessageBox> BuildMessageBox(const QString& text, std::int32_t style,
                                             const std::optional<QString>& title);

// The code of the button with which a box was dismissed; 0 for anything that
// is not one of the seven buttons.
ButtonCode ButtonCodeOf(QMessageBox::StandardButton button);

}  // namespace velquist
