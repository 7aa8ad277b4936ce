// Startup/<platform>: the time from starting the program until its main window
// has appeared (first exposure handled: painted and flushed), against a bare
// Qt window on the same platform plugin.
//
// Each iteration starts `fenetre_nue` (an empty QMainWindow of the same size,
// built beside the benchmark) and then `quorvel` as child processes, each with
// the environment variable QUORVEL_QUIT_WHEN_SHOWN set: the program (in
// app/programme.cpp, the one place that reads it) then writes the line
// "shown" followed by its CPU time so far (ms, every thread, ended ones
// included) on its standard output once its main window has handled its first
// exposure, and leaves its message loop; the bare window does the same. (The
// splash's window, shown before the main window, is counted; its content,
// drawn just after the main window has appeared, is not.) The clock runs from
// just before the child is spawned until that line is read. At that moment the
// benchmark also counts the shared libraries mapped in the child (distinct
// files named *.so*, from /proc/<pid>/maps; Qt's plugins included).
//
// `Startup/offscreen` runs on the offscreen platform; `Startup/xcb` on an Xvfb
// server the benchmark starts (and stops) itself, when Xvfb is installed;
// without it that row is skipped with a message. The program starts without a
// document, in its own folder (build/bin, beside the benchmark).
//
// The row's time is the program's; the counters are medians over the
// iteration's launches: `program_ms`, `bare_ms` and their `ratio`,
// `program_cpu_ms`, `bare_cpu_ms`, and the libraries `program_libraries`,
// `bare_libraries`. Run with its 5 repetitions and read the medians.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Horloge = std::chrono::steady_clock;

std::string dossier_programmes() {
  char chemin[4096];
  const ssize_t n = readlink("/proc/self/exe", chemin, sizeof chemin - 1);
  if (n <= 0) return ".";
  std::string s(chemin, static_cast<std::size_t>(n));
  return s.substr(0, s.find_last_of('/'));
}

// Shared libraries mapped in the process: distinct files whose name holds ".so".
int bibliotheques(pid_t pid) {
  std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
  std::set<std::string> fichiers;
  std::string ligne;
  while (std::getline(maps, ligne)) {
    const std::size_t barre = ligne.find('/');
    if (barre == std::string::npos) continue;
    const std::string chemin = ligne.substr(barre);
    const std::string nom = chemin.substr(chemin.find_last_of('/') + 1);
    if (nom.find(".so") != std::string::npos) fichiers.insert(chemin);
  }
  return static_cast<int>(fichiers.size());
}

struct Lancement {
  bool ok = false;
  double ms = 0, cpu = 0;
  int bibliotheques = 0;
};

// Starts `programme` with the given extra environment, waits for its "shown"
// line (20 s at most), measures, then waits for its end.
Lancement lancer(const std::string& programme, const std::vector<std::string>& ajouts) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string v = *e;
    const bool remplace = std::any_of(ajouts.begin(), ajouts.end(), [&](const std::string& a) {
      return v.compare(0, a.find('=') + 1, a, 0, a.find('=') + 1) == 0;
    });
    if (!remplace) env.push_back(v);
  }
  env.insert(env.end(), ajouts.begin(), ajouts.end());
  std::vector<char*> envp;
  for (auto& v : env) envp.push_back(v.data());
  envp.push_back(nullptr);

  Lancement r;
  int tube[2];
  if (pipe2(tube, O_CLOEXEC) != 0) return r;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, tube[1], 1);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::string nom = programme;
  char* argv[] = {nom.data(), nullptr};
  pid_t pid = 0;
  const auto debut = Horloge::now();
  const int rc = posix_spawn(&pid, programme.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(tube[1]);
  if (rc != 0) {
    close(tube[0]);
    return r;
  }
  std::string lu;
  pollfd p{tube[0], POLLIN, 0};
  const auto ligne_vue = [&] {
    const std::size_t k = lu.find("shown ");
    return k != std::string::npos && lu.find('\n', k) != std::string::npos;
  };
  while (!ligne_vue()) {
    const int reste = 20000 - int(std::chrono::duration_cast<std::chrono::milliseconds>(Horloge::now() - debut).count());
    if (reste <= 0 || poll(&p, 1, reste) <= 0) break;
    char tampon[256];
    const ssize_t n = read(tube[0], tampon, sizeof tampon);
    if (n <= 0) break;
    lu.append(tampon, static_cast<std::size_t>(n));
  }
  const auto fin = Horloge::now();
  r.ok = ligne_vue();
  if (r.ok) {
    r.ms = std::chrono::duration<double, std::milli>(fin - debut).count();
    r.cpu = std::atof(lu.c_str() + lu.find("shown ") + 6);
    r.bibliotheques = bibliotheques(pid);
  } else {
    kill(pid, SIGKILL);
  }
  close(tube[0]);
  int statut = 0;
  while (waitpid(pid, &statut, 0) < 0 && errno == EINTR) {
  }
  return r;
}

// An Xvfb server for the xcb row, started on first use and stopped at exit.
class ServeurX {
 public:
  static ServeurX& commun() {
    static ServeurX s;
    return s;
  }
  const std::string& affichage() const { return affichage_; }
  ~ServeurX() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }

 private:
  ServeurX() {
    int tube[2];
    if (pipe(tube) != 0) return;
    std::string fd = std::to_string(tube[1]);
    std::string nom = "Xvfb";
    std::string a1 = "-displayfd", a3 = "-screen", a4 = "0", a5 = "1280x1024x24", a6 = "-nolisten", a7 = "tcp";
    char* argv[] = {nom.data(), a1.data(), fd.data(), a3.data(), a4.data(), a5.data(), a6.data(), a7.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, tube[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int rc = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(tube[1]);
    if (rc != 0) {
      pid_ = 0;
      close(tube[0]);
      return;
    }
    std::string lu;
    pollfd p{tube[0], POLLIN, 0};
    char tampon[32];
    ssize_t n = 0;
    while (lu.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0 && (n = read(tube[0], tampon, sizeof tampon)) > 0)
      lu.append(tampon, static_cast<std::size_t>(n));
    close(tube[0]);
    if (lu.find('\n') != std::string::npos) affichage_ = ":" + lu.substr(0, lu.find('\n'));
  }
  pid_t pid_ = 0;
  std::string affichage_;
};

double mediane(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t m = v.size() / 2;
  return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

void Startup(benchmark::State& state, bool xcb) {
  std::vector<std::string> env = {"QUORVEL_QUIT_WHEN_SHOWN=1"};
  if (xcb) {
    const std::string& affichage = ServeurX::commun().affichage();
    if (affichage.empty()) {
      state.SkipWithError("Xvfb could not be started (Debian package xvfb)");
      return;
    }
    env.push_back("QT_QPA_PLATFORM=xcb");
    env.push_back("DISPLAY=" + affichage);
  } else {
    env.push_back("QT_QPA_PLATFORM=offscreen");
  }
  const std::string dossier = dossier_programmes();
  std::vector<double> prog, nu, prog_cpu, nu_cpu, prog_bib, nu_bib;
  for (auto _ : state) {
    const Lancement n = lancer(dossier + "/fenetre_nue", env);
    const Lancement p = lancer(dossier + "/quorvel", env);
    if (!n.ok || !p.ok) {
      state.SkipWithError(!n.ok ? "the bare window did not show" : "the program did not show its main window");
      return;
    }
    state.SetIterationTime(p.ms * 1e-3);
    prog.push_back(p.ms);
    nu.push_back(n.ms);
    prog_cpu.push_back(p.cpu);
    nu_cpu.push_back(n.cpu);
    prog_bib.push_back(p.bibliotheques);
    nu_bib.push_back(n.bibliotheques);
  }
  state.counters["program_ms"] = mediane(prog);
  state.counters["bare_ms"] = mediane(nu);
  state.counters["ratio"] = mediane(prog) / mediane(nu);
  state.counters["program_cpu_ms"] = mediane(prog_cpu);
  state.counters["bare_cpu_ms"] = mediane(nu_cpu);
  state.counters["program_libraries"] = mediane(prog_bib);
  state.counters["bare_libraries"] = mediane(nu_bib);
}

BENCHMARK_CAPTURE(Startup, offscreen, false)
    ->Name("Startup/offscreen")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Startup, xcb, true)
    ->Name("Startup/xcb")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
