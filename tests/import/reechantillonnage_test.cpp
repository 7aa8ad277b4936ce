// Resampling onto the lattice: heights at the default frame, frames over the
// source's edge, exact pixel hits, smoothing through its seam, cancel, aerial
// colours and overflowing scales.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "import_support.h"
#include "model/aleatoire.h"
#include "render/jpeg.h"
#include "tests/support/fakes.h"

using namespace import_test;

namespace {

// A bitmap source of W x H pixels couleur(x, y), read through the importer.
Importation source_bmp(const Dossier& d, int w, int h, const std::function<render::Pixel(int, int)>& couleur) {
  Importation imp;
  const std::string chemin = bmp(d, "s" + std::to_string(w) + "x" + std::to_string(h) + ".bmp", w, h, couleur);
  EXPECT_EQ(imp.importer(chemin, param_mat{}, nullptr, 0), "");
  return imp;
}

Importation source_dem(const std::string& octets) {
  Importation imp;
  EXPECT_EQ(importer_source(imp, "plat.dem", octets), "");
  return imp;
}

render::Pixel gris_100(int, int) { return render::pixel_rgb(100, 100, 100); }

// Every inner node's height, by value.
std::map<int, int> histogramme(const Tmatrice& t) {
  std::map<int, int> h;
  for (int i = 2; i <= t.n - 2; ++i)
    for (int j = 2; i + j <= t.n; ++j) ++h[t.hauteurs->lire(i, j)];
  return h;
}

bool bords_nuls(const Tmatrice& t) {
  for (int k = 1; k <= t.n; ++k)
    if (t.hauteurs->lire(1, k) != 0 || t.hauteurs->lire(k, 1) != 0 || t.hauteurs->lire(k, t.n + 1 - k) != 0)
      return false;
  return true;
}

// The source point of node (i, j) under the frame, worked out here from the
// frame's geometry: the triangle's rows run from its top vertex down to its
// base, stretched by 1.05 / 1.03 as the import has always done.
struct PointSource {
  long long x, y;
  double fx, fy;
};
PointSource point_source(const Importation& imp, int i, int j) {
  const double L = imp.cadre.cote(), Ht = L * 0.5 * 1.73205, cotes = std::pow(2.0, imp.degre);
  const double yp = (i - 1) / (cotes / Ht);
  const double du = (j - 1) / (cotes / L) + yp * ((L / Ht) * 0.5) - L / 2;
  const double dv = (Ht - yp / 1.03) * 1.05 - (Ht - L / 4);
  const double t = imp.cadre.rotation - 3.14159265358979323846;
  const double X = std::cos(t) * du - std::sin(t) * dv, Y = std::sin(t) * du + std::cos(t) * dv;
  const int x0 = Round(X), y0 = Round(Y);
  return {x0 + imp.cadre.cx, y0 + imp.cadre.cy, X - x0, Y - y0};
}

struct Appels {
  int nombre = 0;
  arguments_outil a;
  point_trace depart;
  ProgressSink* attente = nullptr;
  WindowHandle fenetre = 0;
  lisseur_import lisseur() {
    return [this](Tmatrice& t, const arguments_outil& args, controle_outil& c) {
      ++nombre;
      a = args;
      depart = t.trace.at(0);
      attente = c.attente;
      fenetre = c.fenetre;
    };
  }
};

}  // namespace

TEST(Reechantillonnage, FlatSourcesAtTheDefaultFrame) {
  Dossier d("flat");
  Importation imp = source_bmp(d, 300, 300, gris_100);
  imp.degre = 5;
  Appels appels;
  imp.faire_importation(nullptr, 0, appels.lisseur());
  ASSERT_TRUE(imp.terrain);
  EXPECT_EQ(imp.taille, 33);
  EXPECT_EQ(imp.terrain->nombre_noeuds, 33);
  EXPECT_EQ(imp.terrain->degre, 5);
  EXPECT_EQ(histogramme(*imp.terrain), (std::map<int, int>{{254, 465}}));
  EXPECT_TRUE(bords_nuls(*imp.terrain));
  EXPECT_EQ(imp.parametres.maillage, 5);
  EXPECT_EQ(imp.parametres.deformation, 0);
  EXPECT_EQ(imp.parametres.photo_aerienne, 0);
  EXPECT_FALSE(imp.terrain->photo);
  // Smoothing: flat runs stay flat, and degree 5 is not smoothed.
  imp.lissage = true;
  imp.faire_importation(nullptr, 0, appels.lisseur());
  EXPECT_EQ(histogramme(*imp.terrain), (std::map<int, int>{{254, 465}}));
  EXPECT_EQ(appels.nombre, 0);

  // Sea just below sea level: Round(-10 x 0.85) - 1.
  Importation bleu = source_bmp(d, 300, 301, [](int, int) { return render::pixel_rgb(0, 0, 255); });
  bleu.degre = 5;
  bleu.faire_importation(nullptr, 0);
  EXPECT_EQ(histogramme(*bleu.terrain), (std::map<int, int>{{-9, 465}}));

  // A flat DEM of level 1: S = 0.75, divided by the frame scale; the part
  // above 4000 is taken off first.
  Importation dem_1000 = source_dem(dem_plat(1, 121, 1000));
  dem_1000.degre = 7;
  dem_1000.faire_importation(nullptr, 0);
  EXPECT_EQ(histogramme(*dem_1000.terrain), (std::map<int, int>{{750, 8001}}));
  dem_1000.cadre.f = 0.5;
  dem_1000.faire_importation(nullptr, 0);
  EXPECT_EQ(histogramme(*dem_1000.terrain), (std::map<int, int>{{1500, 8001}}));
  Importation dem_5000 = source_dem(dem_plat(1, 121, 5000));
  dem_5000.degre = 7;
  dem_5000.faire_importation(nullptr, 0);
  EXPECT_EQ(histogramme(*dem_5000.terrain), (std::map<int, int>{{3000, 8001}}));
  // Level 2 scales by 720 / W; sea becomes Round(-10 x S).
  Importation dem_2 = source_dem(dem_plat(2, 120, 0));
  dem_2.degre = 6;
  dem_2.faire_importation(nullptr, 0);
  EXPECT_EQ(histogramme(*dem_2.terrain).begin()->first, -60);
}

TEST(Reechantillonnage, FrameOverTheEdgeAndExactPixelHits) {
  Dossier d("edge");
  // A noisy source: every node that falls on a pixel centre takes that pixel.
  std::mt19937 hasard(7);
  render::Bitmap bruit(300, 300);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x) {
      const auto v = static_cast<std::uint8_t>(hasard() % 200 + 20);
      bruit.at(x, y) = render::pixel_rgb(v, v, 10);
    }
  Importation imp = source_bmp(d, 300, 300, [&](int x, int y) { return bruit.at(x, y); });
  imp.degre = 8;
  imp.cadre.cx = 280;  // the frame hangs over the right and bottom edges
  imp.cadre.cy = 250;
  imp.cadre.rotation = 3.3;
  imp.faire_importation(nullptr, 0);
  const Tmatrice& t = *imp.terrain;
  int exacts = 0, dehors = 0, derniere_colonne = 0;
  for (int i = 2; i <= t.n - 2; ++i)
    for (int j = 2; i + j <= t.n; ++j) {
      const PointSource p = point_source(imp, i, j);
      if (p.x < 1 || p.x > 299 || p.y < 1 || p.y > 299) {
        ++dehors;
        ASSERT_EQ(t.hauteurs->lire(i, j), 0) << i << "," << j;
        continue;
      }
      const int h = imp.hauteur_pixel(static_cast<int>(p.x), static_cast<int>(p.y));
      const bool bord = p.x < 3 || p.x >= 298 || p.y < 3 || p.y >= 298;
      if (p.x == 299 || p.y == 299) ++derniere_colonne;
      if (bord || std::hypot(p.fx, p.fy) <= 0.05) {
        ++exacts;
        ASSERT_EQ(t.hauteurs->lire(i, j), Round(h * 0.85) - 1) << i << "," << j;
      }
    }
  EXPECT_GT(dehors, 1000);
  EXPECT_GT(derniere_colonne, 0);
  EXPECT_GT(exacts, 50);
}

TEST(Reechantillonnage, SmoothingThroughItsSeam) {
  Dossier d("smooth");
  const Importation bitmap = source_bmp(d, 300, 300, gris_100);
  const Importation dem = source_dem(dem_plat(1, 121, 1000));
  Fenetre fenetre;
  struct Cas {
    const Importation* source;
    int degre;
    int force;  // 0: no smoothing
  };
  const Cas cas[] = {{&bitmap, 6, 0}, {&bitmap, 7, 5}, {&bitmap, 8, 5}, {&bitmap, 9, 10},
                     {&dem, 7, 2},    {&dem, 9, 5},    {&dem, 6, 0}};
  for (const Cas& c : cas) {
    Importation imp;
    imp.grille = c.source->grille;
    imp.largeur = c.source->largeur;
    imp.hauteur = c.source->hauteur;
    imp.extension = c.source->extension;
    imp.dem = c.source->dem;
    imp.niveau_dem = c.source->niveau_dem;
    imp.minimum = c.source->minimum;
    imp.maximum = c.source->maximum;
    imp.cadre = c.source->cadre;
    imp.degre = static_cast<std::uint16_t>(c.degre);
    imp.lissage = true;
    FakeProgress attente;
    Appels appels;
    imp.faire_importation(&attente, fenetre.h, appels.lisseur());
    SCOPED_TRACE(std::string(imp.extension) + " degree " + std::to_string(c.degre));
    ASSERT_EQ(appels.nombre, c.force ? 1 : 0);
    if (!c.force) continue;
    EXPECT_EQ(appels.a.valeur, c.force);
    EXPECT_EQ(appels.a.outil, OUTIL_LISSAGE);
    EXPECT_EQ(appels.a.largeur_base_debut, 8000);
    EXPECT_EQ(appels.a.largeur_base_fin, 8000);
    EXPECT_EQ(appels.a.altitude_initiale_debut, -1000);
    EXPECT_EQ(appels.a.altitude_finale_debut, 4000);
    EXPECT_EQ(appels.attente, &attente);
    EXPECT_EQ(appels.fenetre, fenetre.h);
    const int n = imp.taille;
    EXPECT_EQ(appels.depart.i, Round(n * 0.333));
    EXPECT_EQ(appels.depart.j, Round(n * 0.333));
    EXPECT_TRUE(imp.terrain->trace.empty());
    EXPECT_EQ(attente.captions().at(0), "Importation doing ... ");
  }

  // The real smoothing through the edit dispatcher: the rim becomes sea rim
  // and the relief near it is rounded off.
  Importation imp = source_bmp(d, 300, 300, [](int x, int y) {
    const auto v = static_cast<std::uint8_t>((x * 7 + y * 3) % 200);
    return render::pixel_rgb(v, v, v);
  });
  imp.degre = 7;
  imp.faire_importation(nullptr, 0);
  const auto brut = histogramme(*imp.terrain);
  imp.lissage = true;
  imp.faire_importation(nullptr, 0);
  EXPECT_EQ(imp.terrain->hauteurs->lire(1, 1), -1000);
  EXPECT_NE(histogramme(*imp.terrain), brut);
}

TEST(Reechantillonnage, CancelStopsTheNodesAndSkipsTheSmoothing) {
  Dossier d("cancel");
  Importation imp = source_bmp(d, 300, 300, gris_100);
  imp.degre = 7;
  imp.lissage = true;
  Fenetre fenetre;
  FakeProgress attente;
  attente.cancel_at(100, fenetre.h);
  Appels appels;
  imp.faire_importation(&attente, fenetre.h, appels.lisseur());
  ASSERT_TRUE(imp.terrain);
  EXPECT_EQ(appels.nombre, 0);
  EXPECT_EQ(attente.tests(), 100);
  const auto h = histogramme(*imp.terrain);
  EXPECT_EQ(h.at(254), 99);
  EXPECT_EQ(h.at(0), 8001 - 99);
  // The bar moves 5 % every Round(n^2 x 0.025) nodes.
  FakeProgress complet;
  imp.lissage = false;
  imp.faire_importation(&complet, fenetre.h);
  EXPECT_EQ(complet.tests(), 8001);
  EXPECT_EQ(complet.total_increment(), 5 * (8001 / Round(129 * 129 * 0.025)));
}

TEST(Reechantillonnage, AerialColours) {
  Dossier d("photo");
  // The picture beside an elevation file is taken when it has the grid's size.
  const std::string txt = d.chemin("a.txt");
  ASSERT_EQ(ecrire_fichier(txt, grille_txt(251, 250, [](int, int) { return 700; })), "");
  Importation imp;
  ASSERT_EQ(imp.importer(txt, param_mat{}, nullptr, 0), "");
  EXPECT_FALSE(imp.charger_photo_aerienne(txt));
  ASSERT_TRUE(render::ecrire_jpeg(d.chemin("a.jpg"), render::Bitmap(249, 250, render::pixel_rgb(9, 9, 9)), 90));
  EXPECT_FALSE(imp.charger_photo_aerienne(txt));
  ASSERT_TRUE(render::ecrire_jpeg(d.chemin("a.jpg"), render::Bitmap(250, 250, render::pixel_rgb(9, 9, 9)), 90));
  EXPECT_TRUE(imp.charger_photo_aerienne(txt));
  EXPECT_TRUE(imp.utiliser_photo);

  // Colours that name their pixel; one marked pixel colour becomes black.
  render::Bitmap photo(250, 250);
  for (int y = 0; y < 250; ++y)
    for (int x = 0; x < 250; ++x)
      photo.at(x, y) = (x + y) % 17 == 0 ? render::pixel_rgb(5, 66, 121)
                                         : render::pixel_rgb(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 3);
  imp.photo = photo;
  imp.degre = 7;
  imp.cadre.cx = 60;  // part of the frame lies off the source
  imp.faire_importation(nullptr, 0);
  const Tmatrice& t = *imp.terrain;
  ASSERT_TRUE(t.photo);
  EXPECT_EQ(imp.parametres.photo_aerienne, 1);
  EXPECT_TRUE(imp.couleurs_photo);
  EXPECT_EQ(t.photo_presente, 1);
  int gris = 0, noirs = 0;
  for (int i = 2; i <= t.n - 2; ++i)
    for (int j = 2; i + j <= t.n; ++j) {
      const PointSource p = point_source(imp, i, j);
      const Rgb c = t.photo->lire(i, j);
      if (p.x < 1 || p.x > 249 || p.y < 1 || p.y > 249) {
        ++gris;
        ASSERT_EQ(c, (Rgb{128, 128, 128}));
      } else if ((p.x + p.y) % 17 == 0) {
        ++noirs;
        ASSERT_EQ(c, (Rgb{0, 0, 0}));
      } else {
        ASSERT_EQ(c, (Rgb{static_cast<std::uint8_t>(p.x), static_cast<std::uint8_t>(p.y), 3}));
      }
    }
  EXPECT_GT(gris, 0);
  EXPECT_GT(noirs, 0);

  // Unticked, or a picture of another size: no colour layer at all.
  imp.utiliser_photo = false;
  imp.faire_importation(nullptr, 0);
  EXPECT_FALSE(imp.terrain->photo);
  EXPECT_EQ(imp.parametres.photo_aerienne, 0);
  imp.utiliser_photo = true;
  imp.photo = render::Bitmap(10, 10);
  imp.faire_importation(nullptr, 0);
  EXPECT_FALSE(imp.terrain->photo);
  EXPECT_FALSE(imp.couleurs_photo);
}

TEST(Reechantillonnage, ExtremeMinimumDoesNotOverflow) {
  // 1101 wide keeps the scale of the range: (8000 + 2^31) / range.
  Importation imp;
  ASSERT_EQ(importer_source(imp, "x.txt", grille_txt(1102, 4, [](int q, int p) {
                              return q == 600 && p == 2 ? INT32_MIN : q == 500 && p == 3 ? 8000 : 1;
                            })),
            "");
  EXPECT_EQ(imp.minimum, INT32_MIN);
  EXPECT_EQ(imp.maximum, 8000);
  EXPECT_EQ(imp.largeur, 1101);
  imp.degre = 6;
  try {
    imp.faire_importation(nullptr, 0);
    ASSERT_TRUE(imp.terrain);
    for (const auto& [h, nombre] : histogramme(*imp.terrain)) EXPECT_TRUE(h >= -2000 && h <= 4000) << h;
  } catch (const ModelError&) {
    EXPECT_FALSE(imp.terrain);
  }
}
