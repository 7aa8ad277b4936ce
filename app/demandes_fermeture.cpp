#include "app/demandes_fermeture.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>
#include <cstring>

#include "components/legende_x11.h"

namespace {

// The X11 client message as it travels: 32 bytes.
struct MessageClient {
  std::uint8_t genre;  // 33, with the top bit set when sent by another client
  std::uint8_t format;
  std::uint16_t sequence;
  std::uint32_t fenetre;
  std::uint32_t type;
  std::uint32_t donnees[5];
};
static_assert(sizeof(MessageClient) == 32);
constexpr std::uint8_t kMessageClient = 33;

}  // namespace

bool est_demande_fermeture(const void* evenement, std::uint32_t fenetre, std::uint32_t protocoles,
                           std::uint32_t fermeture) {
  if (!evenement || !fenetre || !protocoles || !fermeture) return false;
  MessageClient m;
  std::memcpy(&m, evenement, sizeof m);
  return (m.genre & 0x7f) == kMessageClient && m.format == 32 && m.fenetre == fenetre && m.type == protocoles &&
         m.donnees[0] == fermeture;
}

DemandesFermeture::DemandesFermeture(QWidget* fenetre, std::function<void()> refusee)
    : fenetre_(fenetre), refusee_(std::move(refusee)) {
  protocoles_ = components::x11::Atom("WM_PROTOCOLS");
  fermeture_ = components::x11::Atom("WM_DELETE_WINDOW");
  if (protocoles_ && fermeture_) qApp->installNativeEventFilter(this);
  // The window's platform window exists once it is shown.
  fenetre->installEventFilter(this);
}

DemandesFermeture::~DemandesFermeture() {
  if (qApp) qApp->removeNativeEventFilter(this);
}

bool DemandesFermeture::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
  if (type != "xcb_generic_event_t" || !fenetre_ || !fenetre_->testAttribute(Qt::WA_WState_Created)) return false;
  const auto id = static_cast<std::uint32_t>(fenetre_->winId());
  if (!est_demande_fermeture(message, id, protocoles_, fermeture_)) return false;
  QWidget* modale = QApplication::activeModalWidget();
  if (modale && modale != fenetre_) QTimer::singleShot(0, fenetre_, [f = refusee_] { f(); });
  return false;  // the toolkit goes on with the request as usual
}

bool DemandesFermeture::eventFilter(QObject* objet, QEvent* e) {
  if (!fenetre_) return false;
  QWindow* plateforme = fenetre_->windowHandle();
  if (objet == fenetre_ && e->type() == QEvent::Show && plateforme) {
    plateforme->installEventFilter(this);  // once: a second install only moves it to the front
  } else if (objet == plateforme && e->type() == QEvent::Close) {
    QWidget* modale = QApplication::activeModalWidget();
    if (modale && modale != fenetre_) {
      e->ignore();
      return true;
    }
  }
  return false;
}
