#include "app/qt_platform.h"

#include <QApplication>
#include <QKeyEvent>
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

// A box that only its buttons answer: Esc and the close box do nothing.
class BoiteSansEchappement : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->matches(QKeySequence::Cancel)) e->accept();
    else QMessageBox::keyPressEvent(e);
  }
  void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

}  // namespace

void install_message_pump() {
  platform::set_wake_up([] {
    QMetaObject::invokeMethod(qApp, [] { platform::dispatch_pending(); }, Qt::QueuedConnection);
  });
}

std::unique_ptr<QMessageBox> construire_boite_message(const std::string& text, const std::string& caption,
                                                      GenreBoite genre, QWidget* parent) {
  const QString legende = QString::fromStdString(caption), texte = QString::fromStdString(text);
  const bool question = genre != GenreBoite::avertissement;
  const auto icone = question ? QMessageBox::Question : QMessageBox::Warning;
  const auto boutons = question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
  std::unique_ptr<QMessageBox> b(genre == GenreBoite::sauvegarde
                                     ? new BoiteSansEchappement(icone, legende, texte, boutons, parent)
                                     : new QMessageBox(icone, legende, texte, boutons, parent));
  b->setDefaultButton(!question ? QMessageBox::Ok : genre == GenreBoite::question ? QMessageBox::No : QMessageBox::Yes);
  bordure_dialogue_fixe(*b);
  return b;
}

QWidget* QtUserInterface::proprietaire() const { return proprietaire_boite(principale_); }

bool QtUserInterface::ask_yes_no(const std::string& text, const std::string& caption) {
  return executer(construire_boite_message(text, caption, GenreBoite::question, proprietaire())) == QMessageBox::Yes;
}

bool QtUserInterface::ask_save(const std::string& text, const std::string& caption) {
  return executer(construire_boite_message(text, caption, GenreBoite::sauvegarde, proprietaire())) ==
         QMessageBox::Yes;
}

void QtUserInterface::warn(const std::string& text, const std::string& caption) {
  executer(construire_boite_message(text, caption, GenreBoite::avertissement, proprietaire()));
}

void QtUserInterface::inform(const std::string& text, const std::string& caption) {
  auto b = std::make_unique<QMessageBox>(QMessageBox::Information, QString::fromStdString(caption),
                                         QString::fromStdString(text), QMessageBox::Ok, proprietaire());
  bordure_dialogue_fixe(*b);
  executer(std::move(b));
}
