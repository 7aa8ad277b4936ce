#include "app/commandes_montagne.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "fenetres/attente.h"
#include "fenetres/dossiers.h"
#include "app/carte.h"
#include "app/mainwindow.h"
#include "app/vue.h"
#include "model/aleatoire.h"
#include "model/erreur.h"

namespace {

QString Q(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

struct Bascule {
  const char* caption;
  std::uint8_t param_vue::* drapeau;
};
const Bascule kBascules[] = {
    {" - Visible Mesh", &param_vue::maillage_filaire}, {" - Fixed scale", &param_vue::echelle_fixe},
    {" - Distortion allowed", &param_vue::deformation}, {" - Trees", &param_vue::foret},
    {" - Cast shadow", &param_vue::ombre_portee},       {" - Mist", &param_vue::brume},
    {" - Details", &param_vue::premier_plan},           {" - Horizon", &param_vue::horizon},
    {" - Reflection", &param_vue::reflet},              {" - Picture", &param_vue::photo_aerienne}};

// The creation record of an existing terrain: its own mesh degree, distortion and picture flags.
param_mat structure_du_terrain(param_mat p, const Tmatrice& t) {
  p.maillage = t.degre;
  p.deformation = t.dx && t.dy ? 1 : 0;
  p.photo_aerienne = t.photo ? 1 : 0;
  return p;
}

}  // namespace

CommandesMontagne::CommandesMontagne(TBasewindow& w) : w_(w) {
  w.creer_carte = [] { return new TMatricewindow; };
  w.nouvelle_vue = [this] { nouvelle_vue(); };
  w.connecter("Create a new &Mountain", [this] { nouvelle_montagne(false); });
  w.connecter("Create a &Flat surface", [this] { nouvelle_montagne(true); });
  w.connecter("R&egenerate the mountain", [this] { regenerer_montagne(); });
  w.connecter("&Duplicate the mountain", [this] { dupliquer_montagne(); });
  w.connecter("&Refine an existing mountain", [this] { raffiner(); });
  w.connecter("Create trees", [this] { creer_arbres(); });
  w.connecter("Type text", [this] { taper_texte(); });
  w.connecter("&see", [this] { voir(); });
  w.connecter("See in a &full screen", [this] { voir_plein_ecran(); });
  w.connecter("&Refresh the active view", [this] { rafraichir_vue_active(); });
  w.connecter("Duplicate the view", [this] { copier_vue(); });
  w.connecter("Informations", [this] { Informations(); });
  w.connecter("&Automatic refresh", [this] {
    rafraichissement_automatique = !rafraichissement_automatique;
    w_.action("&Automatic refresh")->setChecked(rafraichissement_automatique);
  });
  w.connecter("Rough picture", [this] {
    w_.image_brute = !w_.image_brute;
    w_.action("Rough picture")->setChecked(w_.image_brute);
  });
  w.connecter("Level curves", [this] {
    w_.courbes_niveau = !w_.courbes_niveau;
    w_.action("Level curves")->setChecked(w_.courbes_niveau);
  });
  for (const Bascule& b : kBascules) {
    const char* c = b.caption;
    w.connecter(c, [this, c] { basculer(c); });
  }
  w.action("&Automatic refresh")->setChecked(true);
  // Always available: creation, the options of the View menu and its toggles (the
  // picture toggle follows the enabling table with the rest).
  for (const char* c : {"Create a new &Mountain", "Create a &Flat surface", "&Automatic refresh", "Rough picture",
                        "Level curves", " - Visible Mesh", " - Fixed scale", " - Distortion allowed", " - Trees",
                        " - Cast shadow", " - Mist", " - Details", " - Horizon", " - Reflection"}) {
    w.action(c)->setEnabled(true);
    w.connecter(c, w.commande_de(c));
  }
}

TVuewindow* CommandesMontagne::vue(int v) const {
  if (v < 1 || v > NOMBRE_MAX_VUES) return nullptr;
  return dynamic_cast<TVuewindow*>(w_.fenetres_vues[v].data());
}

// ---------------------------------------------------------------- mountains

void CommandesMontagne::nouvelle_montagne(bool plat, int emplacement, bool depuis_fichier) {
  auto& e = w_.etat;
  if (e.nombre_montagnes >= NOMBRE_MAX_MONTAGNES || (!emplacement && e.montagne_libre() == 0)) {
    warn("Too many mountains in memory: close one first.", "File");
    w_.nouveau_demande = 0;
    return;
  }
  w_.occupe = 1;
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
    w_.occupe = 0;
    return;
  }
  e.montagne_courante = m;
  auto& slot = e.montagnes[m];
  slot.type.a_fichier = depuis_fichier ? 1 : 0;
  slot.type.modifie_edition = depuis_fichier ? 1 : 0;
  CarteMontagne* carte = w_.cartes[m];
  carte->parametres = e.parametres;
  carte->initialiser_fiche(w_.handle(), false, 0);
  w_.activer(carte);
  {
    OperationLongue operation;
    TAttente attente(&w_);
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
  e.parametres.cle = slot.terrain->cle;
  slot.type.parametres.cle = slot.terrain->cle;
  carte->parametres.cle = slot.terrain->cle;
  w_.occupe = 0;
  w_.UpdateItems();
}

void CommandesMontagne::regenerer_montagne() {
  auto& e = w_.etat;
  const int m = e.montagne_courante;
  if (!m || !e.montagnes[m].type.utilise || !w_.cartes[m]) return;
  const param_mat garde = e.parametres;
  const Type_matrice ancien = e.montagnes[m].type;
  w_.occupe = 0;
  CarteMontagne* carte = w_.cartes[m];
  carte->fermeture = 1;
  e.montagnes[m].type.modifie_edition = 0;
  w_.UpdateItems();  // the closing cascade frees the slot, its views and editor
  if (e.montagnes[m].type.utilise) return;  // the cascade did not run
  w_.occupe = 1;
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
  w_.occupe = 0;
  w_.UpdateItems();
}

void CommandesMontagne::dupliquer_montagne() {
  auto& e = w_.etat;
  const int source = e.montagne_courante;
  if (e.nombre_montagnes >= NOMBRE_MAX_MONTAGNES || e.montagne_libre() == 0) return;
  if (!source || !e.montagnes[source].terrain) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  w_.occupe = 1;
  const Tmatrice& t = *e.montagnes[source].terrain;
  const param_mat p = structure_du_terrain(e.parametres, t);
  const int libre = e.montagne_libre();
  const std::string numero = std::to_string(libre);
  const QString titre = Q("#  " + numero + ":  " + "Copy ");
  const int m = w_.prendre_montagne("New #  " + numero, titre, titre, p, libre);
  if (m) {
    e.montagne_courante = m;
    auto& slot = e.montagnes[m];
    slot.type.a_fichier = 0;
    slot.type.modifie_edition = 0;
    CarteMontagne* carte = w_.cartes[m];
    carte->parametres = p;
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
  w_.occupe = 0;
  QApplication::restoreOverrideCursor();
  w_.UpdateItems();
}

void CommandesMontagne::raffiner() {
  auto& e = w_.etat;
  const int m = e.montagne_courante;
  if (!m || !e.montagnes[m].type.utilise || !e.montagnes[m].terrain) return;
  Tmatrice& t = *e.montagnes[m].terrain;
  if (t.degre >= 11) return;
  const param_mat local = structure_du_terrain(e.parametres, t);
  // The mountain's views close without a question, and so does its editor.
  for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
    if (e.vues[v].utilise && e.vues[v].montagne == m && w_.fenetres_vues[v]) {
      FenetreVue* fv = w_.fenetres_vues[v];
      fv->fermeture_autorisee = 1;
      fv->modifiee = 0;
      if (fv->sous_fenetre()) fv->sous_fenetre()->close();
      else fv->close();
      w_.UpdateItems();
    }
  if (w_.edition_ouverte[m] && w_.editeurs[m]) {
    FenetreEdition* ed = w_.editeurs[m];
    if (ed->sous_fenetre()) ed->sous_fenetre()->close();
    else ed->close();
    w_.UpdateItems();
  }
  {
    OperationLongue operation;
    TAttente attente(&w_);
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
  if (CarteMontagne* c = w_.cartes[m]) {
    c->parametres = e.parametres;
    c->update();
    w_.activer(c);
  }
  w_.UpdateItems();
}

void CommandesMontagne::creer_arbres() {
  auto& e = w_.etat;
  const int m = e.montagne_courante;
  if (!m || !e.montagnes[m].terrain) return;
  if (CarteMontagne* c = w_.cartes[m]) c->parametres = e.parametres;
  {
    OperationLongue operation;
    TAttente attente(&w_);
    e.montagnes[m].terrain->creer_arbres(e.parametres.couches, &attente, w_.handle());
  }
  e.montagnes[m].type.parametres = e.parametres;
  e.montagnes[m].type.modifie_edition = 1;
  w_.UpdateItems();
}

void CommandesMontagne::taper_texte() {
  const int m = w_.etat.montagne_courante;
  if (auto* c = m ? dynamic_cast<TMatricewindow*>(w_.cartes[m].data()) : nullptr) {
    w_.activer(c);
    c->BitBtn1Click();
  }
}

// ---------------------------------------------------------------- views

int CommandesMontagne::nouvelle_vue(const std::string& fichier_image) {
  auto& e = w_.etat;
  if (e.nombre_vues >= NOMBRE_MAX_VUES || e.vue_libre() == 0) {
    warn("Too many views, close one at least", "File");
    return 0;
  }
  const int m = e.montagne_courante;
  if (!m || !e.montagnes[m].type.utilise || !e.montagnes[m].terrain) return 0;
  Tmatrice* t = e.montagnes[m].terrain.get();
  e.video_courante = 0;
  w_.occupe = 1;
  const int libre = e.vue_libre();
  auto* vue = new TVuewindow;
  vue->setWindowTitle(Q("View #  " + std::to_string(libre) + " :  " + e.montagnes[m].type.nom.str()).left(50));
  vue->degre = t->degre;
  const auto& type = e.montagnes[m].type;
  vue->document_vue = type.a_fichier && type.genre == 2 ? 1 : 0;
  if (plein_ecran && !e.vue.echelle_fixe) {
    const int l = std::max(w_.mdi()->width() - 16, kTailleImageMin);
    e.largeur_defaut = e.largeur_defaut_copie = static_cast<std::uint16_t>(std::min(l, kTailleImageMax));
    e.hauteur_defaut = e.hauteur_defaut_copie = static_cast<std::uint16_t>(Round(e.largeur_defaut * 0.75));
  }
  if (copie_reglages) {
    vue->taille_l = e.largeur_defaut + 12;
    vue->taille_h = e.hauteur_defaut + 6;
    vue->largeur_image = e.largeur_defaut_copie;
    vue->hauteur_image = e.hauteur_defaut_copie;
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
    w_.occupe = 0;
    return 0;
  }
  vue->apres_rendu = [this] { w_.UpdateItems(); };
  vue->dossier_ciels = dossiers::ciels(e.dossier_programme);
  vue->init_vue(w_.handle(), e.vue, t, fichier_image, plein_ecran, w_.image_brute != 0);
  vue->image_brute = w_.image_brute;
  w_.occupe = 0;
  plein_ecran = false;
  e.vue_courante = v;
  w_.activer(vue);
  return v;
}

void CommandesMontagne::voir() {
  if (w_.etat.montagne_courante) nouvelle_vue();
}

void CommandesMontagne::voir_plein_ecran() {
  plein_ecran = true;
  if (w_.etat.montagne_courante) nouvelle_vue();
}

void CommandesMontagne::rafraichir_vue_active() {
  if (TVuewindow* v = vue(w_.etat.vue_courante)) {
    v->image_brute = w_.image_brute;
    v->rafraichir_vue();
  }
}

void CommandesMontagne::copier_vue() {
  TVuewindow* v = vue(w_.etat.vue_courante);
  if (!v) return;
  auto& e = w_.etat;
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
  if (TVuewindow* v = vue(w_.etat.vue_courante))
    if (QAction* a = v->element("Informations"); a && a->isEnabled()) a->trigger();
}

void CommandesMontagne::appliquer_options_vue(bool relayout) {
  w_.repaint();
  if (TVuewindow* v = vue(w_.etat.vue_courante); v && !w_.nouveau_demande) {
    v->disposer_image_vue();
    v->calculer_taille_vue(relayout);
  }
  w_.timerthread().start();
}

void CommandesMontagne::basculer(const char* caption) {
  auto& e = w_.etat;
  const Bascule* b = nullptr;
  for (const Bascule& x : kBascules)
    if (QString(x.caption) == caption) b = &x;
  if (!b) return;
  const QString c = caption;
  if (c == " - Cast shadow" && e.vue.brume) return;
  if (c == " - Mist" && e.vue.ombre_portee) return;
  e.vue.*(b->drapeau) = !(e.vue.*(b->drapeau));
  if (c == " - Fixed scale" && !e.vue.echelle_fixe) e.vue.taille = 10;
  w_.action(caption)->setChecked(e.vue.*(b->drapeau) != 0);
  TVuewindow* v = vue(e.vue_courante);
  if (!v) return;
  v->parametres = e.vue;
  if (c == " - Fixed scale") {
    v->disposer_image_vue();
    v->calculer_taille_vue(true);
    if (!rafraichissement_automatique) v->update();
    else v->Timerechelle().start();
    return;
  }
  if (c == " - Distortion allowed") v->disposer_image_vue();
  if (rafraichissement_automatique) v->rafraichir_vue();
}
