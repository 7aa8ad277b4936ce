// A whole degree-11 mountain document with distortion maps and colours:
// written through the safe file routine and read back into a new document.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "app/document.h"
#include "platform/fichiers.h"
#include "app/sections.h"
#include "model/aleatoire.h"

namespace {

document_lu document_degre_11() {
  document_lu d;
  d.parametres = param_mat_defaut();
  d.parametres.maillage = 11;
  d.parametres.deformation = 1;
  d.parametres.photo_aerienne = 1;
  d.parametres.texte[0] = "benchmark";
  d.terrain = std::make_unique<Tmatrice>(d.parametres);
  Tmatrice& m = *d.terrain;
  set_seed(11);
  for (std::int32_t j = 1; j <= m.n; ++j)
    for (std::int32_t i = 1; i + j <= m.n + 1; ++i) {
      m.hauteurs->ecrire(i, j, static_cast<std::int32_t>(Random(6001)) - 2000);
      m.dx->ecrire(i, j, static_cast<std::uint8_t>(Random(256)));
      m.dy->ecrire(i, j, static_cast<std::uint8_t>(Random(256)));
      m.photo->ecrire(i, j, Random(0x1000000u));
    }
  for (std::int32_t k = 0; k < 5000; ++k) {
    m.liste_i[k] = static_cast<std::uint16_t>(1 + k % 1000);
    m.liste_j[k] = static_cast<std::uint16_t>(1 + k / 1000);
    m.liste_type[k] = static_cast<std::uint16_t>(11 + k % 4);
    m.liste_attribut[k] = static_cast<std::uint16_t>(1 + k % 63);
  }
  m.nombre_elements = 5000;
  return d;
}

std::string chemin_bench() {
  return (std::filesystem::temp_directory_path() / ("quorvel-bench-" + std::to_string(::getpid()) + ".mat")).string();
}

void DocumentWrite(benchmark::State& state) {
  document_lu d = document_degre_11();
  const std::string chemin = chemin_bench();
  std::size_t taille = 0;
  for (auto _ : state) {
    const std::string octets = texte_document(d, GenreDocument::montagne);
    if (!ecrire_fichier(chemin, octets).empty()) state.SkipWithError("write failed");
    taille = octets.size();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * taille));
  state.counters["file_MB"] = static_cast<double>(taille) / 1e6;
  std::filesystem::remove(chemin);
}

void DocumentRead(benchmark::State& state) {
  document_lu d = document_degre_11();
  const std::string chemin = chemin_bench();
  const std::string octets = texte_document(d, GenreDocument::montagne);
  ecrire_fichier(chemin, octets);
  for (auto _ : state) {
    auto lu = lire_fichier(chemin, nullptr, kLectureDocument);
    document_lu r = lire_document(std::move(*lu), chemin, GenreDocument::montagne);
    benchmark::DoNotOptimize(r.terrain.get());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * octets.size()));
  std::filesystem::remove(chemin);
}

}  // namespace

BENCHMARK(DocumentWrite)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(DocumentRead)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
