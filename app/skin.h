// The program's control skin and its balloon tooltips.
#pragma once

class QString;
class QWidget;

namespace velquist {

// Makes the style that a skin turned on later draws with the application's
// style, with the skin still off: until SetVisualStyle turns it on, every
// control looks exactly as with the system style. Controls made in between
// then take the skin without a change of style, and are polished once.
void PrepareVisualStyle();

// 1, 2 or 3 turn the skin on with that colour scheme for every push button,
// radio button, group box and edit-box frame of the program, existing and
// later ones, message boxes included; any other value gives every control its
// system look back. Returns whether the skin is on afterwards.
bool SetVisualStyle(int scheme);

// Gives `control` a tooltip; a multi-line text breaks only at each "\r\n".
// A null control does nothing.
void AttachTooltip(QWidget* control, const QString& text, bool balloon, bool centred);

}  // namespace velquist
