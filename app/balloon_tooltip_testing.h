// What tests may read of the tooltip window beyond its interface
// (balloon_tooltip.h). The program itself never calls any of it.
#pragma once

#include <QPoint>
#include <QStringList>

#include "app/balloon_tooltip.h"

namespace velquist::testing {

class TooltipInspector {
 public:
  // The tooltip window if it exists, else null.
  static TooltipHost* Host() { return TooltipHost::Existing(); }
  // Whether it draws balloons rather than plain boxes.
  static bool Balloon(const TooltipHost& host) { return host.balloon(); }
  // The lines of the tip `control` would show; empty for a control without one.
  static QStringList ToolLines(const TooltipHost& host, const QWidget* control) {
    return host.ToolLines(control);
  }
  // The control whose tip is on screen, or null when none is shown.
  static const QWidget* ShownTool(const TooltipHost& host) { return host.shownTool(); }
  // The lines on screen now; empty when no tip is shown.
  static QStringList ShownLines(const TooltipHost& host) { return host.ShownLines(); }
  // Where the pointer of the balloon (or the corner of a plain tip) points,
  // in screen coordinates.
  static QPoint Anchor(const TooltipHost& host) { return host.anchor(); }
};

}  // namespace velquist::testing
