#include <QApplication>

#include "app/mainwindow.h"
#include "app/qt_platform.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorvel");
  install_message_pump();
  QtUserInterface ui;
  set_user_interface(&ui);
  MainWindow w;
  w.show();
  int rc = app.exec();
  set_user_interface(nullptr);
  return rc;
}
