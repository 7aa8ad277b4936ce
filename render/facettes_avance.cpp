// The helpers' path of the terrain pass: the walk's lines handed to the team,
// which computes their vertices, their main facets' first decisions and,
// where no random draw is needed, their whole shading ahead; the lines then
// drawn in the walk's order from those results; and the lines kept from one
// render to the next.
#include "render/facettes_interne.h"

namespace render::detail_facettes {
namespace {

// Hands lines to the team: their vertices and main-facet geometry.
void Moteur::lancer_ligne(Ligne& l) {
  const std::size_t N = l.noeuds.size();
  l.triangles.resize(2 * N);
  l.sommets.resize(6 * N);
  l.complets.resize(2 * N);
  l.calculs.resize(2 * N);
  l.parts = std::int32_t((N + kNoeudsParPart - 1) / kNoeudsParPart);
  if (l.faites.size() < std::size_t(l.parts)) l.faites = std::vector<std::atomic<std::uint8_t>>(std::size_t(l.parts));
  for (std::int32_t k = 0; k < l.parts; ++k) l.faites[std::size_t(k)].store(0, std::memory_order_relaxed);
  l.nombre_faites.store(0, std::memory_order_relaxed);
  // The helpers read only the copied set-up, the line and the lattice.
  l.travail = [fx = fixes_.get(), &l, N](std::int32_t part) {
    const Fixes& fixes = *fx;
    // Neighbouring triangles share vertices: the last ones computed are kept.
    struct Memo {
      std::int32_t i = 0, j = 0;  // i = 0: empty
      bool complet = false;
      Sommet s;
    };
    std::array<Memo, 8> memo{};
    std::size_t suivant = 0;
    const std::size_t fin = std::min(N, std::size_t(part + 1) * kNoeudsParPart);
    TriangleBalayage deux[2];
    for (std::size_t k = 2 * std::size_t(part) * kNoeudsParPart; k < 2 * fin; ++k) {
      const NoeudLigne& nd = l.noeuds[k / 2];
      if (nd.i == 0) {
        l.complets[k] = false;
        continue;
      }
      if (k % 2 == 0) {
        triangles_noeud(fixes.secteur, fixes.bords, fixes.n, fixes.e, nd.i, nd.j, deux);
        l.triangles[k] = deux[0];
        l.triangles[k + 1] = deux[1];
      }
      const TriangleBalayage& t = deux[k % 2];
      Sommet* s = &l.sommets[3 * k];
      bool complet = true;
      for (std::size_t v = 0; v < 3; ++v) {
        const Memo* m = nullptr;
        for (const Memo& x : memo)
          if (x.i == t.i[v] && x.j == t.j[v]) m = &x;
        if (!m) {
          Memo& nouveau = memo[suivant];
          suivant = (suivant + 1) % memo.size();
          nouveau.i = t.i[v];
          nouveau.j = t.j[v];
          std::uint16_t mot = 0, genre = 0;
          if (fixes.vagues) lire_partage(*fixes.vagues, t.i[v], t.j[v], mot, genre);
          nouveau.complet = sommet_pur(fixes, t.i[v], t.j[v], mot, genre, nouveau.s);
          m = &nouveau;
        }
        s[v] = m->s;
        complet = complet && m->complet;
      }
      l.complets[k] = complet;
      if (!complet) continue;
      EntreeFacette f;
      f.a = {s[0].x, s[0].y, s[0].z};
      f.b = {s[1].x, s[1].y, s[1].z};
      f.c = {s[2].x, s[2].y, s[2].z};
      f.signe = double(t.signe);
      CalculFacette& calcul = l.calculs[k];
      calcul.geometrie = geometrie_facette(fixes.reglages, f);
      calcul.prealable = prealable(fixes, s);
      calcul.ombrage_pret = false;
      if (fixes.ombrage && calcul.prealable.limites && !calcul.geometrie.degenere) {
        // The node's cast shadow and cover entry as the drawing reads them.
        const std::int32_t ni = nd.i, nj = nd.j;
        calcul.ombre = fixes.ombres && fixes.ombres->lire(ni, nj) == 1;
        calcul.sol = 0;
        if (fixes.sol_noeud && fixes.hauteurs->lire(ni, nj) != -1000) {
          std::uint16_t mot = 0, genre = 0;
          lire_partage(*fixes.vagues, ni, nj, mot, genre);
          if (!(fixes.foret && genre > 10 && genre < 20) && genre != 1 && genre > 30 && genre < 40) calcul.sol = genre;
        }
        // Water: every vertex below the sea level (no photo here); it lies at the sea level.
        calcul.eau = calcul.prealable.sous_mer == 3;
        calcul.altitude = calcul.eau ? fixes.niveau_mer_vue : calcul.prealable.altitude;
        f.eau = calcul.eau;
        f.altitude = calcul.altitude;
        f.transparence = fixes.transparence;
        f.sol = calcul.sol;
        f.ombre = calcul.ombre;
        // A water glint's draw is left to the drawing.
        calcul.ombrage_pret = ombrage_seul(fixes.reglages, f, calcul.geometrie, calcul.compter, calcul.ombrage);
        const ResultatOmbrage& o = calcul.ombrage;
        if (calcul.ombrage_pret && calcul.eau) {
          const std::int32_t index =
              fixes.degre < 6 ? TMyPalette::kEau : (o.visible && o.indexe ? o.index : TMyPalette::kEau);
          calcul.couleur = fixes.palette->couleur(index, calcul.prealable.niveau_eau);
        } else if (calcul.ombrage_pret && o.visible && o.indexe) {
          calcul.couleur = fixes.palette->couleur(o.index, calcul.prealable.niveau);
        }
      }
    }
    l.faites[std::size_t(part)].store(1, std::memory_order_release);
    l.nombre_faites.fetch_add(1, std::memory_order_release);
  };
  equipe_->lancer(l.parts, l.travail);
}

// Computed lines' calls in the walk's order, each line only while the render
// is not cancelled.
void Moteur::dessiner_ligne(Ligne& l) {
  bool debut = true;
  const std::size_t N = l.noeuds.size();
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
    // The helpers' results lie in other cores' caches: ask for them ahead,
    // with the stored values of the node that examiner_noeud will read.
    if (const std::size_t a = m + kAvanceLecture; a < N) {
      if (l.noeuds[a].i != 0) anticiper(l.noeuds[a].i, l.noeuds[a].j);
      const char* s = reinterpret_cast<const char*>(&l.sommets[6 * a]);
      for (std::size_t o = 0; o < 6 * sizeof(Sommet); o += 64) __builtin_prefetch(s + o);
      const char* c = reinterpret_cast<const char*>(&l.calculs[2 * a]);
      for (std::size_t o = 0; o < 2 * sizeof(CalculFacette); o += 64) __builtin_prefetch(c + o);
      const char* t = reinterpret_cast<const char*>(&l.triangles[2 * a]);
      for (std::size_t o = 0; o < 2 * sizeof(TriangleBalayage); o += 64) __builtin_prefetch(t + o);
    }
    // The occupancy words that the facets a little ahead will test, from their first decisions.
    if (const std::size_t b = m + kAvanceOccupation;
        occupation_.data && b < N && l.faites[b / kNoeudsParPart].load(std::memory_order_acquire))
      for (std::size_t k = 2 * b; k < 2 * b + 2; ++k) {
        const Prealable& pr = l.calculs[k].prealable;
        if (l.complets[k] && pr.limites && pr.mx >= 0 && pr.my >= 0 && pr.mx < occupation_.width &&
            pr.my < occupation_.height)
          __builtin_prefetch(occupation_.row(pr.my) + pr.mx);
      }
    // A part still held by a helper: its triangles are made and computed here.
    const bool faite = l.faites[m / kNoeudsParPart].load(std::memory_order_acquire);
    TriangleBalayage propres[2];
    const TriangleBalayage* t = &l.triangles[2 * m];
    if (!faite) {
      triangles_noeud(fixes_->secteur, fixes_->bords, n_, extension_, nd.i, nd.j, propres);
      t = propres;
    }
    for (std::size_t q = 0; q < 2; ++q) {
      const std::size_t k = 2 * m + q;
      if (faite && l.complets[k])
        triangle_calcule(t[q], &l.sommets[3 * k], &l.calculs[k]);
      else
        triangle_calcule(t[q], nullptr, nullptr);
    }
    finir_noeud();
  }
}

// Lines for the walk to fill: drawn ones that no helper is still on, or new ones.
Ligne* Moteur::lignes_libres() {
  for (const std::unique_ptr<Ligne>& l : lignes_) {
    if (l.get() == remplie_ || l.get() == en_attente_) continue;
    if (l->nombre_faites.load(std::memory_order_acquire) < l->parts) continue;
    l->parts = 0;
    l->noeuds.clear();
    return l.get();
  }
  std::unique_ptr<Ligne> l;
  if (!reserve_lignes().empty()) {
    // Lines of an earlier render on this thread: their storage is already in memory.
    l = std::move(reserve_lignes().back());
    reserve_lignes().pop_back();
    l->parts = 0;
    l->noeuds.clear();
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

Moteur::~Moteur() {
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
