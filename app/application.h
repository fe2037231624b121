// The frame of the whole run: start-up, the event loops, shutdown, and the
// way start-up gives up.
#pragma once

class QWidget;

namespace velquist {

// The process's whole run; returns the exit code, 0 after every normal end.
// Every argument is ignored; Qt is given the program's name only. Where a
// QApplication already exists (a test), it is used instead of a new one.
int RunApplication(int argc, char** argv);

enum class LoopMode { Main, Modal };

// Main mode runs until the end-of-program request; modal mode runs until
// `window` has been destroyed (or the end-of-program request is pending, which
// stays for the main loop). Modal loops nest.
void RunMessageLoop(LoopMode mode, QWidget* window = nullptr);

// The invisible tool window that owns modal windows, so that they get no
// taskbar entry of their own. Made on first use.
QWidget* ApplicationWindow();

// Gives the program's windows its icon, unless they have it already. The
// first window opened calls it once its platform window exists.
void GiveProgramIcon();

// Qt's own words (the message boxes' OK, the edit boxes' context menu) in
// Simplified Chinese, whatever the user's locale, since the interface has no
// other language: Qt's catalogue qtbase_zh_CN from its translations folder.
// Without the catalogue Qt keeps its English words, and nothing is said.
void InstallQtChineseTranslation();

// Shows the "错误" box and ends the process with exit code -1, without the
// exit clean-up routine. Only start-up calls it.
[[noreturn]] void FatalError();

// Called by the window opening once a window of the program has been
// destroyed: when none is left and the main loop has started, the program ends.
void NoteWindowDestroyed();

}  // namespace velquist
