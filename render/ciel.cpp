#include "render/ciel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <utility>

#include "model/aleatoire.h"
#include "render/bmp.h"
#include "render/camera.h"
#include "render/contexte.h"
#include "render/image.h"
#include "render/jpeg.h"
#include "platform/fichiers.h"

namespace render {

namespace {

std::int32_t octet(std::int64_t v) { return std::int32_t(std::clamp<std::int64_t>(v, 0, 255)); }

// Rounding of values that file parameters (choppiness, reflection rate) can
// push past the int32 range: they are first brought within +-10^9.
std::int32_t RoundBorne(double v) { return Round(std::clamp(v, -1e9, 1e9)); }

bool finit_par(const std::string& s, const std::string& fin) {
  return s.size() >= fin.size() && s.compare(s.size() - fin.size(), fin.size(), fin) == 0;
}

bool fichier_existe(const std::string& chemin) {
  std::error_code ec;
  return !chemin.empty() && std::filesystem::is_regular_file(chemin, ec);
}

// Whether a bitmap's header is one the sky reads: its reader's checks and at
// most kCielPixelsMaxi pixels.
bool entete_ciel_bmp(std::string_view octets, std::string* raison) {
  std::int64_t largeur = 0, hauteur = 0;
  if (!taille_bmp(octets, largeur, hauteur, raison)) return false;
  if (largeur * hauteur <= kCielPixelsMaxi) return true;
  if (raison)
    *raison = "it claims " + std::to_string(largeur) + " x " + std::to_string(hauteur) + " pixels; a sky picture is at most " +
              std::to_string(kCielPixelsMaxi) + " pixels";
  return false;
}

// A sky picture, decoded only when its header is one the sky reads; a bitmap
// walked without keeping its pixels when `garde` is 1.
bool lire_ciel(const std::string& chemin, Bitmap& image, std::string* raison, int garde) {
  const bool bmp = finit_par(chemin, ".bmp");
  const std::optional<std::string> octets =
      lire_octets_image(chemin, raison, bmp ? GenreImage::bmp : GenreImage::jpeg, kCielPixelsMaxi);
  if (!octets) return false;
  if (bmp) return entete_ciel_bmp(*octets, raison) && decoder_bmp(*octets, image, raison, garde);
  if (garde > 0) return entete_jpeg_acceptable(*octets, kCielPixelsMaxi, raison);
  if (decoder_jpeg(*octets, image, kCielPixelsMaxi)) return true;
  if (raison) *raison = "the JPEG picture cannot be decoded";
  return false;
}

}  // namespace

std::string raison_ciel_illisible(const std::string& chemin) {
  Bitmap image;
  std::string raison;
  return lire_ciel(chemin, image, &raison, 1) ? std::string() : raison;
}

std::string fichier_ciel_utilisable(const std::string& chemin, const std::string& dossier) {
  std::string choisi;
  if (fichier_existe(chemin)) {
    choisi = chemin;
  } else {
    const std::size_t p = chemin.find_last_of("\\/");
    const std::string nom = p == std::string::npos ? chemin : chemin.substr(p + 1);
    if (nom.empty() || dossier.empty()) return {};
    const std::string candidat = (std::filesystem::path(dossier) / nom).string();
    if (!fichier_existe(candidat)) return {};
    choisi = candidat;
  }
  if (!finit_par(choisi, ".bmp") && !finit_par(choisi, ".jpg")) return {};
  return choisi;
}

Pixel TCiel::pixel_de_couleur(const Couleur& c) {
  return pixel_rgb(std::uint8_t(octet(c.c[0])), std::uint8_t(octet(c.c[1])), std::uint8_t(octet(c.c[2])));
}

std::int32_t TCiel::decalage_vague(std::int32_t k) const {
  if (k < 1 || k >= nombre_decalages_ || k >= kDecalages) return 0;
  return decalages_[std::size_t(k)];
}

void TCiel::progression_ciel(std::uint16_t increment) {
  if (!e_.attente) return;
  e_.attente->tester_annulation();
  if (!annule_ && cancel_requested(e_.fenetre)) annule_ = true;
  if (!annule_ && increment != 0) e_.attente->avancer(std::nullopt, increment);
  compteur_ = 0;
}

void TCiel::bande(std::int64_t y0, std::int64_t y1, const Couleur& c) {
  fill_rect(e_.image->surface(), 0, y0, std::int64_t(largeur_ciel_) + 2, y1, pixel_de_couleur(c));
}

void TCiel::ciel_image() {
  if (hauteur_ciel_ < largeur_ciel_ * 0.5) hauteur_ciel_ = Round(largeur_ciel_ * 0.5);
  const std::string chemin = fichier_ciel_utilisable(fichier_ciel_, e_.dossier_ciels);
  if (chemin.empty()) return;
  Bitmap image;
  const bool lu = lire_ciel(chemin, image, nullptr, 0);
  // A file that cannot be decoded is taken as missing.
  if (!lu || image.empty()) return;
  stretch(e_.image->surface(), 0, 0, largeur_ciel_, std::int64_t(hauteur_ciel_) + 4,
          std::as_const(image).surface());
}

void TCiel::ciel_clair() {
  if (hauteur_ciel_ < 0.4 * largeur_ciel_) hauteur_ciel_ = Round(0.4 * largeur_ciel_);
  const std::int32_t hc = hauteur_ciel_;
  Couleur c = couleur_de(e_.palette->lire_couleur(1));
  std::int64_t y = 0;
  if (e_.cos_azimut > 0) {
    std::int32_t b = std::max(1, Round(hc * 0.04) + 1);
    std::int32_t s[3];
    for (int k = 0; k < 3; ++k) s[k] = Round((255 - c.c[k]) / 85.0);
    if (largeur_ciel_ < 100) {
      b = std::max(1, hc);
      for (int k = 0; k < 3; ++k)
        if (255 - 5 * s[k] > c.c[k]) c.c[k] += 4 * s[k];
    }
    while (y < hc) {
      bande(y - 1, y + b, c);
      y += b;
      for (int k = 0; k < 3; ++k)
        if (c.c[k] > 15 * s[k]) c.c[k] -= s[k];
      b = std::max(1, b - Round(b * 0.09));
    }
  } else {
    std::int32_t b = largeur_ciel_ < 100 ? std::max(1, hc) : std::max(1, Round(hc * 0.022) + 1);
    std::int32_t s[3];
    for (int k = 0; k < 3; ++k) s[k] = Round((255 - c.c[k]) / 55.0);
    const std::int32_t K = Round(10 - 10 * e_.cos_elevation);
    std::int32_t compteur = 0;
    while (y < hc) {
      bande(y - 1, y + b, c);
      y += b;
      ++compteur;
      if (compteur > K && y > 0.33 * hc) {
        compteur = 0;
        for (int k = 0; k < 3; ++k)
          if (255 - 2 * s[k] > c.c[k]) c.c[k] += s[k];
      }
      b = std::max(1, b - Round(b * 0.125));
    }
  }
}

void TCiel::reflet() {
  Bitmap& canevas = *e_.image;
  const std::int32_t horizon = e_.ligne_horizon, hauteur = e_.hauteur;
  const std::int32_t A = vue_.agitation_mer, t = vue_.taux_reflet;
  const std::int32_t lc = largeur_ciel_;
  // 1. The sky above the horizon, its four sample colours, and its stretched copy.
  Bitmap travail(lc + 1, horizon);
  copy_rect(travail.surface(), 0, 0, std::as_const(canevas).surface(), 0, 0, lc + 1, horizon);
  // The sky is a little wider than the picture: its last column stands for the rest.
  const int visible = std::min(canevas.width(), lc + 1);
  if (visible > 0)
    for (int y = 0; y < std::min(horizon, canevas.height()); ++y) {
      Pixel* r = travail.row(y);
      std::fill(r + visible, r + lc + 1, r[visible - 1]);
    }
  Couleur echantillons[4];
  for (int k = 1; k <= 4; ++k) {
    const auto p = read_pixel(std::as_const(travail).surface(), Round(0.2 * lc * k), Round(horizon * 0.95));
    echantillons[k - 1] = couleur_de(rgb_of(p ? *p : 0));
  }
  const std::int32_t W2 = lc + Round(0.04 * lc);
  const std::int32_t R = hauteur - horizon;
  stretch(canevas.surface(), 0, horizon, W2, hauteur, std::as_const(travail).surface());
  Bitmap miroir(W2, R);
  stretch(miroir.surface(), 0, 0, W2, R, std::as_const(travail).surface());
  travail.reset(0, 0);
  // 2. The reflected rows, shifted by the waves.
  nombre_decalages_ = std::min(R, kDecalages);
  const std::int32_t borne = Round(0.04 * lc);
  std::int32_t o = 0;
  double m = 1.0;
  for (std::int32_t k = 1; k <= R && !annule_; ++k) {
    std::int32_t x = 0;
    if (A != 0) {
      o += RoundBorne((1 - 2 * Random()) * A * lc * 0.005 * m);
      x = RoundBorne(double(o) + RoundBorne((1 - 2 * Random()) * A * lc * 0.001));
      if (k > 50 && A > 4 && Random() > 0.85) o = RoundBorne(double(o) + RoundBorne((1 - 2 * Random()) * A * lc * 0.02));
      if (k % 10 == 0) m = std::min(m * 1.2, A * 0.5);
      o = std::clamp(o, -borne, borne);
      o = std::clamp(o, -127, 127);
      if (k < nombre_decalages_) decalages_[std::size_t(k)] = std::int8_t(o);
    }
    copy_rect(canevas.surface(), x, std::int64_t(horizon) + k - 1, std::as_const(miroir).surface(), 0, R - k,
              W2, 1);
  }
  miroir.reset(0, 0);
  // 3. The band between the horizon and the land top.
  Couleur c = couleur_de(e_.palette->lire_couleur(vue_.brume ? 14400 + TMyPalette::kEau : TMyPalette::kEau));
  if (lc > 100) {
    for (int k = 0; k < 3; ++k) {
      const std::int32_t moyenne =
          (echantillons[0].c[k] + echantillons[1].c[k] + echantillons[2].c[k] + echantillons[3].c[k]) / 4;
      c.c[k] = octet(RoundBorne(((10.0 - t) * c.c[k] + double(t) * moyenne) * 0.1));
    }
  }
  fill_rect(canevas.surface(), 0, horizon, std::int64_t(lc) + 1, std::int64_t(e_.ligne_terre) + 1,
            pixel_de_couleur(c));
  // 4. Glitter under the sun.
  if (soleil_dessine_ && A > 0) scintillement(R, c);
}

void TCiel::scintillement(std::int32_t R, const Couleur& c) {
  Bitmap& canevas = *e_.image;
  const std::int32_t A = vue_.agitation_mer, t = vue_.taux_reflet;
  const std::int32_t lc = largeur_ciel_;
  const std::int32_t gg = std::max(1, Round(R * 0.016));
  std::int32_t pas = gg;
  std::int32_t d = std::max(1, Round(lc * 0.001));
  std::int32_t w = Round(5.0 * d);
  std::int32_t taille = 1;
  std::int64_t y = std::int64_t(e_.ligne_horizon) + d;
  Couleur eclat;
  for (int k = 0; k < 3; ++k) eclat.c[k] = octet(RoundBorne(((10.0 - t) * c.c[k] + 255.0 * t) * 0.1));
  const Pixel p_eclat = pixel_de_couleur(eclat), blanc = pixel_rgb(255, 255, 255);
  const std::int32_t X = e_.soleil.x;
  const std::int32_t limite = Round(0.3 * lc);
  while (y < std::int64_t(e_.hauteur) - d) {
    const Pixel brosse = y > e_.ligne_terre ? p_eclat : blanc;
    const std::int32_t o1 = Round((1 - 2 * Random()) * A * d * 1.2);
    const std::int32_t o2 = Round(Random() * A * d * 3.6);
    const std::int64_t x0 = std::int64_t(X) + o1 - w - o2, x1 = std::int64_t(X) + o1 + w + o2;
    for (std::int64_t x = x0; x <= x1; ++x)
      for (std::int64_t yy = y - 2 * d; yy <= y + 2 * d; ++yy) {
        if (Random() < 0.02 * t && Random() < 0.03 * (12 - 2 * A) &&
            Random() > 0.1 + double(std::llabs(x - X)) / std::max(1, w))
          fill_ellipse(canevas.surface(), x - taille, yy - 1, x + taille, yy + 1, brosse);
      }
    y += pas + Round((1 - Random()) * A * gg * 0.1 * d);
    while (w < limite) {
      if (Random() > 0.66) ++taille;
      pas += Round(gg * 0.11);
      d += Round(gg * 0.14);
      w += std::max(1, Round(gg * 1.1));
    }
  }
}

void TCiel::mer_sans_reflet() {
  Bitmap& canevas = *e_.image;
  const std::int32_t H = e_.hauteur_coins, S = vue_.niveau_mer, G = vue_.niveau_herbe;
  const std::int32_t t = vue_.taux_reflet;
  const std::int32_t F = 4;
  const std::int32_t horizon = e_.ligne_horizon, terre = e_.ligne_terre, hauteur = e_.hauteur;
  std::int32_t M = 0;
  const std::int32_t sans_reflet = H <= S + 50 ? TMyPalette::kEau : (H > G + 50 ? 22 * F + 18 : 10 * F + 18);
  if (!vue_.reflet) {
    M = sans_reflet + (vue_.brume ? 14400 : 0);
  } else {
    // The water index goes through the 16-bit rule of the colour table.
    M = H <= S + 50 ? (t > 3 ? 1 : std::int32_t(std::uint16_t(std::int64_t(t) + 7))) : sans_reflet;
  }
  Couleur c = couleur_de(e_.palette->lire_couleur(std::uint16_t(M)));
  const std::int32_t R = hauteur - horizon;
  if (e_.cos_azimut < -0.33 && e_.cos_elevation > 0.75) {
    fill_rect(canevas.surface(), 0, std::int64_t(terre) + 2, std::int64_t(e_.largeur) + 2, hauteur,
              pixel_de_couleur(c));
    std::int64_t y = std::int64_t(terre) + 4;
    const std::int32_t b =
        std::max(1, largeur_ciel_ < 100 ? terre - horizon : Round((double(terre) - horizon) * 0.06) + 1);
    std::int32_t s[3];
    for (int k = 0; k < 3; ++k) s[k] = Round((255 - c.c[k]) * e_.cos_elevation / 40);
    while (y > horizon && !annule_) {
      for (int k = 0; k < 3; ++k)
        if (255 - 20 * s[k] > c.c[k]) c.c[k] = octet(c.c[k] + s[k]);
      fill_rect(canevas.surface(), 0, y + 1, std::int64_t(e_.largeur) + 2, y - b, pixel_de_couleur(c));
      y -= b;
    }
  } else {
    std::int64_t y = std::int64_t(horizon) - 4;
    std::int64_t b = std::max(1, largeur_ciel_ < 100 ? R : Round(R * 0.01) + 1);
    std::int32_t s[3];
    for (int k = 0; k < 3; ++k) s[k] = Round((255 - c.c[k]) * e_.cos_elevation / 30);
    const bool eclaircir = e_.cos_azimut > 0.33 && e_.cos_elevation > 0.75;
    while (y < std::int64_t(hauteur) + 1 && !annule_) {
      if (eclaircir)
        for (int k = 0; k < 3; ++k)
          if (255 - 20 * s[k] > c.c[k]) c.c[k] = octet(c.c[k] + s[k]);
      fill_rect(canevas.surface(), 0, y - 2, std::int64_t(e_.largeur) + 2, y + b, pixel_de_couleur(c));
      y += b;
      b += Round(double(b) / 8);
    }
  }
}

SortieCiel TCiel::dessiner_ciel(const EntreeCiel& e) {
  e_ = e;
  vue_ = *e.vue;
  annule_ = false;
  soleil_dessine_ = false;
  hauteur_ciel_ = e.ligne_horizon;
  largeur_ciel_ = Round(e.largeur * 1.02);
  fichier_ciel_ = vue_.fichier_ciel;
  nombre_decalages_ = 0;
  decalages_.fill(0);
  seed_ = vue_.seed_nuages;
  const std::int32_t A = vue_.agitation_mer, t = vue_.taux_reflet;

  if (vue_.type_ciel == 2) {
    ciel_image();
  } else if (vue_.type_ciel == 0) {
    ciel_clair();
  } else if (vue_.type_ciel == 1) {
    if (hauteur_ciel_ < 0.3 * largeur_ciel_) hauteur_ciel_ = Round(0.3 * largeur_ciel_);
    nuages();
  }

  SortieCiel s;
  const bool mer = !(annule_ || e.hauteur <= 50 || std::int64_t(e.hauteur) - e.ligne_horizon <= 10);
  if (mer) {
    const bool avec_reflet =
        (vue_.type_ciel == 1 && vue_.reflet && t > 3 && A < 7) ||
        (vue_.type_ciel == 2 && vue_.reflet && 0.2 * e.hauteur < e.ligne_horizon && e.ligne_horizon < 0.8 * e.hauteur &&
         largeur_ciel_ > 70);
    if (avec_reflet && e.ligne_horizon > 0)
      reflet();
    else
      mer_sans_reflet();
  }
  s.seed_nuages = seed_;
  s.soleil_dessine = soleil_dessine_;
  s.nombre_decalages = nombre_decalages_;
  s.annule = annule_;
  return s;
}

ResultatCiel PhaseCielDessin::dessiner_ciel(RenderContext& ctx, const DemandeCiel& d) {
  auto ciel = std::make_unique<TCiel>();
  EntreeCiel e;
  e.ligne_horizon = d.ligne_horizon;
  e.ligne_terre = d.ligne_terre;
  e.hauteur_coins = d.hauteur_coins;
  e.largeur = d.largeur;
  e.hauteur = d.hauteur;
  e.cos_elevation = d.cos_elevation;
  e.cos_azimut = d.cos_azimut;
  e.vue = &ctx.vue;
  e.image = &ctx.image;
  e.palette = &ctx.palette;
  e.soleil_visible = d.soleil_visible;
  e.soleil = d.soleil;
  e.attente = ctx.attente;
  e.fenetre = ctx.fenetre;
  e.dossier_ciels = ctx.options.dossier_ciels;
  const SortieCiel s = ciel->dessiner_ciel(e);
  if (s.annule) ctx.terrain.calcul_annule = 1;
  ResultatCiel r;
  r.seed_nuages = s.seed_nuages;
  r.nombre_decalages = s.nombre_decalages;
  r.soleil_dessine = s.soleil_dessine;
  r.ciel = std::move(ciel);
  return r;
}

}  // namespace render
