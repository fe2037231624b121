// The one font of every window, message box and tooltip of the program.
#pragma once

#include <QFont>

namespace velquist {

// The pixel size the windows' fixed layout was drawn for: 9 points at 96 dpi.
// Pixels here are Qt's device-independent ones, so a desktop's scale factor
// (QT_SCALE_FACTOR, a larger-text setting that raises the screen's dpi)
// enlarges the font together with every control's rectangle.
inline constexpr int kInterfaceFontPixels = 12;

// The desktop's interface font family (`desktop` is the font the platform
// theme reports, for instance GNOME's "Cantarell 11") at kInterfaceFontPixels,
// upright and of normal weight: a larger or bolder desktop font would no
// longer fit the controls. Characters the family lacks come from fontconfig's
// fallback, as before.
QFont InterfaceFont(const QFont& desktop);

// Makes InterfaceFont of the application's present font the font of every
// widget, per-class fonts of the platform theme (message boxes, tooltips,
// menus) included. Start-up calls it before the first window is built.
void UseInterfaceFont();

}  // namespace velquist
