// A test's observer on one of the program's seams. An Observation installs
// it for its own lifetime and then puts back the observer it replaced; an
// Enregistrement is an observer of a seam that shows each call through one
// method appel(const A&), and keeps the calls it saw while installed.
#pragma once

#include <vector>

namespace test_observation {

template <class O, O* (*installer)(O*)>
class Observation {
 public:
  explicit Observation(O* observateur) : avant_(installer(observateur)) {}
  ~Observation() { installer(avant_); }
  Observation(const Observation&) = delete;
  Observation& operator=(const Observation&) = delete;

 private:
  O* avant_;
};

template <class O, O* (*installer)(O*), class A>
class Enregistrement : public O {
 public:
  std::vector<A> appels;
  void appel(const A& a) override { appels.push_back(a); }
  void effacer() { appels.clear(); }

 private:
  Observation<O, installer> installee_{this};  // last, so that it goes first
};

}  // namespace test_observation
