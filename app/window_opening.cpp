#include "app/window_opening.h"
#include "app/window_opening_testing.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QList>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <array>
#include <cstddef>

#include "app/application.h"
#include "app/main_window.h"
#include "app/secondary_windows.h"

namespace velquist {
namespace {

constexpr std::size_t kDefinitions = 3;

std::size_t IndexOf(WindowDefinition window) { return static_cast<std::size_t>(window); }

struct Registry {
  std::array<QPointer<QWidget>, kDefinitions> open;
  std::array<bool, kDefinitions> failCreation{};
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// Keeps the OUTER size of the window at its definition's size. The frame a
// window manager adds is known only once the window is shown (and may arrive
// later still), so the client size is set to outer size minus frame margins
// whenever the window is shown or moved. Without a window manager (Xvfb,
// offscreen) the margins are zero and the client size is the outer size.
class OuterSizeKeeper : public QObject {
 public:
  OuterSizeKeeper(QWidget* window, QSize outerSize) : QObject(window), outer_(outerSize) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show || event->type() == QEvent::Move) {
      auto* window = static_cast<QWidget*>(watched);
      const QSize margins = window->frameGeometry().size() - window->size();
      const QSize client = outer_ - margins;
      if (client != window->size() && client.isValid()) window->setFixedSize(client);
    }
    return false;
  }

 private:
  QSize outer_;
};

// Esc without Ctrl, Shift or Alt closes the window whose control has the
// focus. Filtered for the whole application, ahead of the controls, so that
// no control of the three windows can claim the key.
class EscapeCloser : public QObject {
 public:
  static void Install() {
    static EscapeCloser* closer = nullptr;
    if (closer != nullptr) return;
    closer = new EscapeCloser;
    closer->setParent(QApplication::instance());
    QApplication::instance()->installEventFilter(closer);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape) return false;
    if (key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier))
      return false;
    QWidget* window = static_cast<QWidget*>(watched)->window();
    for (const QPointer<QWidget>& open : TheRegistry().open) {
      if (open == window && window->isEnabled()) {
        window->close();
        return true;
      }
    }
    return false;
  }
};

// The other ownerless windows a modal window has disabled, and whether each
// was enabled before, given back when the modal window closes.
class ModalSession : public QObject {
 public:
  explicit ModalSession(QWidget* modal) : QObject(modal) {
    for (const QPointer<QWidget>& open : TheRegistry().open) {
      if (!open || open == modal || open->parentWidget() != nullptr) continue;
      disabled_.append({open, open->isEnabled()});
      open->setEnabled(false);
    }
    modal->installEventFilter(this);
  }
  ~ModalSession() override { Restore(); }

 protected:
  // Given back before the modal window is destroyed, so that the platform can
  // activate one of them when it goes.
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Close && event->isAccepted()) Restore();
    return false;
  }

 private:
  void Restore() {
    for (const auto& [window, wasEnabled] : disabled_) {
      if (window) window->setEnabled(wasEnabled);
    }
    disabled_.clear();
  }

  QList<std::pair<QPointer<QWidget>, bool>> disabled_;
};

QWidget* Create(WindowDefinition window) {
  switch (window) {
    case WindowDefinition::MainWindow: return new class MainWindow;
    case WindowDefinition::FormulaWindow: return new class FormulaWindow;
    case WindowDefinition::AboutWindow: return new class AboutWindow;
  }
  return nullptr;
}

void BringForward(QWidget* window) {
  if (window->isMinimized()) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
  }
  window->raise();
  // Asked of the platform window itself: on Wayland, where a client cannot
  // raise itself, this is the xdg-activation request; the compositor may
  // still refuse it.
  if (QWindow* handle = window->windowHandle()) handle->requestActivate();
}

}  // namespace

WindowFrame FrameOf(WindowDefinition window) {
  switch (window) {
    case WindowDefinition::MainWindow:
      return {QStringLiteral("Velquist（双击窗口空白处查看运算公式）"), QSize(721, 590), true};
    case WindowDefinition::FormulaWindow:
      return {QStringLiteral("运算公式"), QSize(414, 440), true};
    case WindowDefinition::AboutWindow: return {QStringLiteral("关于"), QSize(210, 180), false};
  }
  return {};
}

QPoint CentredPosition(QSize screenSize, QSize outerSize) {
  // C++ integer division truncates toward zero, as the placement rule wants.
  return {(screenSize.width() - outerSize.width()) / 2,
          (screenSize.height() - outerSize.height()) / 2};
}

QWidget* testing::OpenedWindow(WindowDefinition window) {
  return TheRegistry().open[IndexOf(window)];
}

bool AnyWindowOpen() {
  for (const QPointer<QWidget>& open : TheRegistry().open) {
    if (open) return true;
  }
  return false;
}

QWidget* ActiveProgramWindow() {
  const Registry& registry = TheRegistry();
  QWidget* active = QApplication::activeWindow();
  for (const QPointer<QWidget>& open : registry.open) {
    if (open && open == active) return active;
  }
  for (WindowDefinition fallback :
       {WindowDefinition::MainWindow, WindowDefinition::FormulaWindow}) {
    if (QWidget* open = registry.open[IndexOf(fallback)]) return open;
  }
  return nullptr;
}

void HoldAbove(QWidget* modal, QWidget* parent) {
  if (modal == nullptr || parent == nullptr || parent == modal) return;
  QWindow* parentHandle = parent->window()->windowHandle();
  if (parentHandle == nullptr) return;
  // The platform window must exist to carry the link; made with the flags
  // the caller has already given.
  modal->winId();
  if (QWindow* handle = modal->windowHandle()) handle->setTransientParent(parentHandle);
}

void testing::SetCreationFailure(WindowDefinition window, bool fail) {
  TheRegistry().failCreation[IndexOf(window)] = fail;
}

bool OpenWindow(WindowDefinition definition, bool modal) {
  Registry& registry = TheRegistry();
  QPointer<QWidget>& slot = registry.open[IndexOf(definition)];
  if (slot) {
    BringForward(slot);
    return true;
  }
  if (registry.failCreation[IndexOf(definition)]) return false;

  EscapeCloser::Install();
  const WindowFrame frame = FrameOf(definition);
  QWidget* window = Create(definition);
  if (window == nullptr) return false;

  // Taken before the new window can become the active one.
  QWidget* stackedOn = modal ? ActiveProgramWindow() : nullptr;
  // A modal window is owned by the invisible application window, which keeps
  // it off the taskbar; the others have no owner. Without the minimise and
  // maximise hints Qt tells an X11 window manager, through the Motif
  // functions, that the window offers neither.
  Qt::WindowFlags flags = (modal ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint;
  if (frame.minimiseBox) flags |= Qt::WindowMinimizeButtonHint;
  window->setParent(modal ? ApplicationWindow() : nullptr, flags);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(frame.title);
  window->setFixedSize(frame.outerSize);
  new OuterSizeKeeper(window, frame.outerSize);
  const QScreen* screen = QGuiApplication::primaryScreen();
  window->move(
      CentredPosition(screen != nullptr ? screen->geometry().size() : QSize(), frame.outerSize));

  if (definition == WindowDefinition::MainWindow) {
    OnMainWindowCreated(*static_cast<class MainWindow*>(window));
  }

  slot = window;
  QObject::connect(window, &QObject::destroyed, QApplication::instance(), [] {
    // Looked at once the destruction is complete.
    QMetaObject::invokeMethod(QApplication::instance(), &NoteWindowDestroyed, Qt::QueuedConnection);
  });

  // Qt's modality on top of the disabling keeps the window manager's close
  // boxes of the other windows from acting while the modal one is up.
  if (modal) window->setWindowModality(Qt::ApplicationModal);
  // Stacked above the window it was opened from rather than above the
  // invisible owner, which no window manager or compositor can show.
  if (modal) HoldAbove(window, stackedOn);
  // Qt sends a window's icon to the X server when it makes the platform
  // window and again right after, some 350 kB each time with every size in
  // it; the first window is therefore made before the program has its icon,
  // which then reaches the X server once, still before the window is shown.
  window->winId();
  GiveProgramIcon();
  window->show();
  window->activateWindow();
  if (modal) {
    new ModalSession(window);
    RunMessageLoop(LoopMode::Modal, window);
  }
  return true;
}

}  // namespace velquist
