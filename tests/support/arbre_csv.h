// Writes a tree model's stored segments as CSV, for debugging and for looking
// over the species' shapes.
#pragma once

#include <ostream>

class Tarbre;

// One line per stored segment: variant, level, position (all from 1), then
// every field of the segment.
void ecrire_segments_csv(const Tarbre& arbre, std::ostream& out);
