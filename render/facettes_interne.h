// The facet engine's own parts, shared by its files only: a facet's vertex,
// its first decisions and what the helpers compute ahead for it, the
// picture's set-up copied for the helpers, the walk's lines, and the two
// classes of the engine (the drawing of a facet and the walk that feeds it).
//
// The engine's files are compiled as one unit (render/CMakeLists.txt) and
// everything here has internal linkage, as when the engine was one file: the
// compiler then inlines the steps of the facet drawing and of the walk. A new
// file of the engine is named facettes_*.cpp, so that it joins that unit, and
// its local names must not clash with those of the other files.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "model/aleatoire.h"
#include "render/balayage.h"
#include "render/camera.h"
#include "render/contexte.h"
#include "render/dessin_arbre.h"
#include "render/equipe.h"
#include "render/facettes.h"
#include "render/ombrage.h"
#include "render/subdivision.h"

namespace render::detail_facettes {
namespace {

constexpr int kMaxSous = 33;

// A vertex of the current facet.
struct Sommet {
  double x = 0.0, y = 0.0, z = 0.0;  // world point, z relative to the target altitude
  double d = 0.0;                    // depth along the view direction, positive in front
  Point ecran;
  bool sous_mer = false;             // its node lies below the sea level
  bool riviere = false;              // its node carries a river
  std::uint8_t classe = 0;           // what the first decisions test of it alone (classer)
};

// The three vertices of a facet, wherever they lie: side by side in a
// buffer, in the sub-lattice's table, or in a line's vertex table, where the
// helpers keep each vertex once for all the facets that share it.
struct SommetsFacette {
  std::array<const Sommet*, 3> p{};
  SommetsFacette() = default;
  explicit SommetsFacette(const Sommet* trois) : p{trois, trois + 1, trois + 2} {}
  SommetsFacette(const Sommet* a, const Sommet* b, const Sommet* c) : p{a, b, c} {}
  const Sommet& operator[](std::size_t k) const { return *p[k]; }
};

// The bits of Sommet::classe: a node's vertex is shared by up to six facets,
// so the tests of prealable that read one vertex alone are made once, when
// the vertex is computed (every place that computes a vertex calls classer).
constexpr std::uint8_t kDevant = 1;         // depth beyond `proche`
constexpr std::uint8_t kRejete = 2;         // rejected (behind the observer, or far beside the picture)
constexpr std::uint8_t kEcran = 4;          // on the screen
constexpr std::uint8_t kEcranArbre = 8;     // on the screen, or near below it for a node's tree
constexpr std::uint8_t kDansLimite = 16;    // within the limits
constexpr std::uint8_t kBord = 32;          // left or right of the picture

// What the drawing of a facet first decides from its vertices alone: a pure
// function of the vertices and the picture's set-up, so helpers may compute
// it ahead of the drawing.
struct Prealable {
  bool limites = false;        // every vertex within the limits, one in front, none rejected
  std::int8_t ecran = 0;       // vertices on the screen
  std::int8_t ecran_arbre = 0; // the same, counting near vertices below the screen for a node's tree
  std::int8_t sous_mer = 0;    // vertices whose node lies below the sea level
  bool bords = false;          // a vertex lies left or right of the picture
  bool grand = false;          // a foreground sub-lattice would be worth it
  std::int8_t niveau_sous = 0; // and its level (niveau_subdivision of the screen half-extents)
  std::int8_t niveau = 0, niveau_eau = 0;  // mist levels (1..32) at the altitude and at the sea level
  std::int32_t altitude = 0;   // of the highest vertex
  std::int32_t occupation = 0; // depth + 1000 of the third vertex, for the occupancy buffer
  std::int32_t case_occupation = -1;  // the occupancy word at the centre pixel, -1 outside the buffer
};

// A main facet as the helpers prepare it, on one cache line: the drawing
// reads it from another core's cache.
struct alignas(64) CalculFacette {
  // The shading's cosines when it is ready, else the geometry's.
  double cos_soleil = 0.0, pente = 0.0, cos_vue = 0.0;
  Prealable prealable;
  std::int16_t index = 0;
  std::int8_t classe = 0;
  std::uint8_t sol = 0;   // the painted ground assumed
  Rgb couleur;            // the colour-table entry at its mist level (water, or a visible land facet)
  std::uint16_t drapeaux = 0;

  // The flags. The whole shading of a land or water facet, when it needs no
  // random draw, is "ready": valid for the drawing only with the water,
  // painted ground and cast shadow assumed here (and the altitude that goes
  // with the water).
  static constexpr std::uint16_t kPret = 1, kCompter = 2, kOmbre = 4, kEau = 8, kDegenere = 16, kVisible = 32,
                                 kIndexe = 64, kGris = 128, kEclaire = 256;
  bool drapeau(std::uint16_t d) const { return (drapeaux & d) != 0; }
  bool ombrage_pret() const { return drapeau(kPret); }
  bool compter() const { return drapeau(kCompter); }  // it counts in the slope statistics
  bool ombre() const { return drapeau(kOmbre); }
  bool eau() const { return drapeau(kEau); }

  // From a shading or a geometry just written: read field by field (the
  // volatile reads keep the compiler from reading two fields in one wider
  // word, which would wait for the writes to reach the cache).
  void ranger(const ResultatOmbrage& resultat) {
    const volatile ResultatOmbrage& o = resultat;
    cos_soleil = o.cos_soleil;
    pente = o.pente;
    cos_vue = o.cos_vue;
    index = std::int16_t(o.index);
    classe = std::int8_t(o.classe);
    drapeaux = std::uint16_t((drapeaux & (kPret | kCompter | kOmbre | kEau)) | (o.degenere ? kDegenere : 0) |
                             (o.visible ? kVisible : 0) | (o.indexe ? kIndexe : 0) | (o.gris ? kGris : 0) |
                             (o.eclaire ? kEclaire : 0));
  }
  void ranger(const GeometrieFacette& geometrie) {
    const volatile GeometrieFacette& g = geometrie;
    cos_soleil = g.cos_soleil;
    pente = g.pente;
    cos_vue = g.cos_vue;
    drapeaux = std::uint16_t((drapeaux & (kPret | kCompter | kOmbre | kEau)) | (g.degenere ? kDegenere : 0) |
                             (g.visible ? kVisible : 0));
  }
  // The shading when it is ready, written in place.
  void ombrage(ResultatOmbrage& o) const {
    o.degenere = drapeau(kDegenere);
    o.visible = drapeau(kVisible);
    o.indexe = drapeau(kIndexe);
    o.gris = drapeau(kGris);
    o.eclaire = drapeau(kEclaire);
    o.index = index;
    o.classe = classe;
    o.cos_soleil = cos_soleil;
    o.pente = pente;
    o.cos_vue = cos_vue;
  }
  // The geometry when the shading is not ready. Where the shading was made on
  // other assumptions than the drawing finds, the drawing makes the geometry
  // again from the vertices, which gives the same.
  GeometrieFacette geometrie() const {
    GeometrieFacette g;
    g.degenere = drapeau(kDegenere);
    g.visible = drapeau(kVisible);
    g.cos_vue = cos_vue;
    g.pente = pente;
    g.cos_soleil = cos_soleil;
    return g;
  }
};
static_assert(sizeof(CalculFacette) == 64);

// Copies of the picture's set-up that a vertex, a facet's geometry and its
// first decisions read, on lines of their own: the drawing writes its state
// (counters, the current facet, the context's current point) on every facet,
// and helpers reading values beside that state would take those lines from
// the drawing thread at each read.
struct alignas(64) Fixes {
  const RenderContext* ctx = nullptr;  // for the special cases of point_noeud
  // Node placement (placer): per lattice index 0..n + 2 and per height -4000..4000.
  bool tables = false;
  std::int32_t limite = 0;
  const double* x_i = nullptr;
  const double* demi_p_i = nullptr;
  const double* q_j = nullptr;
  const std::uint8_t* strate_h = nullptr;
  const Tnoeud* hauteurs = nullptr;
  const Tcooleen* dx = nullptr;
  const Tcooleen* dy = nullptr;
  bool deformation = false;
  double ty = 0.0, niveau_mer = 0.0, altitude_cible = 0.0;
  // Wave offsets of sea nodes.
  const Tcouverture* vagues = nullptr;
  bool decaler_vagues = false;
  std::int32_t degre = 0;
  double echelle_vagues = 0.0;
  // Camera.
  double ch = 1.0, sh = 0.0, cv = 1.0, sv = 0.0;
  std::int32_t D = 1;
  double fx = 1.0, fy = 1.0, cx = 0.0, cy = 0.0;
  std::array<double, 3> direction{};
  double ex = 0.0, ey = 0.0, ez = 0.0;
  // First decisions.
  double proche = 0.0, rejet = 0.0;
  std::int32_t largeur = 0, hauteur = 0, rangee_2h5 = 0;
  bool observateur_place = false;
  bool occupation = false;
  std::int32_t occupation_largeur = 0, occupation_hauteur = 0;
  bool brume = false;
  std::int32_t pas_brume = 0, hauteur_brume = 0, niveau_mer_vue = 0;
  double profondeur_sous_reseau = 0.0;
  // The walk: a node's triangles (triangles_noeud).
  int secteur = 0;
  BordsPas bords{1, 1, 0};
  std::int32_t n = 0, e = 0;
  // Facet geometry (eye and sun) and, where it draws nothing, the shading.
  ReglagesOmbrage reglages;
  const TMyPalette* palette = nullptr;
  bool ombrage = false;        // facets may be shaded ahead
  const Tcooleen* ombres = nullptr;  // cast shadow map, when shadows are on
  bool sol_noeud = false;      // the node's cover entry may give a painted ground
  bool foret = false;
  std::int32_t transparence = 0;
};

std::uint8_t classer(const Fixes& f, const Sommet& s);
void anticiper_sommet(const Fixes& f, std::int32_t i, std::int32_t j);
bool sommet_pur(const Fixes& f, std::int32_t i, std::int32_t j, std::uint16_t v, std::uint16_t t, Sommet& s);
void prealable(const Fixes& f, const SommetsFacette& s, Prealable& pr);
inline Prealable prealable(const Fixes& f, const SommetsFacette& s) {
  Prealable pr;
  prealable(f, s, pr);
  return pr;
}

// Half the screen extents of a facet, rounded.
inline void demi_etendue(const SommetsFacette& s, std::int32_t& wx, std::int32_t& wy) {
  std::int32_t xmin = s[0].ecran.x, xmax = xmin, ymin = s[0].ecran.y, ymax = ymin;
  for (std::size_t k = 1; k < 3; ++k) {
    xmin = std::min(xmin, s[k].ecran.x);
    xmax = std::max(xmax, s[k].ecran.x);
    ymin = std::min(ymin, s[k].ecran.y);
    ymax = std::max(ymax, s[k].ecran.y);
  }
  wx = demi_arrondie(std::int64_t(xmax) - xmin);
  wy = demi_arrondie(std::int64_t(ymax) - ymin);
}

// The cover words of a node while helpers read them (the wave offsets and
// rivers of their vertices) and the drawing clears the trees it takes: both
// sides go through atomic references. Outside the lattice nothing is read.
inline void lire_partage(const Tcouverture& c, std::int32_t i, std::int32_t j, std::uint16_t& premier,
                         std::uint16_t& second) {
  if (c.dehors(i, j)) return;
  auto& m = const_cast<mots_couverture&>(c.rangee(j)[std::size_t(i)]);
  premier = std::atomic_ref<std::uint16_t>(m.premier).load(std::memory_order_relaxed);
  second = std::atomic_ref<std::uint16_t>(m.second).load(std::memory_order_relaxed);
}
inline void effacer_partage(Tcouverture& c, std::int32_t i, std::int32_t j, std::uint16_t premier) {
  if (c.dehors(i, j)) return;
  auto& m = const_cast<mots_couverture&>(c.rangee(j)[std::size_t(i)]);
  std::atomic_ref<std::uint16_t>(m.premier).store(premier, std::memory_order_relaxed);
  std::atomic_ref<std::uint16_t>(m.second).store(0, std::memory_order_relaxed);
}

inline std::int32_t iabs(std::int32_t v) { return v < 0 ? -v : v; }

inline Point double_point(Point p) {
  auto d = [](std::int32_t v) {
    return std::int32_t(std::clamp<std::int64_t>(2 * std::int64_t(v), -(std::int64_t(1) << 30), std::int64_t(1) << 30));
  };
  return {d(p.x), d(p.y)};
}

inline std::uint8_t octet(std::int32_t v) { return std::uint8_t(std::clamp(v, 0, 255)); }
struct alignas(64) EntreeCache {
  std::uint32_t cle = 0;  // ((i << 16) | j) + 1, 0 when empty
  Sommet sommet;
};
constexpr std::uint32_t kCache = 8192;

// A node the walk visits, kept until its line is drawn; its two triangles are
// made again from it (triangles_noeud) and have the slots 2 m and 2 m + 1 of
// the line's computed values, m being its place. i = 0 marks the end of a
// walk line.
struct NoeudLigne {
  std::int32_t i = 0, j = 0;
};
// A part of the team's work: kNoeudsParPart nodes at the same places of
// kRangeesParPart walk lines that follow each other (they share vertices).
constexpr std::int32_t kNoeudsParPart = 32;
constexpr std::size_t kRangeesParPart = 4;
// Lines are handed to the team together until they hold this many nodes.
constexpr std::size_t kNoeudsParLot = 4096;
// How many nodes ahead the drawing asks for the helpers' results, and for the
// occupancy words its facets will test.
constexpr std::size_t kAvanceLecture = 12;
constexpr std::size_t kAvanceSommets = 6;
constexpr std::size_t kAvanceOccupation = 4;
// Lines a render takes in turn, the one drawn longest ago first: the helpers
// then write lines that have left the drawing thread's cache rather than
// those it has just read. Four are in use at once (one drawn, two with the
// team, one filled by the walk).
constexpr std::size_t kLignesTournantes = 6;
// Lines a thread keeps from one render to the next.
constexpr std::size_t kLignesGardees = kLignesTournantes;

// A main facet's vertices in its line's vertex table, or kIncomplet in the
// first place when one of them is left to the drawing.
struct IndicesFacette {
  std::array<std::uint32_t, 3> k{};
};
constexpr std::uint32_t kIncomplet = ~std::uint32_t(0);

// Lines of the walk: their nodes and what the team computes for them (the
// vertices, each once per part, and each main facet's vertices in that table
// with its first decisions and shading). The drawing makes a node's two
// triangles again (triangles_noeud): reading them from another core's cache
// would cost it more than making them.
struct Ligne {
  std::vector<NoeudLigne> noeuds;
  std::vector<std::int32_t> fins;  // the place of each walk line's end mark in noeuds
  // The parts: from walk line `rangee` on, the nodes from place `position` of
  // each; their vertices from place `sommets` of the vertex table on (room for
  // six per node, what a part's triangles could need at most).
  struct Part {
    std::int32_t rangee = 0, position = 0;
    std::uint32_t sommets = 0;
  };
  std::vector<Part> decoupe;
  std::vector<Sommet> sommets;
  std::vector<IndicesFacette> indices;
  std::vector<CalculFacette> calculs;
  std::function<void(std::int32_t)> travail;
  std::uint32_t lot = 0;  // the team's batch
  // Each node's flag, raised when its part has computed it.
  std::int32_t parts = 0;
  std::vector<std::atomic<std::uint8_t>> faites;
  std::atomic<std::int32_t> nombre_faites{0};
  // When the line was handed out, and when its last part was done (0 until
  // then; the line is filled again only after that).
  std::int64_t lancee = 0;
  std::atomic<std::int64_t> finie{0};
};

// The drawing of one facet and what it keeps: the facet's vertices, the state
// of the visited node, the pending tree and the near-zone sub-lattice. The
// walk (Moteur) fills that state and hands it the triangles in painter's
// order. The steps of dessiner_facette live in files of their own
// (facettes_dessin.cpp, facettes_terre.cpp, facettes_eau.cpp,
// facettes_sous_reseau.cpp); a node's world point and the picture's edge
// points sit with the vertices (facettes_sommets.cpp).
class DessinFacettes {
 protected:
  explicit DessinFacettes(RenderContext& ctx) : ctx_(ctx), vue_(ctx.vue), image_(ctx.image.surface()) {}
  ~DessinFacettes() = default;
  DessinFacettes(const DessinFacettes&) = delete;
  DessinFacettes& operator=(const DessinFacettes&) = delete;

  void finir_noeud();
  void monde_noeud(std::int32_t i, std::int32_t j, double& X, double& Y, double& Z);
  void dessiner_triangle(std::int32_t ci, std::int32_t cj, bool voisin);
  void dessiner_facette(bool sous);
  // The steps of dessiner_facette.
  void noter_bords();
  bool occupation_libre(const Prealable& pr);
  const ResultatOmbrage& ombrer_facette(bool sous, bool eau, bool photo, std::int32_t altitude, bool ombre,
                                        ResultatOmbrage& calcule, bool& d_avance);
  void dessiner_crete(const ResultatOmbrage& res, std::int32_t altitude, std::int32_t niveau, bool ombre);
  void dessiner_eau(const ResultatOmbrage& res, std::int32_t niveau, bool sous, bool d_avance);
  void dessiner_terre(const ResultatOmbrage& res, std::int32_t niveau, std::int32_t altitude, std::int32_t occupation,
                      bool sous, bool photo, bool d_avance);
  void dessiner_riviere(double p, std::int32_t niveau, bool ombre, bool visible);
  void sous_reseau(std::int32_t ci, std::int32_t cj, int niveau, double A_rugosite);
  void polygone(Pixel remplissage, Contour mode, Pixel contour);
  void polygone_occupe(Pixel couleur, std::int32_t occupation);
  void observer(bool sous, GenreFacette genre, std::int32_t index, Rgb couleur, std::int32_t niveau,
                std::int32_t lumiere, bool visible);
  void miroir(Rgb couleur, std::int32_t altitude);
  Rgb reflet_eau(Rgb couleur);
  void arbre(bool visible, double angle, std::int32_t altitude, std::int32_t classe);
  bool dans_zone(std::int32_t i, std::int32_t j) const {
    const auto& z = zone_;
    return z[0] <= i && i <= z[1] && z[2] <= j && j <= z[3] && i + j <= z[1] + z[3];
  }

  RenderContext& ctx_;
  const param_vue& vue_;
  Surface<Pixel> image_;
  ObservateurDessin* observateur_ = nullptr;

  ReglagesOmbrage reglages_;
  EtatOmbrage etat_;

  // Values of the picture.
  std::int32_t n_ = 0, degre_ = 0, largeur_ = 0, hauteur_ = 0;
  std::int32_t pas_ = 1, multiplicateur_ = 1;
  double proche_ = 0.0, rejet_ = 0.0;  // 1600 / n and -800 / n
  bool brume_ = false;
  bool photo_possible_ = false;
  bool vagues_ = false;  // the cover map gives sea nodes their wave offset
  bool examen_couverture_ = false;  // examiner_noeud reads the node's height and cover entry
  bool sous_deformation_ = false;
  std::int32_t ligne_reflet_ = 0;
  std::int32_t rangee_2h5_ = 0;
  std::int32_t extension_ = 0;  // the walk's row-end extension
  std::array<std::int32_t, 4> zone_{};  // the terrain's area to draw, which a render does not change
  bool etape_progression_ = false;      // a progress window or an event hook: the progress step has work
  std::uint16_t increment_ = 5;
  std::int64_t aire_budget_ = 0;
  double profondeur_gauche_ = 0.0, profondeur_droite_ = 0.0;
  Pixel vert_fil_ = pixel_rgb(0, 128, 0), blanc_ = pixel_rgb(255, 255, 255);

  // The visited node.
  bool drapeau_rangee_ = false;
  std::int32_t noeud_i_ = 0, noeud_j_ = 0;
  bool photo_ = false;
  Rgb photo_rgb_;
  bool riviere_ = false;
  std::uint16_t riviere_attribut_ = 0;
  std::uint16_t sol_ = 0;  // painted ground type of the node
  std::uint16_t arbre_type_ = 0, arbre_attribut_ = 0;
  std::int32_t arbre_noeud_ = 0;

  // The current facet.
  // The vertices of the current facet: those the helpers computed, or a copy.
  std::array<Sommet, 3> tampon_{};
  SommetsFacette s_{tampon_.data()};
  // The nodes (or sub-nodes) of its vertices, for a test observer only.
  std::array<std::array<std::int32_t, 2>, 3> noeuds_facette_{};
  double signe_ = 1.0;
  std::int32_t index_ = 0;
  std::int32_t cretes_suivies_ = 0;
  // What the triangle drawing reads back from the main facet.
  bool f_eau_ = false, f_visible_ = false, f_affichable_ = false, f_photo_ = false, f_eau_parent_ = false;
  double f_pente_ = 0.0;
  std::int32_t f_altitude_ = 0;
  std::uint16_t sol_parent_ = 0;

  // The pending tree.
  bool arbre_attente_ = false, arbre_reflet_ = false;
  Point point_reflet_;
  std::int32_t arbre_genre_ = 0;
  DessinArbre dessin_;

  // Near-zone sub-lattice.
  GrilleDecalages decalages_;
  std::int32_t sous_i_ = 0, sous_j_ = 0, sous_m_ = 0;
  std::array<Sommet, kMaxSous * kMaxSous> sous_{};
  Generateur eau_;
  // The walk's copied set-up, which outlives the walk's team that reads it,
  // and what the drawing reads of the main facet.
  std::unique_ptr<Fixes> fixes_;
  const CalculFacette* calcul_ = nullptr;  // of the main facet being drawn
  Prealable prealable_principal_;          // the main facet's first decisions, made here without helpers
  Surface<std::int32_t> occupation_{};  // the occupancy buffer's surface, when there is one
};

// The per-render engine: the sweep visitor, the vertices of its triangles and
// the lines it shares out to the team of helpers (facettes.cpp,
// facettes_sommets.cpp, facettes_avance.cpp).
class Moteur : private DessinFacettes {
 public:
  explicit Moteur(RenderContext& ctx);
  ~Moteur();
  Moteur(const Moteur&) = delete;
  Moteur& operator=(const Moteur&) = delete;
  void executer();

  // Sweep visitor. With a team, the calls of the walk are kept by whole lines:
  // when enough lines are kept, the team starts on their vertices and facet
  // geometry while the lines kept before are drawn, in the walk's order. A
  // line is drawn only while the render is not cancelled, as the walk itself
  // would have stopped before it.
  bool annule() const { return ctx_.annule(); }
  std::int32_t pas() const { return pas_; }
  void debut_rangee() {
    if (!equipe_) drapeau_rangee_ = false;
  }
  void noeud(std::int32_t i, std::int32_t j) {
    if (equipe_) {
      remplie_->noeuds.push_back({i, j});  // its stored values are asked for when it is drawn
    } else {
      anticiper(i + avance_i_ * pas_, j + avance_j_ * pas_);
      examiner_noeud(i, j);
    }
  }
  // With a team, lines keep their nodes alone.
  bool noeuds_seuls() const { return equipe_ != nullptr; }
  void triangle(const TriangleBalayage& t) { triangle_calcule(t, nullptr, nullptr); }
  void fin_noeud() {
    if (!equipe_) finir_noeud();
  }
  void fin_rangee();

 private:
  void examiner_noeud(std::int32_t i, std::int32_t j);
  // The triangle's vertices (computed beforehand when `sommets` is given, all
  // three or none) and, for its main facet, the shading geometry.
  void triangle_calcule(const TriangleBalayage& t, const Sommet* const* sommets, const CalculFacette* g);
  void lancer_ligne(Ligne& l);
  void attendre_ligne(Ligne& l);
  void dessiner_ligne(Ligne& l);
  template <int S>
  void dessiner_ligne(Ligne& l);
  void anticiper_ligne(const Ligne& l, std::size_t m) const;
  void preparer_placement();
  void anticiper(std::int32_t i, std::int32_t j) const;
  void anticiper_examen(std::int32_t i, std::int32_t j) const;
  void calculer_sommet(std::int32_t i, std::int32_t j, Sommet& s);

  std::unique_ptr<EntreeCache[]> cache_;
  // Node placement of the picture (placer): per lattice index 0..n + 2 the
  // plane terms of point_noeud, per height -4000..4000 its strata shift.
  std::vector<double> x_i_, demi_p_i_, q_j_;
  std::vector<std::uint8_t> strate_h_;
  bool deformation_ = false;
  // The walk's step along a line times the distance, in nodes, at which it
  // asks for the stored values of the nodes ahead.
  std::int32_t avance_i_ = 0, avance_j_ = 0;

  // Lines drawn through the team (large lattices, outside the editor): the
  // line being filled by the walk, the two handed to the team and waiting to
  // be drawn (the older first: the team computes the newer one while the
  // line before the older one is drawn, and goes on with the newer one
  // without a pause), and those drawn before, kept for the walk to fill
  // again once no helper held back is still computing a part of them (the
  // walk never waits: it takes new lines instead). The team goes first when
  // the engine ends, so no helper still works on the lines then.
  std::vector<std::unique_ptr<Ligne>> lignes_;
  Ligne* remplie_ = nullptr;
  std::array<Ligne*, 2> en_attente_{};
  Ligne* lignes_libres();
  static std::vector<std::unique_ptr<Ligne>>& reserve_lignes();
  // The helpers a render starts with: the count that held over most lines of the previous one.
  static int aides_depart(int aides);
  // The renders' resident team, or a team of this render's own when that one
  // is taken or smaller than the count asked for.
  Equipe* equipe_ = nullptr;
  std::unique_ptr<Equipe> equipe_propre_;
  // How many of the helpers take part: as many as keep the lines computed
  // ahead of the drawing.
  ReglageAides reglage_{0, 0};
  bool premiere_ligne_ = true;  // the first line awaited, handed out before any drawing
};

}  // namespace
}  // namespace render::detail_facettes
