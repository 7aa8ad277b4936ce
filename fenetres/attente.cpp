#include "fenetres/attente.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

#include "fenetres/donnees_images.h"
#include "fenetres/fonds.h"
#include "controls/button.h"
#include "controls/fill.h"
#include "controls/progress.h"
#include "platform/messages.h"

namespace {

// Caption of the nested phase that draws one tree in full detail.
constexpr std::string_view kArbreDetaille = "A tree very detailed ...  ";
// Events are let in at most this often while work polls.
constexpr qint64 kIntervalleTraitement = 30;
constexpr unsigned kAppelsParLecture = 256;
// The form's width, its height with the caption line, and the caption's margin.
constexpr int kLargeur = 270;
constexpr int kHauteur = 112;
constexpr int kMarge = 10;

QFont Police(int pixels) {
  QFont f(QStringLiteral("Sans Serif"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(pixels);
  f.setBold(true);
  return f;
}

// Some drawing and event code of the platform leaves the upper halves of the
// vector registers dirty, which slows every later floating-point instruction
// of the worker (a third more time for smoothing). Clearing them after the
// window has drawn or taken events keeps the work at full speed.
void nettoyer_registres_vectoriels() {
#if defined(__x86_64__)
  static const bool avx = __builtin_cpu_supports("avx");
  if (avx) asm volatile("vzeroupper" ::: "memory");
#endif
}

}  // namespace

TAttente::TAttente(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle(QStringLiteral("Waiting"));
  setFont(Police(13));
  setFocusPolicy(Qt::StrongFocus);
  const TData* data = TData::Instance();

  CtlFill1 = new CtlFill(this);
  CtlFill1->Bevel().SetStyleOuter(bvRaised);
  CtlFill1->Bevel().SetWidthOuter(3);
  fond_carrele(*CtlFill1, images::kBackground);

  // The picture's lettering would show through the gauge's gaps and around
  // the button: they stand on a plain face.
  Plaque = new CtlFill(this);
  Plaque->Bevel().SetStyleOuter(bvRaised);
  Plaque->Bevel().SetWidthOuter(1);
  Plaque->FillObject().SetStyle(sfBrush);
  Plaque->FillObject().SetBrushColor(clBtnFace);

  Gauge1 = new CtlProgress(this);
  Gauge1->SetStyle(pgBar);
  Gauge1->SetOptionsText(toPercent);
  Gauge1->SetColor(clWhite);
  Gauge1->SetBarColor(clNavy);
  Gauge1->SetBar3D(lsNone);
  Gauge1->Bevel().SetStyleOuter(bvLowered);
  Gauge1->Bevel().SetWidthOuter(2);
  Gauge1->Bevel().SetWidthInner(0);
  Gauge1->SmallBar().BeginUpdate();
  Gauge1->SmallBar().SetBarCount(20);
  Gauge1->SmallBar().SetBarColor(clPurple);
  Gauge1->SmallBar().SetHSpace(1);
  Gauge1->SmallBar().SetVSpace(2);
  Gauge1->SmallBar().EndUpdate(true);
  Gauge1->setFont(Police(16));
  Gauge1->SetPosition(52);  // the stored position, shown until the first phase starts

  BitBtn1 = new CtlButton(this);
  BitBtn1->setText(QStringLiteral("Cancel"));
  BitBtn1->setFocusPolicy(Qt::NoFocus);  // keys go to the window, where Escape is read
  BitBtn1->setAutoDefault(false);
  if (data) BitBtn1->SetGlyph(data->ImageList.GetImage(images::kSmallIcons, images::iconCancel));
  connect(BitBtn1, &QPushButton::clicked, this, [this] { entrees_.push_back({true, 0}); });

  Legende = new QLabel(this);
  Legende->setAlignment(Qt::AlignCenter);
  Legende->setTextFormat(Qt::PlainText);
  placer(kLargeur);

  setWindowModality(Qt::ApplicationModal);
  show();
  nettoyer_registres_vectoriels();
}

TAttente::~TAttente() = default;

void TAttente::placer(int largeur) {
  const int dx = (largeur - kLargeur) / 2;
  setFixedSize(largeur, kHauteur);
  CtlFill1->setGeometry(0, 0, largeur, kHauteur);
  Legende->setGeometry(kMarge, 7, largeur - 2 * kMarge, 18);
  Gauge1->setGeometry(16 + dx, 32, 227, 28);
  BitBtn1->setGeometry(72 + dx, 70, 97, 25);
  Plaque->setGeometry(Gauge1->x() - 6, Gauge1->y() - 5, Gauge1->width() + 12, BitBtn1->geometry().bottom() + 6 - Gauge1->y());
}

void TAttente::take_focus() {
  activateWindow();
  setFocus(Qt::OtherFocusReason);
}

void TAttente::demarrer(WindowHandle notified) {
  fenetre_notifiee_ = notified;
  position_sauvee_ = false;
  position_memorisee_ = 0;
  while (platform::peek(notified, platform::WM_CANCEL, platform::WM_CANCEL, true)) {
  }
}

void TAttente::avancer(std::optional<std::string_view> caption, std::uint16_t increment) {
  const int position = Gauge1->Position();
  if (position + static_cast<int>(increment) < 100) Gauge1->SetPosition(position + increment);
  if (caption) {
    legende_ = QString::fromUtf8(caption->data(), static_cast<qsizetype>(caption->size()));
    Legende->setText(legende_.trimmed());
    emit legendeChangee(legende_);
    // The window grows for a long caption and keeps that width to its end.
    const int utile = Legende->fontMetrics().horizontalAdvance(Legende->text()) + 2 * kMarge + 8;
    if (utile > width()) placer(std::max(utile, kLargeur));
  }
  const std::string_view texte = caption ? *caption : std::string_view{};
  bool arbre_detaille = false;
  if (texte == kArbreDetaille && increment == 0) {
    position_sauvee_ = true;
    position_memorisee_ = static_cast<std::uint16_t>(Gauge1->Position());
    arbre_detaille = true;
  }
  if (increment == 0) {
    Gauge1->SetPosition(0);
    if (position_sauvee_ && !arbre_detaille) {
      Gauge1->SetPosition(position_memorisee_);
      position_sauvee_ = false;
    }
    repaint();
  }
  if (traiter_messages_) QCoreApplication::processEvents();
  nettoyer_registres_vectoriels();
}

void TAttente::tester_annulation() {
  // Workers call this for every node; the clock is read only every few calls.
  if (!deja_traite_ ||
      (++appels_ % kAppelsParLecture == 0 && depuis_traitement_.elapsed() >= kIntervalleTraitement)) {
    deja_traite_ = true;
    QCoreApplication::processEvents();
    depuis_traitement_.start();
    appels_ = 0;
    nettoyer_registres_vectoriels();
  }
  if (entrees_.empty()) return;
  // The message layer delivers queued messages whenever events are processed,
  // so the cancel message is posted only now, and the worker takes it next.
  for (auto it = entrees_.begin(); it != entrees_.end(); ++it)
    if (!it->clic) {
      const bool echap = it->touche == Qt::Key_Escape;
      entrees_.erase(it);
      if (echap) platform::post(fenetre_notifiee_, platform::WM_CANCEL, 0, 0);
      break;
    }
  for (auto it = entrees_.begin(); it != entrees_.end(); ++it)
    if (it->clic) {
      entrees_.erase(it);
      avancer("", 0);
      platform::post(fenetre_notifiee_, platform::WM_CANCEL, 0, 0);
      break;
    }
}

void TAttente::keyPressEvent(QKeyEvent* e) {
  entrees_.push_back({false, e->key()});
  e->accept();
}

void TAttente::closeEvent(QCloseEvent* e) {
  // The window has no close box; only its owner closes it, by deleting it.
  if (e->spontaneous()) e->ignore();
}
