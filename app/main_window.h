// The calculator's working window: eight group boxes, one per figure, and the
// menu that opens the formula list and the About window.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <memory>
#include <string_view>

#include "core/control_names.h"
#include "core/form_access.h"

class QRadioButton;

namespace velquist {

class EditBox;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // The boundary the calculators reach the window through; texts cross
  // between Qt's Unicode and the core's GBK here and nowhere else.
  FormAccess& Form();

  // The control with the window definition's identifier (control_names.h).
  // Every caller names a control the definition has, of the kind it wants:
  // an unknown identifier or another kind ends the process with both named,
  // instead of handing back a null pointer to connect or click.
  template <class T = QWidget>
  T* Control(std::string_view name) const {
    T* control = qobject_cast<T*>(FindControl(name));
    if (control == nullptr) FailLookup(name, T::staticMetaObject.className());
    return control;
  }

 private:
  QWidget* FindControl(std::string_view name) const;
  [[noreturn]] void FailLookup(std::string_view name, const char* wanted) const;
  void BuildMenu();
  void BuildGroups();
  void WireEvents();
  void WireCalculator(std::string_view button, void (*calculate)(FormAccess&));
  void WireRadio(std::string_view radio, void (MainWindow::*effect)());
  void ClearCircleBoxes();
  void ResetRectangleHeight();
  void ClearRectangleHeight();

  QWidget* client_ = nullptr;
  QHash<QString, QWidget*> controls_;
  std::unique_ptr<FormAccess> form_;
};

// The Qt object name of the window's control with this identifier.
QString ObjectNameOf(std::string_view name);

// The creation handler, run once while the new window is still hidden: turns
// on the control skin, points the global π text at the program's constant and
// attaches the two tooltips.
void OnMainWindowCreated(MainWindow& window);

}  // namespace velquist
