// Plain numbers read from text fields (documents, option files, typed
// values): the C locale, nothing but the number, never a wrapped value.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// A decimal integer with optional leading blanks and sign, nothing after it,
// within int32.
std::optional<std::int32_t> convertir_entier(std::string_view s);
// Like convertir_entier, but blanks after the number are allowed too (lines
// holding a count, a size or a key).
std::optional<std::int32_t> convertir_entier_ligne(std::string_view s);
// A real with optional blanks around it, "." as the decimal point. A number
// just past the largest double, by no more than the rounding of its 15
// significant digits (1.79769313486232e308), is read as the largest double.
std::optional<double> convertir_reel(std::string_view s);

}  // namespace platform
