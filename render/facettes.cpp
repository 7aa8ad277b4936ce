// The terrain pass of a render: the walk over the lattice in painter's order
// (the sweep visitor), the set-up of a render's engine and the examination of
// every visited node against the cover map.
#include "render/facettes_interne.h"

#include <memory>

namespace render::detail_facettes {
namespace {

Moteur::Moteur(RenderContext& ctx) : DessinFacettes(ctx) {
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
  examen_couverture_ = degre_ >= 6 && (t.nombre_elements != 0 || vue_.agitation_mer != 0) && !ctx.passe_ombre &&
                       ctx.carte_vagues;
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
  if (ctx.occupation) {
    f.occupation_largeur = ctx.occupation->width();
    f.occupation_hauteur = ctx.occupation->height();
  }
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
    Equipe& commune = Equipe::commune();
    if (commune.taille() >= aides && commune.prendre(aides)) {
      equipe_ = &commune;
    } else {
      equipe_propre_ = std::make_unique<Equipe>(aides);
      equipe_ = equipe_propre_.get();
    }
    reglage_ = ReglageAides(aides_depart(aides), aides);
    equipe_->participants(reglage_.aides());
    remplie_ = lignes_libres();
  }
}

void Moteur::executer() {
  parcourir(ctx_.azimut_vue, n_, extension_, *this);
  if (equipe_) {
    // The lines still kept: the two handed out last, then the one not handed
    // out, which goes to the team once the older one's parts are all taken.
    Ligne* reste = remplie_->noeuds.empty() ? nullptr : remplie_;
    const std::array<Ligne*, 3> fin = {en_attente_[0], en_attente_[1], reste};
    en_attente_ = {};
    if (fin[0]) equipe_->aider(fin[0]->lot);
    if (reste) lancer_ligne(*reste);
    for (Ligne* l : fin)
      if (l) {
        equipe_->aider(l->lot);
        dessiner_ligne(*l);
      }
  }
  ctx_.facettes_total += etat_.total;
  ctx_.facettes_faibles += etat_.faible;
  ctx_.facettes_moyennes += etat_.moyenne;
  ctx_.facettes_fortes += etat_.forte;
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
  if (!examen_couverture_) return;
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

void Moteur::triangle_calcule(const TriangleBalayage& t, const Sommet* const* sommets, const CalculFacette* g) {
  ctx_.terrain.cellule_rendu = {noeud_i_, noeud_j_};
  if (sommets) {
    // Pointer by pointer: a copy of a record written just before, read back
    // in wider words than those it was written in, would wait for the writes.
    for (std::size_t k = 0; k < 3; ++k) s_.p[k] = sommets[k];
  } else {
    for (std::size_t k = 0; k < 3; ++k) calculer_sommet(t.i[k], t.j[k], tampon_[k]);
    s_ = SommetsFacette(tampon_.data());
  }
  signe_ = t.signe;
  if (observateur_)
    for (std::size_t k = 0; k < 3; ++k) noeuds_facette_[k] = {t.i[k], t.j[k]};
  if (!drapeau_rangee_) {
    drapeau_rangee_ = true;
    return;
  }
  calcul_ = g;
  dessiner_triangle(t.cellule_i, t.cellule_j, t.voisin);
  calcul_ = nullptr;
}

void Moteur::fin_rangee() {
  if (equipe_) {
    // Enough lines kept: they go to the team, which still has the lines
    // handed out before, and the oldest of those is drawn meanwhile.
    Ligne& ligne = *remplie_;
    ligne.fins.push_back(std::int32_t(ligne.noeuds.size()));
    ligne.noeuds.push_back({0, 0});
    if (ligne.noeuds.size() < kNoeudsParLot) return;
    Ligne* dessin = en_attente_[0];
    if (dessin) attendre_ligne(*dessin);
    lancer_ligne(ligne);
    en_attente_ = {en_attente_[1], &ligne};
    remplie_ = nullptr;
    if (dessin) dessiner_ligne(*dessin);
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

}  // namespace
}  // namespace render::detail_facettes

namespace render {

void BalayageFacettes::balayage(RenderContext& ctx, FamilleBalayage) {
  auto moteur = std::make_unique<detail_facettes::Moteur>(ctx);
  moteur->executer();
}

}  // namespace render
