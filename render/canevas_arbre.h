// The tree canvas: one per picture. It keeps the current pen (solid or clear,
// width, colour) and brush (solid or hollow, colour) between calls, as the
// tree drawing relies on whatever the previous drawing left. A new canvas
// starts with a clear pen of width 1 and a hollow brush.
//
// Colours carry the palette index they were read from and the pixel value the
// raster canvas paints.
#pragma once

#include <cstdint>

#include "render/raster.h"

namespace render {

struct CouleurArbre {
  std::int32_t index = -1;  // palette index, -1 for an explicit colour
  Pixel rgb = 0xFF000000u;
  bool operator==(const CouleurArbre&) const = default;
};

struct Stylo {
  bool plein = false;  // solid or clear
  std::int32_t largeur = 1;
  CouleurArbre couleur;
  bool operator==(const Stylo&) const = default;
};

struct Pinceau {
  bool plein = false;  // solid or hollow
  CouleurArbre couleur;
  bool operator==(const Pinceau&) const = default;
};

class CanevasArbre {
 public:
  virtual ~CanevasArbre() = default;

  void stylo_plein(std::int32_t largeur, CouleurArbre c) { stylo_ = {true, largeur < 1 ? 1 : largeur, c}; }
  void stylo_vide() { stylo_.plein = false; }
  void pinceau_plein(CouleurArbre c) { pinceau_ = {true, c}; }
  void pinceau_creux() { pinceau_.plein = false; }
  const Stylo& stylo() const { return stylo_; }
  const Pinceau& pinceau() const { return pinceau_; }

  // A line from a to b with the current pen (nothing with a clear pen).
  virtual void ligne(Point a, Point b) = 0;
  // A closed polygon of 3..5 points: the fill with the brush, the outline with the pen.
  virtual void polygone(const Point* p, int n) = 0;
  // The ellipse inscribed in the box, with the brush and the pen.
  virtual void ellipse(Point coin1, Point coin2) = 0;
  // Whether the pixel lies inside the picture and is not black (0).
  virtual bool couvert(Point p) const = 0;

 private:
  Stylo stylo_;
  Pinceau pinceau_;
};

// Paints through the raster layer, on a 32-bit picture or an 8-bit mask (a
// mask pixel takes the colour's low byte: white gives 255).
template <class T>
class CanevasRaster final : public CanevasArbre {
 public:
  explicit CanevasRaster(Surface<T> s) : s_(s) {}
  void ligne(Point a, Point b) override;
  void polygone(const Point* p, int n) override;
  void ellipse(Point coin1, Point coin2) override;
  bool couvert(Point p) const override;

 private:
  Surface<T> s_;
};

using CanevasImage = CanevasRaster<Pixel>;
using CanevasMasque = CanevasRaster<std::uint8_t>;

}  // namespace render
