// File access shared by every layer: whole files read into memory, and every
// write made safe (a temporary file in the target's folder, flushed and closed,
// then renamed over the target; on failure the temporary file is removed and
// the target is untouched). A symbolic link is followed and the file it points
// to is replaced; a write-protected file is refused, and so is a target that
// is not a regular file. Paths are the local 8-bit file name bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Empty on success, otherwise the system's reason.
using Echec = std::string;

Echec ecrire_fichier(const std::string& chemin, std::string_view octets);
// Copies the regular file `source` over `cible` the same way, a piece at a
// time (a movie need not fit in memory).
Echec copier_fichier(const std::string& source, const std::string& cible);

// What every write asks before it creates anything: the file a write to
// `chemin` replaces, that is the path with its symbolic links followed (a
// link to a regular file is written through and stays a link). Refused, with
// the reason in `raison`, when something other than a regular file is there
// ("a named pipe is not a regular file", "a character device is not a
// regular file"...), when the file is write-protected, or when the links
// cannot be followed.
std::optional<std::string> cible_ecriture(const std::string& chemin, Echec* raison = nullptr);
// The same check for a writer that needs only the verdict (the PDF printer,
// before it prints into a file of its own): empty when `chemin` may be written.
Echec refus_ecriture(const std::string& chemin);
// For a writer that opens its file itself by name (the movie encoder): a new
// empty work file beside the target `chemin`, made as the safe write makes
// its own: named after the target, a dot, six characters that make the name
// free and `fin` (".part"), and created exclusively, so that a name already
// taken, by another program's file or anything else, is passed over and
// never removed. Its path, or nullopt with the reason in `raison`. The
// writer may open it again by name, and removes it only itself.
std::optional<std::string> creer_provisoire(const std::string& chemin, std::string_view fin, Echec* raison = nullptr);
// Removes the work files that creer_provisoire(chemin, fin) made and a
// writer ended before it could remove (the program was killed): the regular
// files beside `chemin` named exactly as it names them, whatever their six
// characters. Any other name is left, another target's work files too.
void effacer_provisoires(const std::string& chemin, std::string_view fin);
// The name of a work file beside `chemin`, made for it: the target's folder,
// then `avant`, the target's own name and `apres` (".", "name", ".XXXXXX").
// The target's name is cut, where a character starts, so that the whole
// stays within the longest name the folder takes: a target named as long
// as the file system allows still has its work file beside it.
std::string nom_de_travail(const std::string& chemin, std::string_view avant, std::string_view apres);
// Renames the finished work file `provisoire` over `cible` (a path given by
// cible_ecriture), with the mode of the file it replaces, after asking again
// what is at `cible`: something put there meanwhile is not replaced. On
// failure the work file is removed.
Echec remplacer_par(const std::string& provisoire, const std::string& cible);

// What a path names, asked of the system by name with its links followed,
// never by opening it: opening a named pipe waits until something writes
// into it, and a device may never end.
enum class GenreFichier { absent, ordinaire, dossier, tube, caracteres, blocs, prise, autre };
GenreFichier genre_fichier(const std::string& chemin);
// Why a path that names something other than a regular file cannot be read
// as one: "a named pipe is not a regular file", "a directory is not a
// regular file"...; empty for a regular file and for a path that names
// nothing.
std::string raison_non_ordinaire(const std::string& chemin);

// The most bytes a whole-file read takes, and what a longer file is said to
// be too large to be: "it is too large to be a document (N bytes; at most M)".
struct LimiteLecture {
  std::uint64_t octets;
  const char* quoi;
};
// Pictures, skies, import sources, settings and frames: 1 GiB, well above
// the largest picture the program reads (8192 x 8192 pixels of 4 bytes is
// 256 MiB) and the largest elevation source.
inline constexpr LimiteLecture kLectureOrdinaire{std::uint64_t{1} << 30, "read"};

// The whole file, or nullopt with the reason in `raison`. Only a regular
// file is opened (see raison_non_ordinaire); one larger than `limite` is
// refused by its size before anything is read, and one that grows past it
// while it is read is refused then.
std::optional<std::string> lire_fichier(const std::string& chemin, std::string* raison = nullptr,
                                        LimiteLecture limite = kLectureOrdinaire);

// A regular file read from its start a piece at a time, so that a reader
// looks at the header before it decides how much more to read: nothing much
// past the bytes asked for is read, and the size the system gives is there
// to check what the header declares against.
class LectureFichier {
 public:
  explicit LectureFichier(LimiteLecture limite = kLectureOrdinaire) : limite_(limite) {}
  ~LectureFichier();
  LectureFichier(const LectureFichier&) = delete;
  LectureFichier& operator=(const LectureFichier&) = delete;

  // Opens a regular file only (see raison_non_ordinaire); false with the
  // reason in raison().
  bool ouvrir(const std::string& chemin);
  // The size the system gives; 0 for the files that are made as they are
  // read (those of /proc), which may never end.
  std::uint64_t taille() const { return taille_; }
  // False, with the reason, when the first `n` bytes of the file would pass
  // the limit by its size: "it is too large to be read (N bytes; at most
  // M)". A file to be read whole, or whose header promises more than the
  // limit, is refused so before more is read.
  bool lecture_permise(std::uint64_t n = UINT64_MAX);
  // Makes the first `n` bytes available, fewer when the file ends before,
  // at most a block of 4096 bytes more; bytes already read are not read
  // again. False with the reason when reading fails, or when the file holds
  // more than the limit and more was asked ("it is too large to be read
  // (more than N bytes)").
  bool lire_jusqua(std::uint64_t n);
  // Makes room for the first `n` bytes (no more than the file's size and the
  // limit) at once, so that reading on in steps moves no byte already read.
  void reserver(std::uint64_t n);
  // Goes on from byte `position` of the file without reading the bytes
  // before it (a gap that a header says holds nothing the reader needs); a
  // position within what was read already changes nothing. The bytes read
  // after are kept after those kept so far, so that from then on octets(),
  // and the `n` of lire_jusqua, count the bytes kept, not places in the file.
  // The limit still counts places in the file. False with the reason when the
  // file cannot be moved in.
  bool sauter_jusqua(std::uint64_t position);
  // Reads on a piece at a time without keeping what it reads; each piece is
  // shown to `voir`, which returns false to stop there. False with the reason
  // as above.
  template <class Voir>
  bool parcourir_reste(Voir voir) {
    std::string_view morceau;
    while (morceau_suivant(morceau))
      if (!voir(morceau)) break;
    return raison_.empty();
  }
  // The bytes read and kept so far.
  std::string_view octets() const { return octets_; }
  // Whether the end of the file was met.
  bool fin() const { return fin_; }
  std::string prendre() { return std::move(octets_); }
  const std::string& raison() const { return raison_; }

 private:
  // The next piece of the file into `morceau` (not kept); false at the end
  // or on failure (then raison() says why).
  bool morceau_suivant(std::string_view& morceau);
  // Reads at most `voulu` bytes into the buffer: their count (0 at the end),
  // or nullopt on failure.
  std::optional<std::size_t> lire_piece(std::uint64_t voulu);
  bool refuser(std::string raison);

  LimiteLecture limite_;
  int fd_ = -1;
  std::uint64_t taille_ = 0;
  std::uint64_t lus_ = 0;  // bytes read from the file, kept or not
  bool fin_ = false;
  std::string octets_;
  std::string raison_;
  char tampon_[1 << 16];
};

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
