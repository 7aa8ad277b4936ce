// The terrain body of a degree-11 mountain with distortion maps and colours,
// written to a file and read back; and tree placement on a generated
// degree-11 terrain.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/texte.h"

namespace {

param_mat parametres_bench(bool couches) {
  param_mat p;
  p.maillage = 11;
  p.deformation = couches;
  p.photo_aerienne = couches;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  return p;
}

// A rough terrain with full layers and a feature list, without the generator.
std::unique_ptr<Tmatrice> terrain_rempli() {
  auto m = std::make_unique<Tmatrice>(parametres_bench(true));
  set_seed(2024);
  for (std::int32_t j = 1; j <= m->n; ++j)
    for (std::int32_t i = 1; i + j <= m->n + 1; ++i) {
      m->hauteurs->ecrire(i, j, static_cast<std::int32_t>(Random(6001)) - 2000);
      m->dx->ecrire(i, j, static_cast<std::uint8_t>(Random(256)));
      m->dy->ecrire(i, j, static_cast<std::uint8_t>(Random(256)));
      m->photo->ecrire(i, j, Random(0x1000000u));
    }
  for (std::int32_t k = 0; k < m->capacite_liste - 1; ++k) {
    m->liste_i[k] = static_cast<std::uint16_t>(1 + k % 1000);
    m->liste_j[k] = static_cast<std::uint16_t>(1 + k / 1000);
    m->liste_type[k] = static_cast<std::uint16_t>(11 + k % 4);
    m->liste_attribut[k] = static_cast<std::uint16_t>(1 + k % 63);
  }
  m->nombre_elements = m->capacite_liste - 1;
  return m;
}

std::filesystem::path fichier_bench() { return std::filesystem::temp_directory_path() / "quorvel_body_bench.mat"; }

}  // namespace

static void Body_write(benchmark::State& state) {
  auto m = terrain_rempli();
  std::int64_t octets = 0;
  for (auto _ : state) {
    model::TextWriter w;
    m->ecrire_matrice(w);
    w.save(fichier_bench());
    octets += static_cast<std::int64_t>(w.bytes().size());
  }
  state.SetBytesProcessed(octets);
}
BENCHMARK(Body_write)->Name("Body/write")->Unit(benchmark::kMillisecond);

static void Body_read(benchmark::State& state) {
  {
    auto m = terrain_rempli();
    model::TextWriter w;
    m->ecrire_matrice(w);
    w.save(fichier_bench());
  }
  const auto taille = static_cast<std::int64_t>(std::filesystem::file_size(fichier_bench()));
  std::int64_t octets = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto lu = std::make_unique<Tmatrice>(parametres_bench(true));
    state.ResumeTiming();
    model::TextReader r = model::TextReader::from_file(fichier_bench());
    lu->lire_matrice(r);
    benchmark::DoNotOptimize(lu->nombre_elements);
    octets += taille;
    state.PauseTiming();
    lu.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(octets);
  std::filesystem::remove(fichier_bench());
}
BENCHMARK(Body_read)->Name("Body/read")->Unit(benchmark::kMillisecond);

static void Trees(benchmark::State& state) {
  param_mat p = parametres_bench(false);
  p.relief = 100;
  p.profil = 60;
  p.etalement = 1;
  p.cle = 12345;
  for (auto& w : p.profils_iter) w = 2;
  auto m = std::make_unique<Tmatrice>(p);
  bool continuer = true;
  m->generer_montagne(nullptr, 0, continuer, false);
  m->cle = 1234;
  std::array<couche_arbres, 4> couches{};
  const std::int32_t bandes[4][2] = {{0, 800}, {600, 1500}, {1200, 2200}, {2000, 3000}};
  for (int L = 0; L < 4; ++L) {
    couches[L].nombre = 400;
    couches[L].niveau_mini = bandes[L][0];
    couches[L].niveau_maxi = bandes[L][1];
    couches[L].transition = 200;
    couches[L].pente_maxi = 80;
    couches[L].groupes = 1;
  }
  for (auto _ : state) {
    m->creer_arbres(couches, nullptr, 0);
    benchmark::DoNotOptimize(m->nombre_elements);
  }
  state.counters["trees"] = m->nombre_elements;
}
BENCHMARK(Trees)->Unit(benchmark::kMillisecond);
