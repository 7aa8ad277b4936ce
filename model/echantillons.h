// The 36 x 36 height sample of a terrain that the option and video dialogs
// build their small preview terrains from.
#pragma once

#include <array>
#include <cstdint>

class Tmatrice;

// Sample (i, j), i and j in 1..36 (index 0 unused); pairs with i + j >= 40
// are not sampled and read as outside the lattice (-4000).
using Echantillon36 = std::array<std::array<std::int32_t, 37>, 37>;

// The lattice line that index i (1..36) samples on a terrain of n nodes per
// side: 1 (3 from 17 nodes on) for i = 1, n + 1 (n - 1 from 17 nodes on) for
// i = 36, Round(i x n / 36) in between.
std::int32_t ligne_echantillon(int i, std::int32_t n);

Echantillon36 echantillonner_36(const Tmatrice& terrain);

// Fills a small preview terrain from a sample: node (i, j) of a terrain of n
// nodes per side takes sample (1 + Round((i - 1) x 35 / (n - 1)),
// 1 + Round((j - 1) x 35 / (n - 1))), a pair that always lies inside the
// sample's triangle; then the terrain is set up as after an import.
void remplir_depuis_echantillon(Tmatrice& terrain, const Echantillon36& e);
