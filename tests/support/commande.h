// Runs a shell command from a test and gives back what it wrote on its
// standard output (the movie tests read ffprobe's and ffmpeg's answers).
#pragma once

#include <array>
#include <cstdio>
#include <string>

namespace test_commande {

inline std::string sortie(const std::string& commande) {
  std::string out;
  FILE* p = popen(commande.c_str(), "r");
  if (!p) return out;
  std::array<char, 65536> buf;
  std::size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  pclose(p);
  return out;
}

}  // namespace test_commande
