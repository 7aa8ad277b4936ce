// The request dispatcher: what the card, view and video windows, the gallery
// and the import window ask of the main window through their synthetic
// double-click, and the adoption of an imported terrain into a mountain slot.
#include <QApplication>

#include "app/mainwindow.h"
#include "app/table_commandes.h"

void TBasewindow::FormDblClick() {
  auto& e = etat;
  QWidget* actif = enfant_actif();
  auto up = [this] { platform::send(handle_, platform::WM_LBUTTONUP, 0, 0); };
  // 1. Gallery choice.
  if (galerie_ouverte && galerie && galerie->vue_choisie) {
    galerie->vue_choisie = 0;
    e.fichier_courant = galerie->fichier_choisi;
    up();
    if (documents.ouvrir_vue) documents.ouvrir_vue();
    UpdateItems();
    return;
  }
  // 2. Imported terrain.
  if (import_ouvert && importation && importation->importation_faite &&
      !(e.montagne_courante && actif && actif == cartes[e.montagne_courante])) {
    adopter_import();
    return;
  }
  // 3. Card request.
  int m = e.montagne_courante;
  if (m && e.montagnes[m].type.utilise && cartes[m] && actif == cartes[m] && !cartes[m]->fermeture) {
    const std::uint16_t code = cartes[m]->code_commande;
    if (code == 1) {
      up();
      int premiere = 0;
      for (int v = 1; v <= NOMBRE_MAX_VUES && !premiere; ++v)
        if (e.vues[v].utilise && e.vues[v].montagne == m) premiere = v;
      if (premiere) {
        if (rafraichir_vue) rafraichir_vue(premiere);
        else if (fenetres_vues[premiere]) fenetres_vues[premiere]->rafraichir_vue();
      } else if (nouvelle_vue) {
        nouvelle_vue();
      }
    } else if (code >= 11 && code <= 14) {
      static const std::int32_t valeurs[4] = {100, 10, -10, -100};
      Tmatrice* t = e.montagnes[m].terrain.get();
      if (t && elever) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        elever(*t, valeurs[code - 11]);
        QApplication::restoreOverrideCursor();
        e.montagnes[m].type.modifie_edition = 1;
      }
    } else if (const auto r = requete_carte(code)) {
      if (r->haut) up();
      commande(r->commande);
    }
    UpdateItems();
    return;
  }
  // 4. View request.
  int v = e.vue_courante;
  if (v && e.vues[v].utilise && !e.video_courante && fenetres_vues[v] && actif == fenetres_vues[v] &&
      !fenetres_vues[v]->fermeture) {
    if (const auto c = requete_vue(fenetres_vues[v]->code_commande)) commande(*c);
    UpdateItems();
    return;
  }
  // 5. Video request.
  int w = e.video_courante;
  if (w && e.videos[w].utilise && fenetres_videos[w] && actif == fenetres_videos[w] && !fenetres_videos[w]->fermeture) {
    if (const auto c = requete_video(fenetres_videos[w]->code_commande)) commande(*c);
    UpdateItems();
  }
}


void TBasewindow::adopter_import() {
  auto& e = etat;
  FenetreImport* imp = importation;
  int m = e.montagne_libre();
  if (m == 0) {
    warn("No room for the imported mountain (>5)", "Mountain ");
    imp->importation_faite = 0;
    return;
  }
  e.montagnes[m].type.a_fichier = 0;
  occupe = 1;
  e.demarrage = false;
  e.parametres.maillage = imp->degre;
  e.parametres.deformation = imp->parametres.deformation;
  e.parametres.photo_aerienne = imp->parametres.photo_aerienne;
  e.parametres.texte[0] = imp->commentaire;
  std::string n = std::to_string(m);
  int pris = prendre_montagne("#   " + n + " Imported mountain", QString("#   %1:  Imported mountain").arg(m),
                              QString("Import. %1").arg(m), e.parametres);
  CarteMontagne* carte = cartes[pris];
  carte->initialiser_fiche(handle_, false, 0);
  occupe = 0;
  auto t = std::make_unique<Tmatrice>(e.parametres);
  const Tmatrice* src = imp->terrain.get();
  if (src) {
    const int taille = imp->taille;
    // A colour layer is added only when the new terrain has none yet.
    if (e.parametres.photo_aerienne && !t->photo) t->ajouter_photo();
    for (int i = 0; i <= taille; ++i)
      for (int j = 0; j <= taille; ++j) {
        if (src->hauteurs && t->hauteurs) t->hauteurs->ecrire(i, j, src->hauteurs->lire(i, j));
        if (e.parametres.deformation && src->dx && t->dx && src->dy && t->dy) {
          t->dx->ecrire(i, j, src->dx->lire(i, j));
          t->dy->ecrire(i, j, src->dy->lire(i, j));
        }
        if (e.parametres.photo_aerienne && src->photo && t->photo) {
          Rgb c = src->photo->lire(i, j);
          t->photo->ecrire(i, j, static_cast<std::uint32_t>(c.r | (c.g << 8) | (c.b << 16)));
        }
      }
  }
  t->initialiser_apres_import();
  e.montagnes[pris].terrain = std::move(t);
  // No key makes this terrain again: until it is saved, it counts as edited,
  // and the exit asks about it.
  e.montagnes[pris].type.modifie_edition = 1;
  imp->terrain.reset();
  imp->importation_faite = 0;
  platform::send(handle_, platform::WM_LBUTTONUP, 0, 0);
  UpdateItems();
}
