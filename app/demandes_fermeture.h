// Close requests of the window manager that the toolkit drops without a word
// while a modal window blocks the main window (a movie being made, a long
// computation under its progress window). They are read here, on X11, so that
// the main window can say why it stays open. A close that the toolkit lets
// through to the window while a modal window blocks it (it does so for the
// window's own close, as the title bar's window menu asks it, whose menu may
// be open when a question comes up) is refused here, whatever the platform.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

// True when `evenement` (an X11 event as the toolkit hands it) asks window
// `fenetre` to close: a client message of type `protocoles` (WM_PROTOCOLS)
// whose first word is `fermeture` (WM_DELETE_WINDOW).
bool est_demande_fermeture(const void* evenement, std::uint32_t fenetre, std::uint32_t protocoles,
                           std::uint32_t fermeture);

class DemandesFermeture : public QObject, public QAbstractNativeEventFilter {
 public:
  // `refusee` runs from the event loop, after the request, when the request
  // reached `fenetre` while a modal window blocked it.
  DemandesFermeture(QWidget* fenetre, std::function<void()> refusee);
  ~DemandesFermeture() override;
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* resultat) override;
  bool eventFilter(QObject* objet, QEvent* e) override;

 private:
  QPointer<QWidget> fenetre_;
  std::function<void()> refusee_;
  std::uint32_t protocoles_ = 0, fermeture_ = 0;  // 0: not on X11
};
