// The Framing page of the view options dialog: view angles, sun, eye height,
// zoom and distance; the framing preview that follows drags on the coarse
// terrain and shows the real terrain in detailed display; drag steering; the
// frame box with its shaded frame; the sight lines on the map editor.
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

#include "fenetres/elements_pages.h"
#include "fenetres/fenetres.h"
#include "fenetres/saisie.h"
#include "controls/checkbox.h"
#include "controls/speedbutton.h"
#include "controls/trackbar.h"
#include "dialogs/options_vue.h"
#include "dialogs/options_vue_boites.h"
#include "dialogs/options_vue_calculs.h"
#include "model/matrice.h"
#include "render/palette.h"

namespace dialogs {

namespace {

QLabel* etiquette(QWidget* page, const char* texte, int x, int y, int w = 70) {
  auto* l = new QLabel(texte, page);
  l->setGeometry(x, y, w, 18);
  return l;
}

QLineEdit* edit(QWidget* page, int x, int y, int w = 44) {
  auto* e = new QLineEdit(page);
  e->setGeometry(x, y, w, 22);
  return e;
}

BoutonPas* bouton(QWidget* page, const QString& texte, QRect g) {
  auto* b = new BoutonPas(texte, page);
  b->setGeometry(g);
  return b;
}

// Forwards the framing box's mouse to the dialog.
class SourisCadrage : public QObject {
 public:
  SourisCadrage(TPagesDlg2* d, QObject* parent) : QObject(parent), d_(d) {}
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress: {
        const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
        d_->cadrage_appui(p.x(), p.y());
        return true;
      }
      case QEvent::MouseMove: {
        const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
        d_->cadrage_deplacement(p.x(), p.y());
        return false;
      }
      case QEvent::MouseButtonRelease: d_->cadrage_relache(); return true;
      default: return false;
    }
  }

 private:
  TPagesDlg2* d_;
};

}  // namespace

void TPagesDlg2::construire_cadrage(QWidget* page) {
  Image_cadrage = new PreviewBox(page, kLargeurCadrage, kHauteurCadrage);
  Image_cadrage->move(8, 8);
  Image_cadrage->setMouseTracking(true);
  Image_cadrage->installEventFilter(new SourisCadrage(this, Image_cadrage));
  Image_cadre = new PreviewBox(page, kLargeurCadre, kHauteurCadre);
  Image_cadre->move(244, 30);
  Rectangle_cadre = new CtlShadowFill(Image_cadre);
  Rectangle_cadre->SetShadowColor(clYellow);
  Rectangle_cadre->SetStyle(CtlShadowFillStyle::sfShadow);
  Rectangle_cadre->setGeometry(0, 0, kLargeurCadre, kHauteurCadre);
  fleches = {bouton(page, "^", {272, 8, 20, 18}), bouton(page, "v", {272, 88, 20, 18}),
             bouton(page, "<", {220, 48, 20, 18}), bouton(page, ">", {324, 48, 20, 18})};
  ScrollBar_zoom = barre(page, Qt::Horizontal, 10, 80, {220, 114, 124, 16});
  Label_zoom = etiquette(page, "1:1.0", 296, 134, 50);
  Zoom_moins = bouton(page, "-", {220, 134, 24, 20});
  Zoom_plus = bouton(page, "+", {248, 134, 24, 20});
  boutons_angle = {bouton(page, "^", {98, 164, 24, 20}), bouton(page, "v", {98, 208, 24, 20}),
                   bouton(page, ">", {126, 186, 24, 20}), bouton(page, "<", {70, 186, 24, 20})};

  struct Colonne {
    const char* titre;
    QScrollBar** barre;
    QLineEdit** edit;
    int minimum, maximum;
  };
  const Colonne colonnes[] = {{"Angle V", &ScrollBar_vert, &Edit_ver, -45, 89},
                              {"Eye", &ScrollBar_hauteur, &Edit_haut, 0, 1000},
                              {"Distance", &ScrollBar_dist, &Edit_dist, 6, 100},
                              {"Sun el.", &ScrollBar_solV, &Edit_solv, -30, 90}};
  int x = 360;
  for (const Colonne& c : colonnes) {
    etiquette(page, c.titre, x - 8, 4, 60);
    *c.barre = barre(page, Qt::Vertical, c.minimum, c.maximum, {x + 8, 24, 16, 150});
    *c.edit = edit(page, x - 4, 178);
    x += 60;
  }
  BTn_loin = bouton(page, "-", {480, 204, 20, 20});
  Btn_pres = bouton(page, "+", {502, 204, 20, 20});
  BTn_loin->setToolTip("Move away");
  Btn_pres->setToolTip("Move closer");
  etiquette(page, "Angle H", 8, 236);
  ScrollBar_hor = barre(page, Qt::Horizontal, -180, 180, {70, 238, 150, 16});
  Edit_hor = edit(page, 226, 234);
  etiquette(page, "Sun az.", 8, 264);
  ScrollBar_solH = barre(page, Qt::Horizontal, -180, 180, {70, 266, 150, 16});
  Edit_solh = edit(page, 226, 262);
  CheckBox_rapide = new CtlCheckBox(page);
  CheckBox_rapide->SetCaption("Visible mesh");
  CheckBox_rapide->setGeometry(290, 236, 130, 20);
  CheckBox_observateur = new CtlCheckBox(page);
  CheckBox_observateur->SetCaption("Observer placed");
  CheckBox_observateur->setGeometry(290, 262, 140, 20);
  Button_detail = new CtlSpeedButton(page);
  Button_detail->SetCaption(QString::fromUtf8("Détail"));
  Button_detail->setGeometry(8, 300, 70, 26);
  Button_detail_lock = new QPushButton("Detailed display permanent", page);
  Button_detail_lock->setGeometry(82, 300, 190, 26);
  labels_origine[0] = etiquette(page, "0", 470, 280, 30);
  boutons_copie[0] = new QPushButton("Copy", page);
  boutons_copie[0]->setGeometry(450, 298, 70, 26);
  boutons_copie[0]->setToolTip("Copy the displayed parameters (number above) to the active view (number below)");
  labels_destination[0] = etiquette(page, "0", 470, 326, 30);
}

void TPagesDlg2::connecter_cadrage() {
  for (QScrollBar* b : {ScrollBar_vert, ScrollBar_hor, ScrollBar_solV, ScrollBar_solH, ScrollBar_hauteur,
                        ScrollBar_zoom, ScrollBar_dist})
    connect(adaptateurs[b], &AdaptateurDefilement::defilement, this,
            [this, b](int code, int position) { ScrollBar_Scroll(b, code, position); });
  for (QLineEdit* e : {Edit_ver, Edit_hor, Edit_solv, Edit_solh, Edit_haut, Edit_dist})
    connect(e, &QLineEdit::editingFinished, this, [this, e] { edit_change(e); });
  std::vector<BoutonPas*> pas(fleches.begin(), fleches.end());
  pas.insert(pas.end(), boutons_angle.begin(), boutons_angle.end());
  pas.insert(pas.end(), {Zoom_plus, Zoom_moins, Btn_pres, BTn_loin});
  for (BoutonPas* b : pas) {
    connect(b, &QAbstractButton::pressed, this, [this, b] { appuyer_pas(b); });
    connect(b, &QAbstractButton::released, this, [this, b] { relacher_pas(b); });
  }
  connect(CheckBox_rapide, &CtlCheckBox::changed, this, [this] {
    vues[0].maillage_filaire = CheckBox_rapide->Checked();
    if (vues[0].maillage_filaire) fixer_detail(false);
    drapeau_cadrage = true;
    charger_cadrage();
  });
  connect(CheckBox_observateur, &CtlCheckBox::changed, this, [this] {
    vues[0].observateur_place = CheckBox_observateur->Checked();
    drapeau_cadrage = recalcul_cadre = true;
    charger_cadrage();
  });
  connect(Button_detail, &CtlSpeedButton::clicked, this, &TPagesDlg2::Button_detailClick);
  connect(Button_detail_lock, &QPushButton::clicked, this, &TPagesDlg2::Button_detail_lockClick);
  connect(boutons_copie[0], &QPushButton::clicked, this, &TPagesDlg2::BitBtn_no_cadre1Click);
  Image_cadrage->fixer_rendu([this](render::Bitmap& b) { rendre_cadrage(b); });
  Image_cadre->fixer_rendu([this](render::Bitmap& b) { rendre_cadre(b); });
}

// ---------------------------------------------------------------- load and show

void TPagesDlg2::charger_cadrage() {
  page_courante = 2;
  const param_vue& v = vues[0];
  index_dist = index_distance(v.distance);
  CheckBox_rapide->SetChecked(v.maillage_filaire != 0);
  CheckBox_observateur->SetChecked(v.observateur_place != 0);
  ScrollBar_solV->setEnabled(!v.maillage_filaire);
  ScrollBar_solH->setEnabled(!v.maillage_filaire);
  const bool libre = !v.observateur_place;
  ScrollBar_hauteur->setEnabled(!libre);
  for (QWidget* w : std::initializer_list<QWidget*>{ScrollBar_vert, ScrollBar_hor, ScrollBar_dist, Btn_pres, BTn_loin})
    w->setEnabled(libre);
  for (BoutonPas* b : boutons_angle) b->setEnabled(libre);
  nouvelle_palette();
  afficher_cadrage();
}

void TPagesDlg2::afficher_cadrage() {
  const param_vue& v = vues[0];
  Edit_ver->setText(QString::number(v.angle_vertical));
  Edit_hor->setText(QString::number(v.angle_horizontal));
  Edit_solv->setText(QString::number(v.elevation_soleil));
  Edit_solh->setText(QString::number(v.azimut_soleil));
  Edit_haut->setText(QString::number(v.hauteur_observateur));
  Edit_dist->setText(QString::fromStdString(texte_distance(v.distance)));
  Label_zoom->setText(QString::fromStdString(texte_echelle(v.zoom)));
  ScrollBar_vert->setValue(44 - v.angle_vertical);
  ScrollBar_hor->setValue(v.angle_horizontal);
  ScrollBar_solV->setValue(60 - v.elevation_soleil);
  ScrollBar_solH->setValue(v.azimut_soleil);
  ScrollBar_hauteur->setValue(1000 - v.hauteur_observateur);
  ScrollBar_zoom->setValue(v.zoom);
  ScrollBar_dist->setValue(105 - index_dist);
  if (v.maillage_filaire) fixer_detail(false);
  if (drapeau_cadrage) Image_cadrage->invalidate();
  if (drapeau_cadre || recalcul_cadre) {
    placer_rectangle_cadre();
    if (recalcul_cadre) Image_cadre->invalidate();
    drapeau_cadre = false;
  }
}

void TPagesDlg2::placer_rectangle_cadre() {
  const Rectangle r = rectangle_cadre(vues[0].centre_x, vues[0].centre_y, vues[0].zoom);
  Rectangle_cadre->setGeometry(r.gauche, r.haut, r.droite - r.gauche, r.bas - r.haut);
}

// ---------------------------------------------------------------- handlers

void TPagesDlg2::ScrollBar_Scroll(QScrollBar* b, int code, int p) {
  param_vue& v = vues[0];
  const bool soleil = b == ScrollBar_solV || b == ScrollBar_solH;
  if (b == ScrollBar_vert) v.angle_vertical = 44 - p;
  else if (b == ScrollBar_hor) v.angle_horizontal = p;
  else if (b == ScrollBar_solV) v.elevation_soleil = 60 - p;
  else if (b == ScrollBar_solH) v.azimut_soleil = p;
  else if (b == ScrollBar_hauteur) v.hauteur_observateur = 1000 - p;
  else if (b == ScrollBar_zoom) v.zoom = p;
  else if (b == ScrollBar_dist) {
    // Only a move of the distance bar recomputes the distance: a typed 5.1 km stays.
    index_dist = 105 - p;
    v.distance = distance_de_index(index_dist);
  }
  if (b == ScrollBar_zoom) drapeau_cadre = true;
  drapeau_cadrage = true;
  rapide = 1;
  if (code == kFinDefilement || code == kPouceLache) {
    rapide = 0;
    recalcul_cadre = true;
  }
  if (soleil && rapide) drapeau_cadrage = false;
  if (!rapide && !soleil) drapeau_cadre = recalcul_cadre = true;
  afficher_cadrage();
}

void TPagesDlg2::edit_change(QLineEdit* e) {
  param_vue& v = vues[0];
  const std::string t = e->text().toStdString();
  if (e == Edit_ver) v.angle_vertical = entier_saisi(t, v.angle_vertical);
  else if (e == Edit_hor) v.angle_horizontal = entier_saisi(t, v.angle_horizontal);
  else if (e == Edit_solv) v.elevation_soleil = entier_saisi(t, v.elevation_soleil);
  else if (e == Edit_solh) v.azimut_soleil = entier_saisi(t, v.azimut_soleil);
  else if (e == Edit_haut) v.hauteur_observateur = entier_saisi(t, v.hauteur_observateur);
  else if (e == Edit_dist) v.distance = distance_saisie(t, v.distance);
  drapeau_cadrage = recalcul_cadre = true;
  charger_cadrage();
}

void TPagesDlg2::appuyer_pas(BoutonPas* b) {
  param_vue& v = vues[0];
  for (int k = 0; k < 4; ++k)
    if (b == fleches[std::size_t(k)]) pas_centre(v, k);
  if (!v.observateur_place) {
    for (int k = 0; k < 4; ++k)
      if (b == boutons_angle[std::size_t(k)]) pas_angle(v, k);
    if (b == Btn_pres || b == BTn_loin) {
      pas_distance(v, b == Btn_pres);
      index_dist = index_distance(v.distance);
    }
  }
  if (b == Zoom_plus || b == Zoom_moins) {
    pas_zoom(v, b == Zoom_plus);
    drapeau_cadre = true;
  }
  if (std::find(fleches.begin(), fleches.end(), b) != fleches.end()) drapeau_cadre = true;
  drapeau_cadrage = true;
  rapide = 1;
  afficher_cadrage();
}

void TPagesDlg2::relacher_pas(BoutonPas*) {
  rapide = 0;
  drapeau_cadrage = drapeau_cadre = recalcul_cadre = true;
  afficher_cadrage();
}

void TPagesDlg2::fixer_detail(bool fixe) {
  detail_fixe = fixe ? 1 : 0;
  Button_detail->SetGroupIndex(fixe ? 1 : 0);
  Button_detail->SetPressed(fixe);
  Button_detail->setEnabled(!fixe);
  Button_detail_lock->setText(fixe ? "No detailed display" : "Detailed display permanent");
}

void TPagesDlg2::Button_detail_lockClick() {
  fixer_detail(!detail_fixe);
  if (detail_fixe) {
    drapeau_cadrage = true;
    if (page_courante == 2 && Image_cadrage) afficher_cadrage();
  }
}

// The real terrain is rendered in the box's scheduled step, and shown until a
// control changes the framing again.
void TPagesDlg2::Button_detailClick() {
  detail_demande_ = true;
  Image_cadrage->invalidate();
}

void TPagesDlg2::BitBtn_no_cadre1Click() {
  if (!index_vue_active) return;
  if (index_affiche) vues[index_affiche] = vues[0];
  const param_vue& s = vues[0];
  param_vue& d = vues[index_vue_active];
  d.distance = s.distance;
  d.angle_horizontal = s.angle_horizontal;
  d.angle_vertical = s.angle_vertical;
  d.azimut_soleil = s.azimut_soleil;
  d.elevation_soleil = s.elevation_soleil;
  d.hauteur_observateur = s.hauteur_observateur;
  d.observateur_place = s.observateur_place;
  d.zoom = s.zoom;
  d.maillage_filaire = s.maillage_filaire;
  d.centre_x = s.centre_x;
  d.centre_y = s.centre_y;
  montrer_vue_active();
}

// ---------------------------------------------------------------- drag steering

void TPagesDlg2::cadrage_appui(int x, int y) {
  if (vues[0].observateur_place) return;
  if (!dans_bande(x, y, kLargeurCadrage, kHauteurCadrage)) return;
  point_appui_ = {x, y};
  drapeau_cadrage = true;
  rapide = 1;
  Image_cadrage->invalidate();
  Timer_cadre.start();
}

void TPagesDlg2::cadrage_deplacement(int x, int y) {
  const Qt::CursorShape c =
      vues[0].observateur_place ? Qt::ArrowCursor : curseur_pilotage(x, y, kLargeurCadrage, kHauteurCadrage);
  Image_cadrage->setCursor(c);
}

void TPagesDlg2::Timer_cadreTimer() {
  pas_pilotage(vues[0], point_appui_.x(), point_appui_.y(), kLargeurCadrage, kHauteurCadrage);
  drapeau_cadrage = true;
  rapide = 1;
  afficher_cadrage();
}

void TPagesDlg2::cadrage_relache() {
  if (!Timer_cadre.isActive()) return;
  Timer_cadre.stop();
  recalcul_cadre = drapeau_cadrage = true;
  rapide = 0;
  afficher_cadrage();
}

// ---------------------------------------------------------------- previews

void TPagesDlg2::rendre_detail(render::Bitmap& image) {
  const int m = montagne_affichee;
  if (m < 1 || m > 5 || !terrains[std::size_t(m)]) return;
  param_vue v = vues[0];
  v.agitation_mer = 0;
  v.premier_plan = v.horizon = v.detail_arbres = v.reflet = v.brume = v.ombre_portee = v.strates = 0;
  rendre(*terrains[std::size_t(m)], v, image);
}

void TPagesDlg2::rendre_cadrage(render::Bitmap& image) {
  if (detail_demande_ && !drapeau_cadrage) {
    detail_demande_ = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    rendre_detail(image);
    QApplication::restoreOverrideCursor();
    return;
  }
  detail_demande_ = false;
  if (!drapeau_cadrage) return;
  param_vue v = vues[0];
  v.reflet = v.premier_plan = v.brume = v.photo_aerienne = 0;
  if (rapide) v.maillage_filaire = 1;
  charger_apercu_relief();
  Tmatrice* rendu = rapide ? relief_rapide.get() : relief_apercu.get();
  rendre(*rendu, v, image);
  const int m = montagne_affichee;
  if (!rapide && detail_fixe && m >= 1 && m <= 5 && terrains[std::size_t(m)]) {
    rendre_detail(image);
    rendu = terrains[std::size_t(m)];
  }
  afficher_lignes_vision(*rendu);
  rapide = 0;
  drapeau_cadrage = false;
}

void TPagesDlg2::rendre_cadre(render::Bitmap& image) {
  if (!recalcul_cadre) return;
  param_vue v = vues[0];
  v.brume = v.reflet = v.premier_plan = v.photo_aerienne = 0;
  v.centre_x = v.centre_y = 0;
  v.zoom = 10;
  charger_apercu_relief();
  rendre(*relief_apercu, v, image);
  recalcul_cadre = false;
}

void TPagesDlg2::afficher_lignes_vision(const Tmatrice& t) {
  const int m = montagne_affichee;
  if (m < 1 || m > 5 || !editeurs[std::size_t(m)]) return;
  const etat_rendu_terrain& e = t.etat_rendu;
  editeurs[std::size_t(m)]->point_observateur(vues[0].observateur_place != 0, e.oeil_x, e.oeil_y, e.oeil_z,
                                              e.bord_gauche_x, e.bord_gauche_y, e.bord_droit_x, e.bord_droit_y);
}

}  // namespace dialogs
