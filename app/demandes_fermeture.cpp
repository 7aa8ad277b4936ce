#include "app/demandes_fermeture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>

#ifdef QUORVEL_XCB
#include <xcb/xcb.h>
#endif

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

#ifdef QUORVEL_XCB
std::uint32_t atome(xcb_connection_t* c, const char* nom) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(nom)), nom), nullptr);
  const std::uint32_t a = r ? r->atom : 0;
  std::free(r);
  return a;
}
#endif

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
#ifdef QUORVEL_XCB
  if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) {
    if (xcb_connection_t* c = x11->connection()) {
      protocoles_ = atome(c, "WM_PROTOCOLS");
      fermeture_ = atome(c, "WM_DELETE_WINDOW");
    }
  }
#endif
  if (protocoles_ && fermeture_) qApp->installNativeEventFilter(this);
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
