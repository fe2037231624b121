// The two secondary windows: the list of formulas and the About window. Each
// holds one label, `标签1`, and nothing that takes the focus.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace velquist {

// Both texts as the definitions hold them, lines ended by "\r\n".
extern const QString kFormulaText;
extern const QString kAboutText;

// A "\r\n"-lined text as Qt draws it.
QString DisplayLines(const QString& text);

class FormulaWindow : public QWidget {
  Q_OBJECT

 public:
  explicit FormulaWindow(QWidget* parent = nullptr);
};

// The About window's label: an 8-pixel gradient frame, grey at both edges and
// white in the middle, with mitred corners; inside it red text on yellow,
// each line centred, from the top.
class AboutLabel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kFrameWidth = 8;
  static constexpr QRgb kFrameEdge = 0xFF808080;
  static constexpr QRgb kTextColour = 0xFFFF0000;
  static constexpr QRgb kBackground = 0xFFFFFF00;

  AboutLabel(const QString& text, QWidget* parent = nullptr);

  QString text() const { return text_; }

  // The colour of ring `ring` (0 the outermost) of a frame `width` wide.
  static QRgb FrameColour(int ring, int width);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
};

class AboutWindow : public QWidget {
  Q_OBJECT

 public:
  explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace velquist
