// The main window's side of closing: the exit and close commands, and the
// child windows as the closing cascades see them. What closes and what is
// asked is decided by CascadesFermeture (app/fermetures.h).
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTimer>

#include "app/aide.h"
#include "app/mainwindow.h"
#include "fenetres/dialogue_fixe.h"
#include "fenetres/fenetre_modale.h"
#include "fenetres/operation_longue.h"

// The child windows of the main window, for the cascades.
class TBasewindow::FermeturesFenetre final : public HoteFermetures {
 public:
  explicit FermeturesFenetre(TBasewindow& w) : w_(w) {}

  bool vue_modifiee(int v) override { return drapeau(vue(v), &FenetreVue::modifiee); }
  bool vue_a_fichier(int v) override { return drapeau(vue(v), &FenetreVue::a_fichier); }
  bool sauvegarde_vue_demandee(int v) override { return drapeau(vue(v), &FenetreVue::sauvegarde_demandee); }
  const param_vue* parametres_de_vue(int v) override { return vue(v) ? &vue(v)->parametres : nullptr; }
  bool video_refaite(int k) override { return drapeau(video(k), &FenetreVideo::refaite); }
  bool video_a_fichier(int k) override { return drapeau(video(k), &FenetreVideo::a_fichier); }
  bool sauvegarde_video_demandee(int k) override { return drapeau(video(k), &FenetreVideo::sauvegarde_demandee); }
  std::string question_video(int k) override { return video(k) ? video(k)->question_fermeture() : std::string(); }
  const Param_video* parametres_de_video(int k) override { return video(k) ? &video(k)->parametres : nullptr; }
  bool edition_ouverte(int m) override { return w_.edition_ouverte[m] != 0; }
  bool edition_modifiee(int m) override { return drapeau(fenetre_de(w_.editeurs, m), &FenetreEdition::modifiee); }

  void oublier_vue_modifiee(int v) override {
    if (vue(v)) vue(v)->modifiee = 0;
  }
  void oublier_video_refaite(int k) override {
    if (video(k)) video(k)->refaite = 0;
  }
  void oublier_edition_modifiee(int m) override {
    if (FenetreEdition* ed = fenetre_de(w_.editeurs, m)) ed->modifiee = 0;
  }

  void fermer_edition(int m) override {
    w_.edition_ouverte[m] = 0;
    FenetreEdition* ed = w_.editeurs[m];
    w_.editeurs[m] = nullptr;
    w_.liberer_noeud(w_.noeuds_editeurs[m]);
    fermer(ed);
  }
  void fermer_fenetre_vue(int v) override {
    FenetreVue* fv = w_.fenetres_vues[v];
    w_.fenetres_vues[v] = nullptr;
    w_.liberer_noeud(w_.noeuds_vues[v]);
    if (fv) {
      fv->fermeture_autorisee = 1;
      fv->modifiee = 0;
      fv->sauvegarde_demandee = 0;
    }
    fermer(fv);
  }
  void fermer_fenetre_video(int k) override {
    FenetreVideo* fw = w_.fenetres_videos[k];
    w_.fenetres_videos[k] = nullptr;
    w_.liberer_noeud(w_.noeuds_videos[k]);
    if (fw) {
      fw->sauvegarde_demandee = 0;
      fw->refaite = 0;  // the cascade asked about it: its own close asks nothing
    }
    fermer(fw);
  }
  void retirer_edition(int m, bool liberer_noeud) override {
    retirer(w_.editeurs[m], w_.noeuds_editeurs[m], liberer_noeud);
  }
  void retirer_vue(int v, bool liberer_noeud) override { retirer(w_.fenetres_vues[v], w_.noeuds_vues[v], liberer_noeud); }
  void retirer_video(int k, bool liberer_noeud) override {
    retirer(w_.fenetres_videos[k], w_.noeuds_videos[k], liberer_noeud);
  }
  void retirer_carte(int m) override {
    w_.liberer_noeud(w_.noeuds_montagnes[m]);
    CarteMontagne* c = w_.cartes[m];
    w_.cartes[m] = nullptr;
    w_.detruire_enfant(c);
  }
  void liberer_image_vue(int v) override {
    if (vue(v)) vue(v)->liberer_image();
  }
  void occupe(bool actif) override { w_.occupe = actif ? 1 : 0; }
  bool enregistrer() override { return w_.documents.enregistrer && w_.documents.enregistrer(); }
  bool sauver_document() override { return w_.documents.sauver_document && w_.documents.sauver_document(); }

 private:
  FenetreVue* vue(int v) { return fenetre_de(w_.fenetres_vues, v); }
  FenetreVideo* video(int k) { return fenetre_de(w_.fenetres_videos, k); }
  template <class F>
  static bool drapeau(const F* f, std::uint8_t F::* membre) {
    return f && f->*membre;
  }
  void fermer(FenetreEnfant* f) {
    if (!f) return;
    w_.fermer_enfant(f);
    w_.detruire_enfant(f);
  }
  template <class F>
  void retirer(QPointer<F>& f, QTreeWidgetItem*& noeud, bool liberer_noeud) {
    F* enfant = f;
    f = nullptr;
    if (liberer_noeud) w_.liberer_noeud(noeud);
    else noeud = nullptr;
    w_.detruire_enfant(enfant);
  }

  TBasewindow& w_;
};

void TBasewindow::preparer_fermetures() {
  hote_fermetures_ = std::make_unique<FermeturesFenetre>(*this);
  questions_ = std::make_unique<QuestionsBoites>();
  fermetures_ = std::make_unique<CascadesFermeture>(etat, *hote_fermetures_, *questions_);
}

void TBasewindow::fermer_montagne(int m) {
  cartes[m]->fermeture = 0;
  if (!fermetures_->fermer_montagne(m)) {
    garder_montagne(m);
    return;
  }
  // With no mountain left, no mountain is named.
  const int c = etat.montagne_courante;
  etat_gauche_->setText(c ? "Mountain " + QString::fromLocal8Bit(etat.montagnes[c].type.nom.str().c_str()) : QString());
}

// The user answered Yes to saving and nothing was written: the card, which
// its close hid, is shown again once that close is over (the cascade may run
// inside it), as the active window; "Close all the mountains" stops there.
void TBasewindow::garder_montagne(int m) {
  Timer_delete_.stop();
  QPointer<CarteMontagne> c = cartes[m];
  c->reprendre_fermeture();
  QTimer::singleShot(0, this, [this, c, m] {
    if (!c || sortie || cartes[m] != c) return;
    c->show();
    if (QMdiSubWindow* s = c->sous_fenetre()) s->show();
    activer(c);
  });
}

void TBasewindow::fermer_vue(int v) {
  fenetres_vues[v]->fermeture = 0;
  fermetures_->fermer_vue(v);
}

void TBasewindow::fermer_video(int w) {
  fenetres_videos[w]->fermeture = 0;
  fermetures_->fermer_video(w);
}

void TBasewindow::fermer_edition(int m) {
  edition_ouverte[m] = 0;
  fermetures_->fermer_edition(m);
  edition_active = 0;
}

void TBasewindow::ExitBtnClick() {
  if (aide_contextuelle) {
    afficher_aide(5009);
    return;
  }
  quitter();
}

void TBasewindow::quitter() {
  if (questions_de_sortie() && !close()) questions_sortie_posees_ = false;
}

bool TBasewindow::questions_de_sortie() {
  if (questions_sortie_posees_) return true;
  prendre_cartes();  // a line typed and closed at once, with no focus change between
  if (operation_en_cours() || (film_en_fabrication && film_en_fabrication())) {
    // The work in progress holds the documents and windows the exit would free.
    fermeture_impossible();
    return false;
  }
  if (!fermetures_->sortir()) {
    UpdateItems();
    return false;
  }
  questions_sortie_posees_ = true;
  return true;
}

// A close that did not come through quitter (the window manager's) asks the
// exit questions here.
void TBasewindow::closeEvent(QCloseEvent* e) {
  if (sortie) {
    e->accept();
    return;
  }
  if (!questions_de_sortie()) {
    e->ignore();
    return;
  }
  sortie = 1;
  for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m)
    if (etat.montagnes[m].type.utilise && noeuds_montagnes[m]) liberer_noeud(noeuds_montagnes[m]);
  tableau_cameras.reset();
  if (aide_) aide_->Quit();
  e->accept();
  if (QMdiSubWindow* s = mdi_->currentSubWindow()) s->close();
}

QMessageBox* TBasewindow::refus_fermeture() const { return refus_fermeture_.data(); }

void TBasewindow::fermeture_impossible() {
  const bool film = film_en_fabrication && film_en_fabrication();
  const QString texte =
      film ? "A movie is being made: Quorvel cannot close now. Wait until the movie is finished, or press Cancel "
             "in the window that makes it, then close Quorvel again."
           : "A long computation is running: Quorvel cannot close now. Wait until it is finished, or press Cancel "
             "in its progress window, then close Quorvel again.";
  if (refus_fermeture_) {
    refus_fermeture_->setText(texte);
    refus_fermeture_->raise();
    return;
  }
  // The work's own window is modal: the box belongs to it, so that it can be
  // read and closed while the work goes on, and it does not stop the work.
  QWidget* devant = QApplication::activeModalWidget();
  auto* boite = new QMessageBox(QMessageBox::Information, "Quorvel", texte, QMessageBox::Ok,
                                devant && devant != this ? devant : this);
  boite->setAttribute(Qt::WA_DeleteOnClose);
  bordure_dialogue_fixe(*boite);
  boite->setWindowModality(Qt::NonModal);
  boite->show();
  refus_fermeture_ = boite;
}

// A close started by a command is always allowed.
template <class F>
void TBasewindow::fermer_autorisee(F* f) {
  if (!f) return;
  f->fermeture_autorisee = 1;
  fermer_enfant(f);
  UpdateItems();
}

void TBasewindow::Fermer_montagne_active() { fermer_autorisee(fenetre_de(cartes, etat.montagne_courante)); }

void TBasewindow::Fermer_toutes_montagnes() {
  occupe = 1;
  const bool suite = fermetures_->fermer_avant_sortie();
  occupe = 0;
  if (!suite) {
    UpdateItems();
    return;
  }
  // The first mountain closes now, the others one a tick; a mountain that
  // stays open stops the ticks.
  Timer_delete_.start();
  Fermer_montagne_active();
  if (etat.nombre_montagnes == 0) Timer_delete_.stop();
}

void TBasewindow::Fermer_vue_active() { fermer_autorisee(fenetre_de(fenetres_vues, etat.vue_courante)); }

void TBasewindow::Fermer_toutes_vues() {
  for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
    if (etat.vues[v].utilise && fenetres_vues[v]) {
      fenetres_vues[v]->fermeture_autorisee = 1;
      fermer_enfant(fenetres_vues[v]);
    }
  UpdateItems();
}

void TBasewindow::Fermer_video() {
  int w = etat.video_courante;
  if (w && fenetres_videos[w]) fermer_enfant(fenetres_videos[w]);
  UpdateItems();
}

void TBasewindow::Fermer_toutes_videos() {
  for (int w = 1; w <= NOMBRE_MAX_VIDEOS; ++w)
    if (etat.videos[w].utilise && fenetres_videos[w]) fermer_enfant(fenetres_videos[w]);
  UpdateItems();
}

// One mountain a tick; while a modal window is up (a Save's file dialog, a
// question) or long work runs, the tick waits: the command under way still
// holds the documents this would free.
void TBasewindow::Timer_deleteTimer() {
  if (travail_differe_suspendu()) return;
  Fermer_montagne_active();
  if (etat.nombre_montagnes == 0) Timer_delete_.stop();
}
