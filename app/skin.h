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

// Gives the application, every kind of control and the tooltips the palette
// of the application's style. The skin's frames and gradients are drawn
// against those colours; a desktop theme's palette (Qt's GTK theme takes
// GNOME's since Qt 6.5, light or dark) would put grey edit boxes and a
// different window colour beneath them.
void UseStyleColours();

// 1, 2 or 3 turn the skin on with that colour scheme for every push button,
// radio button, group box and edit-box frame of the program, existing and
// later ones, message boxes included; any other value gives every control its
// system look back. Returns whether the skin is on afterwards.
bool SetVisualStyle(int scheme);

// The scheme the program's windows are drawn in.
inline constexpr int kProgramSkinScheme = 1;
// A scheme outside 1 to 3: every control gets its system look back.
inline constexpr int kSystemLook = 0;

// The shape of the program's one tooltip window, fixed by the first control
// given a tooltip; later controls share it, whatever they ask for.
enum class TooltipShape { Balloon, PlainBox };

// Where a tip hangs: at the pointer, or below the middle of its control.
enum class TooltipPlacement { AtPointer, BelowCentre };

// Gives `control` a tooltip; a multi-line text breaks only at each "\r\n".
// A null control does nothing.
void AttachTooltip(QWidget* control, const QString& text, TooltipShape shape,
                   TooltipPlacement placement);

}  // namespace velquist
