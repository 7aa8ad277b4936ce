#pragma once

#include <QMainWindow>

#include "platform/messages.h"

class QMdiArea;

// The program's main window: an MDI area that holds the documents' windows.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  platform::WindowHandle handle() const { return handle_; }

 private:
  QMdiArea* mdi_;
  platform::WindowHandle handle_ = 0;
};
