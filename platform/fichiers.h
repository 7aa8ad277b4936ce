// File access shared by every layer: whole files read into memory, and every
// write made safe (a temporary file in the target's folder, flushed and closed,
// then renamed over the target; on failure the temporary file is removed and
// the target is untouched). A symbolic link is followed and the file it points
// to is replaced; a write-protected file is refused. Paths are the local 8-bit
// file name bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Empty on success, otherwise the system's reason.
using Echec = std::string;

Echec ecrire_fichier(const std::string& chemin, std::string_view octets);
// Copies `source` over `cible` the same way.
Echec copier_fichier(const std::string& source, const std::string& cible);
// The whole file, or nullopt with the reason in `raison`.
std::optional<std::string> lire_fichier(const std::string& chemin, std::string* raison = nullptr);

bool fichier_existe(const std::string& chemin);
// False when the file did not exist or could not be removed.
bool supprimer_fichier(const std::string& chemin);
// Modification time (seconds since the epoch), or nullopt.
std::optional<long long> date_fichier(const std::string& chemin);

// The path without its folders.
std::string nom_sans_dossier(const std::string& chemin);
// The path with its last three characters replaced (".vue" -> ".bmp").
std::string changer_fin(const std::string& chemin, std::string_view trois);
// The path with its extension (the part from the last "." after the last
// "/") replaced by `extension` (".mat"), or `extension` added.
std::string changer_extension(const std::string& chemin, std::string_view extension);
// The last four characters upper-cased (".MAT").
std::string fin_majuscule(const std::string& chemin);

// For tests: the writes made after this call fail once `octets` bytes of a
// file are written (nullopt: writes work again).
void simuler_echec_ecriture(std::optional<std::size_t> octets);
