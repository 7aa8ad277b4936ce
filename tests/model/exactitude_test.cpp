// Pinned results of the generator and of the Smoothing, Plateau, Stratum and
// Relief tools: digests of heights, distortion maps and feature lists taken
// before the passes were made fast. Any change of a single height or byte
// changes a digest.
#include <gtest/gtest.h>

#include <memory>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/outils.h"
#include "model/parallele.h"
#include "platform/messages.h"
#include "tests/support/fakes.h"
#include "tests/support/empreinte.h"

namespace {

// Passes of one generation.
struct Passes {
  int degre;
  int cle;
  bool iles = false, cuvette = false, oriente = false, deformation = false, gradins = false, terrasse = false;
  int plis = 0, erosion = 0, lissage = 0, rivage = 0, pente = 5, gradins_nombre = 5;
  bool plat = false;
  int profil = 60, etalement = 1;
};

param_mat parametres(const Passes& s) {
  param_mat p{};
  p.maillage = s.degre;
  p.relief = 100;
  p.profil = s.profil;
  p.etalement = s.etalement;
  p.cle = s.cle;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  for (auto& w : p.profils_iter) w = 2;
  p.iles = s.iles;
  p.cuvette = s.cuvette;
  p.oriente = s.oriente;
  p.hauteur_plis = s.plis;
  p.deformation = s.deformation;
  p.degre_deformation = 50;
  p.erosion = s.erosion;
  p.altitude_erosion = 100;
  p.taux_lissage = s.lissage;
  p.rivage_actif = s.rivage != 0;
  p.rivage = s.rivage;
  p.hauteur_rivage = 50;
  p.gradins = s.gradins;
  p.nombre_gradins = s.gradins_nombre;
  p.pente_gradins = s.pente;
  p.terrasse = s.terrasse;
  return p;
}

std::unique_ptr<Tmatrice> generer(const Passes& s) {
  auto t = std::make_unique<Tmatrice>(parametres(s));
  bool continuer = true;
  t->generer_montagne(nullptr, 0, continuer, s.plat);
  EXPECT_TRUE(continuer);
  return t;
}

struct Cas {
  Passes passes;
  std::uint64_t attendu;
};

void verifier(const Cas& c) {
  const auto t = generer(c.passes);
  EXPECT_EQ(hexa(empreinte_terrain(*t)), hexa(c.attendu)) << "degree " << c.passes.degre << ", key " << c.passes.cle;
}

// The terrain and the state the shared generator is left in.
std::uint64_t empreinte_generation(const Tmatrice& t) {
  Empreinte e;
  e.valeur(empreinte_terrain(t));
  e.valeur(seed());
  return e.valeur();
}

// Every call a progress window received, in order.
std::uint64_t empreinte_appels(const FakeProgress& attente) {
  Empreinte e;
  for (const FakeProgress::Call& c : attente.calls) {
    e.octets(c.op.data(), c.op.size());
    e.valeur(c.has_caption);
    e.octets(c.caption.data(), c.caption.size());
    e.valeur(c.increment);
  }
  return e.valeur();
}

// Runs one tool from a one-node stroke at (i0, j0).
void outil(Tmatrice& t, std::int32_t code, std::int32_t largeur, std::int32_t valeur, std::int32_t bas,
           std::int32_t haut, std::int32_t sommet, std::int32_t i0, std::int32_t j0) {
  arguments_outil a{};
  a.outil = code;
  a.largeur_base_debut = largeur;
  a.largeur_sommet_debut = sommet;
  a.valeur = valeur;
  a.altitude_initiale_debut = bas;
  a.altitude_finale_debut = haut;
  t.debut_trace(i0, j0);
  controle_outil c;
  t.modifier(a, c);
  t.fin_trace();
  EXPECT_TRUE(c.continuer);
}

}  // namespace

TEST(Exactness, GeneratedTerrainsOfDegreesFourToNine) {
  const Cas cas[] = {
      {{.degre = 4, .cle = 101, .iles = true, .erosion = 20, .lissage = 10}, 0x1df41f97151acaa8ull},
      {{.degre = 5, .cle = 202, .cuvette = true, .oriente = true, .plis = 5, .lissage = 20}, 0xfbd26835cada31dbull},
      {{.degre = 6, .cle = 303, .deformation = true, .gradins = true, .erosion = 30, .rivage = -20, .pente = -5},
       0xf60456d9af910aa1ull},
      {{.degre = 7,
        .cle = 404,
        .iles = true,
        .cuvette = true,
        .oriente = true,
        .deformation = true,
        .gradins = true,
        .plis = 3,
        .erosion = 20,
        .lissage = 10,
        .rivage = 10},
       0xcacefaa2a39b107dull},
      {{.degre = 8, .cle = 505, .gradins = true, .terrasse = true, .erosion = 10, .lissage = 30, .rivage = 25,
        .gradins_nombre = 8},
       0xcefda39615430e2full},
      {{.degre = 9,
        .cle = 606,
        .iles = true,
        .oriente = true,
        .deformation = true,
        .gradins = true,
        .plis = 8,
        .erosion = 40,
        .lissage = 40,
        .rivage = -30,
        .pente = 20},
       0x9d209f3a125ec351ull},
      {{.degre = 7, .cle = 707, .deformation = true, .plat = true}, 0x5302c98238d96d7dull},
  };
  for (const Cas& c : cas) verifier(c);
}

TEST(Exactness, GeneratedTerrainOfDegreeEleven) {
  verifier({{.degre = 11,
             .cle = 12345,
             .iles = true,
             .cuvette = true,
             .oriente = true,
             .deformation = true,
             .gradins = true,
             .plis = 5,
             .erosion = 20,
             .lissage = 10,
             .rivage = 10},
            0x75a15596dd0dd1e2ull});
}

// Each tool runs on a fresh copy of one generated terrain with distortion
// maps, whole or in a disc, with positive and negative strengths.
TEST(Exactness, SmoothingPlateauStratumAndRelief) {
  struct Appel {
    std::int32_t code, largeur, valeur, bas, haut, sommet, i0, j0;
    std::uint64_t attendu;
  };
  const Appel appels[] = {
      {OUTIL_LISSAGE, 8000, 20, -2000, 4000, 0, 86, 86, 0xae1df07614ca85b7ull},
      {OUTIL_LISSAGE, 3000, 35, -200, 1500, 0, 60, 90, 0x66895ffb7bdbe60eull},
      {OUTIL_LISSAGE, 5000, -40, -2000, 4000, 0, 100, 50, 0x67dcf7bb8bc8928full},
      {OUTIL_LISSAGE, 5000, 20, -2000, 4000, 0, 100, 50, 0xd5990c771c3619feull},
      {OUTIL_LISSAGE, 1500, -70, -500, 2500, 0, 200, 40, 0x28602ccd623b3e21ull},
      {OUTIL_LISSAGE, 2000, 40, -2000, 4000, 0, 3, 3, 0x582545897dc97a41ull},
      {OUTIL_PLATEAU, 8000, 12, 0, 900, 0, 86, 86, 0xd33319f334e95ea5ull},
      {OUTIL_PLATEAU, 4000, -20, 1200, 200, 30, 70, 70, 0x67b5a79643b6b18full},
      {OUTIL_PLATEAU, 3000, 25, 100, 4000, -40, 120, 40, 0xd33e1c9ad4d6a70aull},
      {OUTIL_STRATE, 4000, 0, -100, 1500, 60, 80, 80, 0xa6053819fcc8ce5aull},
      {OUTIL_RELIEF, 3000, 40, -2000, 4000, 60, 90, 60, 0xd5670a2034c6b3d0ull},
      {OUTIL_RELIEF, 2500, -30, 0, 3000, 80, 50, 110, 0xebdab663ffc4f27dull},
  };
  const auto modele = generer({.degre = 8, .cle = 4242, .deformation = true, .erosion = 10});
  for (const Appel& a : appels) {
    const auto t = generer({.degre = 8, .cle = 4242, .deformation = true, .erosion = 10});
    set_seed(77);
    outil(*t, a.code, a.largeur, a.valeur, a.bas, a.haut, a.sommet, a.i0, a.j0);
    EXPECT_EQ(hexa(empreinte_terrain(*t)), hexa(a.attendu)) << "tool " << a.code << ", strength " << a.valeur;
    EXPECT_NE(empreinte_terrain(*t), empreinte_terrain(*modele)) << "tool " << a.code << " changed nothing";
  }
}

// Steep profiles (an extra draw for some displacements) and dispersion, the
// generator's state after the growth included.
const Cas kCasPentus[] = {
    {{.degre = 9, .cle = 808, .iles = true, .deformation = true, .erosion = 20, .lissage = 10, .profil = 80,
      .etalement = 2},
     0x67351f30e54ea6d8ull},
    {{.degre = 10, .cle = 909, .cuvette = true, .oriente = true, .deformation = true, .gradins = true, .plis = 4,
      .rivage = 15, .profil = 95, .etalement = 3},
     0xa226122876886c5full},
    {{.degre = 8, .cle = 111, .oriente = true, .plis = 2, .profil = 72}, 0x55869e482eeee22bull},
    {{.degre = 11, .cle = 12345, .deformation = true, .profil = 85}, 0x876875bdbde18409ull},
};

TEST(Exactness, SteepProfilesAndDispersionWithTheGeneratorState) {
  for (const Cas& c : kCasPentus) {
    const auto t = generer(c.passes);
    EXPECT_EQ(hexa(empreinte_generation(*t)), hexa(c.attendu)) << "degree " << c.passes.degre << ", key " << c.passes.cle;
  }
}

// The same terrains grow whatever the number of helpers sharing the loops,
// each loop shared as widely as the count allows.
TEST(Exactness, SameTerrainsWithAnyHelperCount) {
  const model::Partage avant = model::partage();
  for (int aides : {0, 1, 3, 7}) {
    model::fixer_partage({.aides = aides, .part_minimale = 0});
    for (const Cas& c : kCasPentus) {
      const auto t = generer(c.passes);
      EXPECT_EQ(hexa(empreinte_generation(*t)), hexa(c.attendu)) << aides << " helpers, degree " << c.passes.degre;
    }
  }
  model::fixer_partage(avant);
}

// With a progress window the same terrain grows, with the same polls and the
// same gauge; a cancel at a given poll leaves the same partial terrain.
TEST(Exactness, GenerationWithProgressAndCancels) {
  struct Fenetre {
    WindowHandle h = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
    ~Fenetre() { platform::unregister_window(h); }
  } fenetre;
  const Passes passes{.degre = 7,
                      .cle = 4321,
                      .iles = true,
                      .deformation = true,
                      .gradins = true,
                      .plis = 3,
                      .erosion = 20,
                      .lissage = 10,
                      .rivage = 10,
                      .profil = 80};
  const auto reference = generer(passes);
  const std::uint64_t attendue = empreinte_generation(*reference);
  {
    FakeProgress attente;
    auto t = std::make_unique<Tmatrice>(parametres(passes));
    bool continuer = false;
    t->generer_montagne(&attente, fenetre.h, continuer, false);
    EXPECT_TRUE(continuer);
    EXPECT_EQ(hexa(empreinte_generation(*t)), hexa(attendue));
    EXPECT_EQ(attente.tests(), 70128);
    EXPECT_EQ(attente.total_increment(), 860);
    EXPECT_EQ(attente.calls.size(), 70295u);
    EXPECT_EQ(hexa(empreinte_appels(attente)), hexa(0x7102f126a9dde6f6ull));
  }
  struct Annulation {
    int poll, polls;
    std::uint64_t attendu;
  };
  // The poll of the cancel and the polls made in all: in the subdivision, erosion, smoothing, shore and terraces.
  const Annulation annulations[] = {
      {1, 1, 0x4545bafb26cd6d91ull},         {37, 37, 0xf89f9c4392b6ec73ull},
      {400, 400, 0xf70730ca4488ebddull},     {900, 900, 0x59ecfda830fb3991ull},
      {2500, 2500, 0x021a0b82e9fd3167ull},   {9000, 9000, 0x3bca94784b06b08eull},
      {19700, 19701, 0x348c0ee46ff893a7ull}, {30000, 30000, 0x10ccedd324f9d429ull},
      {60000, 60000, 0x2a52168254702fa7ull},
  };
  for (const Annulation& a : annulations) {
    FakeProgress attente;
    attente.cancel_at(a.poll, fenetre.h);
    auto t = std::make_unique<Tmatrice>(parametres(passes));
    bool continuer = true;
    t->generer_montagne(&attente, fenetre.h, continuer, false);
    EXPECT_FALSE(continuer);
    EXPECT_EQ(attente.tests(), a.polls);
    EXPECT_EQ(hexa(empreinte_generation(*t)), hexa(a.attendu)) << "cancel at poll " << a.poll;
    platform::peek(fenetre.h, platform::WM_CANCEL, platform::WM_CANCEL, true);
  }
}

// Profiles on both sides of the steep threshold, with and without distortion,
// dispersion, islands and basin, at degrees 6 and 9: one digest of all.
TEST(Exactness, SubdivisionOverProfilesAndDispersion) {
  Empreinte e;
  for (int degre : {6, 9})
    for (int profil : {45, 65, 75, 99})
      for (bool deformation : {false, true})
        for (int etalement : {1, 3}) {
          const bool iles = (profil + etalement) % 2 == 0;
          const auto t = generer({.degre = degre,
                                  .cle = 1000 + profil,
                                  .iles = iles,
                                  .cuvette = !iles && deformation,
                                  .deformation = deformation,
                                  .profil = profil,
                                  .etalement = etalement});
          e.valeur(empreinte_generation(*t));
        }
  EXPECT_EQ(hexa(e.valeur()), hexa(0x15064f3fe6ed1e8cull));
}
