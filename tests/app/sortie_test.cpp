// The exit as a user meets it, on a started main window with the real file
// commands, card and view windows: a view read from its document and
// changed, a write that fails, an unsaved import beside a new mountain. Each
// answer is checked against the files on disk.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "app/document.h"
#include "import/fenetre_import.h"
#include "render/bmp.h"
#include "tests/app/atelier.h"
#include "tests/support/rendus.h"

namespace {

const render::Pixel kAvant = render::pixel_rgb(10, 20, 30);
const render::Pixel kApres = render::pixel_rgb(200, 100, 50);

// A copy of the sample view document opened with "&Open ..." and drawn.
struct VueLue : Atelier {
  QString chemin_vue, chemin_image;
  TVuewindow* v = nullptr;

  VueLue() {
    test_rendus::controle_rendus().couleur_factice = kAvant;
    chemin_vue = dossier.path() + "/vallee.vue";
    chemin_image = dossier.path() + "/vallee.bmp";
    EXPECT_TRUE(QFile::copy(QUORVEL_SOURCE_DIR "/tests/data/vallee.vue", chemin_vue));
    dialogues->ouvertures.push_back(chemin_vue.toStdString());
    commande(Commande::ouvrir);
    Programme::vider();
    v = vue(1);
    attendre_image(v);
  }
  // Ctrl+M with automatic refresh: the wire mesh, drawn anew.
  void changer() {
    test_rendus::controle_rendus().couleur_factice = kApres;
    w->activer(v);
    commande(Commande::maillage);
    QElapsedTimer t;
    t.start();
    while (!v->modifiee && t.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  std::string question() const {
    return "Before exit, do you want to save modifications on  N\u00b01  " + chemin_vue.toStdString() + " ?";
  }
};

// The colour of the first pixel of a 24-bit bitmap file (stored blue first).
render::Pixel premier_pixel(const QString& chemin) {
  const std::string b = lire_tout(chemin);
  if (b.size() < 57) return 0;
  return render::pixel_rgb(static_cast<std::uint8_t>(b[56]), static_cast<std::uint8_t>(b[55]),
                           static_cast<std::uint8_t>(b[54]));
}

}  // namespace

// Yes writes the changed view into its document with its new picture beside
// it; No leaves both as they were. Either way it is the only question: the
// view's own closing asks nothing afterwards.
TEST(Exit, AChangedViewReadFromItsDocumentIsSavedOnYes) {
  for (const bool oui : {true, false}) {
    SCOPED_TRACE(oui);
    VueLue a;
    ASSERT_NE(a.v, nullptr);
    const std::string avant = lire_tout(a.chemin_vue);
    ASSERT_NE(avant.find("Maillage filaire   =Non"), std::string::npos);
    a.changer();
    ASSERT_EQ(a.v->modifiee, 1);
    a.ui.entries.clear();
    a.ui.answers = {oui};
    a.w->close();
    Programme::vider();
    ASSERT_EQ(a.ui.entries.size(), 1u);
    EXPECT_EQ(a.ui.entries[0].text, a.question());
    EXPECT_TRUE(a.w->sortie);
    const std::string apres = lire_tout(a.chemin_vue);
    if (oui) {
      EXPECT_NE(apres.find("Maillage filaire   =Oui"), std::string::npos);
      EXPECT_EQ(premier_pixel(a.chemin_image), kApres);
    } else {
      EXPECT_EQ(apres, avant);
      EXPECT_FALSE(QFileInfo::exists(a.chemin_image));
    }
  }
}

// A Yes whose write fails (the picture's place is taken) stops the exit and
// says why, with the view still changed. Once the place is free, the next
// exit asks again and writes both.
TEST(Exit, AFailedWriteOfAChangedViewKeepsTheProgramOpen) {
  VueLue a;
  a.changer();
  ASSERT_TRUE(QDir().mkpath(a.chemin_image));
  a.ui.entries.clear();
  a.ui.answers = {true};
  a.w->close();
  ASSERT_EQ(a.ui.entries.size(), 2u);
  EXPECT_EQ(a.ui.entries[1].text.rfind("The picture " + a.chemin_image.toStdString() + " could not be written", 0),
            0u)
      << a.ui.entries[1].text;
  EXPECT_TRUE(a.w->isVisible());
  EXPECT_FALSE(a.w->sortie);
  EXPECT_EQ(a.v->modifiee, 1);
  ASSERT_TRUE(QDir(a.chemin_image).removeRecursively());
  a.ui.entries.clear();
  a.ui.answers = {true};
  a.w->close();
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_EQ(a.ui.entries[0].text, a.question());
  EXPECT_TRUE(a.w->sortie);
  EXPECT_EQ(premier_pixel(a.chemin_image), kApres);
  EXPECT_NE(lire_tout(a.chemin_vue).find("Maillage filaire   =Oui"), std::string::npos);
}

// An imported mountain never saved is asked about: no key makes it again.
// Yes saves it under the name chosen; No lets it go without another
// question. A new mountain made from its key alone, with a view open, goes
// without one.
TEST(Exit, AnUnsavedImportIsAskedAboutAndANewMountainIsNot) {
  for (const bool oui : {true, false}) {
    SCOPED_TRACE(oui);
    Atelier a;
    test_rendus::controle_rendus().couleur_factice = kAvant;
    const std::string source = (a.dossier.path() + "/plat.bmp").toStdString();
    ASSERT_TRUE(render::ecrire_bmp(source, render::Bitmap(64, 64, render::pixel_rgb(100, 100, 100))));
    a.dialogues->imports.push_back(source);
    a.commande(Commande::importer);
    auto* import = dynamic_cast<TImportation*>(a.w->importation.data());
    ASSERT_NE(import, nullptr);
    a.w->activer(import);
    import->BitBtn_importClick();
    ASSERT_EQ(a.w->etat.nombre_montagnes, 1);
    a.commande(Commande::nouvelle_montagne);
    a.commande(Commande::voir);
    a.attendre_image(a.vue(a.w->etat.vue_courante));
    ASSERT_EQ(a.w->etat.nombre_montagnes, 2);
    ASSERT_EQ(a.w->etat.nombre_vues, 1);
    const QString chemin = a.dossier.path() + "/imported.mat";
    a.dialogues->sauvegardes.push_back(chemin.toStdString());
    a.ui.entries.clear();
    a.ui.answers = {oui};
    a.w->close();
    Programme::vider();
    ASSERT_EQ(a.ui.entries.size(), 1u);
    EXPECT_EQ(a.ui.entries[0].text, "Before exit, do you want to save modifications on  N\u00b01  #   1 Imported mountain ?");
    EXPECT_TRUE(a.w->sortie);
    EXPECT_EQ(a.dialogues->demandes, oui ? std::vector{DialogueSauvegarde::montagne} : std::vector<DialogueSauvegarde>{});
    ASSERT_EQ(QFileInfo::exists(chemin), oui);
    if (oui) {
      document_lu d = lire_document(lire_tout(chemin), "imported.mat", GenreDocument::montagne);
      EXPECT_EQ(d.terrain->hauteurs->lire(5, 5), a.w->etat.montagnes[1].terrain->hauteurs->lire(5, 5));
    }
  }
}

// A copy of a mountain read from its file is asked about at exit, though the
// copy has no file: no key makes its terrain again. Yes saves the copy, with
// the heights it copied, under the name chosen. The mountain it was copied
// from, unchanged, and a copy of a new mountain made from its key alone go
// without a question.
TEST(Exit, ACopyOfAMountainItsKeyDoesNotMakeIsAskedAbout) {
  VueLue a;
  ASSERT_NE(a.v, nullptr);
  a.commande(Commande::dupliquer_montagne);
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::dupliquer_montagne);
  ASSERT_EQ(a.w->etat.nombre_montagnes, 4);
  const QString chemin = a.dossier.path() + "/copie.mat";
  a.dialogues->sauvegardes.push_back(chemin.toStdString());
  a.ui.entries.clear();
  a.ui.answers = {true};
  a.w->close();
  Programme::vider();
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_EQ(a.ui.entries[0].text, "Before exit, do you want to save modifications on  N\u00b02  New #  2 ?");
  EXPECT_TRUE(a.w->sortie);
  ASSERT_TRUE(QFileInfo::exists(chemin));
  document_lu d = lire_document(lire_tout(chemin), "copie.mat", GenreDocument::montagne);
  const Tnoeud& source = *a.w->etat.montagnes[1].terrain->hauteurs;
  for (const auto& [i, j] : {std::pair{5, 5}, std::pair{17, 9}, std::pair{2, 30}})
    EXPECT_EQ(d.terrain->hauteurs->lire(i, j), source.lire(i, j)) << i << ", " << j;
}
