// Opening the program's three windows from their definitions: frame, size,
// placement, one open instance per definition, modal runs.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

class QWidget;

namespace velquist {

enum class WindowDefinition { MainWindow, FormulaWindow, AboutWindow };

// What a definition fixes about the frame of its window.
struct WindowFrame {
  QString title;
  QSize outerSize;  // frame and caption included
  bool minimiseBox;
};

WindowFrame FrameOf(WindowDefinition window);

// Opens the window of the definition and returns true, or false when it
// cannot be created (then nothing is shown). An open window is restored or
// brought to the front instead, whatever `modal` says. A modal opening
// returns only once the window has been closed and destroyed.
bool OpenWindow(WindowDefinition window, bool modal);

// Whether any of the program's windows is open.
bool AnyWindowOpen();

// The program's window a modal window about to open belongs with: the active
// one of the program's open windows, else the main window, else the formula
// window; nullptr when none is open.
QWidget* ActiveProgramWindow();

// Makes `parent` the transient parent of the window of `modal`, so that the
// window manager (on X11) and the compositor (on Wayland, where Qt sends no
// parent for a window that has none) keep it above a window the user sees.
// Only the stacking link: the widget parent, and with it the disabling of the
// other windows, stays as it is. No parent leaves the platform's default.
void HoldAbove(QWidget* modal, QWidget* parent);

// Where a window of `outerSize` goes: centred on a screen of `screenSize`,
// each coordinate halved with truncation toward zero, so a window wider than
// the screen gets a negative left edge.
QPoint CentredPosition(QSize screenSize, QSize outerSize);

}  // namespace velquist
