// The phases of a render that the driver calls at fixed places of its step
// order, as small interfaces. Each has a default that does nothing; a phase
// is plugged in either per call (RenderOptions::phases) or for every render
// by changing what the matching `*_par_defaut()` function in phases.cpp
// returns. Every phase receives the render context (contexte.h) and works on
// it; phases must test `ctx.annule()` and stop early once it is set, and
// report progress through `progression` (camera.h).
//
//   step 4   PhaseMer::preparer_mer        sea waves and feature cover; the
//            driver has made ctx.carte_vagues (all (0, 0)) before the call
//   step 5   PhaseOmbres::calcul_ombres    cast shadows; the driver has made
//            ctx.carte_ombres (all 0). The phase may move the camera to the sun
//            and set ctx.passe_ombre; the driver sets the view camera up again
//            afterwards (steps 10 and 12).
//   step 11  FabriqueArbres::creer          one tree model per present layer,
//            then ModeleArbre::generer; the models live in ctx.arbres until the end
//   step 12  PhaseCiel::dessiner_ciel      sky and sea picture; returns the cloud
//            seed, the wave offsets and whether the sun was drawn
//   step 17  PhaseBalayage::balayage       the painter's-order sweep of the
//            family chosen by the view azimuth
// The driver frees everything a phase left in the context in its end step,
// also after a cancel or an error. An exception thrown by a phase ends the
// render with the error box "Error during image computation !".
#pragma once

#include <cstdint>
#include <memory>

#include "model/records.h"
#include "render/raster.h"

namespace render {

struct RenderContext;

class PhaseMer {
 public:
  virtual ~PhaseMer() = default;
  virtual void preparer_mer(RenderContext&) {}
};

class PhaseOmbres {
 public:
  virtual ~PhaseOmbres() = default;
  virtual void calcul_ombres(RenderContext&) {}
};

// What the sky builder is given (the horizon and sun of the camera).
struct DemandeCiel {
  std::int32_t ligne_horizon = 0;
  std::int32_t ligne_terre = 0;      // the land top row
  std::int32_t hauteur_coins = 0;    // mean height of the two top corners
  std::int32_t largeur = 0, hauteur = 0;
  double cos_elevation = 0.0;        // cos(e - v)
  double cos_azimut = 0.0;           // cos(azimut_soleil)
  bool soleil_visible = false;
  Point soleil;                      // the sun's pixel when visible
};

// The sky and sea picture once drawn: facet drawing reads its wave offsets.
class CielDessine {
 public:
  virtual ~CielDessine() = default;
  // Horizontal shift of reflected row k below the horizon; 0 outside 1..count-1.
  virtual std::int32_t decalage_vague(std::int32_t /*k*/) const { return 0; }
};

struct ResultatCiel {
  std::int32_t seed_nuages = 0;      // stored in the terrain's render state
  std::int32_t nombre_decalages = 0;
  bool soleil_dessine = false;
  std::unique_ptr<CielDessine> ciel;  // kept until the end of the render; may be null
};

class PhaseCiel {
 public:
  virtual ~PhaseCiel() = default;
  // The default draws nothing and returns the view's cloud seed.
  virtual ResultatCiel dessiner_ciel(RenderContext& ctx, const DemandeCiel& demande);
};

enum class FamilleBalayage : std::uint8_t {
  colonnes,   // view azimuth below 120
  lignes,     // 120 up to 240
  diagonales  // 240 and above
};

class PhaseBalayage {
 public:
  virtual ~PhaseBalayage() = default;
  virtual void balayage(RenderContext&, FamilleBalayage) {}
};

// What a tree model is generated for (the angles in degrees, as the camera
// set-up leaves them; bas, haut, milieu are sines of the vertical angle under
// which the layer is seen).
struct GenerationArbre {
  double angle_vertical = 0.0;
  double azimut_vue = 0.0;
  double elevation_soleil = 0.0;
  double azimut_soleil = 0.0;
  double bas = 0.0, haut = 0.0, milieu = 0.0;
  std::int32_t degre = 0;
};

// One tree to draw at the foot position.
struct DessinArbre {
  Point pied;
  std::int32_t indice_lumiere = 0;
  double taille = 0.0;
  std::int32_t neige = 0;
  bool ombre = false;
  std::int32_t classe_couleur = 0;
  std::uint16_t sol = 0;         // ground under the foot: 1 grass, 2 soil, 3 rock, 0 any
  std::int32_t facteur = 4;
  std::int32_t niveau_brume = 0;
  std::int32_t noeud = 0;        // n j + i
  double facteur_vue = 0.0;
  bool image_video = false;
  bool carte_editeur = false;    // on the editor's double-size map (foot and size doubled)
  Point reflet;                  // where the reflection starts (the mirrored point)
};

// The model of one tree layer for one view. Destroying it frees it.
class ModeleArbre {
 public:
  virtual ~ModeleArbre() = default;
  virtual void generer(RenderContext&, const GenerationArbre&) {}
  virtual void dessiner(RenderContext&, const DessinArbre&) {}
  virtual void dessiner_reflet(RenderContext&, const DessinArbre&) {}
  // The tree's silhouette on the shadow work picture; true when its foot was
  // already covered.
  virtual bool silhouette(RenderContext&, Mask8&, Point /*pied*/, double /*taille*/, std::int32_t /*classe*/) {
    return false;
  }
};

class ObservateurArbres;

class FabriqueArbres {
 public:
  virtual ~FabriqueArbres() = default;
  // The default makes no model: callers skip a null model.
  virtual std::unique_ptr<ModeleArbre> creer(const param_vue&, bool /*detail*/, std::int32_t /*variantes*/,
                                             const espece_arbres&) {
    return nullptr;
  }
};

// Test-only observer of facet drawing (null in production).
class ObservateurFacettes {
 public:
  virtual ~ObservateurFacettes() = default;
  virtual void facette(const RenderContext&) {}
};

// Phases of one call; a null entry takes the default.
struct Phases {
  PhaseMer* mer = nullptr;
  PhaseOmbres* ombres = nullptr;
  PhaseCiel* ciel = nullptr;
  PhaseBalayage* balayage = nullptr;
  FabriqueArbres* arbres = nullptr;
  ObservateurFacettes* observateur = nullptr;
  ObservateurArbres* observateur_arbres = nullptr;  // test-only, null in production
};

PhaseMer& mer_par_defaut();
PhaseOmbres& ombres_par_defaut();
PhaseCiel& ciel_par_defaut();
PhaseBalayage& balayage_par_defaut();
FabriqueArbres& arbres_par_defaut();

}  // namespace render
