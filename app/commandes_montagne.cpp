#include "app/commandes_montagne.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "fenetres/attente.h"
#include "fenetres/dossiers.h"
#include "fenetres/operation_longue.h"
#include "app/carte.h"
#include "app/vue.h"
#include "model/aleatoire.h"
#include "model/erreur.h"

namespace {

QString Q(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

struct Bascule {
  Commande commande;
  std::uint8_t param_vue::* drapeau;
};
const Bascule kBascules[] = {
    {Commande::maillage, &param_vue::maillage_filaire}, {Commande::echelle_fixe, &param_vue::echelle_fixe},
    {Commande::deformation, &param_vue::deformation},   {Commande::arbres, &param_vue::foret},
    {Commande::ombre_portee, &param_vue::ombre_portee}, {Commande::brume, &param_vue::brume},
    {Commande::details, &param_vue::premier_plan},      {Commande::horizon, &param_vue::horizon},
    {Commande::reflet, &param_vue::reflet},             {Commande::photo, &param_vue::photo_aerienne}};

// The creation record of an existing terrain: its own mesh degree, distortion and picture flags.
param_mat structure_du_terrain(param_mat p, const Tmatrice& t) {
  p.maillage = t.degre;
  p.deformation = t.dx && t.dy ? 1 : 0;
  p.photo_aerienne = t.photo ? 1 : 0;
  return p;
}

}  // namespace

CommandesMontagne::CommandesMontagne(etat_documents& etat, HoteMontagne& hote) : e_(etat), w_(hote) {}

void CommandesMontagne::basculer_rafraichissement() {
  rafraichissement_automatique = !rafraichissement_automatique;
  w_.cocher(Commande::rafraichissement_automatique, rafraichissement_automatique);
}

void CommandesMontagne::basculer_image_brute() {
  w_.regler_image_brute(!w_.image_brute_active());
  w_.cocher(Commande::image_brute, w_.image_brute_active());
}

void CommandesMontagne::basculer_courbes() {
  w_.regler_courbes_niveau(!w_.courbes_actives());
  w_.cocher(Commande::courbes_niveau, w_.courbes_actives());
}

TVuewindow* CommandesMontagne::vue(int v) const {
  if (v < 1 || v > NOMBRE_MAX_VUES) return nullptr;
  return dynamic_cast<TVuewindow*>(w_.fenetre_vue(v));
}

// ---------------------------------------------------------------- mountains

void CommandesMontagne::nouvelle_montagne(bool plat, int emplacement, bool depuis_fichier) {
  auto& e = e_;
  if (e.nombre_montagnes >= NOMBRE_MAX_MONTAGNES || (!emplacement && e.montagne_libre() == 0)) {
    warn("Too many mountains in memory: close one first.", "File");
    w_.demander_nouveau(false);
    return;
  }
  w_.occuper(true);
  const int libre = emplacement ? emplacement : e.montagne_libre();
  const std::string numero = std::to_string(libre);
  const std::string nom = "New #  " + numero;
  QString titre = Q("#  " + numero + ":  " + "New ");
  const auto& ancien = e.montagnes[libre].type;
  if (depuis_fichier) titre = Q(ancien.fichier).left(50);
  // A regeneration keeps the memo: it belongs to the user's document.
  if (!emplacement) e.parametres.texte = {};
  const int m = w_.prendre_montagne(depuis_fichier ? ancien.nom.str() : nom, titre, titre, e.parametres, libre);
  if (!m) {
    w_.occuper(false);
    return;
  }
  e.montagne_courante = m;
  auto& slot = e.montagnes[m];
  slot.type.a_fichier = depuis_fichier ? 1 : 0;
  slot.type.modifie_edition = depuis_fichier ? 1 : 0;
  CarteMontagne* carte = w_.carte(m);
  carte->initialiser_fiche(w_.handle(), false, 0);
  w_.activer(carte);
  {
    OperationLongue operation;
    TAttente attente(w_.fenetre_principale());
    try {
      slot.terrain = std::make_unique<Tmatrice>(e.parametres);
      bool continuer = true;
      slot.terrain->generer_montagne(&attente, w_.handle(), continuer, plat);
      if (continuer) slot.terrain->creer_arbres(e.parametres.couches, &attente, w_.handle());
    } catch (const ModelError& x) {
      warn(std::string("The mountain could not be made: ") + x.what(), "File");
      if (!slot.terrain) slot.terrain = std::make_unique<Tmatrice>(param_mat{.maillage = 4});
    }
  }
  e.vue_courante = 0;
  // The key the generator used is the document's (the card shows the slot's
  // record); the working record, which the next creation starts from, follows it.
  slot.type.parametres.cle = slot.terrain->cle;
  e.parametres.cle = slot.type.parametres.cle;
  w_.occuper(false);
  w_.UpdateItems();
}

void CommandesMontagne::regenerer_montagne() {
  auto& e = e_;
  const int m = e.montagne_courante;
  if (!m || !e.montagnes[m].type.utilise || !w_.carte(m)) return;
  const param_mat garde = e.parametres;
  const Type_matrice ancien = e.montagnes[m].type;
  w_.occuper(false);
  CarteMontagne* carte = w_.carte(m);
  carte->fermeture = 1;
  e.montagnes[m].type.modifie_edition = 0;
  w_.UpdateItems();  // the closing cascade frees the slot, its views and editor
  if (e.montagnes[m].type.utilise) return;  // the cascade did not run
  w_.occuper(true);
  e.parametres = garde;
  auto& type = e.montagnes[m].type;
  type.fichier = ancien.fichier;
  type.nom = ancien.nom;
  nouvelle_montagne(false, m, ancien.a_fichier != 0);
  // The regenerated mountain stays the same document.
  type.nom = ancien.nom;
  type.fichier = ancien.fichier;
  type.genre = ancien.genre;
  type.no_vue = ancien.no_vue;
  type.no_video = ancien.no_video;
  w_.occuper(false);
  w_.UpdateItems();
}

void CommandesMontagne::dupliquer_montagne() {
  auto& e = e_;
  const int source = e.montagne_courante;
  if (e.nombre_montagnes >= NOMBRE_MAX_MONTAGNES || e.montagne_libre() == 0) return;
  if (!source || !e.montagnes[source].terrain) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  w_.occuper(true);
  const Tmatrice& t = *e.montagnes[source].terrain;
  const param_mat p = structure_du_terrain(e.parametres, t);
  // A copy of a terrain that its key alone does not make (read from a file,
  // imported, edited) is asked about at exit as an edited one.
  const auto& origine = e.montagnes[source].type;
  const FenetreEdition* editeur = w_.editeur_ouvert(source);
  const bool hors_cle = origine.a_fichier || origine.modifie_edition || (editeur && editeur->modifiee);
  const int libre = e.montagne_libre();
  const std::string numero = std::to_string(libre);
  const QString titre = Q("#  " + numero + ":  " + "Copy ");
  const int m = w_.prendre_montagne("New #  " + numero, titre, titre, p, libre);
  if (m) {
    e.montagne_courante = m;
    auto& slot = e.montagnes[m];
    slot.type.a_fichier = 0;
    slot.type.modifie_edition = hors_cle ? 1 : 0;
    CarteMontagne* carte = w_.carte(m);
    carte->initialiser_fiche(w_.handle(), false, 0);
    try {
      slot.terrain = std::make_unique<Tmatrice>(p);
      Tmatrice& copie = *slot.terrain;
      copie.copier(*t.hauteurs, t.dx.get(), t.dy.get(), t.photo.get());
      copie.liste_i = t.liste_i;
      copie.liste_j = t.liste_j;
      copie.liste_type = t.liste_type;
      copie.liste_attribut = t.liste_attribut;
      copie.nombre_elements = t.nombre_elements;
      copie.especes_presentes = t.especes_presentes;
      copie.cle = t.cle;
    } catch (const ModelError& x) {
      warn(std::string("The mountain could not be copied: ") + x.what(), "File");
    }
    w_.activer(carte);
  }
  w_.occuper(false);
  QApplication::restoreOverrideCursor();
  w_.UpdateItems();
}

void CommandesMontagne::raffiner() {
  auto& e = e_;
  const int m = e.montagne_courante;
  if (!m || !e.montagnes[m].type.utilise || !e.montagnes[m].terrain) return;
  Tmatrice& t = *e.montagnes[m].terrain;
  if (t.degre >= 11) return;
  const param_mat local = structure_du_terrain(e.parametres, t);
  // The mountain's views close without a question, and so does its editor.
  for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
    if (e.vues[v].utilise && e.vues[v].montagne == m && w_.fenetre_vue(v)) {
      FenetreVue* fv = w_.fenetre_vue(v);
      fv->fermeture_autorisee = 1;
      fv->modifiee = 0;
      if (fv->sous_fenetre()) fv->sous_fenetre()->close();
      else fv->close();
      w_.UpdateItems();
    }
  if (FenetreEdition* ed = w_.editeur_ouvert(m)) {
    if (ed->sous_fenetre()) ed->sous_fenetre()->close();
    else ed->close();
    w_.UpdateItems();
  }
  {
    OperationLongue operation;
    TAttente attente(w_.fenetre_principale());
    try {
      t.raffiner(local, &attente, w_.handle());
    } catch (const ModelError& x) {
      warn(std::string("The mountain could not be refined: ") + x.what(), "File");
    }
  }
  e.parametres.maillage = t.degre;
  e.montagnes[m].type.parametres = e.parametres;
  e.montagnes[m].type.modifie_edition = 1;
  e.montagne_courante = m;
  if (CarteMontagne* c = w_.carte(m)) {
    c->update();
    w_.activer(c);
  }
  w_.UpdateItems();
}

void CommandesMontagne::creer_arbres() {
  auto& e = e_;
  const int m = e.montagne_courante;
  if (!m || !e.montagnes[m].terrain) return;
  {
    OperationLongue operation;
    TAttente attente(w_.fenetre_principale());
    e.montagnes[m].terrain->creer_arbres(e.parametres.couches, &attente, w_.handle());
  }
  e.montagnes[m].type.parametres = e.parametres;
  e.montagnes[m].type.modifie_edition = 1;
  w_.UpdateItems();
}

void CommandesMontagne::taper_texte() {
  const int m = e_.montagne_courante;
  if (auto* c = m ? dynamic_cast<TMatricewindow*>(w_.carte(m)) : nullptr) {
    w_.activer(c);
    c->BitBtn1Click();
  }
}

// ---------------------------------------------------------------- views

int CommandesMontagne::nouvelle_vue(const std::string& fichier_image) {
  auto& e = e_;
  if (e.nombre_vues >= NOMBRE_MAX_VUES || e.vue_libre() == 0) {
    warn("Too many views, close one at least", "File");
    return 0;
  }
  const int m = e.montagne_courante;
  if (!m || !e.montagnes[m].type.utilise || !e.montagnes[m].terrain) return 0;
  Tmatrice* t = e.montagnes[m].terrain.get();
  e.video_courante = 0;
  w_.occuper(true);
  const int libre = e.vue_libre();
  auto* vue = new TVuewindow;
  vue->setWindowTitle(Q("View #  " + std::to_string(libre) + " :  " + e.montagnes[m].type.nom.str()).left(50));
  vue->degre = t->degre;
  const auto& type = e.montagnes[m].type;
  vue->document_vue = type.a_fichier && type.genre == 2 ? 1 : 0;
  if (plein_ecran && !e.vue.echelle_fixe) {
    const int l = std::max(w_.largeur_enfants() - 16, kTailleImageMin);
    e.largeur_defaut = e.largeur_defaut_copie = static_cast<std::uint16_t>(std::min(l, kTailleImageMax));
    e.hauteur_defaut = e.hauteur_defaut_copie = static_cast<std::uint16_t>(Round(e.largeur_defaut * 0.75));
  }
  if (copie_reglages) {
    vue->taille_l = e.largeur_defaut + 12;
    vue->taille_h = e.hauteur_defaut + 6;
    vue->largeur_image = e.largeur_defaut_copie;
    vue->hauteur_image = e.hauteur_defaut_copie;
    vue->taille_donnee = 1;
  } else {
    const int l = 50 * t->degre + 200;
    vue->largeur_image = static_cast<std::uint16_t>(l);
    vue->hauteur_image = static_cast<std::uint16_t>(Round(l * 0.75));
    vue->taille_l = vue->largeur_image;
    vue->taille_h = vue->hauteur_image;
  }
  copie_reglages = false;
  const int v = w_.ajouter_vue(vue, m);
  if (!v) {
    delete vue;
    w_.occuper(false);
    return 0;
  }
  vue->apres_rendu = [this] { w_.UpdateItems(); };
  vue->dossier_ciels = dossiers::ciels(e.dossier_programme);
  vue->init_vue(w_.handle(), e.vue, t, fichier_image, plein_ecran, w_.image_brute_active());
  vue->image_brute = w_.image_brute_active();
  w_.occuper(false);
  plein_ecran = false;
  e.vue_courante = v;
  w_.activer(vue);
  return v;
}

void CommandesMontagne::voir() {
  if (e_.montagne_courante) nouvelle_vue();
}

void CommandesMontagne::voir_plein_ecran() {
  plein_ecran = true;
  if (e_.montagne_courante) nouvelle_vue();
}

void CommandesMontagne::rafraichir_vue_active() {
  if (TVuewindow* v = vue(e_.vue_courante)) {
    v->image_brute = w_.image_brute_active();
    v->rafraichir_vue();
  }
}

void CommandesMontagne::copier_vue() {
  TVuewindow* v = vue(e_.vue_courante);
  if (!v) return;
  auto& e = e_;
  v->copier_image_vue();
  const int retrait = v->parametres.deformation && !v->parametres.echelle_fixe ? 4 : 0;
  e.largeur_defaut = static_cast<std::uint16_t>(std::max(v->taille_l - retrait, kTailleImageMin));
  e.hauteur_defaut = static_cast<std::uint16_t>(std::max(v->taille_h - retrait, kTailleImageMin));
  e.largeur_defaut_copie = v->largeur_image;
  e.hauteur_defaut_copie = v->hauteur_image;
  e.vue = v->parametres;
  copie_reglages = true;
  nouvelle_vue();
}

void CommandesMontagne::Informations() {
  // Shown once the view has its statistics.
  if (TVuewindow* v = vue(e_.vue_courante)) v->Informations();
}

void CommandesMontagne::appliquer_options_vue(bool relayout) {
  w_.fenetre_principale()->repaint();
  if (TVuewindow* v = vue(e_.vue_courante); v && !w_.nouveau_en_attente()) {
    v->disposer_image_vue();
    v->calculer_taille_vue(relayout);
  }
  w_.timerthread().start();
}

void CommandesMontagne::basculer(Commande c) {
  auto& e = e_;
  const Bascule* b = nullptr;
  for (const Bascule& x : kBascules)
    if (x.commande == c) b = &x;
  if (!b) return;
  if (c == Commande::ombre_portee && e.vue.brume) return;
  if (c == Commande::brume && e.vue.ombre_portee) return;
  e.vue.*(b->drapeau) = !(e.vue.*(b->drapeau));
  if (c == Commande::echelle_fixe && !e.vue.echelle_fixe) e.vue.taille = 10;
  w_.cocher(c, e.vue.*(b->drapeau) != 0);
  TVuewindow* v = vue(e.vue_courante);
  if (!v) return;
  v->parametres = e.vue;
  if (c == Commande::echelle_fixe) {
    v->disposer_image_vue();
    v->calculer_taille_vue(true);
    if (!rafraichissement_automatique) v->update();
    else v->Timerechelle().start();
    return;
  }
  if (c == Commande::deformation) v->disposer_image_vue();
  if (rafraichissement_automatique) v->rafraichir_vue();
}
