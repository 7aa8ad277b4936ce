#include "render/facettes.h"

#include <algorithm>
#include <cmath>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <string_view>
#include <vector>

#include "model/aleatoire.h"
#include "render/balayage.h"
#include "render/camera.h"
#include "render/contexte.h"
#include "render/ombrage.h"
#include "render/dessin_arbre.h"
#include "render/equipe.h"
#include "render/subdivision.h"

namespace render {

namespace {

constexpr std::string_view kLegendeImage = "3D Image computation doing ...";
constexpr double kRacine3 = 1.732050807;
constexpr int kMaxSous = 33;

// A vertex of the current facet.
struct Sommet {
  double x = 0.0, y = 0.0, z = 0.0;  // world point, z relative to the target altitude
  double d = 0.0;                    // depth along the view direction, positive in front
  Point ecran;
  bool sous_mer = false;             // its node lies below the sea level
  bool riviere = false;              // its node carries a river
  std::int32_t i = 0, j = 0;         // its node (or sub-node)
};

// What the drawing of a facet first decides from its vertices alone: a pure
// function of the vertices and the picture's set-up, so helpers may compute
// it ahead of the drawing.
struct Prealable {
  bool limites = false;        // every vertex within the limits, one in front, none rejected
  std::int8_t ecran = 0;       // vertices on the screen
  std::int8_t ecran_arbre = 0; // the same, counting near vertices below the screen for a node's tree
  std::int8_t sous_mer = 0;    // vertices whose node lies below the sea level
  std::int32_t altitude = 0;   // of the highest vertex
  std::int32_t occupation = 0; // depth + 1000 of the third vertex, for the occupancy buffer
  std::int32_t mx = 0, my = 0; // centre pixel
  std::int32_t niveau = 0, niveau_eau = 0;  // mist levels at the altitude and at the sea level
  bool bords = false;          // a vertex lies left or right of the picture
  // The screen half-extents and whether a foreground sub-lattice would be worth it.
  std::int32_t wx = 0, wy = 0;
  bool grand = false;
};

// A main facet as the helpers prepare it.
struct CalculFacette {
  Prealable prealable;
  GeometrieFacette geometrie;
  // The whole shading of a land or water facet, when it needs no random draw:
  // valid for the drawing only with the water, altitude, painted ground and
  // cast shadow assumed here.
  bool ombrage_pret = false;
  bool compter = false;   // it counts in the slope statistics
  bool ombre = false;
  bool eau = false;
  std::int32_t altitude = 0;
  std::uint16_t sol = 0;
  ResultatOmbrage ombrage;
  Rgb couleur;  // the colour-table entry at its mist level (water, or a visible land facet)
};

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

// point_noeud of a node of the sweep (no height replaced), from the tables.
NoeudMonde placer(const Fixes& f, std::int32_t i, std::int32_t j, double& X, double& Y, double& Z) {
  if (!f.tables || i < 0 || j < 0 || i > f.limite || j > f.limite)
    return point_noeud(*f.ctx, i, j, std::nullopt, X, Y, Z);
  X = f.x_i[std::size_t(i)];
  Y = (f.q_j[std::size_t(j)] + f.demi_p_i[std::size_t(i)] - f.ty) * 8000;
  if (f.deformation) deformer(*f.dx, *f.dy, i, j, X, Y);
  NoeudMonde r;
  r.hauteur = f.hauteurs->lire(i, j);
  if (r.hauteur < -4000 || r.hauteur > 4000) return point_noeud(*f.ctx, i, j, std::nullopt, X, Y, Z);
  if (f.strate_h[std::size_t(r.hauteur + 4000)]) {
    X += 12;
    Y += 12;
  }
  altitude_noeud(r, f.niveau_mer, f.altitude_cible, Z);
  return r;
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

struct EntreeCache {
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
constexpr std::int32_t kNoeudsParPart = 32;
// Lines are handed to the team together until they hold this many nodes.
constexpr std::size_t kNoeudsParLot = 4096;
// How many nodes ahead the drawing asks for the helpers' results, and for the
// occupancy words its facets will test.
constexpr std::size_t kAvanceLecture = 12;
constexpr std::size_t kAvanceOccupation = 4;
// Lines a thread keeps from one render to the next.
constexpr std::size_t kLignesGardees = 4;

// Lines of the walk: their nodes and what the team computes for them (three
// vertices per triangle and the main facet's geometry and shading).
struct Ligne {
  std::vector<NoeudLigne> noeuds;
  std::vector<TriangleBalayage> triangles;  // made by the helpers
  std::vector<Sommet> sommets;
  std::vector<std::uint8_t> complets;  // all three vertices computed
  std::vector<CalculFacette> calculs;
  std::function<void(std::int32_t)> travail;
  // Parts of kNoeudsParPart nodes: each done part raises its flag.
  std::int32_t parts = 0;
  std::vector<std::atomic<std::uint8_t>> faites;
  std::atomic<std::int32_t> nombre_faites{0};
};

// The per-render engine: the sweep visitor and everything facet drawing keeps.
class Moteur {
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
  void triangle_calcule(const TriangleBalayage& t, const Sommet* sommets, const CalculFacette* g);
  void finir_noeud();
  void lancer_ligne(Ligne& l);
  void dessiner_ligne(Ligne& l);
  void preparer_placement();
  void anticiper(std::int32_t i, std::int32_t j) const;
  void calculer_sommet(std::int32_t i, std::int32_t j, Sommet& s);
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
  CompteursFacettes compteurs_;

  ReglagesOmbrage reglages_;
  EtatOmbrage etat_;

  // Values of the picture.
  std::int32_t n_ = 0, degre_ = 0, largeur_ = 0, hauteur_ = 0;
  std::int32_t pas_ = 1, multiplicateur_ = 1;
  double proche_ = 0.0, rejet_ = 0.0;  // 1600 / n and -800 / n
  bool brume_ = false;
  bool photo_possible_ = false;
  bool vagues_ = false;  // the cover map gives sea nodes their wave offset
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
  const Sommet* s_ = tampon_.data();
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
  // lines being filled by the walk, those handed to the team and waiting to
  // be drawn, and those drawn before, kept for the walk to fill again once
  // no helper held back is still computing a part of them (the walk never
  // waits: it takes new lines instead). The team goes first when the engine
  // ends, so no helper still works on the lines then.
  // The copied set-up outlives the team, which reads it.
  std::unique_ptr<Fixes> fixes_;
  std::vector<std::unique_ptr<Ligne>> lignes_;
  Ligne* remplie_ = nullptr;
  Ligne* en_attente_ = nullptr;
  Ligne* lignes_libres();
  static std::vector<std::unique_ptr<Ligne>>& reserve_lignes();
  std::unique_ptr<Equipe> equipe_;
  const CalculFacette* calcul_ = nullptr;  // of the main facet being drawn
  Prealable prealable_principal_;          // the main facet's first decisions, made here without helpers
  Surface<std::int32_t> occupation_{};  // the occupancy buffer's surface, when there is one
};

bool sommet_pur(const Fixes& f, std::int32_t i, std::int32_t j, std::uint16_t v, std::uint16_t t, Sommet& s);
Prealable prealable(const Fixes& f, const Sommet* s);

// Half the screen extents of a facet, rounded.
inline void demi_etendue(const Sommet* s, std::int32_t& wx, std::int32_t& wy) {
  std::int32_t xmin = s[0].ecran.x, xmax = xmin, ymin = s[0].ecran.y, ymax = ymin;
  for (std::size_t k = 1; k < 3; ++k) {
    xmin = std::min(xmin, s[k].ecran.x);
    xmax = std::max(xmax, s[k].ecran.x);
    ymin = std::min(ymin, s[k].ecran.y);
    ymax = std::max(ymax, s[k].ecran.y);
  }
  wx = Round((double(xmax) - xmin) * 0.5);
  wy = Round((double(ymax) - ymin) * 0.5);
}

Moteur::Moteur(RenderContext& ctx) : ctx_(ctx), vue_(ctx.vue), image_(ctx.image.surface()) {
  observateur_ = dynamic_cast<ObservateurDessin*>(ctx.observateur);
  if (!observateur_ || !observateur_->sans_cache) cache_ = std::make_unique<EntreeCache[]>(kCache);
  n_ = ctx.n;
  degre_ = ctx.degre;
  largeur_ = ctx.largeur;
  hauteur_ = ctx.hauteur;
  proche_ = 1600.0 / n_;
  rejet_ = -800.0 / n_;
  rangee_2h5_ = Round(hauteur_ * 2.5);
  extension_ = (degre_ < 6 || vue_.distance >= 4) ? 1 : 0;
  zone_ = ctx.terrain.zone_modifiee;
  etape_progression_ = ctx.attente || (degre_ > 6 && ctx.options.traiter_messages);
  multiplicateur_ = ctx.grossier ? 3 : 1;
  pas_ = ctx.pas_effectif;
  increment_ = degre_ > 7 ? 2 : 5;
  brume_ = degre_ > 4 && ctx.distance_km < 12 && vue_.brume;
  const Tmatrice& t = ctx.terrain;
  photo_possible_ = t.photo_presente && t.photo_enregistree && t.photo && vue_.photo_aerienne && degre_ >= 7;
  vagues_ = ctx.carte_vagues && vue_.agitation_mer > 0 && !ctx.passe_ombre;
  sous_deformation_ = (t.deformation && t.dx && t.dy && !ctx.editeur()) || (degre_ > 5 && vue_.strates);
  ligne_reflet_ = ctx.ciel ? ctx.ligne_terre : 0;
  eau_.depuis_horloge();

  ReglagesOmbrage& r = reglages_;
  r.herbe = vue_.niveau_herbe;
  r.rocher = vue_.niveau_rocher;
  r.recouvrement = vue_.zone_recouvrement;
  r.quart = Round(0.25 * (double(vue_.niveau_rocher) - vue_.niveau_herbe));
  r.neige = ctx.niveau_neige;
  r.delta_neige = vue_.delta_neige;
  r.delta_neige_s = ctx.delta_neige_s;
  r.niveau_sable = std::max(vue_.hauteur_sable, vue_.niveau_mer);
  r.point_haut = ctx.point_haut;  // the driver's highest point (10000 or the terrain's highest node)
  r.niveau_mer = vue_.niveau_mer;
  r.vague_max = ctx.vague_max;
  r.degre = degre_;
  r.agitation = vue_.agitation_mer;
  r.reflet = vue_.reflet;
  r.taux_reflet = vue_.taux_reflet;
  r.ombre_portee = vue_.ombre_portee && degre_ > 5 && !ctx.filaire && ctx.carte_ombres;
  r.strates = degre_ > 5 && vue_.strates;
  r.table_strates = ctx.table_strates.data();
  r.neige_soleil = vue_.neige_soleil;
  r.diversite = vue_.diversite_couleurs;
  r.elements = t.nombre_elements > 0;
  r.editeur = ctx.editeur();
  r.courbes = ctx.courbes_niveau;
  if (degre_ > 6) {
    r.courbe_haut = t.resultats_vue.altitude_maxi;
    r.courbe_bas = std::max(t.resultats_vue.altitude_mini, vue_.niveau_mer);
  } else {
    r.courbe_haut = ctx.courbes_maxi;
    r.courbe_bas = ctx.courbes_mini;
  }
  r.statistiques = ctx.statistiques;
  r.premier_plan = ctx.premier_plan;
  r.oeil = {ctx.ex, ctx.ey, ctx.ez};
  r.soleil = {ctx.soleil[0], ctx.soleil[1], ctx.soleil[2]};
  for (std::size_t k = 0; k < 5; ++k) etat_.historique[k] = 1.0;
  preparer_placement();
  if (ctx.occupation) occupation_ = ctx.occupation->surface();
  fixes_ = std::make_unique<Fixes>();
  Fixes& f = *fixes_;
  f.ctx = &ctx;
  f.tables = !x_i_.empty();
  f.limite = n_ + 2;
  f.x_i = x_i_.data();
  f.demi_p_i = demi_p_i_.data();
  f.q_j = q_j_.data();
  f.strate_h = strate_h_.data();
  f.hauteurs = t.hauteurs.get();
  f.dx = t.dx.get();
  f.dy = t.dy.get();
  f.deformation = deformation_;
  f.ty = ctx.ty;
  f.niveau_mer = ctx.niveau_mer;
  f.altitude_cible = ctx.altitude_cible;
  f.vagues = ctx.carte_vagues.get();
  f.decaler_vagues = vagues_;
  f.degre = degre_;
  f.echelle_vagues = ctx.echelle_vagues;
  f.ch = ctx.ch;
  f.sh = ctx.sh;
  f.cv = ctx.cv;
  f.sv = ctx.sv;
  f.D = ctx.D;
  f.fx = ctx.fx;
  f.fy = ctx.fy;
  f.cx = ctx.cx;
  f.cy = ctx.cy;
  f.direction = ctx.direction;
  f.ex = ctx.ex;
  f.ey = ctx.ey;
  f.ez = ctx.ez;
  f.proche = proche_;
  f.rejet = rejet_;
  f.largeur = largeur_;
  f.hauteur = hauteur_;
  f.rangee_2h5 = rangee_2h5_;
  f.observateur_place = vue_.observateur_place != 0;
  f.occupation = ctx.occupation.has_value();
  f.brume = brume_;
  f.pas_brume = ctx.pas_brume;
  f.hauteur_brume = ctx.hauteur_brume;
  f.niveau_mer_vue = vue_.niveau_mer;
  f.profondeur_sous_reseau = ctx.profondeur_sous_reseau;
  f.reglages = reglages_;
  f.palette = &ctx.palette;
  f.secteur = secteur(ctx.azimut_vue);
  f.bords = BordsPas(pas_, n_, extension_);
  f.n = n_;
  f.e = extension_;
  // Shading ahead: not in the map editor, the wire mesh or the shadow pass, not
  // over a photo, and without colour diversity (its draws keep their order).
  // Level curves send land facets through the water entries, which draw too.
  f.ombrage = !ctx.editeur() && !ctx.filaire && !ctx.passe_ombre && !photo_possible_ && reglages_.diversite <= 0 &&
              !reglages_.courbes;
  f.ombres = reglages_.ombre_portee ? ctx.carte_ombres.get() : nullptr;
  f.sol_noeud = degre_ >= 6 && (t.nombre_elements != 0 || vue_.agitation_mer != 0) && ctx.carte_vagues && reglages_.elements;
  f.foret = vue_.foret != 0;
  f.transparence = vue_.transparence;
  // A large lattice at stride 1: its lines are long enough to share out.
  const int aides = ctx.options.aides_facettes < 0 ? Equipe::aides_machine() : ctx.options.aides_facettes;
  if (!ctx.editeur() && n_ >= 257 && aides > 0) {
    equipe_ = std::make_unique<Equipe>(aides);
    remplie_ = lignes_libres();
  }
}

void Moteur::executer() {
  parcourir(ctx_.azimut_vue, n_, extension_, *this);
  if (equipe_) {
    // The lines still kept: those handed out last, then those not handed out.
    if (en_attente_) {
      equipe_->aider();
      dessiner_ligne(*en_attente_);
      en_attente_ = nullptr;
    }
    Ligne& reste = *remplie_;
    if (!reste.noeuds.empty()) {
      lancer_ligne(reste);
      equipe_->aider();
      dessiner_ligne(reste);
    }
  }
  ctx_.facettes_total += etat_.total;
  ctx_.facettes_faibles += etat_.faible;
  ctx_.facettes_moyennes += etat_.moyenne;
  ctx_.facettes_fortes += etat_.forte;
  if (observateur_) observateur_->compteurs(compteurs_);
}

// The terms of point_noeud that depend on one index or on the height alone,
// computed once per picture by the same expressions.
void Moteur::preparer_placement() {
  const RenderContext& c = ctx_;
  if (c.passe_ombre || c.projection_coins) return;  // point_noeud's special cases
  const Tmatrice& t = c.terrain;
  deformation_ = t.deformation && t.dx && t.dy && !c.editeur();
  const std::size_t m = std::size_t(n_) + 3;
  x_i_.resize(m);
  demi_p_i_.resize(m);
  q_j_.resize(m);
  for (std::size_t k = 0; k < m; ++k) {
    const double p = double(std::int32_t(k) - 1) / double(n_ - 1);
    x_i_[k] = (c.tx - p) * 4000 * 1.732050807;
    demi_p_i_[k] = p / 2;
    q_j_[k] = p;  // q of index k is p of index k
  }
  constexpr std::int32_t kAvance = 8;
  static constexpr std::int32_t pas_i[6] = {-1, 1, 0, 0, 1, -1}, pas_j[6] = {0, 0, 1, -1, -1, 1};
  const int sect = secteur(c.azimut_vue);
  avance_i_ = kAvance * pas_i[sect];
  avance_j_ = kAvance * pas_j[sect];
  strate_h_.assign(8001, 0);
  if (c.degre > 5 && c.vue.strates)
    for (std::int32_t h = -4000; h <= 4000; ++h) {
      if (!(h > c.vague_max + c.niveau_mer)) continue;
      const std::int32_t b = Round(h / 25.0);
      if (b >= 1 && b <= 160) {
        const std::uint8_t k = c.table_strates[std::size_t(b)];
        if (k == 3 || k == 5) strate_h_[std::size_t(h + 4000)] = 1;
      }
    }
}

// Asks the memory for the stored values of node (i, j), which the walk will
// reach a few nodes later: along rows and diagonals each node lies in another
// storage row.
void Moteur::anticiper(std::int32_t i, std::int32_t j) const {
  const Tmatrice& t = ctx_.terrain;
  if (i < 1 || j < 1 || i + j > n_ + 1) return;
  __builtin_prefetch(t.hauteurs->rangee(j) + i);
  if (ctx_.carte_vagues) __builtin_prefetch(ctx_.carte_vagues->rangee(j) + i);
  if (deformation_) {
    __builtin_prefetch(t.dx->rangee(j) + i);
    __builtin_prefetch(t.dy->rangee(j) + i);
  }
  if (photo_possible_) __builtin_prefetch(t.photo->rangee(j) + i);
}

// World point of node (i, j) as the sweep computes a vertex: distortion and
// strata from the camera's node transform, plus the wave offset of sea nodes.
void Moteur::monde_noeud(std::int32_t i, std::int32_t j, double& X, double& Y, double& Z) {
  const NoeudMonde nm = coordonnees_noeud(ctx_, i, j);
  X = ctx_.X;
  Y = ctx_.Y;
  Z = ctx_.Z;
  if (vagues_ && nm.hauteur != -1000 && degre_ >= 6) {
    std::uint16_t v = 0, t = 0;
    ctx_.carte_vagues->lire(i, j, v, t);
    if (t == 50) Z += (double(v) - 20) * ctx_.echelle_vagues;
  }
}

// The point of node (i, j) as calculer_sommet computes it, without the cache
// or the context, from the node's cover entry (v, t): false when its depth
// along the projection is exactly 0 (the projection then keeps the previous
// pixel, so the caller computes that vertex in order).
bool sommet_pur(const Fixes& f, std::int32_t i, std::int32_t j, std::uint16_t v, std::uint16_t t, Sommet& s) {
  double X = 0.0, Y = 0.0, Z = 0.0;
  const NoeudMonde nm = placer(f, i, j, X, Y, Z);
  s.i = i;
  s.j = j;
  s.x = X;
  s.y = Y;
  s.z = Z;
  s.sous_mer = nm.sous_mer;
  s.riviere = false;
  if (f.vagues) {
    if (t == 1) s.riviere = true;
    if (t == 50 && f.decaler_vagues && nm.hauteur != -1000 && f.degre >= 6) s.z += (double(v) - 20) * f.echelle_vagues;
  }
  if (!pixel_du_point(f, s.x, s.y, s.z, s.ecran)) return false;
  const auto& u = f.direction;
  s.d = (s.x - f.ex) * u[0] + (s.y - f.ey) * u[1] + (s.z - f.ez) * u[2];
  if (s.d == 0.0) s.d = 0.0001;
  return true;
}

void Moteur::calculer_sommet(std::int32_t i, std::int32_t j, Sommet& s) {
  // A node's point does not depend on when it is computed: the cache keeps the
  // points of the last rows (a direct-mapped table; two consecutive rows,
  // columns or diagonals never share a slot).
  const std::uint32_t cle = ((std::uint32_t(i) << 16) | std::uint32_t(j)) + 1;
  EntreeCache* e = nullptr;
  if (cache_) {
    e = &cache_[(std::uint32_t(i) * 2089u + std::uint32_t(j)) & (kCache - 1)];
    if (e->cle == cle) {
      s = e->sommet;
      return;
    }
  }
  const NoeudMonde nm = placer(*fixes_, i, j, s.x, s.y, s.z);
  s.i = i;
  s.j = j;
  s.sous_mer = nm.sous_mer;
  s.riviere = false;
  if (ctx_.carte_vagues) {
    std::uint16_t v = 0, t = 0;
    ctx_.carte_vagues->lire(i, j, v, t);
    if (t == 1) s.riviere = true;
    if (t == 50 && vagues_ && nm.hauteur != -1000 && degre_ >= 6) s.z += (double(v) - 20) * ctx_.echelle_vagues;
  }
  projeter_point(ctx_, s.x, s.y, s.z);
  s.ecran = pixel_projete(ctx_);
  const auto& u = ctx_.direction;
  s.d = (s.x - ctx_.ex) * u[0] + (s.y - ctx_.ey) * u[1] + (s.z - ctx_.ez) * u[2];
  if (s.d == 0.0) s.d = 0.0001;
  if (e) {
    e->cle = cle;
    e->sommet = s;
  }
}

// The node's photo colour and its cover entry (trees, rivers, painted ground).
void Moteur::examiner_noeud(std::int32_t i, std::int32_t j) {
  noeud_i_ = i;
  noeud_j_ = j;
  const Tmatrice& t = ctx_.terrain;
  photo_ = false;
  if (photo_possible_) {
    photo_ = true;
    photo_rgb_ = t.photo->lire(i, j);
    if (vue_.masque) {
      const std::int32_t tol = vue_.tolerance_masque;
      const std::int32_t c[3] = {photo_rgb_.r, photo_rgb_.g, photo_rgb_.b};
      bool masque = true;
      for (int k = 0; k < 3; ++k) masque = masque && iabs(c[k] - vue_.masque_rvb[std::size_t(k)]) < tol;
      if (masque) photo_ = false;
    }
  }
  if (degre_ < 6 || (t.nombre_elements == 0 && vue_.agitation_mer == 0) || ctx_.passe_ombre || !ctx_.carte_vagues)
    return;
  if (t.hauteurs->lire(i, j) == -1000) return;
  Tcouverture& carte = *ctx_.carte_vagues;
  std::uint16_t v = 0, k = 0;
  carte.lire(i, j, v, k);
  if (vue_.foret && k > 10 && k < 20) {
    arbre_noeud_ = n_ * j + i;
    arbre_type_ = k;
    arbre_attribut_ = v;
    effacer_partage(carte, i, j, v);
  } else if (k == 1) {
    riviere_ = true;
    riviere_attribut_ = v;
  } else if (k > 30 && k < 40) {
    sol_ = k;
  } else if (k == 50) {
    // The wave offset belongs to the node's world point (calculer_sommet).
  } else if (ctx_.pas_effectif > 1) {
    const std::int32_t r = std::min(ctx_.rayon_couverture, 2);
    for (std::int32_t a = i - r; a <= i + r; ++a)
      for (std::int32_t b = j - r; b <= j + r; ++b) {
        std::uint16_t va = 0, ka = 0;
        carte.lire(a, b, va, ka);
        if (vue_.foret && ka > 10 && ka < 20) {
          arbre_noeud_ = n_ * b + a;
          arbre_type_ = ka;
          arbre_attribut_ = va;
          effacer_partage(carte, a, b, va);
        }
      }
  }
}

void Moteur::triangle_calcule(const TriangleBalayage& t, const Sommet* sommets, const CalculFacette* g) {
  ctx_.terrain.cellule_rendu = {noeud_i_, noeud_j_};
  if (sommets) {
    s_ = sommets;
  } else {
    for (std::size_t k = 0; k < 3; ++k) calculer_sommet(t.i[k], t.j[k], tampon_[k]);
    s_ = tampon_.data();
  }
  signe_ = t.signe;
  if (!drapeau_rangee_) {
    drapeau_rangee_ = true;
    return;
  }
  calcul_ = g;
  dessiner_triangle(t.cellule_i, t.cellule_j, t.voisin);
  calcul_ = nullptr;
}

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
          const std::int32_t index = fixes.degre < 6 ? 7 : (o.visible && o.indexe ? o.index : 7);
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
  equipe_.reset();
  for (std::unique_ptr<Ligne>& l : lignes_)
    if (reserve_lignes().size() < kLignesGardees) reserve_lignes().push_back(std::move(l));
}

void Moteur::finir_noeud() {
  if (arbre_attente_ && arbre_genre_ >= 1 && arbre_genre_ <= 6 &&
      ctx_.terrain.especes_presentes[std::size_t(arbre_genre_)] && !ctx_.annule()) {
    ModeleArbre* m = ctx_.arbres[std::size_t(arbre_genre_)].get();
    if (m) {
      auto& compte = ctx_.terrain.resultats_vue.arbres[std::size_t(arbre_genre_ - 1)][2];
      if (compte < 65535) ++compte;
      dessin_.reflet = point_reflet_;
      m->dessiner(ctx_, dessin_);
      if (arbre_reflet_) m->dessiner_reflet(ctx_, dessin_);
    }
  }
  arbre_attente_ = false;
  arbre_reflet_ = false;
}

void Moteur::fin_rangee() {
  if (equipe_) {
    // When the previous lines' geometry is ready, these lines go to the team
    // while the previous ones are drawn.
    Ligne& ligne = *remplie_;
    ligne.noeuds.push_back({0, 0});
    if (ligne.noeuds.size() < kNoeudsParLot) return;
    if (en_attente_) equipe_->aider();
    lancer_ligne(ligne);
    if (en_attente_) dessiner_ligne(*en_attente_);
    en_attente_ = &ligne;
    remplie_ = nullptr;
    remplie_ = lignes_libres();
    return;
  }
  if (!ctx_.editeur()) return;
  if (multiplicateur_ > 1 && aire_budget_ > ctx_.budget) {
    --multiplicateur_;
    pas_ = multiplicateur_ * ctx_.pas_lod;
    aire_budget_ = 0;
  }
}

void Moteur::polygone(Pixel remplissage, Contour mode, Pixel contour) {
  if (observateur_) observateur_->triangle(s_[0].ecran, s_[1].ecran, s_[2].ecran, mode, remplissage, contour);
  fill_triangle(image_, s_[0].ecran, s_[1].ecran, s_[2].ecran, mode, remplissage, contour);
  if (ctx_.editeur())
    fill_triangle(ctx_.image_editeur->surface(), double_point(s_[0].ecran), double_point(s_[1].ecran),
                  double_point(s_[2].ecran), mode, remplissage, contour);
}

void Moteur::observer(bool sous, GenreFacette genre, std::int32_t index, Rgb couleur, std::int32_t niveau,
                      std::int32_t lumiere, bool visible) {
  if (!observateur_) return;
  ++compteurs_.facettes;
  if (sous) ++compteurs_.sous_facettes;
  if (genre == GenreFacette::crete) ++compteurs_.cretes;
  if (genre == GenreFacette::eau) ++compteurs_.eau;
  FacetteDessinee f;
  f.sous_facette = sous;
  f.genre = genre;
  f.cellule_i = ctx_.terrain.cellule_rendu[0];
  f.cellule_j = ctx_.terrain.cellule_rendu[1];
  for (std::size_t k = 0; k < 3; ++k) {
    f.ecran[k] = s_[k].ecran;
    f.profondeur[k] = s_[k].d;
    f.noeuds[k] = {s_[k].i, s_[k].j};
    f.monde[k] = {s_[k].x, s_[k].y, s_[k].z};
  }
  if (sous) {
    f.sous_i = sous_i_;
    f.sous_j = sous_j_;
    f.m = sous_m_;
    f.parent_eau = f_eau_parent_;
  }
  f.index = index;
  f.couleur = couleur;
  f.niveau_brume = niveau;
  f.lumiere = lumiere;
  f.visible = visible;
  observateur_->dessinee(f);
}

void Moteur::dessiner_triangle(std::int32_t ci, std::int32_t cj, bool voisin) {
  const bool riviere_source = riviere_ && (riviere_attribut_ == 1 || riviere_attribut_ == 2);
  dessiner_facette(false);
  if (ctx_.annule() || !dans_zone(ci, cj) || ci + cj >= n_ || degre_ <= 5 || !ctx_.premier_plan) return;
  if (!(f_visible_ || f_eau_) || f_photo_ || riviere_source || !f_affichable_ || !drapeau_rangee_ || !voisin) return;

  // The main facet's first decisions hold its extents.
  const Prealable& pr = calcul_ ? calcul_->prealable : prealable_principal_;
  const std::int32_t wx = pr.wx, wy = pr.wy;
  if (!pr.grand) return;

  if (ctx_.attente && ctx_.petit_pas > 1) {
    ctx_.petit_pas = 1;
    ctx_.seuil_progression = ctx_.seuil_progression / 2;
    increment_ = std::uint16_t(std::clamp(Round(ctx_.seuil_progression * 0.03), 1, 5));
  }
  const int niveau = niveau_subdivision(wx, wy);
  double A;
  if (f_eau_)
    A = amplitude_eau(f_pente_, vue_.agitation_mer, degre_);
  else
    A = amplitude_terre(f_pente_, etat_.historique, vue_.rugosite, niveau);
  A = borner_amplitude(A, f_pente_);
  sous_reseau(ci, cj, niveau, A);
}

void Moteur::sous_reseau(std::int32_t ci, std::int32_t cj, int niveau, double A) {
  ++compteurs_.sous_reseaux;
  const int m = (1 << niveau) + 1;
  if (f_eau_) {
    eau_.depuis_horloge();
    remplir_decalages(decalages_, niveau, A, [this] { return eau_.tirer(); });
  } else {
    set_seed(std::uint32_t(f_altitude_));
    remplir_decalages(decalages_, niveau, A, [] { return Random(); });
  }

  // Corner slots: 2 = (i, j), 1 = (i + 1, j), 0 = (i, j + 1), 3 = (i + 1, j + 1).
  double cx[4], cy[4], cz[4], ex[4], ey[4];
  const std::int32_t ni[4] = {ci, ci + 1, ci, ci + 1}, nj[4] = {cj + 1, cj, cj, cj + 1};
  const double n1 = double(n_ - 1);
  for (int k = 0; k < 4; ++k) {
    monde_noeud(ni[k], nj[k], cx[k], cy[k], cz[k]);
    const double p = double(ni[k] - 1) / n1, q = double(nj[k] - 1) / n1;
    ex[k] = cx[k] - (ctx_.tx - p) * 4000 * kRacine3;
    ey[k] = cy[k] - (q + p / 2 - ctx_.ty) * 8000;
  }

  const int K = m - 1;
  const double h = 1.0 / K, K2 = double(K) * K;
  const auto& u3 = ctx_.direction;
  for (int c = 1; c <= m; ++c) {
    const int u = c - 1;
    for (int r = 1; r <= m; ++r) {
      const int v = r - 1;
      Sommet& s = sous_[std::size_t((c - 1) * kMaxSous + (r - 1))];
      const double p = (ci + u * h - 1) / n1, q = (cj + v * h - 1) / n1;
      s.x = (ctx_.tx - p) * 4000 * kRacine3;
      s.y = (q + p / 2 - ctx_.ty) * 8000;
      auto melange = [&](const double* w) {
        return (u * (v * w[3] + (K - v) * w[1]) + (K - u) * (v * w[0] + (K - v) * w[2])) / K2;
      };
      if (sous_deformation_) {
        s.x += melange(ex);
        s.y += melange(ey);
      }
      s.z = melange(cz) + decalages_(c, r) * h;
      projeter_point(ctx_, s.x, s.y, s.z);
      s.ecran = pixel_projete(ctx_);
      s.d = (s.x - ctx_.ex) * u3[0] + (s.y - ctx_.ey) * u3[1] + (s.z - ctx_.ez) * u3[2];
      if (s.d == 0.0) s.d = 0.0001;
      s.sous_mer = false;
      s.riviere = false;
      s.i = c;
      s.j = r;
    }
  }
  sous_i_ = ci;
  sous_j_ = cj;
  sous_m_ = m;

  parcourir_sous_reseau(ctx_.azimut_vue, m, [&](const SousTriangle& t) {
    if (ctx_.annule()) return;
    for (std::size_t k = 0; k < 3; ++k) tampon_[k] = sous_[std::size_t((t.c[k] - 1) * kMaxSous + (t.r[k] - 1))];
    s_ = tampon_.data();
    signe_ = t.signe;
    dessiner_facette(true);
  });
}

Rgb Moteur::reflet_eau(Rgb couleur) {
  const std::int32_t w = image_.width, hgt = image_.height;
  std::int32_t cx = Round(0.333 * (double(s_[0].ecran.x) + s_[1].ecran.x + s_[2].ecran.x));
  std::int32_t cy = Round(0.333 * (double(s_[0].ecran.y) + s_[1].ecran.y + s_[2].ecran.y));
  cx = std::max(0, std::min(std::max(cx, 2), w - 3));
  cy = std::max(0, std::min(std::max(cy, 2), hgt - 3));
  if (cx >= w || cy >= hgt) return couleur;
  const Rgb e = rgb_of(image_.row(cy)[cx]);
  const std::int32_t t = vue_.taux_reflet;
  const bool blanc = e.r == 255 && e.g == 255 && e.b == 255;
  if (t < 10 && cy >= ligne_reflet_ && (!blanc || (cx + cy) % 2 == 0)) {
    auto m = [t](std::uint8_t f, std::uint8_t s) {
      return octet(Round(((10.0 - t) * f + double(t) * s) * 0.1));
    };
    return Rgb{m(couleur.r, e.r), m(couleur.g, e.g), m(couleur.b, e.b)};
  }
  return e;
}

void Moteur::miroir(Rgb couleur, std::int32_t altitude) {
  const double gx = (s_[0].x + s_[1].x + s_[2].x) / 3.0;
  const double gy = (s_[0].y + s_[1].y + s_[2].y) / 3.0;
  const double gz = (s_[0].z + s_[1].z + s_[2].z) / 3.0;
  const double zm = gz - (double(altitude) - vue_.niveau_mer) * 2;
  projeter_point(ctx_, gx, gy, zm);
  const Point m = pixel_projete(ctx_);
  const double ligne_centre = (double(s_[0].ecran.y) + s_[1].ecran.y + s_[2].ecran.y) / 3.0;
  if (m.x < 0 || m.y < 0 || m.x >= largeur_ || m.y >= hauteur_ || !(m.y > ligne_centre + 5)) return;
  std::int32_t xmin = s_[0].ecran.x, xmax = xmin, ymin = s_[0].ecran.y, ymax = ymin;
  for (std::size_t k = 1; k < 3; ++k) {
    xmin = std::min(xmin, s_[k].ecran.x);
    xmax = std::max(xmax, s_[k].ecran.x);
    ymin = std::min(ymin, s_[k].ecran.y);
    ymax = std::max(ymax, s_[k].ecran.y);
  }
  const std::int64_t lx = std::clamp<std::int64_t>((std::int64_t(xmax) - xmin + 1) / 2, 1, 6);
  const std::int64_t ly = std::clamp<std::int64_t>(std::int64_t(ymax) - ymin + 2, 3, 12);
  const std::int32_t decalage = ctx_.ciel ? ctx_.ciel->decalage_vague(m.y - ctx_.ligne_horizon) : 0;
  const Pixel p = pixel_of(couleur);
  const std::int64_t x0 = std::int64_t(m.x) + decalage - lx / 2;
  fill_rect(image_, x0, m.y, x0 + lx, m.y + ly, p);
  point_reflet_ = m;
  if (vue_.agitation_mer > 4 && Random() > 0.65) {
    const std::int64_t ox = Round(Random() * 8) - 4, oy = Round(Random() * 4);
    fill_rect(image_, x0 + ox, m.y + oy, x0 + ox + lx, m.y + oy + ly, p);
  }
  arbre_reflet_ = true;
}

void Moteur::arbre(bool visible, double angle, std::int32_t altitude, std::int32_t classe) {
  const std::int32_t type = arbre_type_;
  std::int32_t attribut = arbre_attribut_;
  // Snow on the tree.
  std::int32_t neige = 0;
  if (vue_.neige_arbres) {
    std::int32_t S = reglages_.neige;
    if (angle / pas_lumiere > 36 && !vue_.neige_soleil) S += reglages_.delta_neige_s;
    if (altitude > S) {
      const std::int32_t D = vue_.delta_neige;
      neige = D > 0 ? std::clamp(Round((double(altitude) - S) * 10.0 / (2.0 * D)), 1, 10) : 10;
    }
  }
  // Light.
  std::int32_t lumiere = 24;
  if (visible) lumiere = std::min(48, std::max(1, Round(angle / pas_lumiere)));
  if (neige > 0 && lumiere < 44) lumiere += 8;
  if (reglages_.ombre_portee && lumiere < 7 && attribut < 64) lumiere = 7;
  bool ombre = false;
  if (attribut >= 64) {
    ombre = true;
    attribut -= 64;
  }
  set_seed(std::uint32_t(altitude));
  double px = (double(s_[0].ecran.x) + s_[1].ecran.x + s_[2].ecran.x) / 3.0;
  if (ctx_.mode_camera) px += (1 - Random()) * 0.3 * (double(s_[2].ecran.x) - s_[0].ecran.x);
  const double py = (double(s_[0].ecran.y) + s_[1].ecran.y + s_[2].ecran.y) / 3.0;
  const double d = s_[2].d;
  const std::int32_t genre = type - 10;
  DessinArbre a;
  a.pied = {Round(px), Round(py)};
  a.indice_lumiere = lumiere;
  a.taille = attribut * ((ctx_.fx * 8000) / (n_ * d)) / 63;
  a.neige = neige;
  a.ombre = ombre;
  a.facteur = 4;
  a.noeud = arbre_noeud_;
  a.image_video = ctx_.mode_camera;
  a.sol = sol_de_classe(classe);
  if (genre >= 1 && genre <= 6) {
    a.classe_couleur = vue_.arbres[std::size_t(genre - 1)].couleur;
    if (!ctx_.editeur())
      a.facteur_vue = std::clamp((ctx_.ez - s_[2].z - vue_.arbres[std::size_t(genre - 1)].hauteur) / d, 0.1, 0.9);
    else
      a.facteur_vue = 0.9;  // the editor's map sees its trees from above
    arbre_attente_ = true;
    arbre_genre_ = genre;
    dessin_ = a;
  }
  if (ctx_.editeur() && genre >= 1 && genre <= 6 && ctx_.terrain.especes_presentes[std::size_t(genre)]) {
    ModeleArbre* m = ctx_.arbres[std::size_t(genre)].get();
    if (m) {
      DessinArbre double_ = a;
      double_.pied = double_point(a.pied);
      double_.taille = a.taille * 2;
      double_.carte_editeur = true;
      m->dessiner(ctx_, double_);
    }
  }
}

Prealable prealable(const Fixes& f, const Sommet* s) {
  Prealable pr;
  int devant = 0, dans_limite = 0;
  bool rejet = false;
  const std::int32_t largeur = f.largeur, hauteur = f.hauteur;
  for (int k = 0; k < 3; ++k) {
    const double d = s[k].d;
    if (d > f.proche) ++devant;
    if (f.observateur_place && d < f.rejet) rejet = true;
    const std::int32_t x = s[k].ecran.x, y = s[k].ecran.y;
    if (f.degre > 5) {
      if (f.observateur_place) {
        if (x < -2 * std::int64_t(largeur) || x > 3 * std::int64_t(largeur)) rejet = true;
      } else if (y < -2 * std::int64_t(hauteur) || y > 2 * std::int64_t(hauteur)) {
        rejet = true;
      }
    }
    if (x >= -15 && x < largeur + 16 && y >= -15 && y < hauteur + 16) {
      ++pr.ecran;
      ++pr.ecran_arbre;
    } else if (d < 1100 && x > -64 && x < largeur + 64 && y < f.rangee_2h5) {
      ++pr.ecran_arbre;
    }
    if (f.degre >= 6 || (x > -16000 && x < largeur + 16000 && y > -16000 && y < hauteur + 16000)) ++dans_limite;
    if (x < 0 || x >= largeur) pr.bords = true;
    pr.sous_mer = std::int8_t(pr.sous_mer + (s[k].sous_mer ? 1 : 0));
  }
  pr.limites = dans_limite == 3 && devant >= 1 && !rejet;
  if (!pr.limites) return pr;
  const double zmax = std::max({s[0].z, s[1].z, s[2].z});
  pr.altitude = Round(zmax + f.altitude_cible);
  const double d = s[2].d;
  if (f.occupation) {
    pr.occupation = Round(std::clamp(d + 1000, -2e9, 2e9));
    pr.mx = Round((double(s[0].ecran.x) + s[1].ecran.x + s[2].ecran.x) / 3.0);
    pr.my = Round((double(s[0].ecran.y) + s[1].ecran.y + s[2].ecran.y) / 3.0);
  }
  if (f.brume) {
    pr.niveau = niveau_brume(d, f.pas_brume, pr.altitude, f.hauteur_brume);
    pr.niveau_eau = niveau_brume(d, f.pas_brume, f.niveau_mer_vue, f.hauteur_brume);
  }
  demi_etendue(s, pr.wx, pr.wy);
  pr.grand = a_subdiviser(pr.wx, pr.wy, d, f.profondeur_sous_reseau);
  return pr;
}

// The picture's left and right edge points: the deepest vertices beside the
// picture on either side.
void Moteur::noter_bords() {
  RenderContext& c = ctx_;
  for (int k = 0; k < 3; ++k) {
    const Sommet& s = s_[k];
    if (s.ecran.x < 0 && s.d > profondeur_gauche_) {
      profondeur_gauche_ = s.d;
      c.terrain.etat_rendu.bord_gauche_x = s.x;
      c.terrain.etat_rendu.bord_gauche_y = s.y;
    } else if (s.ecran.x >= largeur_ && s.d > profondeur_droite_) {
      profondeur_droite_ = s.d;
      c.terrain.etat_rendu.bord_droit_x = s.x;
      c.terrain.etat_rendu.bord_droit_y = s.y;
    }
  }
}

// False when the occupancy buffer shows the facet hidden behind what is
// drawn at its centre.
bool Moteur::occupation_libre(const Prealable& pr) {
  const DepthBuffer& o = *ctx_.occupation;
  const std::int32_t mx = pr.mx, my = pr.my;
  const std::int32_t valeur = (mx >= 0 && my >= 0 && mx < o.width() && my < o.height()) ? o.at(mx, my) : 0;
  if (valeur == 0 || pr.occupation < valeur + 20) return true;
  ++compteurs_.sauts_occupation;
  return false;
}

// The facet's shading: the helpers' when they made it from these very inputs
// (only the state is then left to note; `d_avance` says so), else computed
// here into `calcule`.
const ResultatOmbrage& Moteur::ombrer_facette(bool sous, bool eau, bool photo, std::int32_t altitude, bool ombre,
                                              ResultatOmbrage& calcule, bool& d_avance) {
  const std::uint16_t sol = sous ? sol_parent_ : sol_;
  if (!sous && calcul_ && calcul_->ombrage_pret && eau == calcul_->eau && !photo && altitude == calcul_->altitude &&
      sol == calcul_->sol && ombre == calcul_->ombre) {
    // What the state reads of a main facet without a photo, on land and on water.
    static const EntreeFacette terre{};
    static const EntreeFacette mer = [] {
      EntreeFacette e;
      e.eau = true;
      return e;
    }();
    d_avance = true;
    noter_ombrage(reglages_, etat_, eau ? mer : terre, calcul_->ombrage, calcul_->compter);
    return calcul_->ombrage;
  }
  EntreeFacette f;
  f.a = {s_[0].x, s_[0].y, s_[0].z};
  f.b = {s_[1].x, s_[1].y, s_[1].z};
  f.c = {s_[2].x, s_[2].y, s_[2].z};
  f.signe = signe_;
  f.altitude = altitude;
  f.eau = eau;
  f.sous_facette = sous;
  f.couleur_image = photo;
  f.transparence = vue_.transparence;
  f.sol = sol;
  f.ombre = ombre;
  calcule = (!sous && calcul_) ? ombrage_facette(reglages_, etat_, f, calcul_->geometrie)
                               : ombrage_facette(reglages_, etat_, f);
  return calcule;
}

// A back-facing land facet: a ridge line, so that crests seen from behind stay visible.
void Moteur::dessiner_crete(const ResultatOmbrage& res, std::int32_t altitude, std::int32_t niveau, bool ombre) {
  const RenderContext& c = ctx_;
  const std::int32_t sdy = iabs(s_[1].ecran.y - s_[0].ecran.y) + iabs(s_[2].ecran.y - s_[0].ecran.y);
  const std::int32_t sdx = iabs(s_[1].ecran.x - s_[0].ecran.x) + iabs(s_[2].ecran.x - s_[0].ecran.x);
  if (!((sdy < 8.0 * sdx && sdy < 0.4 * hauteur_ && sdy < 80) || degre_ < 6)) return;
  ++cretes_suivies_;
  std::int32_t lumiere = 28, plus = 0;
  if (cretes_suivies_ > c.petit_pas) {
    std::size_t g = 0, dr = 0;
    for (std::size_t k = 1; k < 3; ++k) {
      if (s_[k].ecran.x < s_[g].ecran.x) g = k;
      if (s_[k].ecran.x > s_[dr].ecran.x) dr = k;
    }
    const bool negatif = s_[g].ecran.y - s_[dr].ecran.y < 0;
    const std::int32_t a = vue_.azimut_soleil + 180;
    if (a < 91) lumiere = negatif ? 32 : 40;
    else if (a < 181) lumiere = negatif ? 24 : 32;
    else if (a < 270) lumiere = negatif ? 32 : 24;
    else lumiere = negatif ? 40 : 32;
  }
  if (ombre) {
    lumiere = 16;
    plus = 1;
  }
  std::int32_t decalage = 0;
  const std::int32_t h = altitude;
  const double p = res.pente;
  if (degre_ > 5 && vue_.strates && p < 0.5 && vue_.niveau_mer + c.vague_max < h && h < 4000 && !ombre) {
    const std::int32_t b = Round(h / 25.0);
    const std::int32_t classe = (b >= 1 && b <= 160) ? c.table_strates[std::size_t(b)] : 0;
    decalage = classe == 2 ? 336 : classe == 4 ? 384 : classe == 5 ? 96 : classe == 8 ? 288 : 0;
  } else if (!vue_.strates) {
    if (h < vue_.niveau_herbe) decalage = 48;
    else if (h > vue_.niveau_rocher) decalage = 96;
  }
  std::int32_t index = lumiere + decalage + 18 + plus;
  if (reglages_.neige + reglages_.delta_neige_s < h && sdx > 0.5 * sdy) index = ombre ? 274 : 290;
  if (vue_.strates && res.cos_vue < 0.015) return;
  const Rgb couleur = c.palette.couleur(index, niveau);
  const Pixel px = pixel_of(couleur);
  bool large = res.cos_vue > 0.1 && res.cos_vue < 0.5;
  if (sdx < 0.3 * sdy || vue_.strates || ombre) large = false;
  polygone(px, large ? Contour::double_ : Contour::simple, px);
  if (observateur_) observer(false, GenreFacette::crete, index, couleur, niveau, lumiere, false);
}

void Moteur::dessiner_eau(const ResultatOmbrage& res, std::int32_t niveau, bool sous, bool d_avance) {
  const RenderContext& c = ctx_;
  const std::int32_t index = (degre_ < 6 || c.editeur()) ? 7 : (res.visible && res.indexe ? res.index : 7);
  bool dessin = c.mer_peinte || niveau > 0 || index != 7 || (vue_.agitation_mer > 0 && res.visible);
  if (index == 7 && !vue_.reflet && ((c.sans_ciel && vue_.agitation_mer <= 3) || (c.reflet_mer && vue_.agitation_mer <= 1)))
    dessin = false;
  if (!dessin) return;
  Rgb couleur = d_avance ? calcul_->couleur : c.palette.couleur(index, niveau);
  if (vue_.reflet && index < 15) couleur = reflet_eau(couleur);
  const Pixel px = pixel_of(couleur);
  polygone(px, Contour::simple, px);
  if (observateur_) observer(sous, GenreFacette::eau, index, couleur, niveau, 0, res.visible);
}

// A visible land facet, its occupancy and its mirror in the sea.
void Moteur::dessiner_terre(const ResultatOmbrage& res, std::int32_t niveau, std::int32_t altitude,
                            std::int32_t occupation, bool sous, bool photo, bool d_avance) {
  const RenderContext& c = ctx_;
  const double d = s_[2].d;
  Rgb couleur;
  if (d_avance)
    couleur = calcul_->couleur;
  else if (c.courbes_niveau && res.gris)
    couleur = c.palette.lire_gris(std::uint16_t(index_));
  else
    couleur = c.palette.couleur(index_, niveau);
  if (photo) {
    Rgb image = photo_rgb_;
    if (vue_.transparence > 0) image = melange_couleur(vue_.transparence, couleur, image);
    couleur = (brume_ && d > 500) ? brume(vue_.brume_densite, d, c.pas_brume, image, c.palette.slot(11)) : image;
  }
  const Pixel px = pixel_of(couleur);
  polygone(px, Contour::simple, px);
  if (c.occupation) fill_triangle(occupation_, s_[0].ecran, s_[1].ecran, s_[2].ecran, Contour::aucun, occupation);
  cretes_suivies_ = 0;
  if (observateur_) observer(sous, GenreFacette::terre, index_, couleur, niveau, indice_lumiere(res.angle()), true);
  if (degre_ > 5 && vue_.horizon && vue_.reflet && c.angle_vertical < 40 && d > 800 && res.cos_vue < -0.15)
    miroir(couleur, altitude);
}

// The node's river over a main facet: lines between river vertices on
// coarse lattices and for narrow rivers, else the facet itself.
void Moteur::dessiner_riviere(double p, std::int32_t niveau, bool ombre, bool visible) {
  std::int32_t k = p > 0.9 ? 1 : p < 0.1 ? 12 : Round((0.9 - p) * 15) + 1;
  k = std::clamp(k, 1, 12);
  std::int32_t index = k + 6;
  if (ombre) {
    if (index > 9) index -= 1;
    if (index > 6) index -= 2;
  }
  const Rgb couleur = ctx_.palette.couleur(index, niveau);
  const Pixel px = pixel_of(couleur);
  if (riviere_attribut_ < 4 && degre_ < 10) {
    for (std::size_t a = 0; a < 3; ++a)
      for (std::size_t b = a + 1; b < 3; ++b)
        if (s_[a].riviere && s_[b].riviere) draw_line(image_, s_[a].ecran, s_[b].ecran, 3, px);
  } else {
    polygone(px, Contour::simple, px);
    if (observateur_) observer(false, GenreFacette::riviere, index, couleur, niveau, 0, visible);
  }
}

void Moteur::dessiner_facette(bool sous) {
  RenderContext& c = ctx_;
  if (!sous) {
    f_affichable_ = false;
    f_visible_ = false;
    f_eau_ = false;
    f_photo_ = false;
    const std::int64_t aire = std::int64_t(c.pas_effectif) * c.pas_effectif;
    aire_budget_ += aire;
    c.aire_dessinee += aire;
  }
  const std::int32_t ci = c.terrain.cellule_rendu[0], cj = c.terrain.cellule_rendu[1];
  const bool arbre_noeud = arbre_type_ > 10 && arbre_type_ < 20;
  do {
    if (c.annule() || !dans_zone(ci, cj)) break;

    // Vertices: in front, rejected, on screen.
    Prealable local;
    const Prealable& pr = sous      ? (local = prealable(*fixes_, s_))
                          : calcul_ ? calcul_->prealable
                                    : (prealable_principal_ = prealable(*fixes_, s_));
    const bool arbres_visibles = vue_.foret && c.terrain.nombre_elements > 0 && arbre_noeud && !sous;
    if (!pr.limites || (arbres_visibles ? pr.ecran_arbre : pr.ecran) < 1) break;
    if (!sous) f_affichable_ = true;
    if (!c.attente && pr.bords) noter_bords();

    // Water and altitude.
    const bool photo = photo_ && !sous;
    std::int32_t altitude = pr.altitude;
    bool eau;
    if (!sous) {
      eau = c.editeur() ? pr.sous_mer >= 1 : pr.sous_mer == 3;
      if (photo && photo_rgb_ == Rgb{0, 0, 0}) eau = true;
    } else {
      eau = f_eau_parent_ && altitude <= vue_.niveau_mer + c.vague_max;
    }
    if (eau) altitude = vue_.niveau_mer;
    if (!sous) {
      sol_parent_ = sol_;
      f_altitude_ = altitude;
    }

    // Occupancy.
    const std::int32_t occupation = c.occupation ? pr.occupation : 0;
    if (c.occupation && !occupation_libre(pr)) break;

    // Shading. The helpers read the node's cast shadow already.
    const bool ombre = reglages_.ombre_portee && ((!sous && calcul_ && calcul_->ombrage_pret)
                                                      ? calcul_->ombre
                                                      : c.carte_ombres->lire(ci, cj) == 1);
    ResultatOmbrage calcule;
    calcule.visible = true;
    const ResultatOmbrage* ombrage = &calcule;
    bool d_avance = false;  // the helpers' shading, and with it their colour
    if (!c.filaire || (eau && vue_.agitation_mer > 0)) {
      ombrage = &ombrer_facette(sous, eau, photo, altitude, ombre, calcule, d_avance);
      if (ombrage->degenere) break;
      if (ombrage->indexe) index_ = ombrage->index;
    }
    const ResultatOmbrage& res = *ombrage;
    if (!sous) {
      f_eau_ = eau;
      f_eau_parent_ = eau;
      f_visible_ = res.visible;
      f_photo_ = photo;
      f_pente_ = res.pente;
    }

    // Progress.
    if (!sous && degre_ > 5) {
      c.compteur_progression += c.pas_effectif;
      // Without a progress window or an event hook the step has nothing to do.
      if (etape_progression_) progression(c, &c.image, kLegendeImage, increment_);
    }

    if (c.filaire) {
      polygone(vert_fil_, Contour::simple, blanc_);
      if (observateur_) observer(sous, GenreFacette::fil, index_, Rgb{0, 128, 0}, 0, 0, res.visible);
      break;
    }

    const std::int32_t niveau = eau ? pr.niveau_eau : pr.niveau;
    if (!res.visible && !eau && !sous && !photo)
      dessiner_crete(res, altitude, niveau, ombre);
    else if (eau)
      dessiner_eau(res, niveau, sous, d_avance);
    else if (res.visible)
      dessiner_terre(res, niveau, altitude, occupation, sous, photo, d_avance);

    if (riviere_ && !c.editeur() && !sous) dessiner_riviere(res.pente, niveau, ombre, res.visible);

    // Tree.
    if (vue_.foret && !c.courbes_niveau && c.terrain.nombre_elements > 0 && arbre_noeud && s_[2].d > 80 &&
        altitude > reglages_.niveau_sable && !sous) {
      arbre(res.visible, res.angle(), altitude, res.classe);
      dessin_.niveau_brume = niveau;
    }
  } while (false);

  if (!sous) {
    riviere_ = false;
    sol_ = 0;
    arbre_type_ = 0;
    arbre_attribut_ = 0;
  }
}

}  // namespace

void BalayageFacettes::balayage(RenderContext& ctx, FamilleBalayage) {
  auto moteur = std::make_unique<Moteur>(ctx);
  moteur->executer();
}

}  // namespace render
