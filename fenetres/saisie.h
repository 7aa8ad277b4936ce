// Numbers typed into the option dialogs' edits. A typed number is optional
// blanks, an optional sign, digits and optional blanks; anything else, or a
// value outside int32, gives the caller's default. No message is shown.
#pragma once

#include <QString>
#include <cstdint>
#include <string_view>

namespace fenetres {

std::int32_t entier_saisi(std::string_view texte, std::int32_t defaut);
std::int32_t entier_saisi(const QString& texte, std::int32_t defaut);
// The same for a real: a dot or a comma separates the decimals.
double reel_saisi(std::string_view texte, double defaut);
double reel_saisi(const QString& texte, double defaut);
// A typed integer bounded to min..max, as the control beside the edit bounds
// it; unreadable text gives the default.
std::int32_t entier_borne(const QString& texte, std::int32_t min, std::int32_t max, std::int32_t defaut);

}  // namespace fenetres
