// The sample documents the README offers, and the video review's fixture,
// drawn as the program draws them: sky along the top of every picture (no
// terrain hanging from it) and terrain within the frame.
#include <gtest/gtest.h>

#include "platform/fichiers.h"
#include "tests/tools/image_document.h"

namespace {

document_lu lire_echantillon(const std::string& nom, GenreDocument genre) {
  auto octets = lire_fichier(std::string(QUORVEL_SOURCE_DIR) + "/tests/data/" + nom);
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

}  // namespace
