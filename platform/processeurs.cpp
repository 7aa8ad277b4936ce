#include "platform/processeurs.h"

#include <sched.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>


namespace platform {

namespace {

std::string_view sans_blancs(std::string_view s) {
  auto blanc = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!s.empty() && blanc(s.front())) s.remove_prefix(1);
  while (!s.empty() && blanc(s.back())) s.remove_suffix(1);
  return s;
}

// A positive whole number of microseconds (quotas and periods are at most
// about 2^63 in the kernel; beyond int32 they mean no practical limit).
std::optional<double> duree(std::string_view s) {
  s = sans_blancs(s);
  if (s.empty() || s.size() > 18) return std::nullopt;
  double v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v <= 0) return std::nullopt;
  return v;
}

std::optional<double> rapport(std::string_view quota, std::string_view periode) {
  const auto q = duree(quota), p = duree(periode);
  if (!q || !p) return std::nullopt;
  return *q / *p;
}

std::optional<double> moindre(std::optional<double> a, std::optional<double> b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

// The group's folder and each of its parents, up to the hierarchy's root.
template <class F>
void remonter(std::string chemin, F&& voir) {
  while (!chemin.empty() && chemin.back() == '/') chemin.pop_back();
  for (;;) {
    voir(chemin);
    const std::size_t barre = chemin.rfind('/');
    if (barre == std::string::npos || chemin.empty()) return;
    chemin.resize(barre);
  }
}

std::optional<std::string> lire_petit_fichier(const std::string& chemin) {
  std::FILE* f = std::fopen(chemin.c_str(), "r");
  if (!f) return std::nullopt;
  std::string s;
  char tampon[256];
  for (std::size_t lu; s.size() < 65536 && (lu = std::fread(tampon, 1, sizeof tampon, f)) > 0;) s.append(tampon, lu);
  const bool erreur = std::ferror(f) != 0;
  std::fclose(f);
  if (erreur) return std::nullopt;
  return s;
}

int processeurs_affinite() {
  cpu_set_t masque;
  CPU_ZERO(&masque);
  if (sched_getaffinity(0, sizeof masque, &masque) == 0) {
    const int n = CPU_COUNT(&masque);
    if (n > 0) return n;
  }
  const unsigned c = std::thread::hardware_concurrency();
  return c > 0 ? static_cast<int>(c) : 1;
}

}  // namespace

std::optional<double> quota_cpu_max(std::string_view contenu) {
  contenu = sans_blancs(contenu);
  const std::size_t blanc = contenu.find(' ');
  if (blanc == std::string_view::npos) return std::nullopt;
  const std::string_view quota = contenu.substr(0, blanc);
  if (quota == "max") return std::nullopt;
  return rapport(quota, contenu.substr(blanc + 1));
}

std::optional<double> quota_cfs(std::string_view quota, std::string_view periode) {
  if (sans_blancs(quota) == "-1") return std::nullopt;
  return rapport(quota, periode);
}

GroupesProcessus groupes_processus(std::string_view texte) {
  GroupesProcessus g;
  while (!texte.empty()) {
    const std::size_t fin = texte.find('\n');
    const std::string_view ligne = texte.substr(0, fin);
    texte = fin == std::string_view::npos ? std::string_view{} : texte.substr(fin + 1);
    // hierarchy-ID:controller-list:path
    const std::size_t a = ligne.find(':');
    if (a == std::string_view::npos) continue;
    const std::size_t b = ligne.find(':', a + 1);
    if (b == std::string_view::npos) continue;
    const std::string_view id = ligne.substr(0, a), controleurs = ligne.substr(a + 1, b - a - 1);
    const std::string chemin(sans_blancs(ligne.substr(b + 1)));
    if (chemin.empty() || chemin.front() != '/') continue;
    if (id == "0" && controleurs.empty()) {
      g.unifie = chemin;
      continue;
    }
    for (std::string_view reste = controleurs; !reste.empty();) {
      const std::size_t v = reste.find(',');
      if (reste.substr(0, v) == "cpu") g.cpu = chemin;
      reste = v == std::string_view::npos ? std::string_view{} : reste.substr(v + 1);
    }
  }
  return g;
}

std::optional<double> quota_groupes(std::string_view proc_self_cgroup, const std::string& racine,
                                    const LecteurFichier& lire) {
  const GroupesProcessus g = groupes_processus(proc_self_cgroup);
  std::optional<double> quota;
  if (g.unifie)
    remonter(*g.unifie, [&](const std::string& c) {
      if (const auto s = lire(racine + c + "/cpu.max")) quota = moindre(quota, quota_cpu_max(*s));
    });
  if (g.cpu)
    // The v1 cpu controller is mounted under one of these names.
    for (const char* dossier : {"/cpu", "/cpu,cpuacct", "/cpuacct,cpu"})
      remonter(*g.cpu, [&](const std::string& c) {
        const std::string base = racine + dossier + c;
        const auto q = lire(base + "/cpu.cfs_quota_us");
        if (!q) return;
        if (const auto p = lire(base + "/cpu.cfs_period_us")) quota = moindre(quota, quota_cfs(*q, *p));
      });
  return quota;
}

int processeurs_permis(int affinite, std::optional<double> quota) {
  int n = std::max(affinite, 1);
  // Below one CPU, the one thread still runs (slowly).
  if (quota && std::isfinite(*quota)) n = std::min(n, std::max(1, static_cast<int>(std::floor(*quota + 1e-9))));
  return n;
}

int processeurs_utilisables() {
  static const std::optional<double> quota = [] {
    const auto groupes = lire_petit_fichier("/proc/self/cgroup");
    return groupes ? quota_groupes(*groupes, "/sys/fs/cgroup", lire_petit_fichier) : std::nullopt;
  }();
  return processeurs_permis(processeurs_affinite(), quota);
}

}  // namespace platform
