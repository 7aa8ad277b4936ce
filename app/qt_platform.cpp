#include "app/qt_platform.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>

#include "platform/messages.h"

void install_message_pump() {
  platform::set_wake_up([] {
    QMetaObject::invokeMethod(qApp, [] { platform::dispatch_pending(); }, Qt::QueuedConnection);
  });
}

bool QtUserInterface::ask_yes_no(const std::string& text, const std::string& caption) {
  return QMessageBox::question(QApplication::activeWindow(), QString::fromLatin1(caption.c_str()),
                               QString::fromLatin1(text.c_str()), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void QtUserInterface::warn(const std::string& text, const std::string& caption) {
  QMessageBox::warning(QApplication::activeWindow(), QString::fromLatin1(caption.c_str()),
                       QString::fromLatin1(text.c_str()));
}
