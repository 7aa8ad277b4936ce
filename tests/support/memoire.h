// Peak memory of a piece of work, for the tests that feed hostile files to a
// reader: the kernel's high-water mark of resident memory is reset, the work
// runs, and the growth of the mark is the most the work held at once; and
// the bytes the work read.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

namespace test_memoire {

// A field of /proc/self/status, in kilobytes; -1 when absent.
inline std::int64_t champ_kb(const std::string& nom) {
  std::ifstream status("/proc/self/status");
  std::string ligne;
  while (std::getline(status, ligne))
    if (ligne.rfind(nom + ":", 0) == 0) return std::stoll(ligne.substr(nom.size() + 1));
  return -1;
}

// Bytes by which the resident high-water mark grew while `travail` ran; -1
// when the mark cannot be reset (then the caller skips its check).
template <class F>
std::int64_t croissance_pic(F&& travail) {
  {
    std::ofstream clear("/proc/self/clear_refs");
    if (!(clear << "5" << std::flush)) return -1;
  }
  const std::int64_t avant = champ_kb("VmRSS");
  travail();
  const std::int64_t pic = champ_kb("VmHWM");
  if (avant < 0 || pic < 0) return -1;
  return (pic - avant) * 1024;
}

// Bytes the process read through the system while `travail` ran (the
// kernel's count of bytes read, the same under AddressSanitizer); -1 when
// the count cannot be had.
template <class F>
std::int64_t octets_lus(F&& travail) {
  auto lus = [] {
    std::ifstream io("/proc/self/io");
    std::string nom;
    std::int64_t v = -1;
    while (io >> nom >> v)
      if (nom == "rchar:") return v;
    return std::int64_t(-1);
  };
  const std::int64_t avant = lus();
  travail();
  const std::int64_t apres = lus();
  return avant < 0 || apres < 0 ? -1 : apres - avant;
}

// Whether the growth says what the work's small allocations cost: under
// AddressSanitizer every allocation carries redzones and shadow memory worth
// several times a small block, so only checks of large blocks hold there.
constexpr bool petits_blocs_mesurables() {
#if defined(__SANITIZE_ADDRESS__)
  return false;
#else
  return true;
#endif
}

#if defined(__SANITIZE_THREAD__)
#define QUORVEL_TEST_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QUORVEL_TEST_TSAN 1
#endif
#endif

// A bound on that growth: under AddressSanitizer freed memory stays resident
// in its quarantine (256 MB by default) before it is reused, so the bound
// grows by that much there; under ThreadSanitizer every byte the work writes
// is shadowed by four more, so the bound is five times as large.
constexpr std::int64_t borne(std::int64_t octets) {
#if defined(__SANITIZE_ADDRESS__)
  return octets + (std::int64_t(256) << 20);
#elif defined(QUORVEL_TEST_TSAN)
  return 5 * octets;
#else
  return octets;
#endif
}

}  // namespace test_memoire
