#include "app/mainwindow.h"

#include <QMdiArea>

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), mdi_(new QMdiArea(this)) {
  setWindowTitle("Quorvel");
  setCentralWidget(mdi_);
  resize(900, 660);
  handle_ = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
}

MainWindow::~MainWindow() { platform::unregister_window(handle_); }
