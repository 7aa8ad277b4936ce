// film_pages_gardees: makes and reads back a movie of every codec from frames
// of widths that are not a multiple of the pixel scaler's word (1 to 7, 321,
// 641, 4095), each frame held in memory and as a JPEG frame file. Every block
// this program allocates, the movie layer's and FFmpeg's included, ends just
// before a page that can be neither read nor written: a frame read or written
// past its end stops the program with SIGSEGV. Exit status 0 when every movie
// was written and read back; 1, with the failures listed, otherwise.
//   film_pages_gardees FOLDER    (FOLDER receives the frame files and movies)
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/vidconv/conversion_video.h"
#include "platform/vidconv/lecteur_film.h"
#include "render/jpeg.h"
#include "render/raster.h"

// ---------------------------------------------------------------- allocator

namespace {

constexpr std::uint64_t kMarque = 0x6761726465657321ull;

// Written just before each block handed out.
struct Entete {
  void* base;
  std::size_t longueur;  // of the whole mapping, guard page included
  std::size_t taille;
  std::uint64_t marque;
};

std::size_t page() {
  static const std::size_t p = std::size_t(sysconf(_SC_PAGESIZE));
  return p;
}

// A block of `taille` bytes aligned to `alignement` whose end is as close to
// the following unreadable page as the alignment allows.
void* garder(std::size_t taille, std::size_t alignement) {
  if (alignement < alignof(std::max_align_t)) alignement = alignof(std::max_align_t);
  if (taille > (std::size_t(1) << 40)) return nullptr;
  const std::size_t utile = (taille + sizeof(Entete) + alignement + page() - 1) / page() * page();
  void* m = mmap(nullptr, utile + page(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (m == MAP_FAILED) return nullptr;
  char* base = static_cast<char*>(m);
  if (mprotect(base + utile, page(), PROT_NONE) != 0) {
    munmap(m, utile + page());
    return nullptr;
  }
  const std::uintptr_t p = (reinterpret_cast<std::uintptr_t>(base + utile) - taille) & ~(alignement - 1);
  Entete* e = reinterpret_cast<Entete*>(p) - 1;
  *e = {base, utile + page(), taille, kMarque};
  return reinterpret_cast<void*>(p);
}

Entete* entete(void* p) {
  Entete* e = static_cast<Entete*>(p) - 1;
  return e->marque == kMarque ? e : nullptr;
}

}  // namespace

extern "C" {

void* malloc(std::size_t n) {
  void* p = garder(n, 0);
  if (!p) errno = ENOMEM;
  return p;
}
void free(void* p) {
  if (!p) return;
  if (Entete* e = entete(p)) munmap(e->base, e->longueur);
}
void* calloc(std::size_t n, std::size_t m) {
  if (m && n > std::size_t(-1) / m) return nullptr;
  return malloc(n * m);  // fresh mappings are zeroed
}
void* realloc(void* p, std::size_t n) {
  if (!p) return malloc(n);
  if (n == 0) {
    free(p);
    return nullptr;
  }
  void* q = malloc(n);
  if (!q) return nullptr;
  const Entete* e = entete(p);
  std::memcpy(q, p, e && e->taille < n ? e->taille : n);
  free(p);
  return q;
}
void* memalign(std::size_t alignement, std::size_t n) { return garder(n, alignement); }
void* aligned_alloc(std::size_t alignement, std::size_t n) { return garder(n, alignement); }
int posix_memalign(void** p, std::size_t alignement, std::size_t n) {
  *p = garder(n, alignement);
  return *p ? 0 : ENOMEM;
}
void* valloc(std::size_t n) { return garder(n, page()); }
void* pvalloc(std::size_t n) { return garder((n + page() - 1) / page() * page(), page()); }
std::size_t malloc_usable_size(void* p) {
  const Entete* e = p ? entete(p) : nullptr;
  return e ? e->taille : 0;
}

}  // extern "C"

// ---------------------------------------------------------------- movies

namespace {

namespace vcv = platform::vcv;

struct Codec {
  const char* nom;
  int conteneur;
  std::uint32_t code;
};

// A frame whose colours change along both sides, so that no codec sees it flat.
render::Bitmap image(int w, int h, int k) {
  render::Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.at(x, y) = render::pixel_rgb(std::uint8_t(x * 7 + k * 40), std::uint8_t(y * 13), std::uint8_t((x + y) * 3));
  return b;
}

// Two frames, handed over in memory or as the JPEG files of `liste`.
bool faire(const Codec& c, int w, int h, const std::string& film, vcv::Handle liste) {
  const vcv::Handle conv = vcv::alloc(), img = vcv::img_alloc();
  std::vector<render::Bitmap> images = {image(w, h, 0), image(w, h, 1)};
  vcv::assign_video_source(conv, [&](vcv::Handle source, int index) {
    if (liste) {
      if (auto nom = vcv::list_get_name(liste, index)) vcv::src_set_file(source, *nom);
      else vcv::src_finished(source);
    } else if (index < 2) {
      const render::Bitmap& b = images[std::size_t(index)];
      vcv::dib_to_img(img, {b.pixels().data(), b.width(), b.height(), b.width()});
      vcv::src_set_img(source, img);
    } else {
      vcv::src_finished(source);
    }
  });
  vcv::set_frame_rate(conv, 30.0);
  vcv::set_resolution(conv, w, h);
  vcv::set_codec(conv, c.conteneur, c.code);
  vcv::set_output_file(conv, film, 0);
  vcv::force_compatibility(conv, -1);
  const bool ok = vcv::convert(conv);
  vcv::free(conv);
  vcv::free(img);
  return ok;
}

bool relire(const std::string& film) {
  vcv::MovieReader lecteur;
  std::vector<std::uint32_t> pixels;
  return lecteur.open(film) && lecteur.frame_count() == 2 && lecteur.read(1, pixels) && lecteur.read(0, pixels);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: film_pages_gardees FOLDER\n");
    return 2;
  }
  const std::string dossier = argv[1];
  const Codec codecs[] = {{"cvid", vcv::kContainerAvi, vcv::fourcc("cvid")},
                          {"IV32", vcv::kContainerAvi, vcv::fourcc("IV32")},
                          {"msvc", vcv::kContainerAvi, vcv::fourcc("msvc")},
                          {"mrle", vcv::kContainerAvi, vcv::fourcc("mrle")},
                          {"mpeg1", vcv::kContainerMpeg, 0},
                          {"vcd", vcv::kContainerMpeg, 1},
                          {"mpeg2", vcv::kContainerMpeg, 2},
                          {"svcd", vcv::kContainerMpeg, 3},
                          {"dvd", vcv::kContainerMpeg, 4}};
  const int tailles[][2] = {{1, 5}, {2, 5}, {3, 5},   {4, 5},     {5, 5},    {6, 5},
                            {7, 5}, {321, 252}, {641, 4}, {4095, 4}};
  int echecs = 0;
  for (const auto& t : tailles) {
    const int w = t[0], h = t[1];
    const std::string prefixe = dossier + "/f" + std::to_string(w) + "x" + std::to_string(h) + "_";
    for (int k = 0; k < 2; ++k)
      if (!render::ecrire_jpeg(prefixe + std::to_string(10001 + k) + ".jpg", image(w, h, k), 90)) {
        std::fprintf(stderr, "cannot write the frame files of %d x %d\n", w, h);
        return 1;
      }
    const vcv::Handle liste = vcv::list_alloc();
    vcv::list_add(liste, prefixe + "*.jpg", 1);
    for (const Codec& c : codecs) {
      for (const bool fichiers : {false, true}) {
        const std::string film = prefixe + c.nom + (fichiers ? "_fichiers" : "") + ".movie";
        if (!faire(c, w, h, film, fichiers ? liste : 0) || !relire(film)) {
          std::fprintf(stderr, "%s %d x %d %s: %s\n", c.nom, w, h, fichiers ? "from files" : "in memory",
                       vcv::last_error_text().c_str());
          ++echecs;
        }
      }
    }
    vcv::list_free(liste);
  }
  return echecs ? 1 : 0;
}
