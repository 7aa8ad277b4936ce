#include "app/qt_platform.h"

#include <QApplication>
#include <QMetaObject>

#include "platform/messages.h"
#include "fenetres/dialogue_fixe.h"

void install_message_pump() {
  platform::set_wake_up([] {
    QMetaObject::invokeMethod(qApp, [] { platform::dispatch_pending(); }, Qt::QueuedConnection);
  });
}

std::unique_ptr<QMessageBox> construire_boite_message(const std::string& text, const std::string& caption,
                                                      bool question, QWidget* parent) {
  auto b = std::make_unique<QMessageBox>(question ? QMessageBox::Question : QMessageBox::Warning,
                                         QString::fromStdString(caption), QString::fromStdString(text),
                                         question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
  b->setDefaultButton(question ? QMessageBox::No : QMessageBox::Ok);
  bordure_dialogue_fixe(*b);
  return b;
}

bool QtUserInterface::ask_yes_no(const std::string& text, const std::string& caption) {
  return construire_boite_message(text, caption, true, QApplication::activeWindow())->exec() == QMessageBox::Yes;
}

void QtUserInterface::warn(const std::string& text, const std::string& caption) {
  construire_boite_message(text, caption, false, QApplication::activeWindow())->exec();
}

void QtUserInterface::inform(const std::string& text, const std::string& caption) {
  QMessageBox b(QMessageBox::Information, QString::fromLatin1(caption.c_str()), QString::fromLatin1(text.c_str()),
                QMessageBox::Ok, QApplication::activeWindow());
  bordure_dialogue_fixe(b);
  b.exec();
}
