// The program's folders, named in one place. Everything the program keeps on
// disk lies in the program folder: the executable's folder, or the user's copy
// of it when that cannot be written. Paths are the local 8-bit file name bytes.
#pragma once

#include <string>
#include <string_view>

namespace dossiers {

// `nom` inside `dossier`: "dossier/nom", with no doubled separator when the
// folder already ends with one, and `nom` alone when the folder is empty.
std::string dans(std::string_view dossier, std::string_view nom);

// The sky pictures ("ciels").
std::string ciels(std::string_view programme);
// The work folder for temporary files, such as preview movies and frames ("temp").
std::string temporaire(std::string_view programme);
// The options file ("montagne.ini").
std::string options(std::string_view programme);

}  // namespace dossiers
