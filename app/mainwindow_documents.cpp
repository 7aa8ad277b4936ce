// The main window's document tables beside the document state: adding child
// windows to the MDI area and their explorer nodes, taking slots for new
// documents, and the windows as the document commands see them (HoteDocuments).
#include <QApplication>
#include <QBitmap>
#include <QDateTime>
#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>

#include "app/commandes_montagne.h"
#include "app/commandes_video.h"
#include "app/commandes_fichier.h"
#include "app/mainwindow.h"
#include "app/vue.h"
#include "fenetres/donnees_images.h"
#include "fenetres/fenetre_modale.h"
#include "controls/mirror.h"
#include "platform/drapeau_leve.h"

namespace {

// A document window's caption as shown: a path in it keeps its own order
// when the program reads right to left.
QString titre_affiche(const std::string& titre) {
  return CtlIsolatePath(QString::fromStdString(titre), QGuiApplication::isRightToLeft());
}

// A document window's caption and the text of its explorer node.
void nommer(QWidget* fenetre, QTreeWidgetItem* noeud, const std::string& titre) {
  if (!fenetre) return;
  fenetre->setWindowTitle(titre_affiche(titre));
  if (noeud) noeud->setText(0, titre_affiche(titre));
}

QTreeWidgetItem* Parent(QTreeWidgetItem* it) { return it ? it->parent() : nullptr; }

bool Descend(QTreeWidgetItem* it, QTreeWidgetItem* ancetre) {
  for (; it; it = Parent(it))
    if (it == ancetre) return true;
  return false;
}

// The toolkit's sub-window finds the title bar button under the pointer on a
// move, but only on a move that does not start while it still counts the
// pointer as over its title bar or border, as it does since the last move or
// click there: after a click on the title, one jump of the pointer onto the
// close box (a pointer moved by a program, or moves merged while the program
// was busy) left no button under it, and the click on the close box did
// nothing. Before it takes a press, the sub-window sees the pointer there
// twice: the first time brings up to date what lies under it (title bar,
// border, none), the second the button.
void montrer_pointeur_avant_appui(QMdiSubWindow* s, const QMouseEvent& appui) {
  if (appui.button() != Qt::LeftButton) return;
  for (int fois = 0; fois < 2; ++fois) {
    QMouseEvent passage(QEvent::MouseMove, appui.position(), appui.scenePosition(), appui.globalPosition(),
                        Qt::NoButton, Qt::NoButton, appui.modifiers(), appui.pointingDevice());
    QCoreApplication::sendEvent(s, &passage);
  }
}

}  // namespace

// ---------------------------------------------------------------- children

QMdiSubWindow* TBasewindow::ajouter_enfant(FenetreEnfant* enfant) {
  enfant->principale = handle_;
  enfant->aide_contextuelle = 0;
  // A new child beside a maximised one would open maximised too, and the
  // other would lose its size: the maximised child goes back to its own size
  // first, and the new one opens at the place and size it is given.
  if (QMdiSubWindow* actif = mdi_->activeSubWindow(); actif && actif->isMaximized()) actif->showNormal();
  QMdiSubWindow* s = mdi_->addSubWindow(enfant);
  s->setAttribute(Qt::WA_DeleteOnClose, false);
  // Ctrl+F4 is the main window's own key, on every desktop: the toolkit's
  // Close of the child, which has it on some only, keeps its other keys.
  if (QMenu* menu = s->systemMenu())
    for (QAction* a : menu->actions())
      if (QList<QKeySequence> touches = a->shortcuts(); touches.removeAll(QKeySequence(Qt::CTRL | Qt::Key_F4)))
        a->setShortcuts(touches);
  s->installEventFilter(this);
  enfant->fixer_sous_fenetre(s);
  s->show();
  return s;
}

QTreeWidgetItem* TBasewindow::nouveau_noeud(QTreeWidgetItem* parent, const QString& texte, int image,
                                            int image_choisie, QWidget* donnee) {
  auto* it = new QTreeWidgetItem;
  it->setText(0, texte);
  QImage strip = data_ ? data_->SmallImages() : QImage();
  QImage normal = TData::SmallImage(strip, image), choisie = TData::SmallImage(strip, image_choisie);
  if (!normal.isNull()) {
    QIcon icone;
    auto masque = [](QImage i) {
      QPixmap p = QPixmap::fromImage(i);
      p.setMask(QBitmap::fromImage(i.createMaskFromColor(qRgb(128, 128, 0), Qt::MaskInColor)));
      return p;
    };
    icone.addPixmap(masque(normal), QIcon::Normal);
    icone.addPixmap(masque(choisie), QIcon::Selected);
    it->setIcon(0, icone);
  }
  it->setData(0, Qt::UserRole, QVariant::fromValue<QObject*>(donnee));
  if (parent) parent->addChild(it);
  else TreeView1_->addTopLevelItem(it);
  return it;
}

void TBasewindow::liberer_noeud(QTreeWidgetItem*& noeud) {
  if (!noeud) return;
  QTreeWidgetItem* n = noeud;
  // Freeing a node frees the nodes below it: forget every reference into that branch.
  for (auto& x : noeuds_montagnes)
    if (x && Descend(x, n)) x = nullptr;
  for (auto& x : noeuds_editeurs)
    if (x && Descend(x, n)) x = nullptr;
  for (auto& x : noeuds_vues)
    if (x && Descend(x, n)) x = nullptr;
  for (auto& x : noeuds_videos)
    if (x && Descend(x, n)) x = nullptr;
  noeud = nullptr;
  selection_programme_ = true;
  delete n;
  selection_programme_ = false;
}

void TBasewindow::selectionner_noeud(QTreeWidgetItem* noeud, bool focus) {
  if (!noeud) return;
  // This runs on every focus change: a node already alone in the selection is left as it is.
  const QList<QTreeWidgetItem*> choisis = TreeView1_->selectedItems();
  if (TreeView1_->currentItem() != noeud || choisis.size() != 1 || choisis.front() != noeud) {
    platform::DrapeauLeve programme(selection_programme_);
    TreeView1_->clearSelection();
    TreeView1_->setCurrentItem(noeud);
    noeud->setSelected(true);
  }
  arbre_veut_focus_ = focus;
  if (!focus || !arbre_peut_prendre_clavier() || focus_arbre_programme_) return;
  // The tree takes the keyboard once the focus or activation change being
  // handled is over. Taken now, the toolkit's own handlers of that same
  // change, which still see the focus where it was, would take it back to
  // the window, and this would run again: the two would hand the keyboard to
  // each other until the stack ran out.
  focus_arbre_programme_ = true;
  QTimer::singleShot(0, this, &TBasewindow::focus_vers_arbre);
}

void TBasewindow::focus_vers_arbre() {
  focus_arbre_programme_ = false;
  // The selection made since may not want it any more (a view not painted
  // yet), and a window without a node (the import window) may be active now.
  // A card's memo opened since keeps the keyboard: it may have had it
  // already, closed, and then its Memo button, pressed and let go in one go,
  // opened it without a focus change that would have said so.
  QTreeWidgetItem* noeud = TreeView1_->currentItem();
  const bool suivie = noeud && noeud->data(0, Qt::UserRole).value<QObject*>() == enfant_actif();
  const auto* carte = dynamic_cast<const CarteMontagne*>(enfant_actif());
  if (carte && carte->saisie_en_cours()) return;
  if (arbre_veut_focus_ && suivie && arbre_peut_prendre_clavier() && !sortie)
    TreeView1_->setFocus(Qt::OtherFocusReason);
}

// The bar holds the keyboard while it is this window's focus child with a
// title chosen; it drops the title when the program is left, and then keeps
// no keys.
bool TBasewindow::arbre_peut_prendre_clavier() const {
  const bool barre = focusWidget() == menuBar() && menuBar()->activeAction();
  return TreeView1_->isVisible() && !TreeView1_->hasFocus() && !barre;
}

int TBasewindow::prendre_montagne(const std::string& nom, const QString& titre_carte, const QString& texte_noeud,
                                  const param_mat& p, int emplacement) {
  int m = emplacement ? emplacement : etat.montagne_libre();
  if (m < 1 || m > NOMBRE_MAX_MONTAGNES || etat.montagnes[m].type.utilise) return 0;
  CarteMontagne* carte = creer_carte ? creer_carte() : new CarteMontagne;
  carte->no_matrice = static_cast<std::uint16_t>(m);
  carte->setWindowTitle(titre_affiche(titre_carte.toStdString()));
  cartes[m] = carte;
  // Mountain nodes are always top-level.
  noeuds_montagnes[m] = nouveau_noeud(nullptr, titre_affiche(texte_noeud.toStdString()), 0, 4, carte);
  auto& slot = etat.montagnes[m];
  slot.type.nom = nom;
  etat.prendre_montagne(m);
  slot.type.parametres = p;
  carte->lier_parametres(slot.type.parametres);
  ++etat.nombre_montagnes;
  etat.demarrage = false;
  ajouter_enfant(carte);
  return m;
}

int TBasewindow::ajouter_vue(FenetreVue* vue, int m) {
  int v = etat.vue_libre();
  if (v == 0 || m < 1 || m > NOMBRE_MAX_MONTAGNES || !etat.montagnes[m].type.utilise) return 0;
  vue->no_vue = static_cast<std::uint16_t>(v);
  vue->no_matrice = static_cast<std::uint16_t>(m);
  fenetres_vues[v] = vue;
  etat.prendre_vue(v, m);
  ++etat.nombre_vues;
  noeuds_vues[v] = nouveau_noeud(noeuds_montagnes[m], vue->windowTitle(), 1, 1, vue);
  ajouter_enfant(vue);
  return v;
}

int TBasewindow::ajouter_video(FenetreVideo* video, int v) {
  int w = etat.video_libre();
  if (w == 0 || v < 1 || v > NOMBRE_MAX_VUES || !etat.vues[v].utilise) return 0;
  int m = etat.vues[v].montagne;
  video->no_video = static_cast<std::uint16_t>(w);
  video->no_vue = static_cast<std::uint16_t>(v);
  video->no_matrice = static_cast<std::uint16_t>(m);
  fenetres_videos[w] = video;
  etat.prendre_video(w, v, m);
  ++etat.nombre_videos;
  noeuds_videos[w] = nouveau_noeud(noeuds_vues[v], video->windowTitle(), 7, 7, video);
  ajouter_enfant(video);
  return w;
}

void TBasewindow::ajouter_editeur(FenetreEdition* editeur, int m) {
  if (m < 1 || m > NOMBRE_MAX_MONTAGNES || !etat.montagnes[m].type.utilise || edition_ouverte[m]) return;
  editeur->no_matrice = static_cast<std::uint16_t>(m);
  editeurs[m] = editeur;
  edition_ouverte[m] = 1;
  noeuds_editeurs[m] = nouveau_noeud(noeuds_montagnes[m], editeur->windowTitle(), 5, 5, editeur);
  // The user closes the editor: the sweep asks its save questions while the
  // editor still shows its map, then takes it down. An editor this window
  // already dropped is left to the code that drops it.
  editeur->demander_fermeture = [this, editeur] {
    for (int k = 1; k <= NOMBRE_MAX_MONTAGNES; ++k)
      if (edition_ouverte[k] && editeurs[k] == editeur) UpdateItems();
  };
  ajouter_enfant(editeur);
}

void TBasewindow::activer(QWidget* enfant) {
  auto* f = dynamic_cast<FenetreEnfant*>(enfant);
  if (f && f->sous_fenetre()) {
    mdi_->setActiveSubWindow(f->sous_fenetre());
    rendre_clavier(f);
  }
  UpdateItems();
}

// The keyboard goes back to the control of the window that last had it when
// it is one to type in, as the memo; a panel that took it on a click does not
// keep it. With the explorer shown the tree takes it next.
void TBasewindow::rendre_clavier(QWidget* f) {
  QWidget* dernier = f->focusWidget();
  const bool saisie = dernier && f->isAncestorOf(dernier) && (dernier->focusPolicy() & Qt::TabFocus);
  if (saisie && dernier->isVisible() && !TreeView1_->isVisible())
    dernier->setFocus(Qt::OtherFocusReason);
  else
    f->setFocus();
}

QWidget* TBasewindow::enfant_actif() const {
  QMdiSubWindow* s = mdi_->currentSubWindow();
  return s && s->isVisible() ? s->widget() : nullptr;
}

void TBasewindow::fermer_enfant(FenetreEnfant* enfant) {
  if (!enfant) return;
  if (QMdiSubWindow* s = enfant->sous_fenetre()) s->close();
  else enfant->close();
}

QList<QPointer<QMdiSubWindow>> TBasewindow::ordre_enfants() const {
  QList<QPointer<QMdiSubWindow>> ordre;
  for (QMdiSubWindow* s : mdi_->subWindowList(QMdiArea::CreationOrder)) ordre << s;
  return ordre;
}

QMdiSubWindow* TBasewindow::sous_fenetre_suivante(const QList<QPointer<QMdiSubWindow>>& ordre, int k, int pas) {
  const int n = static_cast<int>(ordre.size());
  if (k < 0) k = -pas;
  for (int i = 1; i <= n; ++i)
    if (QMdiSubWindow* s = ordre[((k + i * pas) % n + n) % n]; s && s->isVisible()) return s;
  return nullptr;
}

// The toolkit hands the activation on when a child window closes only when
// the keyboard was inside it: with the explorer holding it, no child would be
// active and the status line would still name the closed document. Whatever
// had the keyboard, the active child that closes hands the activation to the
// next one opened after it, once the closing under way is over (a closed
// mountain takes its views with it). The close asks its questions first, and
// may be refused (a card that may not close yet): the window is gone only
// when it hides after its close.
bool TBasewindow::eventFilter(QObject* o, QEvent* e) {
  if (!o || sortie) return QMainWindow::eventFilter(o, e);
  if (auto* s = qobject_cast<QMdiSubWindow*>(o); s && e->type() == QEvent::MouseButtonPress)
    montrer_pointeur_avant_appui(s, *static_cast<QMouseEvent*>(e));
  if (e->type() == QEvent::Close && o == derniere_active_) fermee_ = derniere_active_;
  if (e->type() != QEvent::Hide || o != fermee_) return QMainWindow::eventFilter(o, e);
  fermee_ = nullptr;
  const QList<QPointer<QMdiSubWindow>> ordre = ordre_enfants();
  const int k = static_cast<int>(ordre.indexOf(static_cast<QMdiSubWindow*>(o)));
  QTimer::singleShot(0, this, [this, ordre, k] {
    if (sortie || k < 0 || (ordre[k] && ordre[k]->isVisible())) return;
    QMdiSubWindow* suivante = sous_fenetre_suivante(ordre, k, 1);
    if (suivante && mdi_->currentSubWindow() != suivante) activer(suivante->widget());
  });
  return QMainWindow::eventFilter(o, e);
}

void TBasewindow::detruire_enfant(FenetreEnfant* enfant) {
  if (!enfant) return;
  QMdiSubWindow* s = enfant->sous_fenetre();
  if (s) {
    s->hide();
    mdi_->removeSubWindow(s);
    s->deleteLater();
  } else {
    enfant->hide();
    enfant->deleteLater();
  }
}

void TBasewindow::fermer_import() {
  if (importation) {
    if (!importation->fermee) fermer_enfant(importation);
    detruire_enfant(importation);
  }
  importation = nullptr;
  import_ouvert = 0;
}

// ---------------------------------------------------------------- host of the file commands

void TBasewindow::utiliser_dialogues(std::unique_ptr<DialoguesDocuments> d) {
  dialogues_ = std::move(d);
  fichier_ = std::make_unique<CommandesFichier>(etat, *this, *dialogues_);
}

void TBasewindow::titre_fiche(int m, const std::string& titre) {
  if (fenetre_de(cartes, m)) nommer(cartes[m], noeuds_montagnes[m], titre);
}

void TBasewindow::marquer_sauvee(int m) {
  if (m < 1 || m > NOMBRE_MAX_MONTAGNES) return;
  if (cartes[m]) cartes[m]->marquer_sauvee(QDateTime::currentSecsSinceEpoch());
  // An open editor keeps its map pictures beside the document's new path.
  const auto& type = etat.montagnes[m].type;
  if (edition_ouverte[m] && editeurs[m] && type.a_fichier && editeurs[m]->fichier != type.fichier)
    editeurs[m]->fixer_fichier(type.fichier);
}

void TBasewindow::marquer_sans_fichier(int m) {
  if (m >= 1 && m <= NOMBRE_MAX_MONTAGNES && cartes[m]) cartes[m]->marquer_sans_fichier();
}

void TBasewindow::effacer_modification_edition(int m) {
  if (m >= 1 && m <= NOMBRE_MAX_MONTAGNES && editeurs[m]) editeurs[m]->modifiee = 0;
}

bool TBasewindow::creer_fiche(int m, const std::string& titre, long long date_fichier) {
  if (m < 1 || m > NOMBRE_MAX_MONTAGNES || cartes[m]) return false;
  CarteMontagne* carte = creer_carte ? creer_carte() : new CarteMontagne;
  carte->no_matrice = static_cast<std::uint16_t>(m);
  carte->setWindowTitle(titre_affiche(titre));
  carte->lier_parametres(etat.montagnes[m].type.parametres);
  cartes[m] = carte;
  noeuds_montagnes[m] = nouveau_noeud(nullptr, carte->windowTitle(), 0, 4, carte);
  ajouter_enfant(carte);
  carte->initialiser_fiche(handle_, etat.montagnes[m].type.a_fichier != 0, date_fichier);
  activer(carte);
  return true;
}

// An opened view takes the document's picture size and its copy.
int TBasewindow::creer_vue(const std::string& fichier_image) {
  montagnes_->copie_reglages = true;
  const int v = montagnes_->nouvelle_vue(fichier_image);
  if (v && fichier_image.empty())
    if (auto* vue = montagnes_->vue(v)) vue->premier_rendu_du_document = true;
  return v;
}
int TBasewindow::creer_video(const std::string& film, const std::vector<enregistrement_camera>* cameras,
                             const informations_video& informations) {
  return videos_->ouvrir_video(film, cameras, informations);
}

void TBasewindow::focaliser_fiche(int m) {
  if (m >= 1 && m <= NOMBRE_MAX_MONTAGNES && cartes[m]) activer(cartes[m]);
}
void TBasewindow::focaliser_vue(int v) {
  if (v >= 1 && v <= NOMBRE_MAX_VUES && fenetres_vues[v]) activer(fenetres_vues[v]);
}
void TBasewindow::focaliser_video(int w) {
  if (w >= 1 && w <= NOMBRE_MAX_VIDEOS && fenetres_videos[w]) activer(fenetres_videos[w]);
}

const render::Bitmap* TBasewindow::image_vue(int v) {
  auto* vue = v >= 1 && v <= NOMBRE_MAX_VUES ? dynamic_cast<TVuewindow*>(fenetres_vues[v].data()) : nullptr;
  return vue ? vue->image_document() : nullptr;
}

const std::string* TBasewindow::image_vue_lue(int v) {
  auto* vue = v >= 1 && v <= NOMBRE_MAX_VUES ? dynamic_cast<TVuewindow*>(fenetres_vues[v].data()) : nullptr;
  return vue ? vue->image_lue() : nullptr;
}

std::pair<std::int32_t, std::int32_t> TBasewindow::taille_image_vue(int v) {
  if (v >= 1 && v <= NOMBRE_MAX_VUES && fenetres_vues[v])
    return {fenetres_vues[v]->largeur_image, fenetres_vues[v]->hauteur_image};
  return {etat.largeur_defaut, etat.hauteur_defaut};
}

param_vue TBasewindow::parametres_vue(int v) {
  return v >= 1 && v <= NOMBRE_MAX_VUES && fenetres_vues[v] ? fenetres_vues[v]->parametres : etat.vue;
}

void TBasewindow::titre_vue(int v, const std::string& titre) {
  if (fenetre_de(fenetres_vues, v)) nommer(fenetres_vues[v], noeuds_vues[v], titre);
}

void TBasewindow::marquer_vue_enregistree(int v) {
  if (FenetreVue* f = fenetre_de(fenetres_vues, v)) {
    f->a_fichier = 1;
    f->modifiee = 0;
  }
}

std::string TBasewindow::film(int w) {
  return w >= 1 && w <= NOMBRE_MAX_VIDEOS && fenetres_videos[w] ? fenetres_videos[w]->fichier_film : std::string();
}

bool TBasewindow::film_refait(int w) {
  return w >= 1 && w <= NOMBRE_MAX_VIDEOS && fenetres_videos[w] && fenetres_videos[w]->refaite;
}

informations_video TBasewindow::informations(int w) {
  return w >= 1 && w <= NOMBRE_MAX_VIDEOS && fenetres_videos[w] ? fenetres_videos[w]->informations : informations_video{};
}

const std::vector<enregistrement_camera>* TBasewindow::cameras(int w) {
  if (w >= 1 && w <= NOMBRE_MAX_VIDEOS && fenetres_videos[w] && !fenetres_videos[w]->cameras.empty())
    return &fenetres_videos[w]->cameras;
  return tableau_cameras.get();
}

void TBasewindow::titre_video(int w, const std::string& titre) {
  if (fenetre_de(fenetres_videos, w)) nommer(fenetres_videos[w], noeuds_videos[w], titre);
}

void TBasewindow::marquer_video_enregistree(int w) {
  if (FenetreVideo* f = fenetre_de(fenetres_videos, w)) {
    f->a_fichier = 1;
    f->refaite = 0;
  }
}

void TBasewindow::recents_modifies() { reconstruire_recents(); }

// ---------------------------------------------------------------- deferred work

void TBasewindow::en_dehors_operation(QTimer& t, const std::function<void()>& action) {
  if (travail_differe_suspendu()) {
    t.start();  // try again once the long work is over and no modal window is up
    return;
  }
  t.stop();
  action();
  rafraichir_demande = 0;
  nouveau_demande = 0;
  occupe = 0;
  UpdateItems();  // the windows closed while the flag held the sweep back
}

void TBasewindow::TimerthreadTimer() {
  en_dehors_operation(Timerthread_, [this] {
    if (rafraichir_demande && etat.vue_courante && fenetres_vues[etat.vue_courante]) {
      FenetreVue* v = fenetres_vues[etat.vue_courante];
      activer(v);
      v->image_brute = image_brute;
      if (rafraichir_vue) rafraichir_vue(v->no_vue);
      else v->rafraichir_vue();
    }
    if (nouveau_demande && etat.montagne_courante && nouvelle_vue) nouvelle_vue();
  });
}

void TBasewindow::TimerThread1Timer() {
  en_dehors_operation(TimerThread1_, [this] {
    // A video closed since the request is not made again, nor another in its place.
    FenetreVideo* w = fenetre_de(fenetres_videos, etat.video_courante);
    if (rafraichir_demande && w && !w->fermeture && etat.toujours_la(video_a_refaire)) {
      activer(w);
      w->regenerer_video();
    }
    if (etat.vue_courante && fenetres_vues[etat.vue_courante]) fenetres_vues[etat.vue_courante]->fermeture_autorisee = 0;
    if (etat.montagne_courante && cartes[etat.montagne_courante]) cartes[etat.montagne_courante]->fermeture_autorisee = 0;
    if (nouveau_demande && etat.vue_courante && nouvelle_video) nouvelle_video();
  });
}
