// The main window's menus and tool bar, built from the command table: the
// items, their codes and context help, the buttons, and the enabling and
// check marks that follow the document tables.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QShortcut>
#include <QTreeWidget>

#include "app/barre_menus.h"
#include "app/commandes_video.h"
#include "app/mainwindow.h"
#include "app/table_commandes.h"
#include "controls/backpanel.h"
#include "controls/speedbutton.h"
#include "fenetres/donnees_images.h"

namespace {

// Commands that need a video window, and the one that needs the video settings
// dialog: disabled while the main window has no way to make them.
bool besoin_fenetre_video(Commande c) {
  switch (c) {
    case Commande::creer_video:
    case Commande::dupliquer_video:
    case Commande::rafraichir_video:
    case Commande::parametres_detailles:
    case Commande::informations_video:
    case Commande::fermer_video:
    case Commande::fermer_videos:
    case Commande::enregistrer_film: return true;
    default: return false;
  }
}

}  // namespace

QAction* TBasewindow::ajouter_action(QMenu* menu, const DefinitionCommande& d) {
  auto* a = new QAction(d.caption, this);
  if (*d.raccourci) a->setShortcut(QKeySequence(QString::fromLatin1(d.raccourci)));
  a->setCheckable(d.cochable);
  // Items of the enabling table start disabled until the first mountain.
  a->setEnabled(d.regle == Regle::libre);
  menu->addAction(a);
  const Commande c = d.id;
  actions_[indice(c)] = a;
  connect(a, &QAction::triggered, this, [this, c] { commande(c); });
  connect(a, &QAction::hovered, this, [this, a] { montrer_indication(a->statusTip()); });
  return a;
}

void TBasewindow::connecter(Commande c, std::function<void()> code) {
  commandes_[indice(c)] = std::move(code);
  // A command outside the enabling table is enabled with its code.
  regler(c, definition(c).regle == Regle::libre || action(c)->isEnabled());
}

void TBasewindow::commande(Commande c) {
  const DefinitionCommande& d = definition(c);
  if (aide_contextuelle && d.sujet) {
    afficher_aide(d.sujet);
    if (!d.aide_puis_commande) return;
  }
  // A command may save or ask about a document: it sees every line typed in a card.
  prendre_cartes();
  if (const auto& code = commandes_[indice(c)]) code();
}

void TBasewindow::construire_menus() {
  auto* barre = new BarreMenus(this);
  setMenuBar(barre);
  std::array<QMenu*, 7> menus{};
  for (const DefinitionCommande& d : table_commandes()) {
    QMenu*& menu = menus[static_cast<std::size_t>(d.menu)];
    if (!menu) menu = barre->addMenu(titre_menu(d.menu));
    if (d.separateur_avant) menu->addSeparator();
    if (d.id == Commande::sortie) {
      // The recent entries go between the separator above and this one.
      separateur_recents_ = menu->addSeparator();
      separateur_recents_->setVisible(false);
    }
    ajouter_action(menu, d);
  }
  menu_fichier_ = menus[static_cast<std::size_t>(Menu::fichier)];
  action_sortie_ = action(Commande::sortie);

  auto doc = [this](std::function<void()> CommandesDocuments::* membre) {
    return [this, membre] {
      if (documents.*membre) (documents.*membre)();
      UpdateItems();
    };
  };
  connecter(Commande::ouvrir, doc(&CommandesDocuments::FileOpenItemClick));
  connecter(Commande::enregistrer, doc(&CommandesDocuments::FileSaveItemClick));
  connecter(Commande::enregistrer_montagne, doc(&CommandesDocuments::Sauvermontagne));
  connecter(Commande::enregistrer_vue, doc(&CommandesDocuments::Sauvervue));
  connecter(Commande::enregistrer_film, doc(&CommandesDocuments::Sauvervideo));
  connecter(Commande::supprimer, doc(&CommandesDocuments::Supprimer));
  connecter(Commande::parcourir, [this] { ParcoursClick(); });
  connecter(Commande::lire_options, [this] { Lire_options(); });
  connecter(Commande::sauver_options, [this] { Sauve_options(); });
  connecter(Commande::fichier_depart, [this] { Fic_defClick(); });
  connecter(Commande::sortie, [this] { ExitBtnClick(); });
  connecter(Commande::fermer_montagne, [this] { Fermer_montagne_active(); });
  connecter(Commande::fermer_montagnes, [this] { Fermer_toutes_montagnes(); });
  connecter(Commande::fermer_vue, [this] { Fermer_vue_active(); });
  connecter(Commande::fermer_vues, [this] { Fermer_toutes_vues(); });
  connecter(Commande::fermer_video, [this] { Fermer_video(); });
  connecter(Commande::fermer_videos, [this] { Fermer_toutes_videos(); });
  connecter(Commande::cascade, [this] { Mosaique(); });
  connecter(Commande::mosaique, [this] { Carrelage(); });
  connecter(Commande::reorganiser, [this] { Reorganiser(); });
  connecter(Commande::minimiser, [this] { Minimiser_tout(); });
  connecter(Commande::explorateur, [this] { basculer_explorateur(); });
  connecter(Commande::index, [this] { Index(); });
  connecter(Commande::aide, [this] { Aide(); });
  connecter(Commande::aide_demarrage, [this] { afficher_aide(4040); });
  connecter(Commande::aide_contextuelle, [this] { Contextuelle(); });
  connecter(Commande::a_propos, [this] { A_propos(); });
  // The menu shows F1, but the key is read below: in a child window it shows
  // that window's topic, while the menu item and the Index button open the finder.
  action(Commande::index)->setShortcutContext(Qt::WidgetShortcut);
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, [this] { touche_aide(); });
  // As the Windows MDI client moves between its children: Ctrl+F6 and
  // Ctrl+Tab to the next child window, with Shift to the one before.
  const std::pair<QKeyCombination, int> voisins[] = {{Qt::CTRL | Qt::Key_F6, 1},
                                                     {Qt::CTRL | Qt::SHIFT | Qt::Key_F6, -1},
                                                     {Qt::CTRL | Qt::Key_Tab, 1},
                                                     {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1}};
  for (const auto& [touches, pas] : voisins)
    connect(new QShortcut(QKeySequence(touches), this), &QShortcut::activated, this, [this, p = pas] { enfant_voisin(p); });
  // Ctrl+F4 closes the active child window as its close box does, questions included.
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4), this), &QShortcut::activated, this,
          [this] { fermer_enfant(dynamic_cast<FenetreEnfant*>(enfant_actif())); });
}

// The child `pas` places after the active one in the order the children were
// opened, round the end; it is activated as a click does, with the same
// bookkeeping (its document becomes current).
void TBasewindow::enfant_voisin(int pas) {
  const QList<QPointer<QMdiSubWindow>> ordre = ordre_enfants();
  const int k = static_cast<int>(ordre.indexOf(mdi_->currentSubWindow()));
  if (QMdiSubWindow* s = sous_fenetre_suivante(ordre, k, pas)) activer(s->widget());
}

bool TBasewindow::commande_possible(Commande c) const {
  if (!commandes_[indice(c)]) return false;
  if (besoin_fenetre_video(c) && !(videos_ && videos_->creer_fenetre_video)) return false;
  if (c == Commande::reglages_video && !(videos_ && videos_->creer_dialogue_video)) return false;
  return true;
}

void TBasewindow::construire_barre() {
  int x = 4;
  for (const DefinitionBouton& d : table_boutons()) {
    auto* b = new CtlSpeedButton(Speedpanel1_);
    b->SetStyle(ubsExplorerColored);
    b->setGeometry(x, 4, 25, 24);
    x += d.espace_apres ? 34 : 26;
    if (data_) b->SetImageList(&data_->ImageList, images::kSmallIcons, d.image);
    b->setToolTip(d.indication);
    const Commande c = d.commande;
    boutons_[indice(c)] = b;
    const int sujet = d.sujet;
    connect(b, &CtlSpeedButton::clicked, this, [this, c, sujet] {
      if (sujet && aide_contextuelle) return afficher_aide(sujet);
      commande(c);
    });
    b->setEnabled(action(c)->isEnabled());
  }
}

QAction* TBasewindow::action(Commande c) const { return actions_[indice(c)]; }

CtlSpeedButton* TBasewindow::bouton(Commande c) const { return boutons_[indice(c)]; }

void TBasewindow::regler(Commande c, bool actif) {
  const bool possible = commande_possible(c);
  if (QAction* a = action(c)) a->setEnabled(actif && possible);
  if (CtlSpeedButton* b = bouton(c)) b->setEnabled(actif && possible);
}

void TBasewindow::cocher_options() {
  const param_vue& v = etat.vue;
  const std::pair<Commande, std::uint8_t> marques[] = {
      {Commande::maillage, v.maillage_filaire},  {Commande::echelle_fixe, v.echelle_fixe},
      {Commande::deformation, v.deformation},    {Commande::arbres, v.foret},
      {Commande::ombre_portee, v.ombre_portee},  {Commande::brume, v.brume},
      {Commande::details, v.premier_plan},       {Commande::horizon, v.horizon},
      {Commande::reflet, v.reflet},              {Commande::photo, v.photo_aerienne},
      {Commande::parametres_detailles, etat.video.detail}, {Commande::image_brute, image_brute},
      {Commande::courbes_niveau, courbes_niveau}};
  for (const auto& [c, valeur] : marques) action(c)->setChecked(valeur != 0);
}

void TBasewindow::activer_elements() {
  const int mc = etat.montagne_courante;
  ContexteActivation x;
  x.editeur_ouvert = mc >= 1 && mc <= NOMBRE_MAX_MONTAGNES && edition_ouverte[mc];
  x.edition_active = edition_active != 0;
  x.enfants = !mdi_->subWindowList().isEmpty();
  x.occupe = occupe != 0;
  const FenetreVue* vue = etat.vue_courante ? fenetre_vue(etat.vue_courante) : nullptr;
  x.statistiques = vue && vue->a_statistiques;
  for (QTreeWidgetItemIterator it(TreeView1_); *it; ++it) ++x.noeuds_explorateur;
  x.cameras = tableau_cameras != nullptr;
  for (const DefinitionCommande& d : table_commandes())
    if (d.regle != Regle::libre) regler(d.id, regle_satisfaite(d.regle, etat, x));
  if (!commande_active(Commande::fichier_depart, etat, x)) {
    action(Commande::fichier_depart)->setChecked(false);
    etat.demarrer_sur_fichier = false;
  }
  if (x.noeuds_explorateur <= 1 && TreeView1_->isVisible()) basculer_explorateur();
}
