// "Import ..." end to end on an offscreen main window, with the file dialog
// answered by the fake: the enabled item and button, the import dialog's
// filters, a bitmap imported twice into two slots, refused and unknown
// sources, the five-mountain refusal, a refused adoption, and closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QMdiArea>
#include <set>

#include "app/aide.h"
#include "app/commandes_import.h"
#include "app/dialogues_qt.h"
#include "fenetres/attente.h"
#include "controls/button.h"
#include "controls/speedbutton.h"
#include "import/fenetre_import.h"
#include "render/bmp.h"
#include "tests/app/programme_test_support.h"

namespace {

// Records the captions the progress windows take.
struct Legendes : QObject {
  std::vector<QString> vues;
  std::set<QObject*> suivies;
  Legendes() { qApp->installEventFilter(this); }
  ~Legendes() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Show)
      if (auto* a = qobject_cast<TAttente*>(o); a && suivies.insert(a).second)
        connect(a, &TAttente::legendeChangee, this, [this](const QString& l) { vues.push_back(l); });
    return false;
  }
};

struct Import : ::testing::Test {
  QTemporaryDir dossier;
  ScopedFakeUserInterface ui;
  TData data;
  std::unique_ptr<TBasewindow> w;
  FakeDialoguesDocuments* dialogues = nullptr;

  void SetUp() override {
    ecrire_tout(dossier.path() + "/montagne.ini", options_exemple());
    w = std::make_unique<TBasewindow>(&data);
    auto d = std::make_unique<FakeDialoguesDocuments>();
    dialogues = d.get();
    w->utiliser_dialogues(std::move(d));
    ReglagesDemarrage r;
    r.executable = dossier.path() + "/quorvel";
    r.inscriptible = [](const QString&) { return true; };
    ASSERT_TRUE(w->FormCreate(r));
    w->show();
    w->etat.parametres.maillage = 5;
  }

  std::string chemin(const std::string& nom) const { return (dossier.path() + "/").toStdString() + nom; }
  // A flat bitmap of (100, 100, 100): every pixel decodes to 300.
  std::string bitmap_plat(const std::string& nom) {
    render::Bitmap b(300, 300, render::pixel_rgb(100, 100, 100));
    EXPECT_TRUE(render::ecrire_bmp(chemin(nom), b));
    return chemin(nom);
  }
  void importer(const std::string& fichier) {
    dialogues->imports.push_back(fichier);
    QAction* a = w->action(Commande::importer);
    ASSERT_TRUE(a->isEnabled());
    a->trigger();
  }
  TImportation* fenetre() const { return dynamic_cast<TImportation*>(w->importation.data()); }
  void supprimer_differes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

}  // namespace

TEST_F(Import, ItemAndButtonEnabledAndTheDialogHasBothCases) {
  EXPECT_TRUE(w->action(Commande::importer)->isEnabled());
  ASSERT_NE(w->bouton(Commande::importer), nullptr);
  EXPECT_TRUE(w->bouton(Commande::importer)->isEnabled());
  auto d = construire_dialogue_import(nullptr);
  EXPECT_EQ(d->windowTitle(), "Importation");
  EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(d->nameFilters(), (QStringList{"Elevation file ASCII-Z (TXT) (*.txt *.TXT)",
                                           "Digital Elevation File(DEM) (*.dem *.DEM)",
                                           "File bitmap (BMP) (*.bmp *.BMP)", "Geoconcept(MNT) (*.mnt *.MNT)"}));
  // Cancel, or a file that does not exist: nothing.
  w->action(Commande::importer)->trigger();
  importer(chemin("absent.txt"));
  EXPECT_EQ(w->importation, nullptr);
  EXPECT_EQ(w->import_ouvert, 0);
  EXPECT_EQ(dialogues->demandes_import, 2);
}

TEST_F(Import, ContextHelpShowsTopic4016AndAsksNothing) {
  w->aide_contextuelle = 1;
  w->action(Commande::importer)->trigger();
  emit w->bouton(Commande::importer)->clicked();
  EXPECT_EQ(dialogues->demandes_import, 0);
  EXPECT_EQ(w->aide()->CurrentTopic(), 4016);
  EXPECT_EQ(w->importation, nullptr);
}

TEST_F(Import, FlatBitmapImportedTwiceIntoTwoSlots) {
  importer(bitmap_plat("plat.bmp"));
  TImportation* t = fenetre();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(w->import_ouvert, 1);
  EXPECT_FALSE(w->etat.demarrage);
  ASSERT_TRUE(t->chargee());
  EXPECT_FALSE(t->CB_Lissage->isChecked());
  w->activer(t);
  w->touche_aide();  // F1 in the import window: its own topic
  EXPECT_EQ(w->aide()->CurrentTopic(), 4016);
  Legendes legendes;
  w->activer(t);
  t->BitBtn_importClick();
  EXPECT_NE(std::find(legendes.vues.begin(), legendes.vues.end(), "Importation doing ... "), legendes.vues.end());
  ASSERT_NE(w->cartes[1], nullptr);
  EXPECT_EQ(w->cartes[1]->windowTitle(), "#   1:  Imported mountain");
  EXPECT_EQ(w->etat.montagnes[1].type.parametres.texte[0], "Importation bitmap BMP");
  const Tmatrice& m = *w->etat.montagnes[1].terrain;
  const int n = m.n;
  EXPECT_EQ(n, 257);
  int ecrits = 0;
  for (int i = 2; i <= n; ++i)
    for (int j = 2; i + j <= n; ++j) {
      const int h = m.hauteurs->lire(i, j);
      if (h == 0) continue;  // a node whose source point fell outside the picture
      EXPECT_EQ(h, 254) << i << " " << j;
      ++ecrits;
    }
  EXPECT_GT(ecrits, n * n / 3);
  EXPECT_EQ(t->importation_faite, 0);
  EXPECT_FALSE(t->terrain);

  // The window stays open, and the next import lands in slot 2.
  EXPECT_EQ(w->importation, t);
  EXPECT_EQ(w->import_ouvert, 1);
  w->activer(t);
  t->BitBtn_importClick();
  ASSERT_NE(w->cartes[2], nullptr);
  EXPECT_EQ(w->cartes[2]->windowTitle(), "#   2:  Imported mountain");
  EXPECT_EQ(w->etat.nombre_montagnes, 2);
}

TEST_F(Import, RefusedSourceClosesTheWindowAndUsesNoSlot) {
  const std::string court = chemin("court.txt");
  std::string texte;
  for (int k = 0; k < 250; ++k) texte += "1 2 3\n";
  ecrire_tout(QString::fromStdString(court), texte);
  importer(court);
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].caption, "Import ");
  EXPECT_EQ(ui.entries[0].text,
            "The file " + court + " cannot be imported: a text grid needs at least 251 lines; this one has 250");
  EXPECT_EQ(w->import_ouvert, 0);
  EXPECT_EQ(w->importation, nullptr);
  supprimer_differes();
  EXPECT_TRUE(w->mdi()->subWindowList().isEmpty());
  EXPECT_EQ(w->etat.nombre_montagnes, 0);
}

TEST_F(Import, UnknownEndingOpensAnEmptyWindow) {
  const std::string autre = chemin("relief.xyz");
  ecrire_tout(QString::fromStdString(autre), "1 2 3\n");
  importer(autre);
  TImportation* t = fenetre();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(w->import_ouvert, 1);
  EXPECT_FALSE(t->chargee());
  EXPECT_FALSE(t->BitBtn_Importer->isEnabled());
  QKeyEvent entree(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(t, &entree);
  EXPECT_EQ(w->etat.nombre_montagnes, 0);
}

TEST_F(Import, FiveMountainsRefuseTheCommandAndARefusedAdoptionLeaksNothing) {
  const std::string plat = bitmap_plat("plat.bmp");
  importer(plat);
  QPointer<TImportation> t = fenetre();
  ASSERT_NE(t, nullptr);
  for (int k = 0; k < 5; ++k) w->action(Commande::nouvelle_montagne)->trigger();
  ASSERT_EQ(w->etat.nombre_montagnes, 5);
  ui.entries.clear();

  // The slots filled up after the window opened: the adoption is refused.
  w->activer(t);
  t->BitBtn_importClick();
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].text, "No room for the imported mountain (>5)");
  EXPECT_EQ(t->importation_faite, 0);
  EXPECT_TRUE(t->terrain);  // kept until the next import or the window's deletion

  // "Import ..." with five mountains open: the warning, and no new window.
  ui.entries.clear();
  importer(plat);
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].text, "No room for the imported mountain (>5)");
  EXPECT_EQ(ui.entries[0].caption, "Mountain ");
  EXPECT_EQ(w->importation, t);

  // Closing the window: the main window clears its flag and deletes it.
  t->sous_fenetre()->close();
  w->UpdateItems();
  EXPECT_EQ(w->import_ouvert, 0);
  EXPECT_EQ(w->importation, nullptr);
  supprimer_differes();
  EXPECT_EQ(t, nullptr);
}

TEST_F(Import, ASecondImportClosesAndDeletesTheWindowStillOpen) {
  importer(bitmap_plat("a.bmp"));
  QPointer<TImportation> premiere = fenetre();
  ASSERT_NE(premiere, nullptr);
  importer(bitmap_plat("b.bmp"));
  TImportation* seconde = fenetre();
  ASSERT_NE(seconde, nullptr);
  EXPECT_NE(seconde, premiere.data());
  supprimer_differes();
  EXPECT_EQ(premiere, nullptr);
  EXPECT_EQ(w->mdi()->subWindowList().size(), 1);
  EXPECT_EQ(w->import_ouvert, 1);
}
