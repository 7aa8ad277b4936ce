// The helpers' path of the terrain pass: the walk's lines handed to the team,
// which computes their vertices, their main facets' first decisions and,
// where no random draw is needed, their whole shading ahead; the lines then
// drawn in the walk's order from those results; and the lines kept from one
// render to the next.
#include "render/facettes_interne.h"

#include <chrono>
#include <limits>

namespace render::detail_facettes {
namespace {

// Slots of a part's table of the vertices it holds: a part's triangles reach
// kRangeesParPart + 1 rows of vertices over kNoeudsParPart + kRangeesParPart + 1
// positions.
constexpr std::size_t kMemo = 256;
// How many nodes ahead a helper asks for the lattice's values.
constexpr std::size_t kAvanceSommet = 8;
static_assert(kMemo >= (kRangeesParPart + 1) * (kNoeudsParPart + kRangeesParPart + 1) && (kMemo & (kMemo - 1)) == 0);

std::int64_t horloge_ns() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The helpers that took part over most lines of the last render with helpers (0: none yet).
std::atomic<int>& aides_retenus() {
  static std::atomic<int> aides{0};
  return aides;
}

// A main facet's geometry, first decisions and, where it needs no random
// draw, its shading, from its three computed vertices.
void calculer_facette(const Fixes& fixes, const NoeudLigne& nd, const TriangleBalayage& t, const SommetsFacette& s,
                      CalculFacette& calcul) {
  EntreeFacette f;
  f.a = {s[0].x, s[0].y, s[0].z};
  f.b = {s[1].x, s[1].y, s[1].z};
  f.c = {s[2].x, s[2].y, s[2].z};
  f.signe = double(t.signe);
  const GeometrieFacette g = geometrie_facette(fixes.reglages, f);
  prealable(fixes, s, calcul.prealable);
  std::uint16_t drapeaux = 0;
  if (fixes.ombrage && calcul.prealable.limites && !g.degenere) {
    // The node's cast shadow and cover entry as the drawing reads them.
    const std::int32_t ni = nd.i, nj = nd.j;
    const bool ombre = fixes.ombres && fixes.ombres->lire(ni, nj) == 1;
    std::uint16_t sol = 0;
    if (fixes.sol_noeud && fixes.hauteurs->lire(ni, nj) != -1000) {
      std::uint16_t mot = 0, genre = 0;
      lire_partage(*fixes.vagues, ni, nj, mot, genre);
      if (!(fixes.foret && genre > 10 && genre < 20) && genre != 1 && genre > 30 && genre < 40) sol = genre;
    }
    // Water: every vertex below the sea level (no photo here); it lies at the sea level.
    const bool eau = calcul.prealable.sous_mer == 3;
    f.eau = eau;
    f.altitude = eau ? fixes.niveau_mer_vue : calcul.prealable.altitude;
    f.transparence = fixes.transparence;
    f.sol = sol;
    f.ombre = ombre;
    // A water glint's draw is left to the drawing.
    bool compter = false;
    ResultatOmbrage o;
    if (ombrage_seul(fixes.reglages, f, g, compter, o)) {
      calcul.sol = std::uint8_t(sol);
      drapeaux = std::uint16_t(CalculFacette::kPret | (compter ? CalculFacette::kCompter : 0) |
                               (ombre ? CalculFacette::kOmbre : 0) | (eau ? CalculFacette::kEau : 0));
      calcul.drapeaux = drapeaux;
      calcul.ranger(o);
      if (eau) {
        const std::int32_t index =
            fixes.degre < 6 ? TMyPalette::kEau : (o.visible && o.indexe ? o.index : TMyPalette::kEau);
        calcul.couleur = fixes.palette->couleur(index, calcul.prealable.niveau_eau);
      } else if (o.visible && o.indexe) {
        calcul.couleur = fixes.palette->couleur(o.index, calcul.prealable.niveau);
      }
      return;
    }
  }
  calcul.drapeaux = 0;
  calcul.ranger(g);
}

// A part of a line, for the walk's sector S (its triangles' shapes are then
// known when compiled). Neighbouring triangles share vertices: the part
// keeps, in a small table with one slot per vertex place (rows of vertices
// side by side take slots in turn), where it put each vertex in the line's
// table, so a vertex is looked up in one comparison and computed and kept
// once within the part. A vertex whose slot another took is put again at a
// new place: the facets that read the first one still find it.
template <int S>
void calculer_part(const Fixes& fixes, Ligne& l, std::int32_t part) {
  struct Place {
    std::int32_t i = std::numeric_limits<std::int32_t>::min(), j = 0;  // the vertex held (none at first)
    std::uint32_t k = 0;  // its place in the line's table
    bool complet = false;
  };
  std::array<Place, kMemo> places{};
  constexpr std::int32_t R = kRangeesParPart + 1;
  constexpr std::int32_t a = S < 2 ? R : S < 4 ? 1 : R + 1;
  constexpr std::int32_t b = S < 2 ? 1 : S < 4 ? R : 1;
  const auto place = [](std::int32_t i, std::int32_t j) {
    return std::size_t(std::uint32_t(a * i + b * j) & (kMemo - 1));
  };
  // Walking rows, the lines of a part reach the same storage rows side by
  // side, which the first line's requests bring: the others ask for nothing.
  constexpr bool premiere_seule = S == 2 || S == 3;
  const Ligne::Part decoupe = l.decoupe[std::size_t(part)];
  std::uint32_t suivant = decoupe.sommets;
  Sommet* const table = l.sommets.data();
  const std::size_t derniere = std::min(l.fins.size(), std::size_t(decoupe.rangee) + kRangeesParPart);
  TriangleBalayage deux[2];
  for (std::size_t r = std::size_t(decoupe.rangee); r < derniere; ++r) {
    const std::size_t debut = (r == 0 ? 0 : std::size_t(l.fins[r - 1]) + 1) + std::size_t(decoupe.position);
    const std::size_t fin = std::min(std::size_t(l.fins[r]), debut + kNoeudsParPart);
    // The lattice's values of the nodes a little ahead are asked for as the
    // drawing alone does: along columns and diagonals each node lies in
    // another storage row.
    const bool anticiper = !premiere_seule || r == std::size_t(decoupe.rangee);
    if (anticiper)
      for (std::size_t m = debut; m < std::min(fin, debut + kAvanceSommet); ++m)
        anticiper_sommet(fixes, l.noeuds[m].i, l.noeuds[m].j);
    for (std::size_t m = debut; m < fin; ++m) {
      const NoeudLigne& nd = l.noeuds[m];
      if (anticiper && m + kAvanceSommet < fin)
        anticiper_sommet(fixes, l.noeuds[m + kAvanceSommet].i, l.noeuds[m + kAvanceSommet].j);
      triangles_noeud<S>(fixes.bords, fixes.n, fixes.e, nd.i, nd.j, deux);
      for (std::size_t k = 2 * m; k < 2 * m + 2; ++k) {
        const TriangleBalayage& t = deux[k % 2];
        IndicesFacette& indices = l.indices[k];
        bool complet = true;
        for (std::size_t v = 0; v < 3; ++v) {
          Place& c = places[place(t.i[v], t.j[v])];
          if (c.i != t.i[v] || c.j != t.j[v]) {
            c.i = t.i[v];
            c.j = t.j[v];
            c.k = suivant++;
            std::uint16_t mot = 0, genre = 0;
            if (fixes.vagues) lire_partage(*fixes.vagues, t.i[v], t.j[v], mot, genre);
            c.complet = sommet_pur(fixes, t.i[v], t.j[v], mot, genre, table[c.k]);
          }
          indices.k[v] = c.k;
          complet = complet && c.complet;
        }
        if (complet)
          calculer_facette(fixes, nd, t, SommetsFacette(&table[indices.k[0]], &table[indices.k[1]], &table[indices.k[2]]),
                           l.calculs[k]);
        else
          indices.k[0] = kIncomplet;
      }
      l.faites[m].store(1, std::memory_order_release);
    }
  }
}

// Hands lines to the team: their vertices and main-facet geometry. A part
// takes kNoeudsParPart nodes at the same places of kRangeesParPart rows of
// the walk that follow each other: the rows between them share their
// vertices, which the part computes once and keeps once in the line's vertex
// table.
void Moteur::lancer_ligne(Ligne& l) {
  const std::size_t N = l.noeuds.size();
  // The tables only grow: shrunk and grown again from one line to the next,
  // they would be filled anew by the drawing thread, some hundreds of
  // kilobytes at a time.
  if (l.sommets.size() < 6 * N) l.sommets.resize(6 * N);
  if (l.indices.size() < 2 * N) l.indices.resize(2 * N);
  if (l.calculs.size() < 2 * N) l.calculs.resize(2 * N);
  if (l.faites.size() < N) l.faites = std::vector<std::atomic<std::uint8_t>>(N + kNoeudsParLot / 2);
  for (std::size_t m = 0; m < N; ++m) l.faites[m].store(0, std::memory_order_relaxed);
  l.decoupe.clear();
  const std::size_t rangees = l.fins.size();
  std::uint32_t sommets = 0;
  for (std::size_t r = 0; r < rangees; r += kRangeesParPart) {
    const std::size_t derniere = std::min(rangees, r + kRangeesParPart);
    std::int32_t longueur = 0;
    for (std::size_t q = r; q < derniere; ++q)
      longueur = std::max(longueur, l.fins[q] - (q == 0 ? 0 : l.fins[q - 1] + 1));
    for (std::int32_t position = 0; position < longueur; position += kNoeudsParPart) {
      l.decoupe.push_back({std::int32_t(r), position, sommets});
      for (std::size_t q = r; q < derniere; ++q) {
        const std::int32_t reste = l.fins[q] - (q == 0 ? 0 : l.fins[q - 1] + 1) - position;
        sommets += 6 * std::uint32_t(std::clamp(reste, 0, kNoeudsParPart));
      }
    }
  }
  l.parts = std::int32_t(l.decoupe.size());
  l.nombre_faites.store(0, std::memory_order_relaxed);
  l.finie.store(0, std::memory_order_relaxed);
  l.lancee = horloge_ns();
  const std::int32_t parts = l.parts;
  // The helpers read only the copied set-up, the line and the lattice.
  l.travail = [fx = fixes_.get(), &l, parts](std::int32_t part) {
    par_secteur(fx->secteur, [&](auto S) { calculer_part<S()>(*fx, l, part); });
    if (l.nombre_faites.fetch_add(1, std::memory_order_acq_rel) + 1 == parts)
      l.finie.store(horloge_ns(), std::memory_order_release);
  };
  l.lot = equipe_->lancer(l.parts, l.travail);
}

// Before a line is drawn: its parts that no helper took are computed here,
// and the number of helpers taking part follows what the line tells
// (ReglageAides). Two lines were drawn since it was handed out, except for
// the first one, which tells nothing.
void Moteur::attendre_ligne(Ligne& l) {
  const std::int64_t maintenant = horloge_ns();
  const bool finie = l.nombre_faites.load(std::memory_order_acquire) == l.parts;
  const std::int32_t propres = equipe_->aider(l.lot);
  const std::int64_t fin = finie ? l.finie.load(std::memory_order_acquire) : 0;
  const int avant = reglage_.aides();
  if (premiere_ligne_) {
    premiere_ligne_ = false;
    return;
  }
  const int apres = reglage_.ligne(l.parts, propres, fin != 0 ? double(fin - l.lancee) : -1.0,
                                   double(maintenant - l.lancee) / 2);
  if (apres != avant) equipe_->participants(apres);
}

// Computed lines' calls in the walk's order, each line only while the render
// is not cancelled.
void Moteur::dessiner_ligne(Ligne& l) {
  par_secteur(fixes_->secteur, [&](auto S) { dessiner_ligne<S()>(l); });
}

template <int S>
void Moteur::dessiner_ligne(Ligne& l) {
  bool debut = true;
  const std::size_t N = l.noeuds.size();
  const Sommet* const table = l.sommets.data();
  for (std::size_t m = 0; m < N; ++m) {
    const NoeudLigne& nd = l.noeuds[m];
    if (nd.i == 0) {
      debut = true;
      continue;
    }
    if (debut) {
      if (ctx_.annule()) break;
      drapeau_rangee_ = false;
      debut = false;
    }
    examiner_noeud(nd.i, nd.j);
    anticiper_ligne(l, m);
    // A node whose part a helper still holds: its triangles are computed here.
    const bool faite = l.faites[m].load(std::memory_order_acquire);
    TriangleBalayage t[2];
    triangles_noeud<S>(fixes_->bords, n_, extension_, nd.i, nd.j, t);
    for (std::size_t q = 0; q < 2; ++q) {
      const std::size_t k = 2 * m + q;
      const IndicesFacette& ix = l.indices[k];
      if (faite && ix.k[0] != kIncomplet) {
        const Sommet* const s[3] = {&table[ix.k[0]], &table[ix.k[1]], &table[ix.k[2]]};
        triangle_calcule(t[q], s, &l.calculs[k]);
      } else {
        triangle_calcule(t[q], nullptr, nullptr);
      }
    }
    finir_noeud();
  }
}

// The helpers' results lie in other cores' caches: the drawing asks for them
// ahead, with the stored values of the node that examiner_noeud will read;
// for a node a little nearer that its helper has done, for the vertices its
// facets name, and for the occupancy words they will test.
void Moteur::anticiper_ligne(const Ligne& l, std::size_t m) const {
  const std::size_t N = l.noeuds.size();
  if (const std::size_t a = m + kAvanceLecture; a < N) {
    if (l.noeuds[a].i != 0) anticiper_examen(l.noeuds[a].i, l.noeuds[a].j);
    __builtin_prefetch(&l.indices[2 * a]);
    const char* c = reinterpret_cast<const char*>(&l.calculs[2 * a]);
    for (std::size_t o = 0; o < 2 * sizeof(CalculFacette); o += 64) __builtin_prefetch(c + o);
  }
  if (const std::size_t a = m + kAvanceSommets; a < N && l.faites[a].load(std::memory_order_acquire))
    for (std::size_t k = 2 * a; k < 2 * a + 2; ++k) {
      const IndicesFacette& ix = l.indices[k];
      if (ix.k[0] == kIncomplet) continue;
      for (std::size_t v = 0; v < 3; ++v) __builtin_prefetch(&l.sommets[ix.k[v]]);
    }
  // The occupancy words that the facets a little ahead will test, from their first decisions.
  if (const std::size_t b = m + kAvanceOccupation;
      occupation_.data && b < N && l.faites[b].load(std::memory_order_acquire))
    for (std::size_t k = 2 * b; k < 2 * b + 2; ++k) {
      const Prealable& pr = l.calculs[k].prealable;
      if (l.indices[k].k[0] != kIncomplet && pr.limites && pr.case_occupation >= 0)
        __builtin_prefetch(occupation_.data + pr.case_occupation);
    }
}

// Lines for the walk to fill: drawn ones that no helper is still on, or new ones.
Ligne* Moteur::lignes_libres() {
  Ligne* libre = nullptr;
  if (lignes_.size() >= kLignesTournantes)
    for (const std::unique_ptr<Ligne>& l : lignes_) {
      if (l.get() == remplie_ || l.get() == en_attente_[0] || l.get() == en_attente_[1]) continue;
      if (l->nombre_faites.load(std::memory_order_acquire) < l->parts || l->finie.load(std::memory_order_acquire) == 0)
        continue;
      if (!libre || l->lancee < libre->lancee) libre = l.get();
    }
  if (libre) {
    libre->parts = 0;
    libre->noeuds.clear();
    libre->fins.clear();
    return libre;
  }
  std::unique_ptr<Ligne> l;
  if (!reserve_lignes().empty()) {
    // Lines of an earlier render on this thread: their storage is already in memory.
    l = std::move(reserve_lignes().back());
    reserve_lignes().pop_back();
    l->parts = 0;
    l->noeuds.clear();
    l->fins.clear();
  } else {
    l = std::make_unique<Ligne>();
  }
  l->noeuds.reserve(kNoeudsParLot + std::size_t(n_) + 2);
  lignes_.push_back(std::move(l));
  return lignes_.back().get();
}

std::vector<std::unique_ptr<Ligne>>& Moteur::reserve_lignes() {
  thread_local std::vector<std::unique_ptr<Ligne>> reserve;
  return reserve;
}

int Moteur::aides_depart(int aides) {
  const int retenus = aides_retenus().load(std::memory_order_relaxed);
  return retenus > 0 ? std::min(retenus, aides) : aides;
}

Moteur::~Moteur() {
  if (const int retenu = reglage_.retenu(); retenu > 0) aides_retenus().store(retenu, std::memory_order_relaxed);
  // The team goes first, so no helper still works on a line; the lines then
  // wait for the next render on this thread (a few of them: their storage,
  // some megabytes, would otherwise be allocated and touched anew each time).
  if (equipe_propre_)
    equipe_propre_.reset();
  else if (equipe_)
    equipe_->rendre();
  for (std::unique_ptr<Ligne>& l : lignes_)
    if (reserve_lignes().size() < kLignesGardees) reserve_lignes().push_back(std::move(l));
}

}  // namespace
}  // namespace render::detail_facettes
