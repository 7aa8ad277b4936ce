#include "platform/nombres.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

namespace platform {

namespace {

// Reals are written with 15 significant digits, and an earlier writer rounded
// the largest doubles so up to 1.79769313486232e308, just above the largest
// double. A positive number that passes the largest double by no more than
// such a rounding (half a unit of the 15th digit) is taken as the largest
// double; anything further out stays out of range.
std::optional<double> au_plus_grand(std::string_view s) {
  static_assert(std::numeric_limits<long double>::max_exponent > std::numeric_limits<double>::max_exponent);
  long double x = 0;
  auto r = std::from_chars(s.data(), s.data() + s.size(), x, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
  const long double plus_grand = std::numeric_limits<double>::max();
  const long double demi_unite = 5e293L;  // half a unit of the 15th significant digit at 1e308
  if (x < plus_grand || x > plus_grand + demi_unite) return std::nullopt;
  return std::numeric_limits<double>::max();
}

}  // namespace

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
  if (r.ec == std::errc::result_out_of_range && r.ptr == s.data() + s.size()) {
    const auto plafond = au_plus_grand(s);
    if (!plafond) return std::nullopt;
    v = *plafond;
  } else if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) {
    return std::nullopt;
  }
  return negatif ? -v : v;
}

}  // namespace platform
