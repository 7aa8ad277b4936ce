// The progress window "Waiting": a caption naming the current phase (whole,
// on the line above the gauge; the title bar keeps the short "Waiting", which
// a window manager never cuts), a percent gauge and a Cancel button on a plain
// plate over the program's picture. Long work runs on the GUI thread and drives it
// through ProgressSink; Escape or Cancel posts the cancel message (1025) to the
// window that owns the work, which finds it by polling its own queue.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <deque>

#include "model/interfaces.h"

class CtlFill;
class CtlProgress;
class CtlButton;
class QLabel;

class TAttente : public QDialog, public ProgressSink {
  Q_OBJECT
 public:
  // Shows itself at once, application-modal and on top.
  explicit TAttente(QWidget* parent = nullptr);
  ~TAttente() override;

  void take_focus() override;
  // Remembers the window to notify, forgets a saved position, and drops cancel
  // messages left in that window's queue by an earlier operation.
  void demarrer(WindowHandle notified) override;
  void avancer(std::optional<std::string_view> caption, std::uint16_t increment) override;
  // Lets pending events in (at most every 30 ms), then answers one queued
  // Escape and one queued Cancel click with the cancel message.
  void tester_annulation() override;
  void fixer_traiter_messages(bool traiter) { traiter_messages_ = traiter; }

  CtlFill* CtlFill1;
  CtlFill* Plaque;  // the plain plate under the gauge and the button
  CtlProgress* Gauge1;
  CtlButton* BitBtn1;
  QLabel* Legende;  // the phase caption, never cut: the window widens for a long one

  // The caption of the current phase as the work gave it (trailing blanks kept).
  const QString& legende() const { return legende_; }
  WindowHandle fenetre_notifiee() const { return fenetre_notifiee_; }
  bool position_sauvee() const { return position_sauvee_; }
  std::uint16_t position_memorisee() const { return position_memorisee_; }

 signals:
  void legendeChangee(const QString& legende);  // a step gave a new caption

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  // Escape is an input of the work, never a way to close the window.
  void reject() override {}

 private:
  struct Entree {
    bool clic;  // a Cancel click, else a key-down
    int touche;
  };
  std::deque<Entree> entrees_;
  QElapsedTimer depuis_traitement_;
  unsigned appels_ = 0;
  bool deja_traite_ = false;
  WindowHandle fenetre_notifiee_ = 0;
  bool position_sauvee_ = false;
  std::uint16_t position_memorisee_ = 0;
  bool traiter_messages_ = false;
  QString legende_;
  void placer(int largeur);  // lays the window out at that width
};
