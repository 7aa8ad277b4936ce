#include "app/galerie.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <algorithm>

#include "app/carte.h"
#include "app/dialogues_qt.h"
#include "fenetres/aide_enfants.h"
#include "app/images_qt.h"
#include "fenetres/image_qt.h"
#include "app/texte_document.h"
#include "model/texte.h"
#include "platform/fichiers.h"

namespace {

constexpr int kColonnes[4] = {8, 160, 312, 464};
constexpr int kRangees[4] = {20, 140, 264, 392};
constexpr int kSujetAide = 4100;

QString Q(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

// Case-insensitive order, byte order breaking ties.
bool avant(const std::string& a, const std::string& b) {
  const auto bas = [](unsigned char c) { return std::tolower(c); };
  const auto r = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                              [&](char x, char y) { return bas(x) < bas(y); });
  if (r) return true;
  const bool egal_sans_casse = !std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                             [&](char x, char y) { return bas(x) < bas(y); });
  return egal_sans_casse && a < b;
}

}  // namespace

std::int32_t lire_cle_fichier(Entree& e, const std::string& cle) {
  while (auto l = e.ligne()) {
    if (l->size() < 20 || l->substr(0, 20) != cle) continue;
    if (e.fin()) return 0;  // the key line is the file's last
    if (l->size() < 21 || (*l)[20] != ' ') return 0;
    return model::convertir_entier_ligne(l->substr(21, 12)).value_or(0);
  }
  return 0;
}

QString texte_date_galerie(const QDateTime& d) {
  static const char* const mois[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return QStringLiteral(" of %1 %2,%3 at ")
             .arg(QString::fromLatin1(mois[std::clamp(d.date().month(), 1, 12) - 1]))
             .arg(d.date().day(), 2, 10, QChar('0'))
             .arg(d.date().year()) +
         texte_heure(d);
}

TForm_galerie::TForm_galerie(QWidget* parent) : QWidget(parent) {
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
  setWindowTitle(QStringLiteral("Collection"));
  setFixedSize(660, 554);
  lier_touche_aide(*this, [] { return kSujetAide; });  // a window of its own: the main window's F1 does not reach it
  ScrollBox_photos = new QScrollArea(this);
  ScrollBox_photos->setGeometry(4, 4, 652, 487);
  auto* fond = new QWidget;
  fond->resize(620, 490);
  fond->installEventFilter(this);
  ScrollBox_photos->setWidget(fond);
  for (int k = 0; k < kEmplacements; ++k) {
    auto* p = new QFrame(fond);
    p->setFrameStyle(QFrame::Panel | QFrame::Raised);
    p->setGeometry(kColonnes[k % 4], kRangees[k / 4], 140, 85 + 20);
    auto* absent = new QLabel(QStringLiteral("No picture"), p);
    absent->setGeometry(4, 4, 132, 77);
    absent->setAlignment(Qt::AlignCenter);
    auto* boite = new QWidget(p);
    boite->setGeometry(4, 4, 132, 77);
    boite->installEventFilter(this);
    auto* nom = new QLabel(p);
    nom->setGeometry(4, 84, 132, 18);
    nom->setAlignment(Qt::AlignCenter);
    panneaux_[std::size_t(k)] = p;
    boites_[std::size_t(k)] = boite;
    noms_[std::size_t(k)] = nom;
  }
  Panel_fichier = new QLabel(this);
  Panel_fichier->setGeometry(4, 510, 652, 40);
  Panel_fichier->setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void TForm_galerie::charger_vues(platform::WindowHandle proprietaire, const std::vector<std::string>& noms) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  vue_choisie = fermeture = aide_contextuelle = 0;
  principale = proprietaire;
  nombre_ = std::min<int>(int(noms.size()), kEmplacements);
  liste_.assign(noms.begin(), noms.begin() + nombre_);
  std::sort(liste_.begin(), liste_.end(), avant);
  for (int k = 0; k < nombre_; ++k) {
    Emplacement& s = emplacements_[std::size_t(k)];
    s = Emplacement{};
    const std::string& nom = liste_[std::size_t(k)];
    if (auto date = date_fichier(nom)) s.date = texte_date_galerie(QDateTime::fromSecsSinceEpoch(*date));
    // Only a regular file of a document's size is read (a pipe chosen by
    // mistake would wait for a writer); opening the slot says why not.
    if (auto octets = lire_fichier(nom, nullptr, kLectureDocument)) {
      Entree e(std::move(*octets));
      s.maillage = lire_cle_fichier(e, "Maillage           =");
      s.largeur = lire_cle_fichier(e, "Largeur image      =");
      s.hauteur = lire_cle_fichier(e, "Hauteur image      =");
      s.genre = lire_cle_fichier(e, "Type (1:BMP,2:JPEG)=");
    }
    s.titre = Q(nom_sans_dossier(nom)).left(20);
    // The picture beside the document; the writer may have used the other extension.
    std::string image = changer_extension(nom, s.genre == 2 ? ".jpg" : ".bmp");
    if (!fichier_existe(image)) image = changer_extension(nom, s.genre == 2 ? ".bmp" : ".jpg");
    if (auto i = fichier_existe(image) ? lire_image_vue(image) : std::nullopt) {
      s.vignette = image_qt(*i).scaled(132, 77, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      s.image = true;
    }
    panneaux_[std::size_t(k)]->show();
    noms_[std::size_t(k)]->setText(s.titre);
    boites_[std::size_t(k)]->update();
  }
  for (int k = nombre_; k < kEmplacements; ++k) panneaux_[std::size_t(k)]->hide();
  choisie_ = -1;
  Panel_fichier->clear();
  QApplication::restoreOverrideCursor();
}

QString TForm_galerie::description() const { return Panel_fichier->text(); }

void TForm_galerie::Image_paint(int k, QWidget* boite) {
  const Emplacement& s = emplacements_[std::size_t(k)];
  QPainter p(boite);
  if (s.image) p.drawImage(0, 0, s.vignette);
  if (k == choisie_) {
    // A hollow red frame, right and bottom edges excluded.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::red);
    const int l = boite->width() - 2, h = boite->height() - 2;
    p.drawRect(2, 2, l - 2, 1);
    p.drawRect(2, h - 1, l - 2, 1);
    p.drawRect(2, 2, 1, h - 2);
    p.drawRect(l - 1, 2, 1, h - 2);
  }
}

void TForm_galerie::PaintBox_0Click(int k) {
  if (aide_contextuelle) {
    afficher_sujet_aide(kSujetAide);
    return;
  }
  if (k < 0 || k >= nombre_) return;
  choisie_ = k;
  const Emplacement& s = emplacements_[std::size_t(k)];
  QString t = "   " + s.titre + "   : " + " Mesh =" + QString::number(s.maillage) + ", Size " +
              QString::number(s.largeur) + " x " + QString::number(s.hauteur) + " .  ";
  if (!s.image) t += " No image. ";
  Panel_fichier->setText(t + s.date);
  for (QWidget* b : boites_) b->update();
}

void TForm_galerie::PaintBox_0DblClick(int k) {
  if (k < 0 || k >= nombre_) return;
  vue_choisie = 1;
  choisie_ = k;
  fichier_choisi = liste_[std::size_t(k)];
  platform::send(principale, platform::WM_LBUTTONDBLCLK, 0, 0);
}

void TForm_galerie::ScrollBox_photosClick() {
  if (aide_contextuelle) afficher_sujet_aide(kSujetAide);
}

bool TForm_galerie::eventFilter(QObject* o, QEvent* e) {
  const auto it = std::find(boites_.begin(), boites_.end(), o);
  if (it != boites_.end()) {
    const int k = int(it - boites_.begin());
    if (e->type() == QEvent::Paint) {
      Image_paint(k, *it);
      return true;
    }
    if (e->type() == QEvent::MouseButtonPress) PaintBox_0Click(k);
    if (e->type() == QEvent::MouseButtonDblClick) PaintBox_0DblClick(k);
  } else if (e->type() == QEvent::MouseButtonPress) {
    ScrollBox_photosClick();
  }
  return QWidget::eventFilter(o, e);
}

void TForm_galerie::closeEvent(QCloseEvent* e) {
  fermeture = 1;
  for (Emplacement& s : emplacements_) s.vignette = QImage();
  liste_.clear();
  nombre_ = 0;
  e->accept();
  hide();
}
