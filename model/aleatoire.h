// The process-wide random generator and the checked rounding rules.
#pragma once

#include <cstdint>
#include <functional>

// The checked paths of Round and Trunc (NaN, infinities, values near or
// beyond the int32_t range).
std::int32_t arrondi_verifie(double v);
std::int32_t troncature_verifiee(double v);

// Nearest integer, halves to the even neighbour. Throws ModelError for NaN,
// infinities and results outside int32_t. Inline: the renderer rounds every
// projected point.
inline std::int32_t Round(double v) {
  if (v >= -2147483648.0 && v <= 2147483647.0) {
    // Adding and removing 1.5 x 2^52 leaves the nearest integer, halves to even.
    const double r = (v + 6755399441055744.0) - 6755399441055744.0;
    return static_cast<std::int32_t>(r);
  }
  return arrondi_verifie(v);
}
// Toward zero, with the same checks.
inline std::int32_t Trunc(double v) {
  if (v > -2147483649.0 && v < 2147483648.0) return static_cast<std::int32_t>(v);
  return troncature_verifiee(v);
}

// The generator's arithmetic: seed := seed * 134775813 + 1 (32-bit).
class Generateur {
 public:
  explicit Generateur(std::uint32_t s = 0) : etat_(s) {}
  void fixer(std::uint32_t s) { etat_ = s; }
  std::uint32_t etat() const { return etat_; }
  // Steps the seed, then seed * 2^-32.
  double tirer() {
    pas();
    return static_cast<double>(etat_) * (1.0 / 4294967296.0);
  }
  // Steps the seed, then the high 32 bits of seed * m.
  std::uint32_t tirer(std::uint32_t m) {
    pas();
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(etat_) * m) >> 32);
  }
  // Seeds from the UTC time of day in milliseconds (or the test clock).
  void depuis_horloge();

 private:
  void pas() { etat_ = etat_ * 134775813u + 1u; }
  std::uint32_t etat_;
};

// One state for the whole process: generation, trees and clouds share it.
// Other Generateur objects are private streams that leave it alone.
void set_seed(std::uint32_t s);
std::uint32_t seed();
double Random();                       // steps the seed, then seed * 2^-32
std::uint32_t Random(std::uint32_t m);  // steps the seed, then high 32 bits of seed * m
void Randomize();                      // seeds from the UTC time of day in milliseconds

// Makes Randomize read the given UTC time of day (milliseconds since midnight);
// an empty function restores the real clock.
void set_clock_for_tests(std::function<std::uint32_t()> ms_of_day);
