// Building terrains and driving the edit dispatcher in the tool tests.
#pragma once

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "model/matrice.h"
#include "model/outils.h"
#include "platform/messages.h"
#include "tests/support/fakes.h"

// A terrain of the given degree with every interior node at `hauteur` and the
// sea rim at -1000.
inline std::unique_ptr<Tmatrice> terrain_plat(int degre, std::int32_t hauteur, bool deformation = false) {
  param_mat p{};
  p.maillage = static_cast<decltype(p.maillage)>(degre);
  p.deformation = deformation;
  auto m = std::make_unique<Tmatrice>(p);
  m->nombre_noeuds = static_cast<std::uint16_t>(m->n);
  m->pas = static_cast<std::uint16_t>(m->n - 1);
  for (int i = 1; i <= m->n; ++i)
    for (int j = 1; i + j <= m->n + 1; ++j)
      m->hauteurs->ecrire(i, j, (i == 1 || j == 1 || i + j == m->n + 1) ? -1000 : hauteur);
  return m;
}

// A rough terrain of hills and valleys from a fixed formula, distortion maps
// shifted a little everywhere.
inline std::unique_ptr<Tmatrice> terrain_vallonne(int degre, bool deformation = true) {
  auto m = terrain_plat(degre, 0, deformation);
  const int n = m->n;
  for (int i = 2; i < n; ++i)
    for (int j = 2; i + j < n + 1; ++j) {
      double x = static_cast<double>(i) / n, y = static_cast<double>(j) / n;
      int h = static_cast<int>(900 * std::sin(9 * x) * std::cos(7 * y) + 400 * std::sin(23 * x * y) + 300);
      m->hauteurs->ecrire(i, j, h);
      if (deformation) {
        m->dx->ecrire(i, j, static_cast<std::uint8_t>(128 + (i * 7 + j * 3) % 21 - 10));
        m->dy->ecrire(i, j, static_cast<std::uint8_t>(128 + (i * 5 + j * 11) % 17 - 8));
      }
    }
  return m;
}

// A window to which the progress fake posts its cancel message.
struct FenetreTest {
  platform::WindowHandle h = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  ~FenetreTest() {
    while (platform::peek(h, 0, 0xFFFFFFFF, true)) {
    }
    platform::unregister_window(h);
  }
};

// Records the stroke and runs the dispatcher once, as the map editor does.
inline controle_outil appliquer(Tmatrice& m, arguments_outil a, const std::vector<std::pair<int, int>>& trace,
                                ProgressSink* attente = nullptr, platform::WindowHandle fenetre = 0,
                                MapCanvas* carte_1 = nullptr, MapCanvas* carte_2 = nullptr) {
  m.debut_trace(trace.front().first, trace.front().second);
  for (std::size_t k = 1; k < trace.size(); ++k) m.lire_trace(trace[k].first, trace[k].second);
  controle_outil c;
  c.attente = attente;
  c.fenetre = fenetre;
  c.carte_1 = carte_1;
  c.carte_2 = carte_2;
  m.modifier(a, c);
  m.fin_trace();
  return c;
}

inline std::vector<std::pair<int, int>> ligne_j(int i, int j_debut, int j_fin) {
  std::vector<std::pair<int, int>> t;
  for (int j = j_debut; j <= j_fin; ++j) t.emplace_back(i, j);
  return t;
}

// Every node's height, row by row.
inline std::vector<std::int32_t> hauteurs_de(const Tmatrice& m) {
  std::vector<std::int32_t> v;
  for (int i = 0; i <= m.n + 1; ++i)
    for (int j = 0; j <= m.n + 1; ++j) v.push_back(m.hauteurs->lire(i, j));
  return v;
}
