// The sample documents the README offers, and the video review's fixture,
// drawn as the program draws them: sky along the top of every picture (no
// terrain hanging from it) and terrain within the frame; and the document
// tool's picture of a view is the one the program shows.
#include <gtest/gtest.h>

#include "platform/fichiers.h"
#include "tests/app/atelier.h"
#include "tests/tools/image_document.h"

namespace {

document_lu lire_echantillon(const std::string& nom, GenreDocument genre) {
  auto octets = lire_fichier(QUORVEL_SOURCE_DIR "/tests/data/" + nom);
  if (!octets) throw ErreurDocument(nom + " cannot be read");
  return lire_document(std::move(*octets), nom, genre);
}

// The share of the picture that is not the sky's colour, or -1 when the top
// row is not sky from end to end.
double part_du_terrain(const render::Bitmap& b) {
  const render::Pixel ciel = b.at(0, 0);
  for (int x = 0; x < b.width(); ++x)
    if (b.at(x, 0) != ciel) return -1;
  long terrain = 0;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x) terrain += b.at(x, y) != ciel;
  return double(terrain) / (double(b.width()) * b.height());
}

TEST(Echantillons, TheSamplesShowTheirLandscapeUnderTheSky) {
  struct Cas {
    const char* nom;
    GenreDocument genre;
    std::vector<int> images;
  } cas[] = {
      {"vallee.vue", GenreDocument::vue, {1}},
      {"film.vid", GenreDocument::video, {1, 50, 100, 150, 200}},
      {"tour.vid", GenreDocument::video, {1, 10, 19}},
  };
  for (const Cas& c : cas) {
    document_lu d = lire_echantillon(c.nom, c.genre);
    for (int image : c.images) {
      const double terrain = part_du_terrain(image_document(d, c.genre, image));
      EXPECT_GT(terrain, 0.05) << c.nom << " frame " << image << ": terrain hangs from the top, or none shows";
      EXPECT_LT(terrain, 0.95) << c.nom << " frame " << image;
    }
  }
}

// The document tool draws a view document as the program does on opening
// it (no picture beside it): the same size and every pixel, for the valley
// and for the valley under clouds with a rough, reflecting sea, mist and
// cast shadows.
TEST(Echantillons, TheToolDrawsAViewAsTheProgramShowsIt) {
  Atelier a(4);
  const document_lu echantillon = lire_echantillon("vallee.vue", GenreDocument::vue);
  param_vue ciel_et_mer = echantillon.vue;
  ciel_et_mer.horizon = ciel_et_mer.reflet = ciel_et_mer.brume = ciel_et_mer.ombre_portee = 1;
  ciel_et_mer.type_ciel = 1;
  ciel_et_mer.agitation_mer = 3;
  int cas = 0;
  for (const param_vue& vue : {echantillon.vue, ciel_et_mer}) {
    const std::string chemin = (a.dossier.path() + "/vue" + QString::number(++cas) + ".vue").toStdString();
    document_lu d = lire_echantillon("vallee.vue", GenreDocument::vue);
    d.vue = vue;
    ecrire_tout(QString::fromStdString(chemin), texte_document(d, GenreDocument::vue));
    a.dialogues->ouvertures.push_back(chemin);
    a.commande(Commande::ouvrir);
    TVuewindow* v = a.vue(a.w->etat.vue_courante);
    ASSERT_NE(v, nullptr);
    a.attendre_image(v);
    ASSERT_TRUE(v->image_existe());
    const render::Bitmap programme = v->image();
    document_lu relu = lire_echantillon("vallee.vue", GenreDocument::vue);
    relu.vue = vue;
    const render::Bitmap outil = image_document(relu, GenreDocument::vue, 1);
    ASSERT_EQ(QSize(outil.width(), outil.height()), QSize(programme.width(), programme.height())) << cas;
    long differents = 0;
    for (std::size_t k = 0; k < outil.pixels().size(); ++k) differents += outil.pixels()[k] != programme.pixels()[k];
    EXPECT_EQ(differents, 0) << "case " << cas;
  }
}

}  // namespace
