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

// The open window of the definition, or nullptr while it is closed.
QWidget* OpenedWindow(WindowDefinition window);

// Whether any of the program's windows is open.
bool AnyWindowOpen();

// Where a window of `outerSize` goes: centred on a screen of `screenSize`,
// each coordinate halved with truncation toward zero, so a window wider than
// the screen gets a negative left edge.
QPoint CentredPosition(QSize screenSize, QSize outerSize);

// Test seam: while set, creating the definition's window fails as if the
// platform had refused it. The program never sets it.
void SetCreationFailureForTesting(WindowDefinition window, bool fail);

}  // namespace velquist
