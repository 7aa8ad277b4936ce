// A tree canvas that draws nothing and records every primitive with the pen
// and brush it was drawn with; its coverage probe answers from a list of
// covered pixels that the test sets.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/canevas_arbre.h"

class CanevasEnregistreur final : public render::CanevasArbre {
 public:
  enum class Genre : std::uint8_t { ligne, polygone, ellipse };
  struct Trace {
    Genre genre;
    std::vector<render::Point> points;
    render::Stylo stylo;
    render::Pinceau pinceau;
  };
  std::vector<Trace> traces;
  // Probe answers: the covered pixels.
  std::vector<render::Point> pixels_couverts;

  void ligne(render::Point a, render::Point b) override { traces.push_back({Genre::ligne, {a, b}, stylo(), pinceau()}); }
  void polygone(const render::Point* p, int n) override {
    traces.push_back({Genre::polygone, std::vector<render::Point>(p, p + n), stylo(), pinceau()});
  }
  void ellipse(render::Point a, render::Point b) override {
    traces.push_back({Genre::ellipse, {a, b}, stylo(), pinceau()});
  }
  bool couvert(render::Point p) const override {
    return std::find(pixels_couverts.begin(), pixels_couverts.end(), p) != pixels_couverts.end();
  }
};
