// The program's side of the movie layer: every call of the layer's interface
// that needs the codec libraries goes through the module's table, loaded on
// the first such call (see table_film.h). The disc standards, the RLE8
// palette and the removal of left work files need no codec library and are
// linked in as they are.
#include "platform/vidconv/chargeur_film.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <vector>

#include "platform/vidconv/lecteur_film.h"
#include "platform/vidconv/table_film.h"

namespace platform::vcv {

namespace {

std::once_flag g_une_fois;
std::atomic<const MovieTable*> g_table{nullptr};
std::string g_pourquoi;       // why the module could not be loaded
OutputDialogHook g_dialogue;  // handed to the module when it loads
// The layer's last error while the module is missing.
int g_code = kOk;
std::string g_texte;

// Whether bytes [debut, debut + longueur) lie in a file of `taille` bytes.
bool dedans(std::uint64_t debut, std::uint64_t longueur, std::uint64_t taille) {
  return debut <= taille && longueur <= taille - debut;
}

// `quoi` says what ends past the file: "ELF header ends", "segments end"...
std::string coupe(const std::string& chemin, const char* quoi, std::uint64_t fin, std::uint64_t taille) {
  return chemin + ": the file is cut short (its " + quoi + " at byte " + std::to_string(fin) + ", the file has " +
         std::to_string(taille) + ")";
}

// The program headers' own faults: the table, then each segment's file range.
std::string fautes_segments(int fd, const std::string& chemin, const ElfW(Ehdr) & e, std::uint64_t taille) {
  const std::uint64_t octets = std::uint64_t(e.e_phnum) * sizeof(ElfW(Phdr));
  if (!dedans(e.e_phoff, octets, taille)) return coupe(chemin, "program headers end", e.e_phoff + octets, taille);
  std::vector<ElfW(Phdr)> entetes(e.e_phnum);
  if (octets && pread(fd, entetes.data(), octets, off_t(e.e_phoff)) != ssize_t(octets)) return {};
  std::uint64_t fin = 0;
  bool dehors = false;
  for (const ElfW(Phdr) & p : entetes) {
    if (p.p_filesz == 0) continue;
    dehors = dehors || !dedans(p.p_offset, p.p_filesz, taille);
    fin = std::max<std::uint64_t>(fin, p.p_offset + p.p_filesz);
  }
  return dehors ? coupe(chemin, "segments end", fin, taille) : std::string();
}

void charger() {
  const std::string chemin = movie_module_path();
  g_pourquoi = movie_module_fault(chemin);
  if (!g_pourquoi.empty()) return;
  void* module = dlopen(chemin.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    const char* e = dlerror();
    g_pourquoi = e ? e : chemin + ": cannot be opened";
    return;
  }
  using Entree = const MovieTable* (*)();
  const auto entree = reinterpret_cast<Entree>(dlsym(module, kMovieTableSymbol));
  const MovieTable* t = entree ? entree() : nullptr;
  if (!t || t->version != kMovieTableVersion) {
    g_pourquoi = chemin + ": not the movie module of this program";
    dlclose(module);
    return;
  }
  // The module stays loaded for the rest of the process.
  if (g_dialogue) t->set_output_dialog_hook(g_dialogue);
  g_table.store(t);
}

// The module's table, loaded on the first call; null, with the error
// recorded, when it cannot be loaded.
const MovieTable* table() {
  std::call_once(g_une_fois, charger);
  const MovieTable* t = g_table.load();
  if (!t) {
    g_code = kCodecUnavailable;
    g_texte = movie_module_error();
  }
  return t;
}

}  // namespace

std::string movie_module_path() {
  std::error_code e;
  const std::filesystem::path programme = std::filesystem::read_symlink("/proc/self/exe", e);
  if (e) return kMovieModuleName;
  return (programme.parent_path() / kMovieModuleName).string();
}

std::string movie_module_fault(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  struct Fermer {
    int fd;
    ~Fermer() { ::close(fd); }
  } fermer{fd};
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return {};
  const std::uint64_t taille = std::uint64_t(st.st_size);
  ElfW(Ehdr) e{};
  const ssize_t lus = pread(fd, &e, sizeof e, 0);
  if (lus < 0) return {};
  // Anything but the start of an ELF object of this system is left to the
  // loader to name.
  if (std::memcmp(e.e_ident, ELFMAG, std::min<std::size_t>(SELFMAG, std::size_t(lus))) != 0 ||
      (lus > EI_CLASS && e.e_ident[EI_CLASS] != (__ELF_NATIVE_CLASS == 64 ? ELFCLASS64 : ELFCLASS32)))
    return {};
  if (std::size_t(lus) < sizeof e) return coupe(path, "ELF header ends", sizeof e, taille);
  if (e.e_phentsize != sizeof(ElfW(Phdr))) return {};
  if (std::string f = fautes_segments(fd, path, e, taille); !f.empty()) return f;
  if (e.e_shoff != 0) {
    const std::uint64_t octets = std::uint64_t(std::max<unsigned>(e.e_shnum, 1)) * e.e_shentsize;
    if (!dedans(e.e_shoff, octets, taille)) return coupe(path, "section headers end", e.e_shoff + octets, taille);
  }
  return {};
}

bool movie_module_loaded() { return g_table.load() != nullptr; }

std::string movie_module_error() {
  if (g_table.load() || g_pourquoi.empty()) return {};
  return "The movie libraries could not be loaded: " + g_pourquoi;
}

// ---------------------------------------------------------------- converters

void set_output_dialog_hook(OutputDialogHook hook) {
  g_dialogue = std::move(hook);
  if (const MovieTable* t = g_table.load()) t->set_output_dialog_hook(g_dialogue);
}

Handle alloc() {
  const MovieTable* t = table();
  return t ? t->alloc() : 0;
}
Handle img_alloc() {
  const MovieTable* t = table();
  return t ? t->img_alloc() : 0;
}
Handle list_alloc() {
  const MovieTable* t = table();
  return t ? t->list_alloc() : 0;
}
bool free(Handle h) {
  const MovieTable* t = table();
  return t && t->free(h);
}
bool list_free(Handle list) {
  const MovieTable* t = table();
  return t && t->list_free(list);
}

bool assign_video_source(Handle conv, SourceFn fn) {
  const MovieTable* t = table();
  return t && t->assign_video_source(conv, std::move(fn));
}
bool assign_progress(Handle conv, ProgressFn fn) {
  const MovieTable* t = table();
  return t && t->assign_progress(conv, std::move(fn));
}
bool assign_error(Handle conv, ErrorFn fn) {
  const MovieTable* t = table();
  return t && t->assign_error(conv, std::move(fn));
}

bool list_add(Handle list, const std::string& pattern, int flags) {
  const MovieTable* t = table();
  return t && t->list_add(list, pattern, flags);
}
std::optional<std::string> list_get_name(Handle list, int index) {
  const MovieTable* t = table();
  return t ? t->list_get_name(list, index) : std::nullopt;
}
int list_count(Handle list) {
  const MovieTable* t = table();
  return t ? t->list_count(list) : 0;
}

bool set_frame_rate(Handle conv, double fps) {
  const MovieTable* t = table();
  return t && t->set_frame_rate(conv, fps);
}
bool set_resolution(Handle conv, int width, int height) {
  const MovieTable* t = table();
  return t && t->set_resolution(conv, width, height);
}
bool set_codec(Handle conv, int container, std::uint32_t codec) {
  const MovieTable* t = table();
  return t && t->set_codec(conv, container, codec);
}
bool set_output_file(Handle conv, const std::string& path, int flags) {
  const MovieTable* t = table();
  return t && t->set_output_file(conv, path, flags);
}
bool set_byte_rate(Handle conv, int container, int rate) {
  const MovieTable* t = table();
  return t && t->set_byte_rate(conv, container, rate);
}
bool set_dithering(Handle conv, int on) {
  const MovieTable* t = table();
  return t && t->set_dithering(conv, on);
}
int output_dlg(Handle conv, Handle list, const std::string& title, int flags) {
  const MovieTable* t = table();
  return t ? t->output_dlg(conv, list, title, flags) : 0;
}
bool force_compatibility(Handle conv, int level) {
  const MovieTable* t = table();
  return t && t->force_compatibility(conv, level);
}
bool codec_available(int container, std::uint32_t codec) {
  const MovieTable* t = table();
  return t && t->codec_available(container, codec);
}

bool convert(Handle conv) {
  const MovieTable* t = table();
  return t && t->convert(conv);
}
// The error calls never load the module: without it, no call has reached it.
int check_error() {
  const MovieTable* t = g_table.load();
  return t ? t->check_error() : g_code;
}
std::string last_error_text() {
  const MovieTable* t = g_table.load();
  return t ? t->last_error_text() : g_texte;
}

bool get_file_info(const std::string& path, int flags, FileInfo& info) {
  const MovieTable* t = table();
  return t && t->get_file_info(path, flags, info);
}

bool src_set_file(Handle source, const std::string& path) {
  const MovieTable* t = table();
  return t && t->src_set_file(source, path);
}
bool dib_to_img(Handle image, const FrameView& frame) {
  const MovieTable* t = table();
  return t && t->dib_to_img(image, frame);
}
bool src_set_img(Handle source, Handle image) {
  const MovieTable* t = table();
  return t && t->src_set_img(source, image);
}
bool src_finished(Handle source) {
  const MovieTable* t = table();
  return t && t->src_finished(source);
}

// ---------------------------------------------------------------- reader

// The module's reader, made on the first open.
struct MovieReader::Impl {
  const MovieTable* t = nullptr;
  void* objet = nullptr;
};

MovieReader::MovieReader() : impl_(std::make_unique<Impl>()) {}
MovieReader::~MovieReader() {
  if (impl_->objet) impl_->t->reader_delete(impl_->objet);
}

bool MovieReader::open(const std::string& path) {
  Impl& m = *impl_;
  if (!m.objet) {
    m.t = table();
    if (!m.t) return false;
    m.objet = m.t->reader_new();
  }
  return m.t->reader_open(m.objet, path);
}
void MovieReader::close() {
  if (impl_->objet) impl_->t->reader_close(impl_->objet);
}
bool MovieReader::is_open() const { return impl_->objet && impl_->t->reader_is_open(impl_->objet); }
// Without the module no reader was made: the module's failure is the reason.
std::string MovieReader::error() const {
  return impl_->objet ? impl_->t->reader_error(impl_->objet) : movie_module_error();
}
int MovieReader::frame_count() const { return impl_->objet ? impl_->t->reader_frame_count(impl_->objet) : 0; }
int MovieReader::width() const { return impl_->objet ? impl_->t->reader_width(impl_->objet) : 0; }
int MovieReader::height() const { return impl_->objet ? impl_->t->reader_height(impl_->objet) : 0; }
double MovieReader::frame_rate() const { return impl_->objet ? impl_->t->reader_frame_rate(impl_->objet) : 30.0; }
double MovieReader::sample_aspect() const { return impl_->objet ? impl_->t->reader_sample_aspect(impl_->objet) : 1.0; }
bool MovieReader::read(int k, std::vector<std::uint32_t>& pixels) {
  return impl_->objet && impl_->t->reader_read(impl_->objet, k, pixels);
}

// ---------------------------------------------------------------- IV32 encoder

bool iv32_holds(int width, int height) {
  const MovieTable* t = table();
  return t && t->iv32_holds(width, height);
}
std::optional<Iv32Size> iv32_size(int width, int height) {
  const MovieTable* t = table();
  return t ? t->iv32_size(width, height) : std::nullopt;
}

// The module's encoder, made on the first open.
struct Iv32Encoder::Impl {
  const MovieTable* t = nullptr;
  void* objet = nullptr;
};

Iv32Encoder::Iv32Encoder() : impl_(std::make_unique<Impl>()) {}
Iv32Encoder::~Iv32Encoder() {
  if (impl_->objet) impl_->t->encoder_delete(impl_->objet);
}

bool Iv32Encoder::open(int width, int height, bool inter, int key_interval) {
  Impl& m = *impl_;
  if (!m.objet) {
    m.t = table();
    if (!m.t) return false;
    m.objet = m.t->encoder_new();
  }
  return m.t->encoder_open(m.objet, width, height, inter, key_interval);
}
int Iv32Encoder::width() const { return impl_->objet ? impl_->t->encoder_width(impl_->objet) : 0; }
int Iv32Encoder::height() const { return impl_->objet ? impl_->t->encoder_height(impl_->objet) : 0; }
std::vector<std::uint8_t> Iv32Encoder::encode(const FrameView& frame, bool& key) {
  key = false;
  return impl_->objet ? impl_->t->encoder_encode_frame(impl_->objet, frame, key) : std::vector<std::uint8_t>{};
}
std::vector<std::uint8_t> Iv32Encoder::encode(const Yuv410& picture, bool& key) {
  key = false;
  return impl_->objet ? impl_->t->encoder_encode_yuv(impl_->objet, picture, key) : std::vector<std::uint8_t>{};
}
Yuv410 Iv32Encoder::reconstruction() const {
  return impl_->objet ? impl_->t->encoder_reconstruction(impl_->objet) : Yuv410{};
}

}  // namespace platform::vcv
