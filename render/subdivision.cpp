#include "render/subdivision.h"

#include <cmath>

namespace render {

double amplitude_terre(double p, const std::array<double, 5>& historique, std::int32_t rugosite, int niveau) {
  double somme = 5.0 * p;
  for (int k = 1; k <= 5; ++k) somme += k * historique[std::size_t(k - 1)];
  const double mu = 0.05 * somme;
  double ecart = 5.0 * std::fabs(p - mu);
  for (int k = 1; k <= 5; ++k) ecart += k * std::fabs(historique[std::size_t(k - 1)] - mu);
  const double dev = 0.05 * ecart;
  const double r = rugosite;
  double A = 0.1 * r + r * 1.2 * dev;
  if (niveau == 2 && dev < 0.2) A = A * 0.5;
  if (rugosite == 0 && dev < 0.2) A = 0.02;
  return A;
}

double amplitude_eau(double p, std::int32_t agitation, std::int32_t degre) {
  double A = 0.1 * agitation + 0.2 * (1.0 - p);
  if (A > 1.5) A = 1.5;
  if (degre > 8) A = A * 0.5;
  return A;
}

double borner_amplitude(double A, double p) {
  if (A > 12.0) A = 12.0;
  if (p < 0.4 && A > 6.0) A = 6.0;
  if (p < 0.2 && A > 3.0) A = 3.0;
  return A;
}

}  // namespace render
