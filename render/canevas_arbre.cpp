#include "render/canevas_arbre.h"

namespace render {

namespace {

template <class T>
T valeur(CouleurArbre c);
template <>
Pixel valeur<Pixel>(CouleurArbre c) {
  return c.rgb;
}
template <>
std::uint8_t valeur<std::uint8_t>(CouleurArbre c) {
  return std::uint8_t(c.rgb & 0xFFu);
}

}  // namespace

template <class T>
void CanevasRaster<T>::ligne(Point a, Point b) {
  if (!stylo().plein) return;
  draw_wide_line(s_, a, b, stylo().largeur, valeur<T>(stylo().couleur));
}

template <class T>
void CanevasRaster<T>::polygone(const Point* p, int n) {
  if (pinceau().plein) fill_polygon(s_, p, n, valeur<T>(pinceau().couleur));
  if (stylo().plein) outline_polygon(s_, p, n, stylo().largeur, valeur<T>(stylo().couleur));
}

template <class T>
void CanevasRaster<T>::ellipse(Point a, Point b) {
  if (pinceau().plein) fill_ellipse(s_, a.x, a.y, b.x, b.y, valeur<T>(pinceau().couleur));
  if (stylo().plein) outline_ellipse(s_, a.x, a.y, b.x, b.y, stylo().largeur, valeur<T>(stylo().couleur));
}

template <class T>
bool CanevasRaster<T>::couvert(Point p) const {
  const auto v = read_pixel(s_, p.x, p.y);
  if (!v) return false;
  if constexpr (sizeof(T) == 4)
    return (*v & 0x00FFFFFFu) != 0;
  else
    return *v != 0;
}

template class CanevasRaster<Pixel>;
template class CanevasRaster<std::uint8_t>;

}  // namespace render
