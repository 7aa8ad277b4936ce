#include "tests/support/arbre_csv.h"

#include <cstdio>

#include "render/arbre.h"

void ecrire_segments_csv(const Tarbre& arbre, std::ostream& out) {
  out << "variante,niveau,position,x1,y1,x2,y2,profondeur,largeur,teinte,genre,dir_x,dir_y,longueur,rang\n";
  char buf[512];
  for (int k = 1; k <= arbre.nb_variantes; ++k) {
    for (int l = 1; l <= arbre.niveau; ++l) {
      int b = 1;
      for (const segment& s : arbre.segments_de(k, l)) {
        std::snprintf(buf, sizeof buf, "%d,%d,%d,%.17g,%.17g,%.17g,%.17g,%.17g,%.17g,%u,%u,%.17g,%.17g,%.17g,%u\n", k,
                      l, b++, s.x1, s.y1, s.x2, s.y2, s.profondeur, s.largeur, unsigned{s.teinte},
                      unsigned{s.genre}, s.dir_x, s.dir_y, s.longueur, unsigned{s.rang});
        out << buf;
      }
    }
  }
}
