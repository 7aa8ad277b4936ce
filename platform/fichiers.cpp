#include "platform/fichiers.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

std::optional<std::size_t> g_echec_apres;

std::string raison_systeme(int e) { return std::strerror(e); }

std::string dossier_de(const std::string& chemin) {
  const auto p = chemin.find_last_of('/');
  if (p == std::string::npos) return ".";
  if (p == 0) return "/";
  return chemin.substr(0, p);
}

// Writes everything to fd; false with errno set on failure. `ecrits` counts
// the bytes of this file written so far, over several calls.
bool tout_ecrire(int fd, std::string_view octets, std::size_t& ecrits) {
  std::size_t fait = 0;
  while (fait < octets.size()) {
    std::size_t morceau = octets.size() - fait;
    if (g_echec_apres) {
      if (ecrits >= *g_echec_apres) {
        errno = ENOSPC;
        return false;
      }
      morceau = std::min(morceau, *g_echec_apres - ecrits);
    }
    const ssize_t n = ::write(fd, octets.data() + fait, morceau);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    fait += static_cast<std::size_t>(n);
    ecrits += static_cast<std::size_t>(n);
  }
  return true;
}

// Reads up to `taille` bytes; the count read (0 at the end of the file), or
// -1 with errno set.
ssize_t lire_morceau(int fd, char* tampon, std::size_t taille) {
  for (;;) {
    const ssize_t n = ::read(fd, tampon, taille);
    if (n >= 0 || errno != EINTR) return n;
  }
}

const char* nom_genre(GenreFichier g) {
  switch (g) {
    case GenreFichier::dossier: return "a directory";
    case GenreFichier::tube: return "a named pipe";
    case GenreFichier::caracteres: return "a character device";
    case GenreFichier::blocs: return "a block device";
    case GenreFichier::prise: return "a socket";
    case GenreFichier::autre: return "a special file";
    case GenreFichier::absent:
    case GenreFichier::ordinaire: break;
  }
  return "";
}

GenreFichier genre_mode(mode_t mode) {
  if (S_ISREG(mode)) return GenreFichier::ordinaire;
  if (S_ISDIR(mode)) return GenreFichier::dossier;
  if (S_ISFIFO(mode)) return GenreFichier::tube;
  if (S_ISCHR(mode)) return GenreFichier::caracteres;
  if (S_ISBLK(mode)) return GenreFichier::blocs;
  if (S_ISSOCK(mode)) return GenreFichier::prise;
  return GenreFichier::autre;
}

std::string refus_genre(GenreFichier g) { return std::string(nom_genre(g)) + " is not a regular file"; }

// Opens a regular file for reading, after asking what the path names: a pipe,
// a device, a socket or a directory is refused before any open(). The open
// itself does not wait (O_NONBLOCK), in case the path was changed into a pipe
// in between, and what was opened is asked again. -1 with the reason on
// failure; `st` describes the opened file.
int ouvrir_ordinaire(const std::string& chemin, struct stat& st, std::string* raison) {
  auto refus = [raison](std::string r) {
    if (raison) *raison = std::move(r);
    return -1;
  };
  if (::stat(chemin.c_str(), &st) != 0) return refus(raison_systeme(errno));
  if (!S_ISREG(st.st_mode)) return refus(refus_genre(genre_mode(st.st_mode)));
  const int fd = ::open(chemin.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return refus(raison_systeme(errno));
  const bool decrit = ::fstat(fd, &st) == 0;
  if (!decrit || !S_ISREG(st.st_mode)) {
    const std::string r = decrit ? refus_genre(genre_mode(st.st_mode)) : raison_systeme(errno);
    ::close(fd);
    return refus(r);
  }
  return fd;
}

std::string trop_grand(LimiteLecture limite, std::optional<std::uint64_t> taille) {
  std::string r = std::string("it is too large to be ") + limite.quoi + " (";
  if (taille) r += std::to_string(*taille) + " bytes; at most " + std::to_string(limite.octets) + ")";
  else r += "more than " + std::to_string(limite.octets) + " bytes)";
  return r;
}

// The pattern of the work names beside `chemin`: six X where mkstemps puts
// its characters.
std::string modele_temporaire(const std::string& chemin, std::string_view avant, std::string_view fin) {
  return nom_de_travail(chemin, avant, ".XXXXXX" + std::string(fin));
}

// Opens a new file beside `chemin`, named `avant`, the target's name, a dot
// and six characters that make the name free, then `fin`. It is created
// exclusively (O_EXCL), so a name already taken, by whatever holds it, is
// passed over and left alone. -1 with errno set on failure.
int ouvrir_temporaire(const std::string& chemin, std::string_view avant, std::string_view fin,
                      std::string& temporaire) {
  const std::string m = modele_temporaire(chemin, avant, fin);
  std::vector<char> modele(m.begin(), m.end());
  modele.push_back('\0');
  const int fd = ::mkstemps(modele.data(), static_cast<int>(fin.size()));
  if (fd >= 0) temporaire = modele.data();
  return fd;
}

// The mode a new file gets from the process's umask, or the mode of the file
// being replaced.
mode_t mode_pour(const std::string& chemin) {
  struct stat st {};
  if (::stat(chemin.c_str(), &st) == 0) return st.st_mode & 07777;
  const mode_t masque = ::umask(0);
  ::umask(masque);
  return 0666 & ~masque;
}

// The file a path names once its symbolic links are followed (also when the
// last link points to a file that does not exist yet); nullopt with errno set
// on a loop or an unreadable link.
std::optional<std::string> cible_du_lien(std::string chemin) {
  for (int sauts = 0; sauts < 40; ++sauts) {
    struct stat st {};
    if (::lstat(chemin.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return chemin;
    std::vector<char> tampon(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = ::readlink(chemin.c_str(), tampon.data(), tampon.size());
    if (n < 0) return std::nullopt;
    if (static_cast<std::size_t>(n) >= tampon.size()) {  // grew since lstat
      errno = ENAMETOOLONG;
      return std::nullopt;
    }
    std::string lien(tampon.data(), static_cast<std::size_t>(n));
    chemin = (!lien.empty() && lien[0] == '/') ? lien : dossier_de(chemin) + "/" + lien;
  }
  errno = ELOOP;
  return std::nullopt;
}

// An existing file that the user may not write, or whose mode has no write
// permission at all (the user marked it read-only), is not replaced.
bool protege_en_ecriture(const std::string& chemin) {
  struct stat st {};
  if (::stat(chemin.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(chemin.c_str(), W_OK) != 0;
}

// What is at `chemin` now, its last link not followed: empty when nothing or
// a regular file is there, otherwise why it is not replaced.
Echec refus_present(const std::string& chemin) {
  struct stat st {};
  if (::lstat(chemin.c_str(), &st) != 0) return errno == ENOENT ? Echec{} : raison_systeme(errno);
  if (S_ISREG(st.st_mode)) return {};
  if (!S_ISLNK(st.st_mode)) return refus_genre(genre_mode(st.st_mode));
  // A link put there since the path was followed: say what it names.
  const std::string r = raison_non_ordinaire(chemin);
  return r.empty() ? "it was changed while it was written" : r;
}

template <class Remplir>
Echec ecrire_sur(const std::string& nom, Remplir remplir) {
  Echec raison;
  const std::optional<std::string> cible = cible_ecriture(nom, &raison);
  if (!cible) return raison;
  std::string temporaire;
  const int fd = ouvrir_temporaire(*cible, ".", "", temporaire);
  if (fd < 0) return raison_systeme(errno);
  int erreur = 0;
  if (!remplir(fd) || ::fsync(fd) != 0) erreur = errno;
  if (::close(fd) != 0 && erreur == 0) erreur = errno;
  if (erreur != 0) {
    ::unlink(temporaire.c_str());
    return raison_systeme(erreur);
  }
  return remplacer_par(temporaire, *cible);
}

}  // namespace

void simuler_echec_ecriture(std::optional<std::size_t> octets) { g_echec_apres = octets; }

Echec ecrire_fichier(const std::string& chemin, std::string_view octets) {
  return ecrire_sur(chemin, [&](int fd) {
    std::size_t ecrits = 0;
    return tout_ecrire(fd, octets, ecrits);
  });
}

Echec copier_fichier(const std::string& source, const std::string& cible) {
  struct stat st {};
  std::string raison;
  const int entree = ouvrir_ordinaire(source, st, &raison);
  if (entree < 0) return raison;
  int erreur_lecture = 0;
  const Echec e = ecrire_sur(cible, [&](int fd) {
    std::vector<char> tampon(std::size_t{1} << 20);
    std::size_t ecrits = 0;
    for (;;) {
      const ssize_t n = lire_morceau(entree, tampon.data(), tampon.size());
      if (n < 0) erreur_lecture = errno;
      if (n <= 0) return n == 0;
      if (!tout_ecrire(fd, std::string_view(tampon.data(), static_cast<std::size_t>(n)), ecrits)) return false;
    }
  });
  ::close(entree);
  return erreur_lecture != 0 ? raison_systeme(erreur_lecture) : e;
}

std::optional<std::string> cible_ecriture(const std::string& chemin, Echec* raison) {
  auto refus = [raison](Echec r) -> std::optional<std::string> {
    if (raison) *raison = std::move(r);
    return std::nullopt;
  };
  // Through a link, the file it points to is replaced, in its own folder.
  std::optional<std::string> cible = cible_du_lien(chemin);
  if (!cible) return refus(raison_systeme(errno));
  Echec r = refus_present(*cible);
  if (r.empty() && protege_en_ecriture(*cible)) r = "it is write-protected";
  if (!r.empty()) return refus(std::move(r));
  return cible;
}

Echec refus_ecriture(const std::string& chemin) {
  Echec raison;
  return cible_ecriture(chemin, &raison) ? Echec{} : raison;
}

std::optional<std::string> creer_provisoire(const std::string& chemin, std::string_view fin, Echec* raison) {
  std::string provisoire;
  const int fd = ouvrir_temporaire(chemin, "", fin, provisoire);
  if (fd < 0) {
    if (raison) *raison = raison_systeme(errno);
    return std::nullopt;
  }
  ::close(fd);
  return provisoire;
}

void effacer_provisoires(const std::string& chemin, std::string_view fin) {
  const std::string modele = modele_temporaire(chemin, "", fin);
  const std::string dossier = dossier_de(modele);
  const std::string nom = modele.substr(modele.find_last_of('/') + 1);
  const std::size_t x = nom.size() - fin.size() - 6;  // where mkstemps puts its six characters
  const auto de_mkstemps = [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  };
  std::vector<std::string> restes;
  if (DIR* d = ::opendir(dossier.c_str())) {
    while (const dirent* e = ::readdir(d)) {
      const std::string_view n = e->d_name;
      if (n.size() == nom.size() && n.substr(0, x) == std::string_view(nom).substr(0, x) &&
          n.substr(x + 6) == std::string_view(nom).substr(x + 6) &&
          std::all_of(n.begin() + x, n.begin() + x + 6, de_mkstemps))
        restes.push_back(dossier + "/" + std::string(n));
    }
    ::closedir(d);
  }
  for (const std::string& r : restes) {
    struct stat st {};
    if (::lstat(r.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(r.c_str());
  }
}

Echec remplacer_par(const std::string& provisoire, const std::string& cible) {
  // Asked again just before the rename: the target may have been changed
  // into something else while the work file was written.
  Echec refus = refus_present(cible);
  if (refus.empty()) {
    ::chmod(provisoire.c_str(), mode_pour(cible));
    if (::rename(provisoire.c_str(), cible.c_str()) != 0) refus = raison_systeme(errno);
  }
  if (!refus.empty()) ::unlink(provisoire.c_str());
  return refus;
}

std::string nom_de_travail(const std::string& chemin, std::string_view avant, std::string_view apres) {
  const std::string dossier = dossier_de(chemin);
  std::string nom = nom_sans_dossier(chemin);
  const long plus_long = ::pathconf(dossier.c_str(), _PC_NAME_MAX);
  const std::size_t limite = plus_long > 0 ? static_cast<std::size_t>(plus_long) : 255;
  const std::size_t ajout = avant.size() + apres.size();
  const std::size_t place = limite > ajout ? limite - ajout : 0;
  if (nom.size() > place) {
    // Cut where a character starts, never inside one of UTF-8's.
    std::size_t fin = place;
    while (fin > 0 && (static_cast<unsigned char>(nom[fin]) & 0xC0) == 0x80) --fin;
    nom.resize(fin);
  }
  return (dossier == "/" ? std::string() : dossier) + "/" + std::string(avant) + nom + std::string(apres);
}

GenreFichier genre_fichier(const std::string& chemin) {
  struct stat st {};
  if (chemin.empty() || ::stat(chemin.c_str(), &st) != 0) return GenreFichier::absent;
  return genre_mode(st.st_mode);
}

std::string raison_non_ordinaire(const std::string& chemin) {
  const GenreFichier g = genre_fichier(chemin);
  if (g == GenreFichier::absent || g == GenreFichier::ordinaire) return {};
  return refus_genre(g);
}

std::optional<std::string> lire_fichier(const std::string& chemin, std::string* raison, LimiteLecture limite) {
  LectureFichier f(limite);
  const auto echec = [&]() -> std::optional<std::string> {
    if (raison) *raison = f.raison();
    return std::nullopt;
  };
  if (!f.ouvrir(chemin) || !f.lecture_permise() || !f.lire_jusqua(UINT64_MAX)) return echec();
  return f.prendre();
}

LectureFichier::~LectureFichier() {
  if (fd_ >= 0) ::close(fd_);
}

bool LectureFichier::refuser(std::string raison) {
  raison_ = std::move(raison);
  return false;
}

bool LectureFichier::lecture_permise(std::uint64_t n) {
  return std::min(n, taille_) <= limite_.octets || refuser(trop_grand(limite_, taille_));
}

bool LectureFichier::ouvrir(const std::string& chemin) {
  struct stat st {};
  fd_ = ouvrir_ordinaire(chemin, st, &raison_);
  if (fd_ < 0) return false;
  taille_ = static_cast<std::uint64_t>(st.st_size > 0 ? st.st_size : 0);
  return true;
}

std::optional<std::size_t> LectureFichier::lire_piece(std::uint64_t voulu) {
  if (fd_ < 0 || !raison_.empty()) return std::nullopt;
  if (fin_) return 0;
  // One byte past the limit tells a file that is too large.
  const std::uint64_t reste = limite_.octets + 1 - std::min(lus_, limite_.octets + 1);
  const auto taille = static_cast<std::size_t>(std::min<std::uint64_t>({sizeof tampon_, voulu, reste}));
  const ssize_t n = lire_morceau(fd_, tampon_, taille);
  if (n < 0) {
    refuser(raison_systeme(errno));
    return std::nullopt;
  }
  fin_ = n == 0;
  lus_ += static_cast<std::uint64_t>(n);
  if (lus_ > limite_.octets) {
    refuser(trop_grand(limite_, std::nullopt));
    return std::nullopt;
  }
  return static_cast<std::size_t>(n);
}

bool LectureFichier::morceau_suivant(std::string_view& morceau) {
  const std::optional<std::size_t> n = lire_piece(sizeof tampon_);
  if (!n || *n == 0) return false;
  morceau = std::string_view(tampon_, *n);
  return true;
}

bool LectureFichier::sauter_jusqua(std::uint64_t position) {
  if (fd_ < 0 || !raison_.empty()) return false;
  if (position <= lus_ || fin_) return true;
  if (position > limite_.octets)
    return refuser(trop_grand(limite_, taille_ >= position ? std::optional(taille_) : std::nullopt));
  if (::lseek(fd_, static_cast<off_t>(position), SEEK_SET) < 0) return refuser(raison_systeme(errno));
  lus_ = position;
  return true;
}

bool LectureFichier::lire_jusqua(std::uint64_t n) {
  // Whole blocks are read (some files of /proc read only so).
  constexpr std::uint64_t bloc = 4096;
  n = n > UINT64_MAX - bloc ? UINT64_MAX : (n + bloc - 1) / bloc * bloc;
  reserver(n);
  while (octets_.size() < n && !fin_) {
    const std::optional<std::size_t> lu = lire_piece(n - octets_.size());
    if (!lu) return false;
    octets_.append(tampon_, *lu);
  }
  return raison_.empty();
}

void LectureFichier::reserver(std::uint64_t n) {
  n = std::min({n, taille_, limite_.octets});
  if (n > octets_.capacity()) octets_.reserve(static_cast<std::size_t>(n));
}

bool fichier_existe(const std::string& chemin) {
  struct stat st {};
  return !chemin.empty() && ::stat(chemin.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool supprimer_fichier(const std::string& chemin) { return ::unlink(chemin.c_str()) == 0; }

std::optional<long long> date_fichier(const std::string& chemin) {
  struct stat st {};
  if (::stat(chemin.c_str(), &st) != 0) return std::nullopt;
  return static_cast<long long>(st.st_mtime);
}

std::string nom_sans_dossier(const std::string& chemin) {
  const auto p = chemin.find_last_of('/');
  return p == std::string::npos ? chemin : chemin.substr(p + 1);
}

std::string changer_fin(const std::string& chemin, std::string_view trois) {
  if (chemin.size() < 3) return std::string(trois);
  return chemin.substr(0, chemin.size() - 3) + std::string(trois);
}

std::string changer_extension(const std::string& chemin, std::string_view extension) {
  const auto barre = chemin.find_last_of('/');
  const auto point = chemin.find_last_of('.');
  if (point == std::string::npos || (barre != std::string::npos && point < barre))
    return chemin + std::string(extension);
  return chemin.substr(0, point) + std::string(extension);
}

std::string fin_majuscule(const std::string& chemin) {
  std::string s = chemin.size() >= 4 ? chemin.substr(chemin.size() - 4) : chemin;
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}
