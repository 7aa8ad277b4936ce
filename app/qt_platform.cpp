#include "app/qt_platform.h"

#include <QApplication>
#include <QMetaObject>

#include "platform/messages.h"
#include "fenetres/dialogue_fixe.h"
#include "fenetres/proprietaire_boites.h"

namespace {

// Runs a box and deletes it, unless it went with its owner meanwhile.
int executer(std::unique_ptr<QMessageBox> b) {
  QPointer<QMessageBox> boite = b.release();
  const int r = boite->exec();
  delete boite.data();
  return r;
}

}  // namespace

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

QWidget* QtUserInterface::proprietaire() const { return proprietaire_boite(principale_); }

bool QtUserInterface::ask_yes_no(const std::string& text, const std::string& caption) {
  return executer(construire_boite_message(text, caption, true, proprietaire())) == QMessageBox::Yes;
}

void QtUserInterface::warn(const std::string& text, const std::string& caption) {
  executer(construire_boite_message(text, caption, false, proprietaire()));
}

void QtUserInterface::inform(const std::string& text, const std::string& caption) {
  auto b = std::make_unique<QMessageBox>(QMessageBox::Information, QString::fromStdString(caption),
                                         QString::fromStdString(text), QMessageBox::Ok, proprietaire());
  bordure_dialogue_fixe(*b);
  executer(std::move(b));
}
