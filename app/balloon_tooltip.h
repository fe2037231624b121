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

namespace testing {
class TooltipInspector;
}

// The lines a tip shows: its text broken at each "\r\n" and nowhere else.
// An empty text shows no tip, hence no lines.
QStringList TooltipTextLines(const QString& text);

class TooltipHost : public QWidget {
  Q_OBJECT

 public:
  // The host, created on first use with the shape the first caller asks for;
  // it lives until the application object goes.
  static TooltipHost* Instance(bool balloon);

  // Watches `control` and shows `text` when the mouse rests on it; centred
  // tips hang below the control's middle instead of at the pointer. Attaching
  // a control again replaces its text.
  void AddTool(QWidget* control, const QString& text, bool centred);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Tool {
    QString text;
    bool centred = false;
  };

  // What the tooltip window is doing, read by tests alone
  // (balloon_tooltip_testing.h).
  friend class testing::TooltipInspector;
  static TooltipHost* Existing();
  bool balloon() const { return balloon_; }
  QStringList ToolLines(const QWidget* control) const;
  const QWidget* shownTool() const { return isVisible() ? shown_tool_.data() : nullptr; }
  QStringList ShownLines() const;
  QPoint anchor() const { return anchor_; }

  explicit TooltipHost(bool balloon);
  void Arm(QWidget* control, QPoint globalPos);
  void ShowTip();
  void HideTip();
  void Layout(const QStringList& lines, QPoint anchor, const QRect& screen);

  bool balloon_;
  QHash<const QObject*, Tool> tools_;
  QPointer<QWidget> hovered_;     // the tool under the mouse
  QPointer<QWidget> shown_tool_;  // the tool whose tip is up
  bool dismissed_ = false;        // hidden by a click or time-out until the mouse leaves
  QPoint last_pos_;               // last pointer position over a tool
  QPoint anchor_;
  QStringList lines_;
  QImage picture_;  // the tip as painted, with its shape in the alpha channel
  QTimer wake_up_;
  QTimer fall_asleep_;
};

}  // namespace velquist
