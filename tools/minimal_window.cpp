// The floor for start-up time and memory: the least a Qt Widgets program does
// to show one titled top-level window, built with the same flags as velquist.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Velquist minimal window"));
  window.resize(721, 590);
  window.show();
  return application.exec();
}
