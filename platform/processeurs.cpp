#include "platform/processeurs.h"

#include <sched.h>
#include <time.h>

#include <algorithm>
#include <charconv>
#include <chrono>
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

std::optional<std::string> lire_petit_fichier(const std::string& chemin, std::size_t limite = 65536) {
  std::FILE* f = std::fopen(chemin.c_str(), "r");
  if (!f) return std::nullopt;
  std::string s;
  char tampon[4096];
  for (std::size_t lu; s.size() < limite && (lu = std::fread(tampon, 1, sizeof tampon, f)) > 0;) s.append(tampon, lu);
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

// The processors of the affinity mask, by number (empty: unknown, all count).
std::vector<bool> masque_affinite() {
  std::vector<bool> permis;
  cpu_set_t masque;
  CPU_ZERO(&masque);
  if (sched_getaffinity(0, sizeof masque, &masque) == 0)
    for (int k = 0; k < CPU_SETSIZE; ++k)
      if (CPU_ISSET(k, &masque)) {
        if (permis.size() <= std::size_t(k)) permis.resize(std::size_t(k) + 1, false);
        permis[std::size_t(k)] = true;
      }
  return permis;
}

std::optional<double> secondes_horloge(clockid_t horloge) {
  timespec t{};
  if (clock_gettime(horloge, &t) != 0) return std::nullopt;
  return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

std::optional<ReleveProcesseurs> relever_processeurs() {
  // The per-processor lines come first; the rest (interrupt counts) may be long.
  const std::optional<std::string> texte = lire_petit_fichier("/proc/stat", std::size_t(1) << 20);
  if (!texte) return std::nullopt;
  std::optional<ReleveProcesseurs> r = lire_stat(*texte, masque_affinite());
  if (!r) return std::nullopt;
  const std::optional<double> cpu = secondes_horloge(CLOCK_PROCESS_CPUTIME_ID), maintenant = secondes_horloge(CLOCK_MONOTONIC);
  if (!cpu || !maintenant) return std::nullopt;
  r->cpu_propre = *cpu;
  r->secondes = *maintenant;
  return r;
}

// A whole number of at most 18 digits at the front of s, which it leaves after it.
std::optional<std::int64_t> entier_devant(std::string_view& s) {
  std::int64_t v = 0;
  std::size_t k = 0;
  for (; k < s.size() && k < 18 && s[k] >= '0' && s[k] <= '9'; ++k) v = v * 10 + (s[k] - '0');
  if (k == 0 || (k < s.size() && s[k] >= '0' && s[k] <= '9')) return std::nullopt;
  s.remove_prefix(k);
  return v;
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
  const int n = std::max(affinite, 1);
  // A quota at or above the processors allowed limits nothing (administrators
  // write a huge one for "no limit"); only a smaller one is converted, so the
  // conversion stays within int. Below one CPU, the one thread still runs.
  if (!quota || !std::isfinite(*quota) || *quota >= n) return n;
  return std::max(1, static_cast<int>(std::floor(*quota + 1e-9)));
}

int processeurs_utilisables() {
  static const std::optional<double> quota = [] {
    const auto groupes = lire_petit_fichier("/proc/self/cgroup");
    const LecteurFichier lire = [](const std::string& chemin) { return lire_petit_fichier(chemin); };
    return groupes ? quota_groupes(*groupes, "/sys/fs/cgroup", lire) : std::nullopt;
  }();
  return processeurs_permis(processeurs_affinite(), quota);
}

std::optional<ReleveProcesseurs> lire_stat(std::string_view stat, const std::vector<bool>& permis) {
  ReleveProcesseurs r;
  bool lu = false;
  while (!stat.empty()) {
    const std::size_t fin = stat.find('\n');
    std::string_view ligne = stat.substr(0, fin);
    stat = fin == std::string_view::npos ? std::string_view{} : stat.substr(fin + 1);
    // "cpuN": the machine's total line "cpu " is not counted.
    if (ligne.size() < 4 || ligne.substr(0, 3) != "cpu" || ligne[3] < '0' || ligne[3] > '9') continue;
    ligne.remove_prefix(3);
    const std::optional<std::int64_t> numero = entier_devant(ligne);
    if (!numero || *numero > 100000) continue;
    std::int64_t champs[8] = {};
    int n = 0;
    while (n < 8) {
      std::size_t k = 0;
      while (k < ligne.size() && ligne[k] == ' ') ++k;
      if (k == 0) break;
      ligne.remove_prefix(k);
      const std::optional<std::int64_t> v = entier_devant(ligne);
      if (!v) break;
      champs[n++] = *v;
    }
    if (n < 5) continue;  // user nice system idle iowait at least
    if (!permis.empty() && (std::size_t(*numero) >= permis.size() || !permis[std::size_t(*numero)])) continue;
    const std::int64_t repos = champs[3] + champs[4];
    std::int64_t tout = 0;
    for (int k = 0; k < n; ++k) tout += champs[k];
    r.occupe += tout - repos;
    r.total += tout;
    ++r.processeurs;
    lu = true;
  }
  if (!lu) return std::nullopt;
  return r;
}

std::optional<double> occupes_autres(const ReleveProcesseurs& avant, const ReleveProcesseurs& apres) {
  const double duree = apres.secondes - avant.secondes;
  const std::int64_t total = apres.total - avant.total, occupe = apres.occupe - avant.occupe;
  if (!(duree >= kFenetreReleves) || apres.processeurs != avant.processeurs || apres.processeurs <= 0 || total <= 0 ||
      occupe < 0 || occupe > total)
    return std::nullopt;
  // The processors kept busy on average, less this process's own share.
  const double occupes = double(apres.processeurs) * double(occupe) / double(total);
  const double propres = std::max(apres.cpu_propre - avant.cpu_propre, 0.0) / duree;
  return std::max(occupes - propres, 0.0);
}

std::optional<ChargeMachine> lire_charge(std::string_view texte) {
  // "minute five fifteen runnable/threads last-pid"; the numbers are written
  // with a dot whatever the locale.
  texte = sans_blancs(texte);
  const std::size_t blanc = texte.find(' ');
  if (blanc == std::string_view::npos) return std::nullopt;
  ChargeMachine c;
  const std::string_view minute = texte.substr(0, blanc);
  const auto [fin, erreur] = std::from_chars(minute.data(), minute.data() + minute.size(), c.minute);
  if (erreur != std::errc{} || fin != minute.data() + minute.size() || !std::isfinite(c.minute) || c.minute < 0)
    return std::nullopt;
  // Past the loads of five and fifteen minutes, the runnable threads, if
  // readable; the load alone is enough.
  std::string_view reste = texte.substr(blanc);
  for (int champ = 0; champ < 2 && !reste.empty(); ++champ) {
    reste = sans_blancs(reste);
    const std::size_t b = reste.find(' ');
    reste = b == std::string_view::npos ? std::string_view{} : reste.substr(b);
  }
  reste = sans_blancs(reste.substr(0, reste.find('/')));
  if (const std::optional<std::int64_t> r = entier_devant(reste); r && reste.empty() && *r <= 1000000)
    c.executables = static_cast<int>(*r);
  return c;
}

double occupes_selon_charge(const ChargeMachine& charge) {
  double occupes = std::max(charge.minute, 0.0);
  if (charge.executables >= 1) occupes = std::min(occupes, double(charge.executables - 1));
  return occupes;
}

MesureOccupation::MesureOccupation(Sources sources) : sources_(std::move(sources)) {}

double MesureOccupation::occupes() {
  const double maintenant = sources_.horloge();
  // A reading made since maintenant (another thread's) is as fresh.
  if (const double lue = lue_.load(std::memory_order_acquire); lue >= 0.0 && maintenant - lue < kFenetreReleves)
    return valeur_.load(std::memory_order_relaxed);
  const std::lock_guard<std::mutex> verrou(garde_);
  if (const double lue = lue_.load(std::memory_order_relaxed); lue >= 0.0 && maintenant - lue < kFenetreReleves)
    return valeur_.load(std::memory_order_relaxed);
  return mesurer(maintenant);
}

double MesureOccupation::mesurer(double maintenant) {
  const std::optional<ReleveProcesseurs> r = sources_.relever();
  double v = valeur_.load(std::memory_order_relaxed);
  if (r && dernier_) {
    if (const std::optional<double> o = occupes_autres(*dernier_, *r)) {
      v = *o;
      mesure_ = true;
      dernier_ = r;
    } else if (r->processeurs != dernier_->processeurs || r->secondes - dernier_->secondes >= kFenetreReleves) {
      dernier_ = r;  // the mask changed, or readings that do not fit: a new window
    }
  } else if (r) {
    dernier_ = r;
  }
  if (!mesure_) {
    const std::optional<ChargeMachine> c = sources_.charge();
    v = c ? occupes_selon_charge(*c) : 0.0;  // unreadable: as an idle machine
  }
  valeur_.store(v, std::memory_order_relaxed);
  lue_.store(maintenant, std::memory_order_release);
  return v;
}

double processeurs_occupes_autres() {
  static MesureOccupation mesure({
      .relever = relever_processeurs,
      .charge =
          []() -> std::optional<ChargeMachine> {
        const std::optional<std::string> texte = lire_petit_fichier("/proc/loadavg");
        return texte ? lire_charge(*texte) : std::nullopt;
      },
      .horloge = [] { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); },
  });
  return mesure.occupes();
}

}  // namespace platform
