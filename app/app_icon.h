#pragma once

#include <QIcon>

namespace velquist {

// The program's own icon in every size rendered at build time (16 to 256 px),
// so that each window, taskbar entry and task switcher picks a sharp one.
QIcon VelquistIcon();

}  // namespace velquist
