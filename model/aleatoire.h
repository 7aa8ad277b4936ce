// The process-wide random generator; the checked rounding rules come with it.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/arrondi.h"

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

  // k steps of the seed as one: seed := seed * a + b.
  struct Saut {
    std::uint32_t a = 1, b = 0;
  };
  static Saut saut(std::uint64_t k) {
    Saut r, p{134775813u, 1u};  // r: the steps gathered so far; p: 2^bit steps
    for (; k != 0; k >>= 1) {
      if (k & 1u) r = {r.a * p.a, r.b * p.a + p.b};
      p = {p.a * p.a, p.b * p.a + p.b};
    }
    return r;
  }
  // Leaves the state where the draws of the jump would have left it.
  void sauter(const Saut& s) { etat_ = etat_ * s.a + s.b; }

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
// Seeds it for a terrain's key: from the clock when the key is 0 or a new key
// is asked for, else with the key itself.
void semer_cle(std::int32_t cle, bool nouvelle_cle);

// Makes Randomize read the given UTC time of day (milliseconds since midnight);
// an empty function restores the real clock.
void set_clock_for_tests(std::function<std::uint32_t()> ms_of_day);
