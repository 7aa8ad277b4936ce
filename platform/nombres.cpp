#include "platform/nombres.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

namespace platform {

std::optional<std::int32_t> convertir_entier(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  s.remove_prefix(i);
  bool negatif = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negatif = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.size() > 11) return std::nullopt;
  std::int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (negatif) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

std::optional<std::int32_t> convertir_entier_ligne(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  while (!s.empty() && s.front() == '\t') s.remove_prefix(1);
  return convertir_entier(s);
}

std::optional<double> convertir_reel(std::string_view s) {
  auto blanc = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blanc(s.front())) s.remove_prefix(1);
  while (!s.empty() && blanc(s.back())) s.remove_suffix(1);
  bool negatif = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negatif = s[0] == '-';
    s.remove_prefix(1);
  }
  // Only digits, one point and an exponent: no "inf", "nan" or hex forms.
  if (s.empty() || !((s[0] >= '0' && s[0] <= '9') || s[0] == '.')) return std::nullopt;
  for (char c : s) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-'))
      return std::nullopt;
  }
  double v = 0;
  auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return negatif ? -v : v;
}

}  // namespace platform
