#include "dialogs/edition_panneaux.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>

#include "controls/speedbutton.h"
#include "dialogs/edition_geometrie.h"
#include "fenetres/aide_enfants.h"

namespace dialogs {

// ---------------------------------------------------------------- altitude

void ZoneJauge::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, image);
}

PanneauAltitude::PanneauAltitude(QWidget* parent, std::function<bool()> aide)
    : QWidget(parent), aide_(std::move(aide)) {
  setFixedWidth(60);
  setAutoFillBackground(true);
  Label_altitude = new QLabel(this);
  Label_altitude->setGeometry(2, 4, 56, 16);
  Label_altitude->setAlignment(Qt::AlignCenter);
  Label_altitude->setAutoFillBackground(true);
  QPalette p = Label_altitude->palette();
  p.setColor(QPalette::Window, Qt::black);
  p.setColor(QPalette::WindowText, Qt::yellow);
  Label_altitude->setPalette(p);
  jauge = new ZoneJauge(this);
  jauge->setAttribute(Qt::WA_OpaquePaintEvent);
  jauge->setGeometry(40, 30, 11, 315);
  jauge->image = QImage(11, 315, QImage::Format_RGB32);
  jauge->image.fill(Qt::black);
  QFont petit = font();
  petit.setPixelSize(10);
  const char* const echelle[6] = {"4000", "3000", "2000", "1000", "0", "-1000"};
  int bas = 0;
  for (int k = 0; k < 6; ++k) {
    auto* l = new QLabel(echelle[k], this);
    l->setFont(petit);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int h = QFontMetrics(petit).height();
    l->setGeometry(2, 30 + ligne_jauge(4000 - 1000 * k, 315) - h / 2, 36, h);
    bas = l->geometry().bottom();
  }
  // The gauge and its lowest mark are never cut by the window's bottom.
  setMinimumHeight(std::max(bas, jauge->geometry().bottom()) + 4);
}

void PanneauAltitude::mousePressEvent(QMouseEvent* m) {
  if (aide_ && aide_()) afficher_sujet_aide(4009);
  QWidget::mousePressEvent(m);
}

void PanneauAltitude::afficher(std::int32_t altitude) {
  if (altitude_jauge_ < -4000) altitude_jauge_ = altitude;
  if (altitude > -4000) Label_altitude->setText(QString::number(altitude));
  QImage& g = jauge->image;
  const int w = g.width(), h = g.height();
  const int a = ligne_jauge(altitude, h), b = ligne_jauge(altitude_jauge_, h);
  QPainter p(&g);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(Qt::yellow, 3));
  p.setBrush(Qt::yellow);
  p.drawRect(QRect(QPoint(0, std::min(a, b)), QPoint(w + 1, std::max(a, b))));
  p.setPen(QPen(Qt::red, 2));
  p.drawLine(0, a, w + 1, a);
  p.end();
  jauge->update();
  altitude_jauge_ = altitude;
}

void PanneauAltitude::effacer() {
  altitude_jauge_ = -4001;
  jauge->image.fill(Qt::black);
  Label_altitude->clear();
  jauge->update();
}

// ---------------------------------------------------------------- brushes

void Nuancier::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), couleur);
  if (choisi) {
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
  }
}

QColor couleur_sol(const param_vue& v, int genre) {
  std::size_t k = COULEUR_HERBE;
  switch (genre) {
    case 2: k = COULEUR_TERRE; break;
    case 3: k = COULEUR_ROCHER; break;
    case 4: k = COULEUR_NEIGE; break;
    case 5: k = COULEUR_SABLE; break;
    default: break;
  }
  return QColor(v.couleurs[k].r, v.couleurs[k].g, v.couleurs[k].b);
}

namespace {
constexpr int kLargeurs[4] = {1, 2, 4, 8};
}  // namespace

PanneauxPinceaux::PanneauxPinceaux(QWidget* barre, Pinceaux& pinceaux, const param_vue& vue)
    : pinceaux_(pinceaux), vue_(vue) {
  construire_arbres(barre);
  construire_couleurs(barre);
}

void PanneauxPinceaux::construire_arbres(QWidget* barre) {
  Panel_arb = new QWidget(barre);
  Panel_arb->setGeometry(280, 32, 232, 30);
  ScrollBar_taille = new QScrollBar(Qt::Horizontal, Panel_arb);
  ScrollBar_taille->setRange(1, 63);
  ScrollBar_taille->setGeometry(0, 6, 90, 16);
  Label_hauteur = new QLabel(Panel_arb);
  Label_hauteur->setGeometry(94, 6, 24, 16);
  RadioButton_p1 = new QRadioButton("P5", Panel_arb);
  RadioButton_p1->setGeometry(120, 4, 50, 20);
  RadioButton_p2 = new QRadioButton("P6", Panel_arb);
  RadioButton_p2->setGeometry(172, 4, 50, 20);
  QObject::connect(ScrollBar_taille, &QScrollBar::valueChanged, Panel_arb, [this](int v) {
    pinceaux_.taille_arbre = static_cast<std::uint16_t>(v);
    Label_hauteur->setText(QString::number(v));
  });
  for (QRadioButton* r : {RadioButton_p1, RadioButton_p2})
    QObject::connect(r, &QRadioButton::clicked, Panel_arb,
                     [this] { pinceaux_.espece_arbre = RadioButton_p1->isChecked() ? 5 : 6; });
  Panel_arb->hide();
}

void PanneauxPinceaux::construire_couleurs(QWidget* barre) {
  Panel_coul = new QWidget(barre);
  Panel_coul->setGeometry(280, 32, 232, 30);
  for (int k = 0; k < 5; ++k) {
    nuanciers[k] = new Nuancier(Panel_coul, [this, k] { choisir_sol(k + 1); });
    nuanciers[k]->setGeometry(2 + 22 * k, 5, 18, 18);
  }
  for (int k = 0; k < 4; ++k) {
    auto* b = new CtlSpeedButton(Panel_coul);
    b->setGeometry(114 + 25 * k, 3, 24, 24);
    b->SetCaption(QString::number(kLargeurs[k]));
    b->SetGroupIndex(5);
    const auto w = static_cast<std::uint16_t>(kLargeurs[k]);
    QObject::connect(b, &CtlSpeedButton::clicked, Panel_coul, [this, w] { pinceaux_.largeur_sol = w; });
    epaisseurs[k] = b;
  }
  Panel_coul->hide();
}

void PanneauxPinceaux::montrer(int outil) {
  Panel_arb->hide();
  Panel_coul->hide();
  if (outil == OUTIL_ARBRE) {
    affiche_arbres();
    Panel_arb->show();
  } else if (outil == OUTIL_COULEUR) {
    affiche_couleurs();
    Panel_coul->show();
  }
}

void PanneauxPinceaux::affiche_arbres() {
  {
    const QSignalBlocker bloque(ScrollBar_taille);
    ScrollBar_taille->setValue(std::clamp<int>(pinceaux_.taille_arbre, 1, 63));
  }
  pinceaux_.taille_arbre = static_cast<std::uint16_t>(ScrollBar_taille->value());
  Label_hauteur->setText(QString::number(pinceaux_.taille_arbre));
  (pinceaux_.espece_arbre == 6 ? RadioButton_p2 : RadioButton_p1)->setChecked(true);
}

void PanneauxPinceaux::affiche_couleurs() {
  for (int k = 0; k < 5; ++k) {
    nuanciers[k]->couleur = k == 4 ? QColor(Qt::yellow) : couleur_sol(vue_, k + 1);
    nuanciers[k]->choisi = pinceaux_.sol == k + 1;
    nuanciers[k]->update();
  }
  for (int k = 0; k < 4; ++k)
    if (pinceaux_.largeur_sol == kLargeurs[k]) epaisseurs[k]->SetPressed(true);
}

void PanneauxPinceaux::choisir_sol(int genre) {
  pinceaux_.sol = static_cast<std::uint16_t>(genre);
  affiche_couleurs();
}

}  // namespace dialogs
