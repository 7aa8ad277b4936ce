// The Windows Latin-1 code page of document text, and its conversions to and from UTF-8.
#include "platform/page_de_code.h"

#include <array>

namespace platform {

namespace {

// Bytes 0x80 to 0x9F; every other byte is the character of the same number.
constexpr std::array<char32_t, 32> kHautsDeTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

void ajouter_utf8(std::string& s, char32_t c) {
  if (c < 0x80) {
    s.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    s.push_back(static_cast<char>(0xC0 | (c >> 6)));
    s.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    s.push_back(static_cast<char>(0xE0 | (c >> 12)));
    s.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    s.push_back(static_cast<char>(0xF0 | (c >> 18)));
    s.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// The character that starts at s[i], i moving past it; nullopt (i moving one
// byte) when the bytes there are not well-formed UTF-8.
std::optional<char32_t> lire_utf8(std::string_view s, std::size_t& i) {
  const auto c = static_cast<unsigned char>(s[i++]);
  if (c < 0x80) return c;
  const int suite = c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : 0;
  if (suite == 0 || i + static_cast<std::size_t>(suite) > s.size()) return std::nullopt;
  char32_t cp = c & (0x3Fu >> suite);
  for (int k = 0; k < suite; ++k) {
    const auto d = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
    if ((d & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (d & 0x3Fu);
  }
  constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[suite] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  i += static_cast<std::size_t>(suite);
  return cp;
}

}  // namespace

char32_t caractere_page_de_code(unsigned char octet) {
  return octet >= 0x80 && octet <= 0x9F ? kHautsDeTable[octet - 0x80] : octet;
}

std::optional<unsigned char> octet_page_de_code(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (std::size_t k = 0; k < kHautsDeTable.size(); ++k)
    if (kHautsDeTable[k] == c) return static_cast<unsigned char>(0x80 + k);
  return std::nullopt;
}

std::string page_de_code_vers_utf8(std::string_view octets) {
  std::string s;
  s.reserve(octets.size());
  for (char o : octets) ajouter_utf8(s, caractere_page_de_code(static_cast<unsigned char>(o)));
  return s;
}

std::string utf8_vers_page_de_code(std::string_view utf8, std::string* remplaces) {
  std::string octets;
  octets.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::optional<char32_t> c = lire_utf8(utf8, i);
    const std::optional<unsigned char> o = c ? octet_page_de_code(*c) : std::nullopt;
    octets.push_back(o ? static_cast<char>(*o) : '?');
    if (o || !remplaces) continue;
    std::string r;
    ajouter_utf8(r, c.value_or(0xFFFD));
    if (remplaces->find(r) == std::string::npos) *remplaces += r;
  }
  return octets;
}

}  // namespace platform
