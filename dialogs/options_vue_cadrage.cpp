// The Framing page of the view options dialog.
#include "dialogs/options_vue_cadrage.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "controls/checkbox.h"
#include "controls/speedbutton.h"
#include "controls/trackbar.h"
#include "dialogs/options_vue_boites.h"
#include "dialogs/options_vue_calculs.h"
#include "fenetres/elements_pages.h"
#include "fenetres/saisie.h"
#include "model/matrice.h"
#include "render/palette.h"

using namespace fenetres;

namespace dialogs {

void copier_cadrage(const param_vue& s, param_vue& d) {
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
}

PageCadrageVue::PageCadrageVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent)
    : PageOptionsVue(v, contexte, parent) {
  setObjectName("Option_cadrage");
  construire();
  connecter();
  fixer_detail(true);
}

PageCadrageVue::~PageCadrageVue() { taire_controles(); }

void PageCadrageVue::construire() {
  Image_cadrage = new PreviewBox(this, kLargeurCadrage, kHauteurCadrage);
  Image_cadrage->setObjectName("Image_cadrage");
  Image_cadrage->move(8, 8);
  Image_cadrage->setMouseTracking(true);
  Image_cadre = new PreviewBox(this, kLargeurCadre, kHauteurCadre);
  Image_cadre->setObjectName("Image_cadre");
  Image_cadre->move(244, 30);
  Rectangle_cadre = new CtlShadowFill(Image_cadre);
  Rectangle_cadre->setObjectName("Rectangle_cadre");
  Rectangle_cadre->SetShadowColor(clYellow);
  Rectangle_cadre->SetStyle(CtlShadowFillStyle::sfShadow);
  Rectangle_cadre->setGeometry(0, 0, kLargeurCadre, kHauteurCadre);
  fleches_ = {new BoutonPas("BitBtn_H", "^", {272, 8, 20, 18}, this),
              new BoutonPas("BitBtn_B", "v", {272, 88, 20, 18}, this),
              new BoutonPas("BitBtn_G", "<", {220, 48, 20, 18}, this),
              new BoutonPas("BitBtn_D", ">", {324, 48, 20, 18}, this)};
  ScrollBar_zoom = barre(this, "ScrollBar_zoom", Qt::Horizontal, 10, 80, {220, 114, 124, 16});
  Label_zoom = etiquette(this, "1:1.0", {296, 134, 50, 18});
  Label_zoom->setObjectName("Label_zoom");
  Zoom_moins = new BoutonPas("Zoom_moins", "-", {220, 134, 24, 20}, this);
  Zoom_plus = new BoutonPas("Zoom_plus", "+", {248, 134, 24, 20}, this);
  boutons_angle_ = {new BoutonPas("Btn_angleH", "^", {98, 164, 24, 20}, this),
                    new BoutonPas("btn_angleB", "v", {98, 208, 24, 20}, this),
                    new BoutonPas("btn_angleD", ">", {126, 186, 24, 20}, this),
                    new BoutonPas("Btn_angleG", "<", {70, 186, 24, 20}, this)};
  construire_colonnes();
  BTn_loin = new BoutonPas("BTn_loin", "-", {480, 204, 20, 20}, this);
  Btn_pres = new BoutonPas("Btn_pres", "+", {502, 204, 20, 20}, this);
  BTn_loin->setToolTip("Move away");
  Btn_pres->setToolTip("Move closer");
  etiquette(this, "Angle H", {8, 236, 70, 18});
  ScrollBar_hor = barre(this, "ScrollBar_hor", Qt::Horizontal, -180, 180, {70, 238, 150, 16});
  Edit_hor = zone_saisie(this, "Edit_hor", {226, 234, 44, 22});
  etiquette(this, "Sun az.", {8, 264, 70, 18});
  ScrollBar_solH = barre(this, "ScrollBar_solH", Qt::Horizontal, -180, 180, {70, 266, 150, 16});
  Edit_solh = zone_saisie(this, "Edit_solh", {226, 262, 44, 22});
  CheckBox_rapide = coche(this, "CheckBox_rapide", "Visible mesh", {290, 236, 130, 20});
  CheckBox_observateur = coche(this, "CheckBox_observateur", "Observer placed", {290, 262, 140, 20});
  Button_detail = new CtlSpeedButton(this);
  Button_detail->setObjectName("Button_detail");
  Button_detail->SetCaption(QString::fromUtf8("Détail"));
  Button_detail->setGeometry(8, 300, 70, 26);
  Button_detail_lock = new QPushButton("Detailed display permanent", this);
  Button_detail_lock->setObjectName("Button_detail_lock");
  Button_detail_lock->setGeometry(82, 300, 190, 26);
  ajouter_copie("BitBtn_no_cadre", {450, 298, 70, 26}, {470, 280}, {470, 326})
      ->setToolTip("Copy the displayed parameters (number above) to the active view (number below)");
  Timer_cadre = new QTimer(this);
  Timer_cadre->setObjectName("Timer_cadre");
  Timer_cadre->setInterval(100);
}

// The four vertical bars with their captions and edits.
void PageCadrageVue::construire_colonnes() {
  struct Colonne {
    const char *titre, *nom_barre, *nom_edit;
    QScrollBar** barre;
    QLineEdit** edit;
    int minimum, maximum;
  };
  const Colonne colonnes[] = {{"Angle V", "ScrollBar_vert", "Edit_ver", &ScrollBar_vert, &Edit_ver, -45, 89},
                              {"Eye", "ScrollBar_hauteur", "Edit_haut", &ScrollBar_hauteur, &Edit_haut, 0, 1000},
                              {"Distance", "ScrollBar_dist", "Edit_dist", &ScrollBar_dist, &Edit_dist, 6, 100},
                              {"Sun el.", "ScrollBar_solV", "Edit_solv", &ScrollBar_solV, &Edit_solv, -30, 90}};
  int x = 360;
  for (const Colonne& c : colonnes) {
    etiquette(this, c.titre, {x - 8, 4, 60, 18});
    *c.barre = barre(this, c.nom_barre, Qt::Vertical, c.minimum, c.maximum, {x + 8, 24, 16, 150});
    *c.edit = zone_saisie(this, c.nom_edit, {x - 4, 178, 44, 22});
    x += 60;
  }
}

void PageCadrageVue::connecter() {
  for (QScrollBar* b : {ScrollBar_vert, ScrollBar_hor, ScrollBar_solV, ScrollBar_solH, ScrollBar_hauteur,
                        ScrollBar_zoom, ScrollBar_dist})
    sur_defilement(b, this, [this, b](int code, int position) { ScrollBar_Scroll(b, code, position); });
  for (QLineEdit* e : {Edit_ver, Edit_hor, Edit_solv, Edit_solh, Edit_haut, Edit_dist})
    connect(e, &QLineEdit::editingFinished, this, [this, e] { edit_change(e); });
  std::vector<BoutonPas*> pas(fleches_.begin(), fleches_.end());
  pas.insert(pas.end(), boutons_angle_.begin(), boutons_angle_.end());
  pas.insert(pas.end(), {Zoom_plus, Zoom_moins, Btn_pres, BTn_loin});
  for (BoutonPas* b : pas) {
    connect(b, &QAbstractButton::pressed, this, [this, b] { appuyer_pas(b); });
    connect(b, &QAbstractButton::released, this, [this] { relacher_pas(); });
  }
  connect(CheckBox_rapide, &CtlCheckBox::changed, this, [this] {
    vue_.maillage_filaire = CheckBox_rapide->Checked();
    if (vue_.maillage_filaire) fixer_detail(false);
    drapeau_cadrage_ = true;
    charger_cadrage();
    emit change();
  });
  connect(CheckBox_observateur, &CtlCheckBox::changed, this, [this] {
    vue_.observateur_place = CheckBox_observateur->Checked();
    drapeau_cadrage_ = recalcul_cadre_ = true;
    charger_cadrage();
    emit change();
  });
  connect(Button_detail, &CtlSpeedButton::clicked, this, &PageCadrageVue::Button_detailClick);
  connect(Button_detail_lock, &QPushButton::clicked, this, &PageCadrageVue::Button_detail_lockClick);
  auto* souris = new FiltreSouris(Image_cadrage, true);
  souris->appui = [this](QPoint p) { cadrage_appui(p); };
  souris->deplacement = [this](QPoint p) { cadrage_deplacement(p); };
  souris->relache = [this](QPoint) { cadrage_relache(); };
  connect(Timer_cadre, &QTimer::timeout, this, &PageCadrageVue::Timer_cadreTimer);
  Image_cadrage->fixer_rendu([this](render::Bitmap& b) { rendre_cadrage(b); });
  Image_cadre->fixer_rendu([this](render::Bitmap& b) { rendre_cadre(b); });
}

// ---------------------------------------------------------------- load, store, show

void PageCadrageVue::charger(const param_vue& v) {
  vue_ = v;
  drapeau_cadrage_ = drapeau_cadre_ = recalcul_cadre_ = true;
  charger_cadrage();
}

void PageCadrageVue::ranger(param_vue& v) const { copier_cadrage(vue_, v); }

void PageCadrageVue::charger_cadrage() {
  const param_vue& v = vue_;
  index_dist_ = index_distance(v.distance);
  CheckBox_rapide->SetChecked(v.maillage_filaire != 0);
  CheckBox_observateur->SetChecked(v.observateur_place != 0);
  ScrollBar_solV->setEnabled(!v.maillage_filaire);
  ScrollBar_solH->setEnabled(!v.maillage_filaire);
  const bool libre = !v.observateur_place;
  ScrollBar_hauteur->setEnabled(!libre);
  for (QWidget* w : std::initializer_list<QWidget*>{ScrollBar_vert, ScrollBar_hor, ScrollBar_dist, Btn_pres, BTn_loin})
    w->setEnabled(libre);
  for (BoutonPas* b : boutons_angle_) b->setEnabled(libre);
  palette_ = palette_de(v);
  montrer_copie();
  afficher_cadrage();
}

void PageCadrageVue::afficher_cadrage() {
  const param_vue& v = vue_;
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
  ScrollBar_dist->setValue(105 - index_dist_);
  if (v.maillage_filaire) fixer_detail(false);
  if (drapeau_cadrage_) Image_cadrage->invalidate();
  if (drapeau_cadre_ || recalcul_cadre_) {
    placer_rectangle_cadre();
    if (recalcul_cadre_) Image_cadre->invalidate();
    drapeau_cadre_ = false;
  }
}

void PageCadrageVue::placer_rectangle_cadre() {
  const Rectangle r = rectangle_cadre(vue_.centre_x, vue_.centre_y, vue_.zoom);
  Rectangle_cadre->setGeometry(r.gauche, r.haut, r.droite - r.gauche, r.bas - r.haut);
}

// ---------------------------------------------------------------- handlers

void PageCadrageVue::ScrollBar_Scroll(QScrollBar* b, int code, int p) {
  param_vue& v = vue_;
  const bool soleil = b == ScrollBar_solV || b == ScrollBar_solH;
  if (b == ScrollBar_vert) v.angle_vertical = 44 - p;
  else if (b == ScrollBar_hor) v.angle_horizontal = p;
  else if (b == ScrollBar_solV) v.elevation_soleil = 60 - p;
  else if (b == ScrollBar_solH) v.azimut_soleil = p;
  else if (b == ScrollBar_hauteur) v.hauteur_observateur = 1000 - p;
  else if (b == ScrollBar_zoom) v.zoom = p;
  else if (b == ScrollBar_dist) {
    // Only a move of the distance bar recomputes the distance: a typed 5.1 km stays.
    index_dist_ = 105 - p;
    v.distance = distance_de_index(index_dist_);
  }
  if (b == ScrollBar_zoom) drapeau_cadre_ = true;
  drapeau_cadrage_ = true;
  rapide_ = true;
  if (code == kFinDefilement || code == kPouceLache) {
    rapide_ = false;
    recalcul_cadre_ = true;
  }
  if (soleil && rapide_) drapeau_cadrage_ = false;
  if (!rapide_ && !soleil) drapeau_cadre_ = recalcul_cadre_ = true;
  afficher_cadrage();
  emit change();
}

void PageCadrageVue::edit_change(QLineEdit* e) {
  param_vue& v = vue_;
  const std::string t = e->text().toStdString();
  if (e == Edit_ver) v.angle_vertical = entier_saisi(t, v.angle_vertical);
  else if (e == Edit_hor) v.angle_horizontal = entier_saisi(t, v.angle_horizontal);
  else if (e == Edit_solv) v.elevation_soleil = entier_saisi(t, v.elevation_soleil);
  else if (e == Edit_solh) v.azimut_soleil = entier_saisi(t, v.azimut_soleil);
  else if (e == Edit_haut) v.hauteur_observateur = entier_saisi(t, v.hauteur_observateur);
  else if (e == Edit_dist) v.distance = distance_saisie(t, v.distance);
  drapeau_cadrage_ = recalcul_cadre_ = true;
  charger_cadrage();
  emit change();
}

void PageCadrageVue::appuyer_pas(BoutonPas* b) {
  param_vue& v = vue_;
  for (int k = 0; k < 4; ++k)
    if (b == fleches_[std::size_t(k)]) pas_centre(v, k);
  if (!v.observateur_place) {
    for (int k = 0; k < 4; ++k)
      if (b == boutons_angle_[std::size_t(k)]) pas_angle(v, k);
    if (b == Btn_pres || b == BTn_loin) {
      pas_distance(v, b == Btn_pres);
      index_dist_ = index_distance(v.distance);
    }
  }
  if (b == Zoom_plus || b == Zoom_moins) {
    pas_zoom(v, b == Zoom_plus);
    drapeau_cadre_ = true;
  }
  if (std::find(fleches_.begin(), fleches_.end(), b) != fleches_.end()) drapeau_cadre_ = true;
  drapeau_cadrage_ = true;
  rapide_ = true;
  afficher_cadrage();
  emit change();
}

void PageCadrageVue::relacher_pas() {
  rapide_ = false;
  drapeau_cadrage_ = drapeau_cadre_ = recalcul_cadre_ = true;
  afficher_cadrage();
}

void PageCadrageVue::fixer_detail(bool fixe) {
  detail_fixe_ = fixe;
  Button_detail->SetGroupIndex(fixe ? 1 : 0);
  Button_detail->SetPressed(fixe);
  Button_detail->setEnabled(!fixe);
  Button_detail_lock->setText(fixe ? "No detailed display" : "Detailed display permanent");
}

void PageCadrageVue::Button_detail_lockClick() {
  fixer_detail(!detail_fixe_);
  if (detail_fixe_) {
    drapeau_cadrage_ = true;
    afficher_cadrage();
  }
}

// The real terrain is rendered in the box's scheduled step, and shown until a
// control changes the framing again.
void PageCadrageVue::Button_detailClick() {
  detail_demande_ = true;
  Image_cadrage->invalidate();
}

// ---------------------------------------------------------------- drag steering

void PageCadrageVue::cadrage_appui(QPoint p) {
  if (vue_.observateur_place) return;
  if (!dans_bande(p.x(), p.y(), kLargeurCadrage, kHauteurCadrage)) return;
  point_appui_ = p;
  drapeau_cadrage_ = true;
  rapide_ = true;
  Image_cadrage->invalidate();
  Timer_cadre->start();
}

void PageCadrageVue::cadrage_deplacement(QPoint p) {
  const Qt::CursorShape c =
      vue_.observateur_place ? Qt::ArrowCursor : curseur_pilotage(p.x(), p.y(), kLargeurCadrage, kHauteurCadrage);
  Image_cadrage->setCursor(c);
}

void PageCadrageVue::Timer_cadreTimer() {
  pas_pilotage(vue_, point_appui_.x(), point_appui_.y(), kLargeurCadrage, kHauteurCadrage);
  drapeau_cadrage_ = true;
  rapide_ = true;
  afficher_cadrage();
  emit change();
}

void PageCadrageVue::cadrage_relache() {
  if (!Timer_cadre->isActive()) return;
  Timer_cadre->stop();
  recalcul_cadre_ = drapeau_cadrage_ = true;
  rapide_ = false;
  afficher_cadrage();
}

// ---------------------------------------------------------------- previews

void PageCadrageVue::rendre_detail(render::Bitmap& image) {
  Tmatrice* terrain = contexte_.terrain();
  if (!terrain) return;
  param_vue v = vue_;
  v.agitation_mer = 0;
  v.premier_plan = v.horizon = v.detail_arbres = v.reflet = v.brume = v.ombre_portee = v.strates = 0;
  contexte_.rendre(*terrain, v, *palette_, image);
}

void PageCadrageVue::rendre_cadrage(render::Bitmap& image) {
  if (detail_demande_ && !drapeau_cadrage_) {
    detail_demande_ = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    rendre_detail(image);
    QApplication::restoreOverrideCursor();
    return;
  }
  detail_demande_ = false;
  if (!drapeau_cadrage_) return;
  param_vue v = vue_;
  v.reflet = v.premier_plan = v.brume = v.photo_aerienne = 0;
  if (rapide_) v.maillage_filaire = 1;
  Tmatrice* rendu = rapide_ ? &contexte_.rapide() : &contexte_.apercu();
  contexte_.rendre(*rendu, v, *palette_, image);
  if (!rapide_ && detail_fixe_ && contexte_.terrain()) {
    rendre_detail(image);
    rendu = contexte_.terrain();
  }
  const etat_rendu_terrain& e = rendu->etat_rendu;
  emit lignes_vision(vue_.observateur_place != 0, e.oeil_x, e.oeil_y, e.oeil_z, e.bord_gauche_x, e.bord_gauche_y,
                     e.bord_droit_x, e.bord_droit_y);
  rapide_ = false;
  drapeau_cadrage_ = false;
}

void PageCadrageVue::rendre_cadre(render::Bitmap& image) {
  if (!recalcul_cadre_) return;
  param_vue v = vue_;
  v.brume = v.reflet = v.premier_plan = v.photo_aerienne = 0;
  v.centre_x = v.centre_y = 0;
  v.zoom = 10;
  contexte_.rendre(contexte_.apercu(), v, *palette_, image);
  recalcul_cadre_ = false;
}

}  // namespace dialogs
