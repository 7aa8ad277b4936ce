// The main window itself: its construction, menus and tool bar from the
// command table, the status line, UpdateItems, the request dispatcher, the
// explorer tree, the Window menu and the window's events.
#include "app/mainwindow.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QShortcut>
#include <QStatusBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/aide.h"
#include "fenetres/aide_enfants.h"
#include "app/commandes_edition.h"
#include "app/commandes_impression.h"
#include "app/commandes_import.h"
#include "app/commandes_options_vue.h"
#include "app/commandes_montagne.h"
#include "app/commandes_options.h"
#include "app/commandes_video.h"
#include "app/vue.h"
#include "app/commandes_fichier.h"
#include "app/table_commandes.h"
#include "app/dialogues_qt.h"
#include "app/apropos.h"
#include "app/legende_principale.h"
#include "components/legende.h"
#include "components/legende_x11.h"
#include "fenetres/donnees_images.h"
#include "fenetres/fonds.h"
#include "model/presse_papier.h"
#include "controls/backpanel.h"
#include "controls/formfill.h"
#include "controls/mirror.h"
#include "controls/shapehint.h"
#include "controls/speedbutton.h"
#include "video/creation.h"
#include "app/demandes_fermeture.h"
#include "model/interfaces.h"
#include "platform/drapeau_leve.h"

namespace {

QString Q(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

// A menu item's text that shows a file name as it is: an "&" in the name is
// not taken as the mark of a shortcut letter.
QString texte_de_menu(const QString& nom) {
  QString texte = nom;
  return texte.replace(u'&', QStringLiteral("&&"));
}

}  // namespace


TBasewindow::TBasewindow(TData* data, QWidget* parent) : QMainWindow(parent), data_(data) {
  legende_ = poser_legende_principale(this);
  setAttribute(Qt::WA_AlwaysShowToolTips);
  // The program's icon: its documents' windows and its dialogs show it too.
  if (data_) setWindowIcon(data_->ProgramIcon());
  handle_ = platform::register_window([this](const platform::Message& m) -> std::intptr_t {
    // Only the request message reaches the dispatcher; "UP" has no handler.
    if (m.msg == platform::WM_LBUTTONDBLCLK) FormDblClick();
    return 0;
  });

  auto* central = new QWidget(this);
  auto* colonne = new QVBoxLayout(central);
  colonne->setContentsMargins(0, 0, 0, 0);
  colonne->setSpacing(0);
  Speedpanel1_ = new CtlBackPanel(central);
  Speedpanel1_->setFixedHeight(32);
  // A click on the toolbar's blank part, which also brings the program back
  // from another one, leaves the keyboard where it was (the memo of a card):
  // the bar takes none.
  Speedpanel1_->setFocusPolicy(Qt::NoFocus);
  cadre_releve(Speedpanel1_->Bevel());
  Speedpanel1_->SetListIndex(images::kPanelTile);
  if (data_) Speedpanel1_->SetImageList(&data_->BitmapList);
  colonne->addWidget(Speedpanel1_);
  auto* ligne = new QHBoxLayout;
  ligne->setSpacing(0);
  TreeView1_ = new QTreeWidget(central);
  TreeView1_->setFixedWidth(160);
  TreeView1_->setHeaderHidden(true);
  TreeView1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TreeView1_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  TreeView1_->setStyleSheet("QTreeWidget { background: #FFFFE1; }");
  TreeView1_->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* supprimer = new QAction("Supprimer", TreeView1_);
  connect(supprimer, &QAction::triggered, this, &TBasewindow::Supprimer_noeuds);
  auto* deplier = new QAction("Expand", TreeView1_);
  connect(deplier, &QAction::triggered, TreeView1_, &QTreeWidget::expandAll);
  TreeView1_->addAction(supprimer);
  TreeView1_->addAction(deplier);
  TreeView1_->hide();
  connect(TreeView1_, &QTreeWidget::itemSelectionChanged, this, &TBasewindow::TreeView1Change);
  ligne->addWidget(TreeView1_);
  mdi_ = new QMdiArea(central);
  ligne->addWidget(mdi_, 1);
  colonne->addLayout(ligne, 1);
  setCentralWidget(central);
  fond_ = new CtlFormFill(this);
  fond_->SetFormColor(clAppWorkSpace);
  fond_->FillObject().BeginUpdate();
  fond_->FillObject().SetStyle(sfBitmapList);
  fond_->FillObject().SetAlignment(agCenter);
  fond_->FillObject().SetTileMode(tmNone);
  fond_->FillObject().EndUpdate(true);
  fond_->SetListIndex(images::kBackground);
  if (data_) fond_->SetImageList(&data_->BitmapList);
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* s) {
    if (s && s != derniere_active_) {
      derniere_active_ = s;
      fermee_ = nullptr;  // a close refused before
    }
    UpdateItems();
  });
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget*) { UpdateItems(); });

  etat_gauche_ = new QLabel;
  etat_droit_ = new QLabel;
  etat_droit_->setFixedWidth(219);
  QFont petit = font();
  petit.setPixelSize(11);
  for (QLabel* l : {etat_gauche_, etat_droit_}) {
    l->setFont(petit);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  statusBar();

  hint_ = new CtlShapeHint(this);
  connect(hint_, &CtlShapeHint::hintChanged, this, &TBasewindow::montrer_indication);

  construire_menus();
  construire_barre();
  CtlMirrorChildren(*Speedpanel1_);  // read right to left, the buttons start at the right

  Timer1_.setInterval(1000);
  connect(&Timer1_, &QTimer::timeout, this, &TBasewindow::ouvrir_fichier);
  Timer2_.setInterval(2000);
  connect(&Timer2_, &QTimer::timeout, this, &TBasewindow::Timer2Timer);
  for (QTimer* t : {&Timerthread_, &Timer_delete_, &TimerThread1_}) t->setInterval(500);
  connect(&Timerthread_, &QTimer::timeout, this, &TBasewindow::TimerthreadTimer);
  connect(&Timer_delete_, &QTimer::timeout, this, &TBasewindow::Timer_deleteTimer);
  connect(&TimerThread1_, &QTimer::timeout, this, &TBasewindow::TimerThread1Timer);
  Timer_reprise_.setInterval(RepriseClavier::kPasMs);
  connect(&Timer_reprise_, &QTimer::timeout, this, &TBasewindow::reprendre_activation);

  elever = [](Tmatrice& t, std::int32_t valeur) { t.elever(valeur, false); };
  brancher_commandes();
  preparer_fermetures();
  fixer_afficheur_aide([this](int sujet) { afficher_aide(sujet); });
  dialogues_ = std::make_unique<QtDialoguesDocuments>(this);
  fichier_ = std::make_unique<CommandesFichier>(etat, *this, *dialogues_);
  documents.ouvrir_montagne = [this] { fichier_->ouvrir_montagne(); };
  documents.ouvrir_vue = [this] { fichier_->ouvrir_vue(); };
  documents.ouvrir_video = [this] { fichier_->ouvrir_video(); };
  documents.sauver_document = [this] { return fichier_->sauver_document(); };
  documents.enregistrer = [this] { return fichier_->FileSaveItemClick(); };
  documents.FileOpenItemClick = [this] { fichier_->FileOpenItemClick(); };
  documents.FileSaveItemClick = [this] { fichier_->FileSaveItemClick(); };
  documents.Sauvermontagne = [this] { fichier_->FileSaveAsItemClick(); };
  documents.Sauvervue = [this] { fichier_->Enregistrervuesous(); };
  documents.Sauvervideo = [this] { fichier_->Enregistrervidosous1Click(); };
  documents.Supprimer = [this] { fichier_->SupprimerClick(); };
  documents.FileprecItemClick = [this](const std::string& c) { fichier_->FileprecItemClick(c); };
  film_en_fabrication = [] { return TCreation::fabrication_en_cours(); };
  // A close asked while a modal window blocks the main window (the window
  // manager's, or the title bar's close button) is refused, and said why
  // while work is under way.
  auto refusee = [this] {
    if (operation_en_cours() || film_en_fabrication()) fermeture_impossible();
  };
  demandes_fermeture_ = std::make_unique<DemandesFermeture>(this, refusee);
  legende_->OnCloseBlocked = refusee;
  legende_->OnClose = [this] { quitter(); };
  mesurer_textes();
  resize(900, 660);
}

void TBasewindow::mesurer_textes() {
  // The steps that measure texts come last: at start-up the font database is
  // still being read on a thread of its own while the rest is built.
  TreeView1_->setSortingEnabled(true);
  TreeView1_->sortByColumn(0, Qt::AscendingOrder);
  statusBar()->addWidget(etat_gauche_, 1);
  statusBar()->addWidget(etat_droit_);
  statusBar()->setSizeGripEnabled(false);
}

TBasewindow::~TBasewindow() {
  occupe = 1;
  sortie = 1;
  // The children are destroyed by the base class after this point: none of
  // their signals may reach this window any more.
  disconnect(qApp, nullptr, this, nullptr);
  disconnect(mdi_, nullptr, this, nullptr);
  disconnect(TreeView1_, nullptr, this, nullptr);
  disconnect(hint_, nullptr, this, nullptr);
  platform::unregister_window(handle_);
  fixer_afficheur_aide(nullptr);
  delete splash_;
}

QString TBasewindow::ligne_etat() const { return etat_gauche_->text(); }
QString TBasewindow::panneau_droit() const { return etat_droit_->text(); }

void TBasewindow::montrer_indication(const QString& texte) {
  if (!texte.isEmpty()) etat_gauche_->setText(texte);
}

void TBasewindow::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void TBasewindow::dropEvent(QDropEvent* e) {
  QStringList chemins;
  for (const QUrl& u : e->mimeData()->urls())
    if (u.isLocalFile()) chemins << u.toLocalFile();
  e->acceptProposedAction();
  fichiers_deposes(chemins);
}

void TBasewindow::reconstruire_recents() {
  for (QAction* a : actions_recentes_) {
    menu_fichier_->removeAction(a);
    a->deleteLater();
  }
  actions_recentes_.clear();
  for (const std::string& chemin : etat.recents) {
    auto* a = new QAction(texte_de_menu(CtlIsolatePath(Q(chemin), QGuiApplication::isRightToLeft())), this);
    connect(a, &QAction::triggered, this, [this, chemin] {
      if (documents.FileprecItemClick) documents.FileprecItemClick(chemin);
      UpdateItems();
    });
    menu_fichier_->insertAction(separateur_recents_, a);
    actions_recentes_.push_back(a);
  }
  separateur_recents_->setVisible(!etat.recents.empty());
}

QStringList TBasewindow::entrees_recentes() const {
  QStringList out;
  for (QAction* a : actions_recentes_) out << a->text();
  return out;
}

// ---------------------------------------------------------------- UpdateItems

void TBasewindow::UpdateItems() {
  if (sortie && occupe) return;
  // Focus and activation changes made here call back at once; one run at a time.
  if (dans_update_) return;
  {
    platform::DrapeauLeve une_passe(dans_update_);
    // A window closed by a run hands the activation on to the next one while
    // the run refuses to be entered again: another run (two at most) follows
    // that window.
    for (int passe = 0; passe < 3; ++passe) {
      QWidget* avant = enfant_actif();
      suivre_fenetres();
      if (enfant_actif() == avant) break;
    }
  }
  emit elementsMisAJour();
}

void TBasewindow::suivre_fenetres() {
  auto& e = etat;
  const bool balayer = !occupe && !operation_en_cours();
  QWidget* actif = enfant_actif();
  afficher_documents_courants();

  if (e.nombre_montagnes > 0 && balayer) {
    suivre_carte_active(actif);
    for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m)
      if (e.montagnes[m].type.utilise && cartes[m] && cartes[m]->fermeture) {
        prendre_carte(m);  // typed until the close: its question sees it
        fermer_montagne(m);
      }
  }

  if (e.nombre_vues > 0 && balayer) suivre_vue_active(actif);
  for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
    if (e.vues[v].utilise && fenetres_vues[v] && fenetres_vues[v]->fermeture) fermer_vue(v);

  if (e.nombre_videos > 0 && balayer) suivre_video_active(actif);
  // A closed video is taken down at once, and saved when its question was
  // answered Yes, as a closed view is: a command that left the busy flag to
  // its timer does not hold it back, only the long work under way does.
  if (e.nombre_videos > 0 && !operation_en_cours())
    for (int w = 1; w <= NOMBRE_MAX_VIDEOS; ++w)
      if (e.videos[w].utilise && fenetres_videos[w] && fenetres_videos[w]->fermeture) fermer_video(w);

  if (e.montagne_courante && balayer && e.nombre_montagnes > 0) {
    for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m)
      if (edition_ouverte[m] && editeurs[m] && editeurs[m]->fermeture) fermer_edition(m);
  }

  if (e.montagne_courante && balayer) suivre_editeur_actif(actif);
  ranger_fenetres_fermees();

  // The current records follow the current mountain.
  if (e.montagne_courante && balayer && e.montagnes[e.montagne_courante].type.utilise)
    e.parametres = e.montagnes[e.montagne_courante].type.parametres;
  if (!e.montagne_courante) e.vue_courante = 0;
  // Closings above may have left no document current: the right panel names none.
  if (!e.montagne_courante && !e.vue_courante && !e.video_courante) etat_droit_->clear();

  // The cards show their terrains as they are now (a refinement changes the degree).
  for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m)
    if (CarteMontagne* c = cartes[m]; c && e.montagnes[m].type.utilise) {
      const Tmatrice* t = e.montagnes[m].terrain.get();
      c->montrer_terrain(t ? t->degre : 0, t && t->dx && t->dy);
    }

  if (!e.demarrage && !sortie) {
    etat_gauche_->repaint();
    etat_droit_->repaint();
    cocher_options();
    activer_elements();
  }
}

QString TBasewindow::nom_montagne(int m) const { return Q(etat.montagnes[m].type.nom.str()); }

void TBasewindow::afficher_documents_courants() {
  const auto& e = etat;
  if (e.montagne_courante) etat_gauche_->setText("Mountain " + nom_montagne(e.montagne_courante));
  if (!e.montagne_courante && !e.vue_courante) etat_droit_->clear();
  if (e.vue_courante) etat_droit_->setText(" View # " + QString::number(e.vue_courante));
  if (e.video_courante) etat_droit_->setText("Video N° " + QString::number(e.video_courante));
}

void TBasewindow::prendre_carte(int m) {
  CarteMontagne* c = fenetre_de(cartes, m);
  auto& s = etat.montagnes[m];
  if (!c || !s.type.utilise) return;
  c->prendre_saisie();
  if (!c->modifie) return;
  // The card wrote into the slot's record.
  s.type.modifie_edition = 1;
  if (s.terrain) s.terrain->photo_presente = s.type.parametres.photo_aerienne;
  c->modifie = 0;
}

void TBasewindow::prendre_cartes() {
  for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m) prendre_carte(m);
}

// The active card becomes the current mountain and takes what it wrote into
// its slot. The tree follows it, and takes the keyboard unless the user types
// in the card's memo.
void TBasewindow::suivre_carte_active(QWidget* actif) {
  auto& e = etat;
  for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m) {
    CarteMontagne* c = cartes[m];
    if (!c || !e.montagnes[m].type.utilise) continue;
    if (c != actif) {
      c->fermeture_autorisee = 0;  // the card was deactivated
      continue;
    }
    if (c->fermeture) continue;
    prendre_carte(m);
    e.montagne_courante = c->no_matrice;
    c->fermeture_autorisee = 1;
    etat_gauche_->setText("<< Mountain " + nom_montagne(m) + " >>");
    etat_droit_->clear();
    selectionner_noeud(noeuds_montagnes[m], !c->saisie_en_cours());
    edition_active = 0;
    int compte = 0;
    for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
      if (e.vues[v].utilise && e.vues[v].montagne == m) {
        ++compte;
        etat_droit_->setText(" View # " + QString::number(v));
      }
    c->nombre_vues = static_cast<std::uint16_t>(compte);
    e.vue_courante = 0;
    e.video_courante = 0;
  }
}

// The active view becomes current, with its mountain, size and record.
void TBasewindow::suivre_vue_active(QWidget* actif) {
  auto& e = etat;
  for (int v = 1; v <= NOMBRE_MAX_VUES; ++v) {
    FenetreVue* fv = fenetres_vues[v];
    if (!e.vues[v].utilise || !fv || fv != actif || fv->fermeture) continue;
    e.vue_courante = v;
    etat_droit_->setText("<< View # " + QString::number(v) + " >>");
    e.montagne_courante = e.vues[v].montagne;
    selectionner_noeud(noeuds_vues[v], fv->peinte);
    etat_gauche_->setText("Mountain " + nom_montagne(e.montagne_courante));
    e.largeur_defaut = e.largeur_defaut_copie = fv->largeur_image;
    e.hauteur_defaut = e.hauteur_defaut_copie = fv->hauteur_image;
    fv->fermeture_autorisee = 1;
    e.vue = fv->parametres;
    e.video_courante = 0;
    edition_active = 0;
  }
}

// The active video becomes current, with its view and mountain.
void TBasewindow::suivre_video_active(QWidget* actif) {
  auto& e = etat;
  for (int w = 1; w <= NOMBRE_MAX_VIDEOS; ++w) {
    FenetreVideo* fw = fenetres_videos[w];
    if (!e.videos[w].utilise || !fw || fw != actif || fw->fermeture) continue;
    e.video_courante = w;
    e.montagne_courante = e.videos[w].montagne;
    // The video's view becomes current too, so that a save writes its own view.
    e.vue_courante = e.videos[w].vue;
    if (fenetres_vues[e.vue_courante]) e.vue = fenetres_vues[e.vue_courante]->parametres;
    etat_droit_->setText("<<Video N° " + QString::number(w) + " >>");
    e.video = fw->parametres;
    selectionner_noeud(noeuds_videos[w], fw->focus_arbre);
  }
}

// The active editor makes its mountain current and takes the relief clipboard over.
void TBasewindow::suivre_editeur_actif(QWidget* actif) {
  auto& e = etat;
  // Who holds a relief clipboard.
  int detenteur = 0;
  for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m)
    if (e.montagnes[m].type.utilise && cartes[m] && !cartes[m]->fermeture && e.montagnes[m].terrain &&
        e.montagnes[m].terrain->presse_papier)
      detenteur = m;
  for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m) {
    FenetreEdition* ed = editeurs[m];
    if (!edition_ouverte[m] || !ed || ed != actif || ed->fermeture) continue;
    edition_active = 1;
    e.montagne_courante = ed->no_matrice;
    e.vue_courante = 0;
    etat_gauche_->setText("<< Edition " + nom_montagne(m) + ">>");
    selectionner_noeud(noeuds_editeurs[m], ed->focus_arbre);
    Tmatrice* ici = e.montagnes[m].terrain.get();
    if (detenteur && ici) {
      Tmatrice* source = e.montagnes[detenteur].terrain.get();
      if (detenteur != m && source) {
        ici->presse_papier = std::move(source->presse_papier);
        ici->niveau_presse_papier = source->niveau_presse_papier;
      }
      // The clipboard keeps the lattice of the terrain it was copied from: paste
      // only onto the same mesh degree, also once it has moved here.
      ed->activer_coller(ici->presse_papier && ici->presse_papier->n() == ici->n);
    }
    etat_droit_->clear();
    for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
      if (e.vues[v].utilise && e.vues[v].montagne == m) etat_droit_->setText(" View # " + QString::number(v));
    e.vue_courante = 0;
  }
}

// The gallery and the import window once their user closed them.
void TBasewindow::ranger_fenetres_fermees() {
  if (galerie_ouverte && (!galerie || galerie->fermee())) {
    galerie_ouverte = 0;
    regler(Commande::parcourir, true);
    // Windows never delete themselves: a closed gallery goes here.
    if (galerie) galerie->deleteLater();
    galerie = nullptr;
  }
  if (import_ouvert && (!importation || importation->fermee)) fermer_import();
}

// ---------------------------------------------------------------- explorer, window menu

void TBasewindow::basculer_explorateur() {
  bool visible = !TreeView1_->isVisible();
  TreeView1_->setVisible(visible);
  action(Commande::explorateur)->setChecked(visible);
  bouton(Commande::explorateur)->SetPressed(visible);
}

void TBasewindow::TreeView1Change() {
  if (selection_programme_) return;
  for (QTreeWidgetItem* it : TreeView1_->selectedItems()) {
    auto* w = qobject_cast<QWidget*>(it->data(0, Qt::UserRole).value<QObject*>());
    // A window that is already the active child keeps it (the tree keeps the focus).
    if (auto* f = dynamic_cast<FenetreEnfant*>(w); f && f->sous_fenetre() && f->sous_fenetre() != mdi_->currentSubWindow()) {
      mdi_->setActiveSubWindow(f->sous_fenetre());
      f->setFocus();
    }
  }
  UpdateItems();
}

void TBasewindow::Supprimer_noeuds() {
  std::vector<QPointer<QWidget>> fenetres;
  for (QTreeWidgetItem* it : TreeView1_->selectedItems())
    fenetres.emplace_back(qobject_cast<QWidget*>(it->data(0, Qt::UserRole).value<QObject*>()));
  for (auto& w : fenetres) {
    auto* f = dynamic_cast<FenetreEnfant*>(w.data());
    if (!f) continue;
    if (auto* c = dynamic_cast<CarteMontagne*>(f)) c->fermeture_autorisee = 1;
    if (auto* v = dynamic_cast<FenetreVue*>(f)) v->fermeture_autorisee = 1;
    fermer_enfant(f);
  }
  UpdateItems();
}

namespace {

// The children an arrangement moves: shown and neither minimised nor maximised,
// in the area's creation order.
QList<QMdiSubWindow*> enfants_a_ranger(QMdiArea* mdi) {
  QList<QMdiSubWindow*> liste;
  for (QMdiSubWindow* s : mdi->subWindowList(QMdiArea::CreationOrder)) {
    if (!s->isVisible()) continue;
    if (s->isMinimized() || s->isMaximized()) s->showNormal();
    liste << s;
  }
  return liste;
}

// A card is laid out for its fixed contents: an arrangement keeps its size.
bool taille_fixe(const QMdiSubWindow* s) { return dynamic_cast<const CarteMontagne*>(s->widget()) != nullptr; }

}  // namespace

// Cascade: each child one title bar lower and to the right of the one before,
// starting again at the top once the bottom is reached; every child keeps its
// size (shrunk only to stay inside the area), so cards stay whole and views
// keep their pictures.
void TBasewindow::Mosaique() {
  const QRect zone = mdi_->viewport()->rect();
  const QList<QMdiSubWindow*> enfants = enfants_a_ranger(mdi_);
  if (enfants.isEmpty()) return;
  const int pas = std::max(enfants.front()->height() - enfants.front()->widget()->height(), 20);
  int x = 0, y = 0;
  for (QMdiSubWindow* s : enfants) {
    if (y + pas > zone.height() || x + pas > zone.width()) x = y = 0;
    QSize t = s->size();
    if (!taille_fixe(s)) t = t.boundedTo(QSize(zone.width() - x, zone.height() - y));
    s->setGeometry(x, y, t.width(), t.height());
    s->raise();
    x += pas;
    y += pas;
  }
}

// Tile: the cards keep their size in a column at the left, one under the
// other; the other children share the rest of the area in a grid of equal cells.
void TBasewindow::Carrelage() {
  const QRect zone = mdi_->viewport()->rect();
  QList<QMdiSubWindow*> autres;
  int y = 0, largeur_cartes = 0;
  for (QMdiSubWindow* s : enfants_a_ranger(mdi_)) {
    if (!taille_fixe(s)) {
      autres << s;
      continue;
    }
    s->move(0, y);
    y += s->height();
    largeur_cartes = std::max(largeur_cartes, s->width());
  }
  if (autres.isEmpty()) return;
  // The other windows go beside the cards, or below them when the area is
  // too narrow for that (the explorer shown); over the cards only when
  // neither leaves room for a window.
  QRect reste = zone;
  if (largeur_cartes > 0 && zone.width() - largeur_cartes >= 200) reste = zone.adjusted(largeur_cartes, 0, 0, 0);
  else if (largeur_cartes > 0 && zone.height() - y >= 100) reste = zone.adjusted(0, y, 0, 0);
  const int n = static_cast<int>(autres.size());
  int colonnes = 1;
  while (colonnes * colonnes < n) ++colonnes;
  const int rangees = (n + colonnes - 1) / colonnes;
  const int l = reste.width() / colonnes, h = reste.height() / rangees;
  for (int k = 0; k < n; ++k)
    autres[k]->setGeometry(reste.left() + (k % colonnes) * l, reste.top() + (k / colonnes) * h, l, h);
}

void TBasewindow::Reorganiser() {
  // The minimised children line up along the bottom edge.
  int x = 0;
  const int h = mdi_->viewport()->height();
  for (QMdiSubWindow* s : mdi_->subWindowList())
    if (s->isMinimized()) {
      s->move(x, h - s->height());
      x += s->width();
    }
}

void TBasewindow::Minimiser_tout() {
  auto liste = mdi_->subWindowList();
  for (int i = static_cast<int>(liste.size()) - 1; i >= 0; --i) liste[i]->showMinimized();
}

bool TBasewindow::event(QEvent* e) {
  if (e->type() == QEvent::WindowUnblocked) {
    reprise_.commencer();
    Timer_reprise_.start();
    QTimer::singleShot(0, this, &TBasewindow::reprendre_activation);
  }
  return QMainWindow::event(e);
}

// A focus change that reaches this window while a modal window blocks it
// (most often the progress window of a command: opening a document draws its
// view under one) is handed on by the toolkit to the modal window. When that
// window closes before the window manager acts on the hand-off, no focus
// change comes again: the server keeps the keyboard on this window, which the
// window manager shows active, while the toolkit knows no active window, so
// the title bar greys and the menus, shortcuts and keys stay dead until a
// click. Under load the window manager deals with the closed window late,
// after this window is unblocked: the keyboard is still with the closed
// window or with nobody then. So, once unblocked, with nothing of the program
// active, this window watches for a while: it takes the activation when the
// server gives it the keyboard, and asks for it once the window manager has
// dealt with the closed window without giving it. Where there is no server to
// ask, it asks at once.
void TBasewindow::reprendre_activation() {
  const QWidget* actif = QApplication::activeWindow();
  const bool bloquee = !isVisible() || isMinimized() || sortie || QApplication::activeModalWidget();
  if (bloquee || !reprise_.en_cours()) {
    // A modal window shown again restarts the watch when it closes.
    reprise_.arreter();
    Timer_reprise_.stop();
    return;
  }
  if (!components::x11::Available()) {
    reprise_.arreter();
    if (!actif || !actif->isVisible()) activateWindow();
    return;
  }
  EtatClavier e;
  e.principale = static_cast<std::uint32_t>(winId());
  e.focus = components::x11::InputFocus();
  e.active = components::x11::ActiveWindow();
  e.active_du_programme = components::x11::OwnWindow(e.active);
  switch (reprise_.pas(actif && actif->isVisible(), e)) {
    case Reprise::prendre: QApplication::setActiveWindow(this); break;
    case Reprise::demander: activateWindow(); break;
    case Reprise::rien: break;
  }
  if (!reprise_.en_cours()) Timer_reprise_.stop();
}

void TBasewindow::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::ActivationChange) UpdateItems();
}

void TBasewindow::mousePressEvent(QMouseEvent* e) {
  QMainWindow::mousePressEvent(e);
  UpdateItems();
}
