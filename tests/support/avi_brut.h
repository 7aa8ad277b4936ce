// A hand-made AVI of uncompressed frames: a movie every decoder library reads
// but the program never writes, for tests of what the program does with a
// movie that is not its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace test_avi {

inline void ecrire_32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) s[at + std::size_t(k)] = char((v >> (8 * k)) & 0xFF);
}

inline std::string chunk(const char* id, const std::string& data) {
  std::string s(id, 4);
  s += std::string(4, '\0');
  ecrire_32(s, 4, std::uint32_t(data.size()));
  return s + data + (data.size() % 2 ? std::string(1, '\0') : std::string());
}

inline std::string liste(const char* type, const std::string& data) { return chunk("LIST", std::string(type, 4) + data); }

// A hand-made AVI of uncompressed 24-bit frames, a format every decoder
// library reads but this program never writes; the header may declare a
// size other than the frames hold.
inline std::string avi_brut(int w_declare, int h_declare, int w, int h, int images) {
  std::string avih(56, '\0'), strh(56, '\0'), strf(40, '\0');
  ecrire_32(avih, 0, 33333);
  ecrire_32(avih, 16, std::uint32_t(images));
  ecrire_32(avih, 24, 1);
  ecrire_32(avih, 32, std::uint32_t(w_declare));
  ecrire_32(avih, 36, std::uint32_t(h_declare));
  std::memcpy(strh.data(), "vids", 4);
  ecrire_32(strh, 20, 1);
  ecrire_32(strh, 24, 30);
  ecrire_32(strh, 32, std::uint32_t(images));
  ecrire_32(strf, 0, 40);
  ecrire_32(strf, 4, std::uint32_t(w_declare));
  ecrire_32(strf, 8, std::uint32_t(h_declare));
  strf[12] = 1;
  strf[14] = 24;
  const std::size_t ligne = (std::size_t(w) * 3 + 3) & ~std::size_t(3);
  std::string movi;
  for (int k = 0; k < images; ++k) movi += chunk("00db", std::string(ligne * std::size_t(h), char(40 * k)));
  const std::string hdrl = liste("hdrl", chunk("avih", avih) + liste("strl", chunk("strh", strh) + chunk("strf", strf)));
  return chunk("RIFF", std::string("AVI ") + hdrl + liste("movi", movi));
}

}  // namespace test_avi
