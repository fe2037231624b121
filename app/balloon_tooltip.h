// The program's one tooltip window: a balloon (or, if the first control
// asked for none, a plain box) shown when the mouse rests on a control.
#pragma once

#include <QHash>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace velquist {

// The lines a tip shows: its text broken at each "\r\n" and nowhere else.
// An empty text shows no tip, hence no lines.
QStringList TooltipTextLines(const QString& text);

class TooltipHost : public QWidget {
  Q_OBJECT

 public:
  // The host, created on first use with the shape the first caller asks for;
  // it lives until the application object goes.
  static TooltipHost* Instance(bool balloon);
  // The host if it exists, else null.
  static TooltipHost* Existing();

  bool balloon() const { return balloon_; }

  // Watches `control` and shows `text` when the mouse rests on it; centred
  // tips hang below the control's middle instead of at the pointer. Attaching
  // a control again replaces its text.
  void AddTool(QWidget* control, const QString& text, bool centred);

  // The lines of the tip `control` would show; empty for a control without one.
  QStringList ToolLines(const QWidget* control) const;
  // The control whose tip is on screen, or null when none is shown.
  const QWidget* shownTool() const { return isVisible() ? shown_tool_.data() : nullptr; }
  // The lines on screen now; empty when no tip is shown.
  QStringList ShownLines() const;
  // Where the pointer of the balloon (or the corner of a plain tip) points,
  // in screen coordinates.
  QPoint anchor() const { return anchor_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Tool {
    QString text;
    bool centred = false;
  };

  explicit TooltipHost(bool balloon);
  void Arm(QWidget* control, QPoint global_pos);
  void ShowTip();
  void HideTip();
  void Layout(const QStringList& lines, QPoint anchor, const QRect& screen);

  bool balloon_;
  QHash<const QObject*, Tool> tools_;
  QPointer<QWidget> hovered_;       // the tool under the mouse
  QPointer<QWidget> shown_tool_;    // the tool whose tip is up
  bool dismissed_ = false;          // hidden by a click or time-out until the mouse leaves
  QPoint last_pos_;                 // last pointer position over a tool
  QPoint anchor_;
  QStringList lines_;
  QImage picture_;                  // the tip as painted, with its shape in the alpha channel
  QTimer wake_up_;
  QTimer fall_asleep_;
};

}  // namespace velquist
